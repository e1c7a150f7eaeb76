#include "NumericText.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

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

// strtod in the C locale on a canonical "-123.45e6" text.
std::optional<double> toDouble(const std::string& canonical) {
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(canonical.c_str(), &end);
    if (end != canonical.c_str() + canonical.size() || !std::isfinite(value)) {
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
        canonical += text[i++];
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
    const double value = std::strtod(canonical.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

std::string formatGeneral(double value, const NumberLocale& locale) {
    if (value == 0.0) {
        return "0";
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text = buffer;

    // %G keeps trailing zeros out already; mend the exponent to at least two digits
    // and swap in the locale's decimal separator.
    const std::size_t e = text.find('E');
    std::string mantissa = text.substr(0, e);
    std::string exponent = e == std::string::npos ? std::string() : text.substr(e);
    if (const std::size_t point = mantissa.find('.'); point != std::string::npos) {
        mantissa.replace(point, 1, locale.decimalSeparator);
    }
    return mantissa + exponent;
}

} // namespace kvistra
