// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Encoder.h"

#include "RecordingReports.h"
#include "ScriptedRandom.h"
#include "core/Image.h"
#include "core/SecureRandom.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kvistra {
namespace {

using test::RecordingEncodeReport;
using test::ScriptedRandom;

// Every random channel of a ScriptedRandom drawing 0.0 is the character 1.
constexpr int kOne = '1';
constexpr Colour kRandomPixel = makeColour(kOne, kOne, kOne);

// One run as a front end makes it: refusals join the messages shown, and the
// fields show what the run reported.
struct Generation {
    RecordingEncodeReport report;
    Image canvas;
    ScriptedRandom random;
    std::string typed; // UTF-8
    // The fields as typed, read by the encoder's rule at each run.
    std::string xKey;
    std::string yKey;
    std::string shift = "0";
    NumberLocale locale = NumberLocale::c();
    EncodeRequest request;

    Generation(int width, int height, const std::string& text, int x, int y, bool adapt = false)
        : canvas(width, height)
        , typed(text)
        , xKey(std::to_string(x))
        , yKey(std::to_string(y)) {
        request.adapt = adapt;
    }
    void run() {
        report.written.reset();
        request.xKey = wholeKey(xKey, locale);
        request.yKey = wholeKey(yKey, locale);
        request.shift = shiftNumber(shift, locale);
        Result<std::string> bytes = messageBytesOf(typed);
        if (!bytes) {
            report.messages.push_back(bytes.problem());
            return;
        }
        request.message = *bytes;
        const Result<EncodeResult> result = Encoder(canvas, random, report).generate(request);
        if (!result) {
            report.messages.push_back(result.problem());
        }
    }

    std::string readingLengthField() const {
        return report.written ? std::to_string(report.written->readingLength) : "";
    }
    std::string shiftField() const {
        return report.shiftChanges.empty() ? shift : std::to_string(report.shiftChanges.back());
    }
    KeyPosition runStart() const { return report.written.value().runStart.value(); }
};

// True when `wanted` appears in `seen` in this order, other entries between allowed.
bool containsInOrder(const std::vector<Progress>& seen, const std::vector<Progress>& wanted) {
    auto at = seen.begin();
    for (const Progress& p : wanted) {
        at = std::find(at, seen.end(), p);
        if (at == seen.end()) {
            return false;
        }
    }
    return true;
}

// A large canvas is drawn a chunk ahead, on another thread, while the chunk before
// is written: the pixels must still be the fill's stream in raster order, as one
// fill of them all gives it.
TEST(Encoder, DecoysDrawnAheadKeepTheStreamInRasterOrder) {
    const SecureRandom::Key key{2, 6};
    const int width = 1200;
    const int height = 1000; // more than one chunk of decoys
    Image canvas(width, height);
    SecureRandom random(key);
    RecordingEncodeReport report;
    const EncodeRequest request{"A", wholeKey("0", NumberLocale::c()),
                                wholeKey("0", NumberLocale::c()),
                                shiftNumber("0", NumberLocale::c()), false};
    ASSERT_TRUE(Encoder(canvas, random, report).generate(request));

    SecureRandom reference(key);
    std::vector<Colour> leadIn(1);
    reference.fillReseededColours(leadIn);
    std::vector<Colour> decoys(static_cast<std::size_t>(width) * height - 1);
    reference.fillReseededColours(decoys);
    EXPECT_EQ(canvas.pixel(0, 0) >> 8 & 0xFF, 'A');
    for (std::size_t i = 0; i < decoys.size(); ++i) {
        const int at = static_cast<int>(i) + 1;
        ASSERT_EQ(canvas.pixel(at % width, at / width), decoys[i]) << i;
    }
}

TEST(Encoder, WorkedExample) {
    Generation g(5, 4, "Hej!", 3, 1);
    g.shift = "2";
    g.run();

    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            const int index = y * 5 + x;
            if (index >= 8 && index < 12) {
                const int greens[] = {70, 99, 104, 31};
                EXPECT_EQ(g.canvas.pixel(x, y), makeColour(kOne, greens[index - 8], kOne));
            } else {
                EXPECT_EQ(g.canvas.pixel(x, y), kRandomPixel) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(g.readingLengthField(), "4");
    ASSERT_TRUE(g.report.written);
    EXPECT_EQ(g.runStart().y, 1);
    EXPECT_EQ(g.runStart().x, 0); // the message finished a row
    EXPECT_EQ(g.report.written->key, (KeyPosition{3, 1}));
    EXPECT_EQ(g.request.message, "Hej!");
    EXPECT_TRUE(g.report.messages.empty());
    // Lead-in and decoys reseed at each of their 9 + 8 positions; the message draws twice a pixel.
    EXPECT_EQ(g.random.reseeds, 17u);
    EXPECT_EQ(g.random.draws, 17u * 3 + 4u * 2);
}

TEST(Encoder, ProgressExample) {
    Generation g(5, 4, "Hej!", 3, 1);
    g.shift = "2";
    g.run();

    EXPECT_TRUE(containsInOrder(
        g.report.progressReports,
        {{0, 4, 4}, {0, 20, 0}, {0, 20, 9}, {0, 20, 13}, {0, 21, 13}, {0, 21, 21}}));
    EXPECT_EQ(g.report.progressReports.back(), (Progress{0, 21, 21}));
    for (const Progress& p : g.report.progressReports) {
        EXPECT_LE(p.value, p.max);
    }
}

TEST(Encoder, CaptionsInOrder) {
    Generation keyMode(5, 4, "Hej!", 3, 1);
    keyMode.run();
    EXPECT_EQ(keyMode.report.captions,
              (std::vector<std::string>{
                  "Status: Utför analys", "Status: Analys klar", "Status: Genererar inledningsdata",
                  "Status: Skriver kryptodata", "Status: Genererar villospår", "Status: Väntar"}));

    Generation adapt(5, 4, "Hej!", 3, 1, true);
    adapt.run();
    EXPECT_EQ(adapt.report.captions,
              (std::vector<std::string>{"Status: Utför analys", "Status: Analys klar",
                                        "Status: Skriver kryptodata"}));
}

TEST(Encoder, AdaptModeWritesOnlyTheMessageFromTheTopLeft) {
    Generation g(3, 3, "ABCD", 2, 2, true);
    g.canvas.fill(makeColour(1, 2, 3));
    g.run();

    EXPECT_EQ(g.canvas.pixel(0, 0), makeColour(kOne, 'A', kOne));
    EXPECT_EQ(g.canvas.pixel(2, 0), makeColour(kOne, 'C', kOne));
    EXPECT_EQ(g.canvas.pixel(0, 1), makeColour(kOne, 'D', kOne));
    EXPECT_EQ(g.canvas.pixel(1, 1), makeColour(1, 2, 3)); // an earlier picture stays
    EXPECT_EQ(g.random.reseeds, 0u);
    EXPECT_EQ(g.readingLengthField(), "4");
    ASSERT_TRUE(g.report.written);
    EXPECT_EQ(g.report.written->key, (KeyPosition{0, 0}));
    EXPECT_FALSE(g.report.written->runStart);
    EXPECT_EQ(g.report.messageIds(), std::vector{MessageId::EncryptionFinished});
    EXPECT_EQ(g.report.progressReports.back(), (Progress{0, 4, 4}));
}

// Where the message run lies and where the decoys begin, for key-position mode.
TEST(Encoder, MessageRunFollowsTheWalk) {
    const struct {
        const char* name;
        int width, height, x, y, length;
    } cases[] = {
        {"one character at the origin", 5, 4, 0, 0, 1},
        {"ends at the end of a row", 5, 4, 3, 1, 2},
        {"key in the last column", 5, 4, 4, 1, 2},
        {"ends on the last position", 5, 4, 3, 3, 2},
        {"fills the whole grid", 3, 2, 0, 0, 6},
        {"one pixel canvas", 1, 1, 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Generation g(c.width, c.height, std::string(static_cast<std::size_t>(c.length), 'A'), c.x,
                     c.y);
        g.run();
        const int first = c.y * c.width + c.x;
        for (int index = 0; index < c.width * c.height; ++index) {
            const bool inMessage = index >= first && index < first + c.length;
            EXPECT_EQ(g.canvas.pixel(index % c.width, index / c.width),
                      inMessage ? makeColour(kOne, 'A', kOne) : kRandomPixel)
                << index;
        }
        // Every run that fits finishes normally, also when no room is left for decoys.
        EXPECT_EQ(g.readingLengthField(), std::to_string(c.length));
        EXPECT_EQ(g.report.captions.back(), "Status: Väntar");
        const float steps = static_cast<float>(c.width * c.height + 1);
        EXPECT_EQ(g.report.progressReports.back(), (Progress{0, steps, steps}));
    }
}

TEST(Encoder, AdaptedMessageEndingOnTheLastPositionFinishes) {
    Generation g(2, 2, "ABCD", 0, 0, true);
    g.run();
    EXPECT_EQ(g.canvas.pixel(1, 1), makeColour(kOne, 'D', kOne));
    EXPECT_EQ(g.readingLengthField(), "4");
    EXPECT_EQ(g.report.messageIds(), std::vector{MessageId::EncryptionFinished});
}

struct ShiftCase {
    const char* name;
    std::string text;
    const char* shift;
    std::vector<Message> messages;
    const char* finalShift;
    int firstGreen;
};

TEST(Encoder, AnalysisKeepsEveryGreenByteInRange) {
    const ShiftCase cases[] = {
        {"highest code 246 with shift 29",
         "\xC3\xB6",
         "29",
         {{MessageId::ShiftTooHigh, {"29", "9"}}},
         "9",
         237},
        {"highest code plus shift exactly 255", "\xC3\xA2", "29", {}, "29", 226 - 29},
        {"line break below the shift",
         "\r\nA",
         "20",
         {{MessageId::ShiftAboveLowestCode, {"20", "10"}}},
         "10",
         3},
        {"negative shift pushes a high code past 255",
         "\xC3\xB6",
         "-20",
         {{MessageId::ShiftBelowHighestCode, {"-20", "-9"}}},
         "-9",
         255},
        {"negative shift raises green", "A", "-10", {}, "-10", 75},
        {"a whole shift written with an exponent", "I", "1e1", {}, "1e1", 'I' - 10},
        {"shift zero keeps the code", "Z", "0", {}, "0", 'Z'},
    };
    for (const ShiftCase& c : cases) {
        SCOPED_TRACE(c.name);
        Generation g(4, 2, c.text, 0, 0);
        g.shift = c.shift;
        g.run();
        EXPECT_EQ(g.report.messages, c.messages);
        EXPECT_EQ(g.shiftField(), c.finalShift);
        EXPECT_EQ(greenOf(g.canvas.pixel(0, 0)), c.firstGreen);
    }
}

TEST(Encoder, RefusesBeforeWritingAnything) {
    const struct {
        const char* name;
        std::string text;
        const char* x;
        const char* y;
        bool adapt;
        Message message;
    } cases[] = {
        {"empty input", "", "0", "0", false, {MessageId::NothingEntered, {}}},
        {"character outside the code page",
         "a\u0141",
         "0",
         "0",
         false,
         {MessageId::CharacterNotInCodePage, {"\u0141", "2"}}},
        {"x-key equal to the width",
         "A",
         "5",
         "0",
         false,
         {MessageId::KeyOutsideGrid, {"5", "0", "5", "4"}}},
        {"fractional key",
         "A",
         "3.5",
         "0",
         false,
         {MessageId::KeyOutsideGrid, {"3.5", "0", "5", "4"}}},
        {"negative y-key",
         "A",
         "0",
         "-1",
         false,
         {MessageId::KeyOutsideGrid, {"0", "-1", "5", "4"}}},
        {"longer than the room from the key",
         "ABC",
         "3",
         "3",
         false,
         {MessageId::MessageDoesNotFit, {"3", "2"}}},
        {"longer than the canvas in adapt mode",
         std::string(21, 'A'),
         "0",
         "0",
         true,
         {MessageId::MessageDoesNotFit, {"21", "20"}}},
        {"longer than the format allows",
         std::string(32768, 'A'),
         "0",
         "0",
         true,
         {MessageId::InputTooLong, {"32768"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Generation g(5, 4, c.text, 0, 0, c.adapt);
        g.xKey = c.x;
        g.yKey = c.y;
        g.run();
        EXPECT_EQ(g.report.messages, std::vector{c.message});
        EXPECT_EQ(g.canvas, Image(5, 4));
        EXPECT_TRUE(g.report.captions.empty());
        EXPECT_TRUE(g.report.progressReports.empty());
        EXPECT_FALSE(g.report.written);
        EXPECT_EQ(g.readingLengthField(), "");
    }
}

// A fractional shift would round every green byte to a neighbouring character.
TEST(Encoder, RefusesAShiftThatIsNotWhole) {
    const struct {
        const char* shift;
        NumberLocale locale;
        bool adapt;
    } cases[] = {
        {"0.5", NumberLocale::c(), false},  {"0.5", NumberLocale::c(), true},
        {"-1.5", NumberLocale::c(), false}, {"2,25", NumberLocale::swedish(), false},
        {"1e-3", NumberLocale::c(), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shift);
        Generation g(5, 4, "Hemligt", 0, 0, c.adapt);
        g.locale = c.locale;
        g.shift = c.shift;
        g.run();
        EXPECT_EQ(g.report.messages, (std::vector<Message>{{MessageId::ShiftNotWhole, {c.shift}}}));
        EXPECT_EQ(g.canvas, Image(5, 4));
        EXPECT_FALSE(g.report.written);
        EXPECT_EQ(g.readingLengthField(), "");
        EXPECT_EQ(g.shiftField(), c.shift);
    }
}

TEST(Encoder, SecondRunOverwritesTheFirst) {
    Generation g(5, 4, "Hej!", 3, 1);
    g.run();
    g.typed = "Å";
    g.xKey = "0";
    g.yKey = "0";
    g.run();
    EXPECT_EQ(g.canvas.pixel(0, 0), makeColour(kOne, 0xC5, kOne));
    EXPECT_EQ(g.canvas.pixel(3, 1), kRandomPixel);
    EXPECT_EQ(g.readingLengthField(), "1");
    EXPECT_EQ(g.runStart().x, 0);
}

} // namespace
} // namespace kvistra
