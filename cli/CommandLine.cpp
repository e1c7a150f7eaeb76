// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include "TerminalReport.h"
#include "Usage.h"
#include "core/Capacity.h"
#include "core/NumericText.h"

#include <cmath>

namespace kvistra::cli {

int usageError(Console& console, const std::string& problem, const char* usage) {
    console.err << kProgramPrefix << problem << "\n\n" << usage;
    return UsageError;
}

int failure(Console& console, const Message& message) {
    console.err << terminalText(message) << '\n';
    return Failure;
}

std::variant<Arguments, int> commandArguments(const std::vector<std::string>& args,
                                              KnownOptions known, const char* usage,
                                              Console& console) {
    known.flags.insert("--help");
    known.flags.insert("-h");
    auto parsed = parseArguments(args, known);
    if (const auto* problem = std::get_if<std::string>(&parsed)) {
        return usageError(console, *problem, usage);
    }
    if (std::get<Arguments>(parsed).has("--help") || std::get<Arguments>(parsed).has("-h")) {
        console.out << usage;
        return Success;
    }
    return std::move(std::get<Arguments>(parsed));
}

std::optional<int> wholeNumber(const std::string& text) {
    const std::optional<double> value = parseNumber(text, NumberLocale::commandLine());
    if (!value || *value != std::trunc(*value) || std::abs(*value) > 1e9) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

std::optional<std::string> notANumber(const Arguments& arguments,
                                      std::initializer_list<const char*> options) {
    for (const char* option : options) {
        const std::optional<std::string> text = arguments.value(option);
        if (text && !parseNumber(*text, NumberLocale::commandLine())) {
            return optionNotANumber(option, *text);
        }
    }
    return std::nullopt;
}

std::optional<Size> parseSize(const std::string& text) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) {
        return std::nullopt;
    }
    const std::optional<int> width = wholeNumber(text.substr(0, x));
    const std::optional<int> height = wholeNumber(text.substr(x + 1));
    if (!width || !height || *width < 1 || *height < 1 || *width > kLongestSide ||
        *height > kLongestSide) {
        return std::nullopt;
    }
    return Size{*width, *height};
}

} // namespace kvistra::cli
