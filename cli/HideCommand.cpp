// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"
#include "Commands.h"
#include "FileArguments.h"
#include "KeyChecks.h"
#include "OutputPicture.h"
#include "Passphrase.h"
#include "TerminalReport.h"
#include "Usage.h"
#include "core/Encoder.h"
#include "core/FieldChecks.h"
#include "core/NumericText.h"
#include "core/RunCheck.h"
#include "core/SealedMessage.h"
#include "core/SecureRandom.h"
#include "core/Windows1252.h"
#include "io/FileDescriptor.h"
#include "io/KeyFile.h"
#include "io/PictureFile.h"
#include "io/TextImport.h"

namespace kvistra::cli {

namespace {

constexpr int kDefaultWidth = 269;
constexpr int kDefaultHeight = 253;

Result<std::string> messageFromOptions(const Arguments& arguments) {
    if (const auto text = arguments.value("--text")) {
        return *text;
    }
    if (const auto path = arguments.value("--text-file")) {
        Result<std::string> imported = importTextFile(*path);
        if (!imported) {
            return imported.problem();
        }
        return utf8FromWindows1252(*imported);
    }
    Result<std::string> bytes = readWholeFile(*arguments.value("--message-file"), kTextFileLimit);
    if (!bytes) {
        return bytes.problem();
    }
    return utf8FromWindows1252(*bytes);
}

// What a reader needs of the encoder's run, written to the key file not yet in place.
// Every value is within 16 bits: the run refuses keys outside the grid.
// The key file names its picture by the check of the pixels it reads.
Status writeKeyValues(PendingFile& keyFile, const EncodeResult& result, const std::string& check) {
    const auto value = [](int number) {
        return static_cast<std::int16_t>(number);
    };
    return keyFile.write(formatKeyFile({value(result.key.y), value(result.key.x),
                                        value(result.shift), value(result.readingLength)},
                                       check));
}

// Replaces the message by the characters it is sealed as, once it is known to fit
// and the passphrase has been given.
Status sealForWriting(EncodeRequest& request, const Canvas& canvas, const Arguments& arguments,
                      Console& console) {
    if (Status fits = checkSealedFits(canvas, request); !fits) {
        return fits;
    }
    Result<std::optional<SecretBytes>> passphrase = passphraseFromOptions(arguments, console, true);
    if (!passphrase) {
        return passphrase.problem();
    }
    return sealRequest(request, **passphrase, console.sealSetting);
}

} // namespace

int hide(const std::vector<std::string>& args, Console& console) {
    const auto parsed =
        commandArguments(args,
                         {{"--out", "--text", "--text-file", "--message-file", "--cover", "--size",
                           "-x", "-y", "--shift", "--key", "--passphrase-file"},
                          {"--adapt", "--ask-passphrase", "--verify"}},
                         kHideUsage, console);
    if (const int* status = std::get_if<int>(&parsed)) {
        return *status;
    }
    const Arguments& arguments = std::get<Arguments>(parsed);
    const int sources =
        arguments.has("--text") + arguments.has("--text-file") + arguments.has("--message-file");
    if (!arguments.positionals.empty()) {
        return usageError(console, unexpectedArgument(arguments.positionals.front()), kHideUsage);
    }
    if (!arguments.has("--out")) {
        return usageError(console, kOutMissing, kHideUsage);
    }
    if (sources != 1) {
        return usageError(console, kOneMessageSource, kHideUsage);
    }
    if (arguments.has("--cover") && arguments.has("--size")) {
        return usageError(console, kCoverOrSize, kHideUsage);
    }
    if (const auto problem = notANumber(arguments, {"-x", "-y", "--shift"})) {
        return usageError(console, *problem, kHideUsage);
    }
    // Refused before anything is written: a fractional shift changes the message.
    if (const auto shift = arguments.value("--shift")) {
        if (const Status whole = checkShiftForWriting(*shift, NumberLocale::commandLine());
            !whole) {
            return usageError(console, shiftRefused(terminalText(whole.problem())), kHideUsage);
        }
    }
    const bool sealed = arguments.has("--passphrase-file") || arguments.has("--ask-passphrase");
    if (arguments.has("--passphrase-file") && arguments.has("--ask-passphrase")) {
        return usageError(console, kOnePassphraseSource, kHideUsage);
    }
    if (sealed) {
        keepSecretsFromCoreDumps();
    }
    // A sealed message is written at shift 0, so that its green values are the characters.
    if (sealed && arguments.has("--shift") &&
        parseNumber(*arguments.value("--shift"), NumberLocale::commandLine()) != 0.0) {
        return usageError(console, kSealedAtShiftZero, kHideUsage);
    }
    Size size{kDefaultWidth, kDefaultHeight};
    if (const auto text = arguments.value("--size")) {
        const std::optional<Size> parsedSize = parseSize(*text);
        if (!parsedSize) {
            return usageError(console, invalidSize(*text), kHideUsage);
        }
        size = *parsedSize;
    }
    const std::string out = *arguments.value("--out");
    std::vector<FileArgument> files;
    if (out != kStandardOut) {
        files.push_back({"--out", out, true});
    }
    for (const char* option :
         {"--key", "--cover", "--text-file", "--message-file", "--passphrase-file"}) {
        if (const auto path = arguments.value(option)) {
            files.push_back({option, *path, std::string_view(option) == "--key"});
        }
    }
    if (const std::optional<std::string> problem = sameFileProblem(files)) {
        return usageError(console, *problem, kHideUsage);
    }
    if (isLossyPictureName(out)) {
        return failure(console, {MessageId::LossyPictureFormat, {out}});
    }

    // The outputs are opened before the inputs are read, so that a name that
    // cannot be written is refused before any work.
    Result<OutputPicture> picture = OutputPicture::open(arguments, size);
    if (!picture) {
        return failure(console, picture.problem());
    }
    std::optional<PendingFile> keyFile;
    if (const auto keyPath = arguments.value("--key")) {
        Result<PendingFile> pending = PendingFile::create(*keyPath, NewFile::Private);
        if (!pending) {
            return failure(console, pending.problem());
        }
        keyFile.emplace(std::move(*pending));
    }
    Result<std::string> message = messageFromOptions(arguments);
    if (!message) {
        return failure(console, message.problem());
    }
    Canvas& canvas = picture->canvas();
    size = {canvas.width(), canvas.height()};

    const KeyTexts texts{arguments.value("-y").value_or(kDefaultKey),
                         arguments.value("-x").value_or(kDefaultKey),
                         arguments.value("--shift").value_or(kDefaultShift), ""};
    const bool adapt = arguments.has("--adapt");
    if (const Status refusal = checkKeyTexts(texts, size, !adapt, false); !refusal) {
        return usageError(console, terminalText(refusal.problem()), kHideUsage);
    }
    const NumberLocale locale = NumberLocale::commandLine();
    EncodeRequest request{{},
                          wholeKey(texts.xKey, locale),
                          wholeKey(texts.yKey, locale),
                          shiftNumber(texts.shift, locale),
                          adapt};
    Result<std::string> bytes = messageBytesOf(*message);
    if (!bytes) {
        return failure(console, bytes.problem());
    }
    request.message = std::move(*bytes);
    if (sealed) {
        if (const Status written = sealForWriting(request, canvas, arguments, console); !written) {
            return failure(console, written.problem());
        }
    }

    HideReport report(console.err, console.errIsTerminal);
    SecureRandom random;
    // The keys were checked against the picture; in adapt mode the run starts at 0, 0.
    RunRecordingCanvas recording(canvas, adapt ? 0 : request.xKey.value.value_or(0),
                                 adapt ? 0 : request.yKey.value.value_or(0),
                                 static_cast<int>(request.message.size()));
    const Result<EncodeResult> result = Encoder(recording, random, report).generate(request);
    if (!result) {
        return failure(console, result.problem());
    }
    report.terminal.end();

    // The picture's held write errors first: on a full disk the key file's write
    // fails too, but it is the picture that did not fit.
    if (const Status finished = picture->finish(); !finished) {
        return failure(console, finished.problem());
    }
    if (keyFile) {
        if (const Status written = writeKeyValues(*keyFile, *result, recording.check()); !written) {
            return failure(console, written.problem());
        }
    }
    std::optional<ExpectedMessage> readBack;
    if (arguments.has("--verify")) {
        // The characters as written: a sealed message's, read at shift 0.
        readBack = ExpectedMessage{readerOf(*result), request.message};
    }
    if (const Status saved = picture->save(console.out, keyFile ? &*keyFile : nullptr, readBack);
        !saved) {
        return failure(console, saved.problem());
    }
    if (report.finished) {
        console.err << terminalText({MessageId::EncryptionFinished, {}}) << '\n';
    }
    return Success;
}

} // namespace kvistra::cli
