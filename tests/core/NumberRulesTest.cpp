#include "core/NumericText.h"
#include "core/Rounding.h"

#include <gtest/gtest.h>
#include <limits>

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

struct ParseCase {
    const char* text;
    std::optional<double> c;
    std::optional<double> swedish;
};

TEST(ParseNumber, FollowsTheLocale) {
    const ParseCase cases[] = {
        {"5", 5, 5},
        {"  -3 ", -3, -3},
        {"+7", 7, 7},
        {"2.5", 2.5, std::nullopt},
        {"2,5", 25, 2.5},
        {"1,234", 1234, 1.234},
        {"1\u00A0234", std::nullopt, 1234},
        {"1e3", 1000, 1000},
        {"1.5E-2", 0.015, std::nullopt},
        {".5", 0.5, std::nullopt},
        {",5", std::nullopt, 0.5},
        {"5.", 5, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"   ", std::nullopt, std::nullopt},
        {"abc", std::nullopt, std::nullopt},
        {"12abc", std::nullopt, std::nullopt},
        {"1e", std::nullopt, std::nullopt},
        {"--1", std::nullopt, std::nullopt},
        {"1e400", std::nullopt, std::nullopt},
        {",", std::nullopt, std::nullopt},
        {"1,,2", std::nullopt, std::nullopt},
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(parseNumber(c.text, NumberLocale::c()), c.c) << '"' << c.text << '"';
        EXPECT_EQ(parseNumber(c.text, NumberLocale::swedish()), c.swedish) << '"' << c.text << '"';
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

} // namespace
} // namespace kvistra
