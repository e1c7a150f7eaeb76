// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"
#include "Commands.h"
#include "Usage.h"
#include "core/Capacity.h"
#include "core/FieldChecks.h"
#include "core/KeyNumbers.h"
#include "core/SealedMessage.h"
#include "io/PictureFile.h"

#include <algorithm>

namespace kvistra::cli {

int capacity(const std::vector<std::string>& args, Console& console) {
    const auto parsed = commandArguments(args, {{"--size", "-x", "-y"}, {"--json", "--sealed"}},
                                         kCapacityUsage, console);
    if (const int* status = std::get_if<int>(&parsed)) {
        return *status;
    }
    const Arguments& arguments = std::get<Arguments>(parsed);
    if (arguments.positionals.size() + arguments.has("--size") != 1) {
        return usageError(console, kPictureOrSize, kCapacityUsage);
    }
    if (const auto problem = notANumber(arguments, {"-x", "-y"})) {
        return usageError(console, *problem, kCapacityUsage);
    }
    Size size{0, 0};
    if (const auto text = arguments.value("--size")) {
        const std::optional<Size> parsedSize = parseSize(*text);
        if (!parsedSize) {
            return usageError(console, invalidSize(*text), kCapacityUsage);
        }
        size = *parsedSize;
    } else {
        const Result<std::pair<int, int>> measured = pictureSize(arguments.positionals.front());
        if (!measured) {
            return failure(console, measured.problem());
        }
        size = {measured->first, measured->second};
    }
    const std::string xText = arguments.value("-x").value_or(kDefaultKey);
    const std::string yText = arguments.value("-y").value_or(kDefaultKey);
    // Read as hide reads them.
    const std::optional<int> x = wholeKey(xText, NumberLocale::commandLine()).value;
    const std::optional<int> y = wholeKey(yText, NumberLocale::commandLine()).value;
    if (!x || !y || *x < 0 || *y < 0 || *x >= size.width || *y >= size.height) {
        return failure(console,
                       {MessageId::KeyOutsideGrid,
                        {xText, yText, std::to_string(size.width), std::to_string(size.height)}});
    }
    const std::int64_t room = roomFromKey(size.width, size.height, *x, *y);
    const bool sealed = arguments.has("--sealed");
    const std::int64_t fits =
        sealed ? sealedCapacity(room) : std::min<std::int64_t>(room, kLongestMessage);
    if (arguments.has("--json")) {
        console.out << "{\"width\":" << size.width << ",\"height\":" << size.height
                    << ",\"x\":" << *x << ",\"y\":" << *y << ",\"room\":" << room
                    << ",\"capacity\":" << fits << (sealed ? ",\"sealed\":true" : "") << "}\n";
    } else {
        console.out << fits << '\n';
    }
    return Success;
}

} // namespace kvistra::cli
