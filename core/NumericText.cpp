// SPDX-License-Identifier: GPL-3.0-or-later
#include "NumericText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace kvistra {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Moves the digits at the start of text to out; how many there were.
int takeDigits(std::string_view& text, std::string& out) {
    int count = 0;
    while (!text.empty() && isDigit(text.front())) {
        out += text.front();
        text.remove_prefix(1);
        ++count;
    }
    return count;
}

bool consume(std::string_view& text, std::string_view prefix) {
    if (prefix.empty() || !text.starts_with(prefix)) {
        return false;
    }
    text.remove_prefix(prefix.size());
    return true;
}

// Whether a canonical number out of the double range is so for being near zero:
// its first significant digit stands right of the decimal point.
bool tooSmallForDouble(std::string_view canonical) {
    long long exponent = 0;
    if (const std::size_t e = canonical.find('e'); e != std::string_view::npos) {
        std::string_view digits = canonical.substr(e + 1);
        const bool negative = digits.starts_with('-');
        if (negative || digits.starts_with('+')) {
            digits.remove_prefix(1);
        }
        for (const char c : digits) {
            exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
        }
        if (negative) {
            exponent = -exponent;
        }
        canonical = canonical.substr(0, e);
    }
    if (canonical.starts_with('-')) {
        canonical.remove_prefix(1);
    }
    const std::size_t point = std::min(canonical.find('.'), canonical.size());
    const std::size_t firstSignificant = canonical.find_first_not_of("0.");
    if (firstSignificant == std::string_view::npos) {
        return true;
    }
    const long long position = firstSignificant < point
                                   ? static_cast<long long>(point - firstSignificant)
                                   : -static_cast<long long>(firstSignificant - point - 1);
    return position + exponent <= 0;
}

// A canonical "-123.45e6" text as a number. std::from_chars follows no locale,
// unlike strtod, whose decimal point is the process locale's.
std::optional<double> toDouble(std::string_view canonical) {
    double value = 0.0;
    const char* const end = canonical.data() + canonical.size();
    const auto [stop, error] = std::from_chars(canonical.data(), end, value);
    if (stop != end) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        // Too small a number reads as zero; too large a one is no number.
        if (!tooSmallForDouble(canonical)) {
            return std::nullopt;
        }
        return canonical.starts_with('-') ? -0.0 : 0.0;
    }
    if (error != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<double> parseNumber(std::string_view text, const NumberLocale& locale) {
    text = trimBlanks(text);
    std::string canonical;
    if (consume(text, "-")) {
        canonical += '-';
    } else {
        consume(text, "+");
    }

    // Group separators may stand between digits of the whole part.
    const std::string_view group = locale.groupSeparator;
    const bool groupsAllowed = !group.empty() && group != locale.decimalSeparator;
    int digits = takeDigits(text, canonical);
    while (digits > 0 && groupsAllowed && text.size() > group.size() && text.starts_with(group) &&
           isDigit(text[group.size()])) {
        text.remove_prefix(group.size());
        digits += takeDigits(text, canonical);
    }
    if (consume(text, locale.decimalSeparator)) {
        canonical += '.';
        digits += takeDigits(text, canonical);
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (!text.empty() && (text.front() == 'e' || text.front() == 'E')) {
        canonical += 'e';
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
            canonical += text.front();
            text.remove_prefix(1);
        }
        if (takeDigits(text, canonical) == 0) {
            return std::nullopt;
        }
    }
    if (!text.empty()) {
        return std::nullopt;
    }
    return toDouble(canonical);
}

double leadingNumber(std::string_view text) {
    // Blanks count for nothing anywhere in the number, as in "1 2" reading 12.
    std::string canonical;
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && (isBlank(text[i]) || text[i] == '\n')) {
            ++i;
        }
    };
    skipBlanks();
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') {
            canonical += '-';
        }
        ++i;
    }
    bool seenPoint = false;
    int digits = 0;
    for (skipBlanks(); i < text.size(); skipBlanks()) {
        if (isDigit(text[i])) {
            canonical += text[i++];
            ++digits;
        } else if (text[i] == '.' && !seenPoint) {
            canonical += text[i++];
            seenPoint = true;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) {
            exponent += text[j++];
        }
        const std::size_t firstDigit = j;
        while (j < text.size() && isDigit(text[j])) {
            exponent += text[j++];
        }
        if (j > firstDigit) {
            canonical += exponent;
        }
    }
    return toDouble(canonical).value_or(0.0);
}

std::string formatGeneral(double value, const NumberLocale& locale) {
    if (value == 0.0) {
        return "0";
    }
    // As printf's %.15G, without the C library's locale.
    char buffer[64];
    const auto [stop, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, error == std::errc() ? stop : buffer);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c == 'e' ? 'E' : c; });

    // The general form keeps trailing zeros out and the exponent at two digits or
    // more; swap in the locale's decimal separator.
    const std::size_t e = text.find('E');
    std::string mantissa = text.substr(0, e);
    std::string exponent = e == std::string::npos ? std::string() : text.substr(e);
    if (const std::size_t point = mantissa.find('.'); point != std::string::npos) {
        mantissa.replace(point, 1, locale.decimalSeparator);
    }
    return mantissa + exponent;
}

std::string formatGrouped(std::int64_t value, const NumberLocale& locale) {
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const std::string digits = std::to_string(magnitude);
    std::string text = value < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += locale.groupSeparator;
        }
        text += digits[i];
    }
    return text;
}

} // namespace kvistra
