// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/KeyNumbers.h"
#include "core/NumericText.h"
#include "core/Rounding.h"

#include <clocale>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace kvistra {
namespace {

TEST(RoundHalfEven, ExactHalvesGoToTheEvenNeighbour) {
    const struct {
        double in;
        double out;
    } cases[] = {{2.5, 2},    {3.5, 4},    {-2.5, -2}, {-3.5, -4}, {0.5, 0},    {1.5, 2},
                 {2.4999, 2}, {2.5001, 3}, {72.5, 72}, {-0.5, 0},  {102.5, 102}};
    for (const auto& c : cases) {
        EXPECT_EQ(roundHalfEven(c.in), c.out) << c.in;
    }
}

TEST(ToInt16, RoundsThenChecksTheRange) {
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(toInt16(32767.5), std::nullopt); // rounds to 32768
    EXPECT_EQ(toInt16(-32768.5), -32768);      // rounds to the even -32768
    EXPECT_EQ(toInt16(-32769), std::nullopt);
    EXPECT_EQ(toInt16(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    EXPECT_EQ(toInt16(1e300), std::nullopt);
}

// The two rules a key is read by: the encoder's takes whole numbers only, the
// decoder's rounds and says why it has no number.
TEST(KeyNumbers, TheEncoderTakesWholeNumbersTheDecoderRounds) {
    const struct {
        const char* text;
        std::optional<int> whole;
        std::optional<int> rounded;
        FailureNumber failure;
    } cases[] = {
        {"12", 12, 12, FailureNumber::None},
        {"12,0", 12, 12, FailureNumber::None},
        {"2,5", std::nullopt, 2, FailureNumber::None},
        {"3,5", std::nullopt, 4, FailureNumber::None},
        {"-32768", -32768, -32768, FailureNumber::None},
        {"32767,5", std::nullopt, std::nullopt, FailureNumber::Overflow},
        {"40000", std::nullopt, std::nullopt, FailureNumber::Overflow},
        {"x", std::nullopt, std::nullopt, FailureNumber::TypeMismatch},
        {"", std::nullopt, std::nullopt, FailureNumber::TypeMismatch},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const KeyNumber whole = wholeKey(c.text, NumberLocale::swedish());
        const KeyNumber rounded = roundedKey(c.text, NumberLocale::swedish());
        EXPECT_EQ(whole.value, c.whole);
        EXPECT_EQ(rounded.value, c.rounded);
        EXPECT_EQ(rounded.failure, c.failure);
        // Messages quote the text as typed.
        EXPECT_EQ(whole.text, c.text);
        EXPECT_EQ(rounded.text, c.text);
    }
    EXPECT_EQ(readingLengthNumber("12 tecken").value, 12);
    EXPECT_EQ(readingLengthNumber("99999").failure, FailureNumber::Overflow);
    EXPECT_EQ(checkWholeShift(shiftNumber("2,0", NumberLocale::swedish())).ok(), true);
    EXPECT_EQ(checkWholeShift(shiftNumber("2,5", NumberLocale::swedish())).problem(),
              (Message{MessageId::ShiftNotWhole, {"2,5"}}));
    EXPECT_EQ(checkWholeShift(shiftNumber("s", NumberLocale::swedish())).problem(),
              (Message{MessageId::ValueNotNumeric, {}}));
}

struct ParseCase {
    const char* text;
    std::optional<double> c;
    std::optional<double> swedish;
    std::optional<double> commandLine;
};

TEST(ParseNumber, FollowsTheLocale) {
    const std::nullopt_t no = std::nullopt;
    const ParseCase cases[] = {
        {"5", 5, 5, 5},
        {"  -3 ", -3, -3, -3},
        {"+7", 7, 7, 7},
        {"2.5", 2.5, no, 2.5},
        {"2,5", 25, 2.5, no},
        {"1,234", 1234, 1.234, no},
        {"1\u00A0234", no, 1234, no},
        {"1e3", 1000, 1000, 1000},
        {"1.5E-2", 0.015, no, 0.015},
        {".5", 0.5, no, 0.5},
        {",5", no, 0.5, no},
        {"5.", 5, no, 5},
        {"", no, no, no},
        {"   ", no, no, no},
        {"abc", no, no, no},
        {"12abc", no, no, no},
        {"1e", no, no, no},
        {"--1", no, no, no},
        {"1e400", no, no, no},
        {"1e-400", 0, 0, 0},
        {"0.00001e-320", 0, no, 0},
        {"100000e-330", 0, 0, 0},
        {",", no, no, no},
        {"1,,2", no, no, no},
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(parseNumber(c.text, NumberLocale::c()), c.c) << '"' << c.text << '"';
        EXPECT_EQ(parseNumber(c.text, NumberLocale::swedish()), c.swedish) << '"' << c.text << '"';
        EXPECT_EQ(parseNumber(c.text, NumberLocale::commandLine()), c.commandLine)
            << '"' << c.text << '"';
    }
    EXPECT_EQ(parseNumber(std::string("1\0", 2), NumberLocale::c()), std::nullopt);
}

TEST(LeadingNumber, ReadsTheNumberAtTheStart) {
    const struct {
        const char* text;
        double value;
    } cases[] = {{"12", 12},       {"  12abc", 12}, {"-4", -4},  {"3.5 tecken", 3.5},
                 {"", 0},          {"abc", 0},      {"1 2", 12}, {"2,5", 2},
                 {".5", 0.5},      {"1e2", 100},    {"1e", 1},   {"+ 7", 7},
                 {"32767", 32767}, {"1.2.3", 1.2},  {"\t9", 9},  {"1e999", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(leadingNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(FormatGeneral, FifteenSignificantDigitsInTheLocale) {
    const struct {
        double value;
        const char* c;
        const char* swedish;
    } cases[] = {
        {0, "0", "0"},
        {3, "3", "3"},
        {0.25, "0.25", "0,25"},
        {-1.5, "-1.5", "-1,5"},
        {0.0234375, "0.0234375", "0,0234375"},
        {1.0 / 3.0, "0.333333333333333", "0,333333333333333"},
        {1.5e20, "1.5E+20", "1,5E+20"},
        {1e-7, "1E-07", "1E-07"},
        {123456789012345678.0, "1.23456789012346E+17", "1,23456789012346E+17"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatGeneral(c.value, NumberLocale::c()), c.c);
        EXPECT_EQ(formatGeneral(c.value, NumberLocale::swedish()), c.swedish);
    }
}

// Qt sets the process locale from LANG; the number rules must not follow it.
class InSwedishProcessLocale : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = std::setlocale(LC_ALL, nullptr);
        if (std::setlocale(LC_ALL, "sv_SE.UTF-8") == nullptr) {
            GTEST_SKIP() << "the locale sv_SE.UTF-8 is not generated";
        }
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

private:
    std::string saved_;
};

TEST_F(InSwedishProcessLocale, NumbersFollowOnlyTheGivenLocale) {
    EXPECT_EQ(parseNumber("2,5", NumberLocale::swedish()), 2.5);
    EXPECT_EQ(parseNumber("-1,25e1", NumberLocale::swedish()), -12.5);
    EXPECT_EQ(parseNumber("2.5", NumberLocale::swedish()), std::nullopt);
    EXPECT_EQ(parseNumber("2.5", NumberLocale::commandLine()), 2.5);
    EXPECT_EQ(parseNumber("1.5", NumberLocale::c()), 1.5);
    EXPECT_EQ(leadingNumber("3.5 tecken"), 3.5);
    EXPECT_EQ(formatGeneral(0.25, NumberLocale::c()), "0.25");
    EXPECT_EQ(formatGeneral(0.25, NumberLocale::swedish()), "0,25");
    EXPECT_EQ(formatGeneral(1.5e20, NumberLocale::c()), "1.5E+20");
}

} // namespace
} // namespace kvistra
