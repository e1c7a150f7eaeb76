// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"
#include "Commands.h"
#include "Json.h"
#include "KeyChecks.h"
#include "Usage.h"
#include "core/ColourSplit.h"
#include "core/Windows1252.h"
#include "io/PictureFile.h"

#include <memory>

namespace kvistra::cli {

// One pixel of a picture: its colour value, channels and unshifted character.
int inspect(const std::vector<std::string>& args, Console& console) {
    const auto parsed = commandArguments(args, {{}, {"--json"}}, kInspectUsage, console);
    if (const int* status = std::get_if<int>(&parsed)) {
        return *status;
    }
    const Arguments& arguments = std::get<Arguments>(parsed);
    if (arguments.positionals.size() != 3) {
        return usageError(console, kPictureAndPosition, kInspectUsage);
    }
    const std::optional<int> x = wholeNumber(arguments.positionals[1]);
    const std::optional<int> y = wholeNumber(arguments.positionals[2]);
    if (!x || !y) {
        return usageError(console, kPositionNotWhole, kInspectUsage);
    }
    Result<std::unique_ptr<Canvas>> canvas = openPictureForReading(arguments.positionals[0]);
    if (!canvas) {
        return failure(console, canvas.problem());
    }
    const Size size{(*canvas)->width(), (*canvas)->height()};
    if (const Result<KeyPosition> inside = keyInsidePicture(
            roundedKey(arguments.positionals[1], NumberLocale::commandLine()),
            roundedKey(arguments.positionals[2], NumberLocale::commandLine()), size);
        !inside) {
        return failure(console, inside.problem());
    }
    const Colour colour = (*canvas)->pixel(*x, *y);
    // A picture cut short reads as black past its end: the pixel is not known.
    if (const Status reads = laterReads(**canvas); !reads) {
        return failure(console, reads.problem());
    }
    const ColourChannels channels = convert(colour);
    std::string character;
    appendUtf8(character, unicodeOfWindows1252(static_cast<unsigned char>(channels.green)));

    if (arguments.has("--json")) {
        console.out << "{\"x\":" << *x << ",\"y\":" << *y << ",\"colour\":" << colour
                    << ",\"red\":" << channels.red << ",\"green\":" << channels.green
                    << ",\"blue\":" << channels.blue << ",\"character\":" << jsonString(character)
                    << "}\n";
    } else {
        const bool printable =
            channels.green >= 0x20 && channels.green != 0x7F &&
            !(channels.green >= 0x80 && channels.green < 0xA0 &&
              unicodeOfWindows1252(static_cast<unsigned char>(channels.green)) < 0xA0);
        console.out << colour << " - " << *x << "x" << *y << '\n'
                    << kRedLabel << channels.red << '\n'
                    << kGreenLabel << channels.green << '\n'
                    << kBlueLabel << channels.blue << '\n'
                    << kCharacterLabel << (printable ? character : characterCode(channels.green))
                    << '\n';
    }
    return Success;
}

} // namespace kvistra::cli
