// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"
#include "Commands.h"
#include "FileArguments.h"
#include "KeyChecks.h"
#include "Passphrase.h"
#include "TerminalReport.h"
#include "Usage.h"
#include "core/Capacity.h"
#include "core/DecoderRun.h"
#include "core/LineMarkers.h"
#include "core/RunCheck.h"
#include "core/SealedMessage.h"
#include "core/Windows1252.h"
#include "io/KeyFile.h"
#include "io/PictureFile.h"
#include "words/ShownText.h"

#include <memory>

namespace kvistra::cli {

namespace {

// A terminal would act on control characters from the picture (escape sequences
// among them): they are shown as the list box shows them, as control pictures.
// The C1 controls, which Windows-1252 leaves undefined, have no picture; they are
// shown as the replacement character.
std::string shownOnTerminal(const std::string& utf8) {
    const std::string shown = shownFromProgramText(utf8);
    std::string safe;
    safe.reserve(shown.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const auto next = i + 1 < shown.size() ? static_cast<unsigned char>(shown[i + 1]) : 0u;
        if (static_cast<unsigned char>(shown[i]) == 0xC2 && next >= 0x80 && next < 0xA0) {
            safe += "\xEF\xBF\xBD";
            ++i;
        } else {
            safe += shown[i];
        }
    }
    return safe;
}

} // namespace

int reveal(const std::vector<std::string>& args, Console& console) {
    const auto parsed = commandArguments(
        args,
        {{"--key", "-x", "-y", "--shift", "--length", "--out", "--passphrase-file"},
         {"--lines", "--ask-passphrase"}},
        kRevealUsage, console);
    if (const int* status = std::get_if<int>(&parsed)) {
        return *status;
    }
    const Arguments& arguments = std::get<Arguments>(parsed);
    if (arguments.positionals.size() != 1) {
        return usageError(console, kOnePicture, kRevealUsage);
    }
    const bool fromKeyFile = arguments.has("--key");
    const int keyOptions = arguments.has("-x") + arguments.has("-y") + arguments.has("--shift") +
                           arguments.has("--length");
    if (fromKeyFile ? keyOptions != 0 : keyOptions != 4) {
        return usageError(console, kKeyFileOrAllKeys, kRevealUsage);
    }
    if (arguments.has("--passphrase-file") && arguments.has("--ask-passphrase")) {
        return usageError(console, kOnePassphraseSource, kRevealUsage);
    }
    if (arguments.has("--passphrase-file") || arguments.has("--ask-passphrase")) {
        keepSecretsFromCoreDumps();
    }
    const std::string& picturePath = arguments.positionals.front();
    const std::optional<std::string> out = arguments.value("--out");
    std::vector<FileArgument> files = {{kPictureArgument, picturePath, false}};
    if (fromKeyFile) {
        files.push_back({"--key", *arguments.value("--key"), false});
    }
    if (out && *out != kStandardOut) {
        files.push_back({"--out", *out, true});
    }
    if (const auto path = arguments.value("--passphrase-file")) {
        files.push_back({"--passphrase-file", *path, false});
    }
    if (const std::optional<std::string> problem = sameFileProblem(files)) {
        return usageError(console, *problem, kRevealUsage);
    }

    if (const auto problem = notANumber(arguments, {"-x", "-y", "--shift", "--length"})) {
        return usageError(console, *problem, kRevealUsage);
    }

    KeyTexts texts;
    std::optional<KeyFileLines> keyLines;
    if (fromKeyFile) {
        Result<KeyFileLines> lines = readKeyFile(*arguments.value("--key"));
        if (!lines) {
            return failure(console, lines.problem());
        }
        keyLines = *lines;
        texts = {lines->yKey, lines->xKey, lines->shift, lines->readingLength};
    } else {
        texts = {*arguments.value("-y"), *arguments.value("-x"), *arguments.value("--shift"),
                 *arguments.value("--length")};
    }

    Result<std::unique_ptr<Canvas>> canvas = openPictureForReading(picturePath);
    if (!canvas) {
        return failure(console, canvas.problem());
    }
    // Opened before the work, so that a name that cannot be written is refused first.
    std::optional<PendingFile> outFile;
    if (out && *out != kStandardOut) {
        Result<PendingFile> pending = PendingFile::create(*out);
        if (!pending) {
            return failure(console, pending.problem());
        }
        outFile.emplace(std::move(*pending));
    }
    const Size size{(*canvas)->width(), (*canvas)->height()};
    if (keyLines) {
        if (const Status usable =
                checkKeyFileLines(*keyLines, *arguments.value("--key"), size.width, size.height,
                                  NumberLocale::commandLine());
            !usable) {
            return failure(console, usable.problem());
        }
    }
    if (const Status refusal = checkKeyTexts(texts, size, true, true); !refusal) {
        if (!fromKeyFile) {
            return usageError(console, terminalText(refusal.problem()), kRevealUsage);
        }
        return failure(console, refusal.problem());
    }
    const DecodeRunRequest request = readingRequest(texts.readingLength, texts.yKey, texts.xKey,
                                                    texts.shift, NumberLocale::commandLine());
    const Result<KeyPosition> key = keyInsidePicture(request.xKey, request.yKey, size);
    if (!key) {
        return failure(console, key.problem());
    }

    Result<std::optional<SecretBytes>> passphrase =
        passphraseFromOptions(arguments, console, false);
    if (!passphrase) {
        return failure(console, passphrase.problem());
    }

    const auto belongsToKeyFile = [&](int readingLength) {
        return !keyLines || keyLines->check.empty() ||
               runCheckOf(**canvas, key->x, key->y, readingLength) == keyLines->check;
    };
    const Message forAnotherPicture{MessageId::KeyFileForAnotherPicture,
                                    {arguments.value("--key").value_or(""), picturePath}};
    std::string message;
    bool readWhole = true;
    if (passphrase->has_value()) {
        // A sealed message that cannot be read says so once, whatever the reason.
        Result<std::string> opened =
            readSealed(**canvas, request, **passphrase, console.sealSetting);
        if (const Status reads = laterReads(**canvas); !reads) {
            return failure(console, reads.problem());
        }
        // Read whole when the run lies inside the picture: its keys are inside.
        const std::optional<int> length = request.readingLength.value;
        if (length && roomFromKey(size.width, size.height, key->x, key->y) >= *length &&
            !belongsToKeyFile(*length)) {
            return failure(console, forAnotherPicture);
        }
        if (!opened) {
            return failure(console, opened.problem());
        }
        message = std::move(*opened);
    } else {
        RevealReport report(console.err, console.errIsTerminal);
        const DecoderRunResult run = runDecoder(**canvas, request, report);
        report.terminal.end();
        if (const Status reads = laterReads(**canvas); !reads) {
            return failure(console, reads.problem());
        }
        readWhole = run.result.outcome == DecodeOutcome::Finished;
        if (readWhole && run.readingLength && !belongsToKeyFile(*run.readingLength)) {
            return failure(console, forAnotherPicture);
        }
        if (run.result.outcome == DecodeOutcome::Failed) {
            return Failure;
        }
        message = run.text;
    }
    if (out) {
        // A file gets the text only when all of it was read: a part of it must not
        // replace what the file held.
        if (!readWhole) {
            return Failure;
        }
        const std::string bytes =
            arguments.has("--lines") ? lineBreaksFromMarkers(message) : message;
        if (!outFile) {
            console.out << bytes;
            return Success;
        }
        if (Status written = outFile->write(bytes); !written) {
            return failure(console, written.problem());
        }
        if (const Status written = outFile->commit(); !written) {
            return failure(console, written.problem());
        }
    } else {
        std::string text = utf8FromWindows1252(message);
        if (console.outIsTerminal) {
            text = shownOnTerminal(text);
        }
        console.out << (arguments.has("--lines") ? lineBreaksFromMarkers(text, "\n") : text)
                    << '\n';
    }
    return readWhole ? Success : Failure;
}

} // namespace kvistra::cli
