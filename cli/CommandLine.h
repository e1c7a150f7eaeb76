// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Arguments.h"
#include "Commands.h"
#include "core/Message.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kvistra::cli {

// --out - writes standard output.
inline constexpr const char* kStandardOut = "-";

struct Size {
    int width;
    int height;
};

// The problem and the command's usage on standard error; the usage-error status.
int usageError(Console& console, const std::string& problem, const char* usage);
// The message on standard error; the failure status.
int failure(Console& console, const Message& message);

// A command's arguments, or the status to end with at once: after --help, or
// on a usage error.
std::variant<Arguments, int> commandArguments(const std::vector<std::string>& args,
                                              KnownOptions known, const char* usage,
                                              Console& console);

// A whole number on the command line: a full stop as decimal point, no groups.
std::optional<int> wholeNumber(const std::string& text);

// The first of the options given that holds no number as the command line writes
// numbers, as a usage problem naming it; nullopt when all are numbers.
std::optional<std::string> notANumber(const Arguments& arguments,
                                      std::initializer_list<const char*> options);

// WIDTHxHEIGHT, each side from 1 to the longest side a picture may have.
std::optional<Size> parseSize(const std::string& text);

} // namespace kvistra::cli
