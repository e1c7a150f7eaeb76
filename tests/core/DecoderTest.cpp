// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingReports.h"
#include "ScriptedRandom.h"
#include "core/ColourSplit.h"
#include "core/DecodeFailedMessage.h"
#include "core/DecoderRun.h"
#include "core/Encoder.h"
#include "core/Image.h"
#include "words/MessageCatalogue.h"

#include <gtest/gtest.h>

namespace kvistra {
namespace {

using test::RecordingDecodeReport;
using test::RecordingEncodeReport;
using test::ScriptedRandom;

// A canvas whose green bytes are the given text, from the top left, the rest white.
Image greenCanvas(int width, int height, const std::string& greens) {
    Image canvas(width, height);
    for (std::size_t i = 0; i < greens.size(); ++i) {
        canvas.setPixel(static_cast<int>(i) % width, static_cast<int>(i) / width,
                        makeColour(7, static_cast<unsigned char>(greens[i]), 9));
    }
    return canvas;
}

// The texts read by the decoder's rules, as a front end reads its fields.
DecodeRequest read(int length, const std::string& y, const std::string& x,
                   const std::string& shift) {
    const NumberLocale c = NumberLocale::c();
    return {length, roundedKey(y, c), roundedKey(x, c), shiftNumber(shift, c)};
}

DecodeRequest request(int length, int x, int y, const char* shift = "0") {
    return read(length, std::to_string(y), std::to_string(x), shift);
}

std::string textOf(const DecodeResult& result) {
    std::string text;
    for (const DecodedPosition& p : result.positions) {
        text += static_cast<char>(p.character);
    }
    return text;
}

TEST(Decoder, ReadsTheWorkedExampleBack) {
    RecordingEncodeReport report;
    Image canvas(5, 4);
    ScriptedRandom random({0.3f, 0.9f, 0.1f});
    ASSERT_TRUE(
        Encoder(canvas, random, report)
            .generate({"Hej!", wholeKey("3", NumberLocale::c()), wholeKey("1", NumberLocale::c()),
                       shiftNumber("2", NumberLocale::c()), false}));

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
        FailureNumber failure;
        int barValue;
    } cases[] = {
        {"reads exactly to the last position", request(6, 0, 0), DecodeOutcome::Finished, "ABCDEF",
         FailureNumber::None, 6},
        {"walk ends before the reading length", request(9, 1, 1), DecodeOutcome::Exhausted, "EF",
         FailureNumber::None, 2},
        {"y-key at the height", request(2, 0, 2), DecodeOutcome::Exhausted, "", FailureNumber::None,
         0},
        {"reading length zero", request(0, 0, 0), DecodeOutcome::Finished, "", FailureNumber::None,
         0},
        {"negative reading length", request(-5, 0, 0), DecodeOutcome::Finished, "",
         FailureNumber::None, 0},
        {"x-key past the row goes on below", request(2, 7, 0), DecodeOutcome::Finished, "DE",
         FailureNumber::None, 2},
        {"fractional shift rounds half to even", request(1, 0, 0, "2.5"), DecodeOutcome::Finished,
         "D", FailureNumber::None, 1},
        {"negative key reads outside as code zero", request(3, -2, 0), DecodeOutcome::Finished,
         std::string("\0\0A", 3), FailureNumber::None, 3},
        {"y-key not numeric", read(1, "y", "0", "0"), DecodeOutcome::Failed, "",
         FailureNumber::TypeMismatch, 0},
        {"x-key not numeric", read(1, "0", "x", "0"), DecodeOutcome::Failed, "",
         FailureNumber::TypeMismatch, 0},
        {"x-key not read when the y-key is below", read(1, "2", "x", "0"), DecodeOutcome::Exhausted,
         "", FailureNumber::None, 0},
        {"shift not numeric", read(1, "0", "0", "s"), DecodeOutcome::Failed, "",
         FailureNumber::TypeMismatch, 1},
        {"key outside 16 bits", read(1, "40000", "0", "0"), DecodeOutcome::Failed, "",
         FailureNumber::Overflow, 0},
        {"code above 255", request(9, 1, 1, "186"), DecodeOutcome::Failed, "\xFF",
         FailureNumber::InvalidArgument, 2},
        {"negative code", request(1, 0, 0, "-66"), DecodeOutcome::Failed, "",
         FailureNumber::InvalidArgument, 1},
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
        std::string number; // in the error report
    } cases[] = {
        {"y-key not numeric",
         read(1, "y", "0", "0"),
         {DecodeValue::YKey, "y"},
         "Följande fel uppstod: Nyckel-y \"y\" är inget tal.",
         "13"},
        {"x-key not numeric",
         read(1, "0", "x", "0"),
         {DecodeValue::XKey, "x"},
         "Följande fel uppstod: Nyckel-x \"x\" är inget tal.",
         "13"},
        {"key outside 16 bits",
         read(1, "40000", "0", "0"),
         {DecodeValue::YKey, "40000"},
         "Följande fel uppstod: Nyckel-y \"40000\" ligger utanför -32768 till 32767.",
         "6"},
        {"shift not numeric",
         read(1, "1", "2", "s"),
         {DecodeValue::Shift, "s", 1, 2, 1, 'F'},
         "Följande fel uppstod: Tecken nummer 1 (bildpunkt 2, 1) kunde inte läsas: "
         "förskjutningen \"s\" är inget tal.",
         "13"},
        {"code above 255, second character",
         request(9, 1, 1, "186"),
         {DecodeValue::Shift, "186", 2, 2, 1, 'F'},
         "Följande fel uppstod: Tecken nummer 2 (bildpunkt 2, 1) kunde inte läsas: det gröna "
         "värdet 70 med förskjutningen 186 ger ingen teckenkod mellan 0 och 255.",
         "5"},
        {"negative code outside the canvas",
         request(3, -1, 0, "-1"),
         {DecodeValue::Shift, "-1", 1, -1, 0, 0},
         "Följande fel uppstod: Tecken nummer 1 (bildpunkt -1, 0) kunde inte läsas: det gröna "
         "värdet 0 med förskjutningen -1 ger ingen teckenkod mellan 0 och 255.",
         "5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodeResult result = decode(canvas, c.request);
        ASSERT_EQ(result.outcome, DecodeOutcome::Failed);
        EXPECT_EQ(result.failure, c.failure);
        const Message failed = decodeFailedMessage(result.failureNumber, result.failure);
        EXPECT_EQ(describe(failed).text,
                  c.text +
                      "\r\nKontrollera att nyckel-x, nyckel-y, förskjutningen och "
                      "inläsningslängden hör till den här bilden.\r\nFelkod: " +
                      failed.args.at(0));
        EXPECT_EQ(failed.args.at(0), c.number);
    }
}

TEST(Decoder, ReadsTheLongestMessageWithoutOverflow) {
    const Image canvas = greenCanvas(200, 200, std::string(32767, 'x'));
    const DecodeResult result = decode(canvas, request(32767, 0, 0));
    EXPECT_EQ(result.outcome, DecodeOutcome::Finished);
    EXPECT_EQ(result.positions.size(), 32767u);
}

TEST(ReadingLength, TakesTheLeadingNumber) {
    EXPECT_EQ(readingLengthNumber("12").value, 12);
    EXPECT_EQ(readingLengthNumber("").value, 0);
    EXPECT_EQ(readingLengthNumber("2.5").value, 2);
    EXPECT_EQ(readingLengthNumber("40000").value, std::nullopt);
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
    RecordingDecodeReport report;
    DecodeRunRequest request = readingRequest("3", "0", "0", "0", NumberLocale::c());
    Image canvas = greenCanvas(3, 2, "Hej");

    void SetUp() override { report.clockReadings = {100.0, 100.25}; }
    void run() { runDecoder(canvas, request, report); }
};

TEST_F(DecoderRunFixture, FillsTheBoxesAndReportsTheTime) {
    run();
    EXPECT_EQ(report.decryptedText, "Hej");
    EXPECT_EQ(report.directData, "");
    EXPECT_EQ(report.list, (std::vector<std::string>{"72 - H", "101 - e", "106 - j"}));
    EXPECT_EQ(report.captions, std::vector<std::string>{"Status: Dekrypterar"});
    EXPECT_EQ(report.progressReports.back(), (Progress{0, 3, 3}));
    EXPECT_EQ(report.messages, (std::vector<Message>{{MessageId::DecodeFinished, {"0.25"}}}));
    EXPECT_EQ(report.clockSwitches, (std::vector<bool>{true, false}));
}

// The time of day wraps from 86399.5 to 0.25 seconds here; the monotonic clock goes on.
TEST_F(DecoderRunFixture, ElapsedTimeUsesTheLocaleAndStaysTrueAcrossMidnight) {
    request.locale = NumberLocale::swedish();
    report.clockReadings = {86399.5, 86400.25};
    run();
    EXPECT_EQ(report.messages, (std::vector<Message>{{MessageId::DecodeFinished, {"0,75"}}}));
}

TEST_F(DecoderRunFixture, ShiftedListLine) {
    canvas.setPixel(0, 0, makeColour(0, 69, 0));
    request.shift = shiftNumber("3", NumberLocale::c());
    request.readingLength = readingLengthNumber("1");
    run();
    EXPECT_EQ(report.list, std::vector<std::string>{"69 - H"});
}

TEST_F(DecoderRunFixture, FailureKeepsThePartialOutputAndTheClockRunning) {
    request.readingLength = readingLengthNumber("5");
    request.shift = shiftNumber("1", NumberLocale::c());
    run();
    EXPECT_EQ(report.decryptedText, "Ifk");
    EXPECT_EQ(report.list.size(), 3u);
    EXPECT_EQ(report.messages, (std::vector<Message>{{MessageId::DecodeFailed,
                                                      {"5", "shift", "1", "4", "0", "1", "255"}}}));
    EXPECT_EQ(report.clockSwitches, std::vector<bool>{true});
    EXPECT_EQ(report.progressReports.back(), (Progress{0, 5, 4}));
}

TEST_F(DecoderRunFixture, ReadingLengthOverflowIsReportedBeforeAnythingIsCleared) {
    request.readingLength = readingLengthNumber("99999");
    run();
    EXPECT_EQ(report.messages,
              (std::vector<Message>{{MessageId::DecodeFailed, {"6", "length", "99999"}}}));
    EXPECT_EQ(report.decryptedText, "old");
    EXPECT_TRUE(report.clockSwitches.empty());
}

TEST_F(DecoderRunFixture, ExhaustedWalkSaysHowMuchWasRead) {
    request.yKey = roundedKey("1", NumberLocale::c());
    request.readingLength = readingLengthNumber("10");
    run();
    EXPECT_EQ(report.messages, (std::vector<Message>{{MessageId::DecodeExhausted, {"3", "10"}}}));
    EXPECT_EQ(report.clockSwitches, (std::vector<bool>{true, false}));
}

} // namespace
} // namespace kvistra
