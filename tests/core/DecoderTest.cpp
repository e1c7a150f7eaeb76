#include "FakeHost.h"
#include "core/ColourSplit.h"
#include "core/DecoderRun.h"
#include "core/Encoder.h"
#include "core/Image.h"
#include "core/MessageCatalogue.h"

#include <gtest/gtest.h>

namespace kvistra {
namespace {

using testing::FakeHost;
using testing::ScriptedRandom;

// A canvas whose green bytes are the given text, from the top left, the rest white.
Image greenCanvas(int width, int height, const std::string& greens) {
    Image canvas(width, height);
    for (std::size_t i = 0; i < greens.size(); ++i) {
        canvas.setPixel(static_cast<int>(i) % width, static_cast<int>(i) / width,
                        makeColour(7, static_cast<unsigned char>(greens[i]), 9));
    }
    return canvas;
}

DecodeRequest request(int length, int x, int y, const char* shift = "0") {
    return {length, std::to_string(y), std::to_string(x), shift, NumberLocale::c()};
}

std::string textOf(const DecodeResult& result) {
    std::string text;
    for (const DecodedPosition& p : result.positions) {
        text += static_cast<char>(p.character);
    }
    return text;
}

TEST(Decoder, ReadsTheWorkedExampleBack) {
    FakeHost host;
    host.fields = {{Field::Text1, "Hej!"},
                   {Field::Combo2, "3"},
                   {Field::Combo1, "1"},
                   {Field::Stepping, "2"},
                   {Field::Text4, ""}};
    Image canvas(5, 4);
    ScriptedRandom random({0.3f, 0.9f, 0.1f});
    ProgramWideValues shared;
    Encoder(host, canvas, random, shared).generate();

    const DecodeResult result = decode(canvas, request(4, 3, 1, "2"));
    EXPECT_EQ(result.outcome, DecodeOutcome::Finished);
    EXPECT_EQ(textOf(result), "Hej!");
    EXPECT_EQ(result.positions.front().green, 70);
    EXPECT_EQ(result.positionCount, 4);
}

TEST(Decoder, WalksRowsFromColumnZeroAfterTheFirst) {
    const Image canvas = greenCanvas(4, 3, "....ABCDEFGH");
    EXPECT_EQ(textOf(decode(canvas, request(5, 2, 1))), "CDEFG");
    EXPECT_EQ(textOf(decode(canvas, request(12, 0, 0))), "....ABCDEFGH");
}

TEST(Decoder, Outcomes) {
    const Image canvas = greenCanvas(3, 2, "ABCDEF");
    const struct {
        const char* name;
        DecodeRequest request;
        DecodeOutcome outcome;
        std::string text;
        int failure;
        int barValue;
    } cases[] = {
        {"reads exactly to the last position", request(6, 0, 0), DecodeOutcome::Finished, "ABCDEF",
         0, 6},
        {"walk ends before the reading length", request(9, 1, 1), DecodeOutcome::Exhausted, "EF", 0,
         2},
        {"y-key at the height", request(2, 0, 2), DecodeOutcome::Exhausted, "", 0, 0},
        {"reading length zero", request(0, 0, 0), DecodeOutcome::Finished, "", 0, 0},
        {"negative reading length", request(-5, 0, 0), DecodeOutcome::Finished, "", 0, 0},
        {"x-key past the row goes on below", request(2, 7, 0), DecodeOutcome::Finished, "DE", 0, 2},
        {"fractional shift rounds half to even", request(1, 0, 0, "2.5"), DecodeOutcome::Finished,
         "D", 0, 1},
        {"negative key reads outside as code zero", request(3, -2, 0), DecodeOutcome::Finished,
         std::string("\0\0A", 3), 0, 3},
        {"y-key not numeric", {1, "y", "0", "0", {}}, DecodeOutcome::Failed, "", 13, 0},
        {"x-key not numeric", {1, "0", "x", "0", {}}, DecodeOutcome::Failed, "", 13, 0},
        {"x-key not read when the y-key is below",
         {1, "2", "x", "0", {}},
         DecodeOutcome::Exhausted,
         "",
         0,
         0},
        {"shift not numeric", {1, "0", "0", "s", {}}, DecodeOutcome::Failed, "", 13, 1},
        {"key outside 16 bits", {1, "40000", "0", "0", {}}, DecodeOutcome::Failed, "", 6, 0},
        {"code above 255", request(9, 1, 1, "186"), DecodeOutcome::Failed, "\xFF", 5, 2},
        {"negative code", request(1, 0, 0, "-66"), DecodeOutcome::Failed, "", 5, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodeResult result = decode(canvas, c.request);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(textOf(result), c.text);
        EXPECT_EQ(result.failureNumber, c.failure);
        EXPECT_EQ(result.positionCount, c.barValue);
    }
}

TEST(Decoder, FailureSaysWhichValueOrCharacterCouldNotBeRead) {
    const Image canvas = greenCanvas(3, 2, "ABCDEF");
    const struct {
        const char* name;
        DecodeRequest request;
        DecodeFailure failure;
        std::string text;
    } cases[] = {
        {"y-key not numeric",
         {1, "y", "0", "0", {}},
         {DecodeValue::YKey, "y"},
         "Följande fel uppstod: Nyckel-y \"y\" är inget tal."},
        {"x-key not numeric",
         {1, "0", "x", "0", {}},
         {DecodeValue::XKey, "x"},
         "Följande fel uppstod: Nyckel-x \"x\" är inget tal."},
        {"key outside 16 bits",
         {1, "40000", "0", "0", {}},
         {DecodeValue::YKey, "40000"},
         "Följande fel uppstod: Nyckel-y \"40000\" ligger utanför -32768 till 32767."},
        {"shift not numeric",
         {1, "1", "2", "s", {}},
         {DecodeValue::Shift, "s", 1, 2, 1, 'F'},
         "Följande fel uppstod: Tecken nummer 1 (bildpunkt 2, 1) kunde inte läsas: "
         "förskjutningen \"s\" är inget tal."},
        {"code above 255, second character",
         request(9, 1, 1, "186"),
         {DecodeValue::Shift, "186", 2, 2, 1, 'F'},
         "Följande fel uppstod: Tecken nummer 2 (bildpunkt 2, 1) kunde inte läsas: det gröna "
         "värdet 70 med förskjutningen 186 ger ingen teckenkod mellan 0 och 255."},
        {"negative code outside the canvas",
         request(3, -1, 0, "-1"),
         {DecodeValue::Shift, "-1", 1, -1, 0, 0},
         "Följande fel uppstod: Tecken nummer 1 (bildpunkt -1, 0) kunde inte läsas: det gröna "
         "värdet 0 med förskjutningen -1 ger ingen teckenkod mellan 0 och 255."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodeResult result = decode(canvas, c.request);
        ASSERT_EQ(result.outcome, DecodeOutcome::Failed);
        EXPECT_EQ(result.failure, c.failure);
        const std::string shown =
            describe(decodeFailedMessage(result.failureNumber, result.failure)).text;
        EXPECT_EQ(shown, c.text +
                             "\r\nKontrollera att nyckel-x, nyckel-y, förskjutningen och "
                             "inläsningslängden hör till den här bilden.\r\nFelkod: " +
                             std::to_string(result.failureNumber));
    }
}

TEST(Decoder, ReadsTheLongestMessageWithoutOverflow) {
    const Image canvas = greenCanvas(200, 200, std::string(32767, 'x'));
    const DecodeResult result = decode(canvas, request(32767, 0, 0));
    EXPECT_EQ(result.outcome, DecodeOutcome::Finished);
    EXPECT_EQ(result.positions.size(), 32767u);
}

TEST(ReadingLength, TakesTheLeadingNumber) {
    EXPECT_EQ(readingLengthOf("12"), 12);
    EXPECT_EQ(readingLengthOf(""), 0);
    EXPECT_EQ(readingLengthOf("2.5"), 2);
    EXPECT_EQ(readingLengthOf("40000"), std::nullopt);
}

TEST(ColourSplit, Convert) {
    const struct {
        Colour colour;
        ColourChannels channels;
    } cases[] = {
        {kWhite, {255, 255, 255}},
        {makeColour(1, 72, 3), {1, 72, 3}},
        {-1, {0, 0, 0}},
        {0x01123456, {0x56, 0x34, 0x12}},
        {0x02000102, {2, 1, 0}},
        {static_cast<Colour>(0x80000005u), {255, 255, 255}}, // the window background
        {0x03000000, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(convert(c.colour), c.channels) << c.colour;
    }
}

struct DecoderRunFixture : ::testing::Test {
    FakeHost host;
    ProgramWideValues shared;
    Image canvas = greenCanvas(3, 2, "Hej");

    void SetUp() override {
        shared.DecryptEnabled = true;
        host.fields[Field::Combo1] = "0";
        host.fields[Field::Combo2] = "0";
        host.fields[Field::Text4] = "3";
        host.fields[Field::Text2] = "old";
        host.fields[Field::Text3] = "old";
        host.list = {"old"};
        host.clockReadings = {100.0, 100.25};
    }
};

TEST_F(DecoderRunFixture, FillsTheBoxesAndReportsTheTime) {
    runDecoder(host, canvas, shared);
    EXPECT_EQ(host.fields[Field::Text2], "Hej");
    EXPECT_EQ(host.fields[Field::Text3], "");
    EXPECT_EQ(host.list, (std::vector<std::string>{"72 - H", "101 - e", "106 - j"}));
    EXPECT_EQ(host.captions, std::vector<std::string>{"Status: Dekrypterar"});
    EXPECT_EQ(host.progress.back(), (Progress{0, 3, 3}));
    EXPECT_EQ(host.messages, (std::vector<Message>{{MessageId::DecodeFinished, {"0.25"}}}));
    EXPECT_EQ(host.clockSwitches, (std::vector<bool>{true, false}));
}

// The time of day wraps from 86399.5 to 0.25 seconds here; the monotonic clock goes on.
TEST_F(DecoderRunFixture, ElapsedTimeUsesTheLocaleAndStaysTrueAcrossMidnight) {
    host.locale = NumberLocale::swedish();
    host.clockReadings = {86399.5, 86400.25};
    runDecoder(host, canvas, shared);
    EXPECT_EQ(host.messages, (std::vector<Message>{{MessageId::DecodeFinished, {"0,75"}}}));
}

TEST_F(DecoderRunFixture, ShiftedListLine) {
    canvas.setPixel(0, 0, makeColour(0, 69, 0));
    host.fields[Field::Stepping] = "3";
    host.fields[Field::Text4] = "1";
    runDecoder(host, canvas, shared);
    EXPECT_EQ(host.list, std::vector<std::string>{"69 - H"});
}

TEST_F(DecoderRunFixture, FailureKeepsThePartialOutputAndTheClockRunning) {
    host.fields[Field::Text4] = "5";
    host.fields[Field::Stepping] = "1";
    runDecoder(host, canvas, shared);
    EXPECT_EQ(host.fields[Field::Text2], "Ifk");
    EXPECT_EQ(host.list.size(), 3u);
    EXPECT_EQ(host.messages, (std::vector<Message>{{MessageId::DecodeFailed,
                                                    {"5", "shift", "1", "4", "0", "1", "255"}}}));
    EXPECT_EQ(host.clockSwitches, std::vector<bool>{true});
    EXPECT_EQ(host.progress.back(), (Progress{0, 5, 4}));
}

TEST_F(DecoderRunFixture, ReadingLengthOverflowIsReportedBeforeAnythingIsCleared) {
    host.fields[Field::Text4] = "99999";
    runDecoder(host, canvas, shared);
    EXPECT_EQ(host.messages,
              (std::vector<Message>{{MessageId::DecodeFailed, {"6", "length", "99999"}}}));
    EXPECT_EQ(host.fields[Field::Text2], "old");
    EXPECT_TRUE(host.clockSwitches.empty());
}

TEST_F(DecoderRunFixture, ExhaustedWalkSaysHowMuchWasRead) {
    host.fields[Field::Combo1] = "1";
    host.fields[Field::Text4] = "10";
    runDecoder(host, canvas, shared);
    EXPECT_EQ(host.messages, (std::vector<Message>{{MessageId::DecodeExhausted, {"3", "10"}}}));
    EXPECT_EQ(host.clockSwitches, (std::vector<bool>{true, false}));
}

TEST_F(DecoderRunFixture, DisabledDoesNothing) {
    shared.DecryptEnabled = false;
    runDecoder(host, canvas, shared);
    EXPECT_TRUE(host.captions.empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.fields[Field::Text2], "old");
    EXPECT_EQ(host.list, std::vector<std::string>{"old"});
}

} // namespace
} // namespace kvistra
