#include "Commands.h"

#include "Arguments.h"
#include "Json.h"
#include "TerminalReport.h"
#include "Usage.h"
#include "core/Capacity.h"
#include "core/ClockSeededRandom.h"
#include "core/ColourSplit.h"
#include "core/DecoderRun.h"
#include "core/Encoder.h"
#include "core/FieldChecks.h"
#include "core/Image.h"
#include "core/LineMarkers.h"
#include "core/MemoryBudget.h"
#include "core/NumericText.h"
#include "core/ShownText.h"
#include "core/Version.h"
#include "core/Windows1252.h"
#include "io/BmpFormat.h"
#include "io/BmpOutputCanvas.h"
#include "io/FileDescriptor.h"
#include "io/KeyFile.h"
#include "io/PairCommit.h"
#include "io/PendingFile.h"
#include "io/PictureFile.h"
#include "io/SameFile.h"
#include "io/TextImport.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <new>

namespace kvistra::cli {

namespace {

constexpr int kDefaultWidth = 269;
constexpr int kDefaultHeight = 253;
// --out - writes standard output.
constexpr const char* kStandardOut = "-";

struct Size {
    int width;
    int height;
};

int usageError(Console& console, const std::string& problem, const char* usage) {
    console.err << kProgramPrefix << problem << "\n\n" << usage;
    return UsageError;
}

int failure(Console& console, const Message& message) {
    console.err << terminalText(message) << '\n';
    return Failure;
}

// A command's arguments, or the status to end with at once: after --help, or
// on a usage error.
std::variant<Arguments, int> commandArguments(const std::vector<std::string>& args,
                                              KnownOptions known, const char* usage,
                                              Console& console) {
    known.flags.insert("--help");
    auto parsed = parseArguments(args, known);
    if (const auto* problem = std::get_if<std::string>(&parsed)) {
        return usageError(console, *problem, usage);
    }
    if (std::get<Arguments>(parsed).has("--help")) {
        console.out << usage;
        return Success;
    }
    return std::move(std::get<Arguments>(parsed));
}

// A whole number on the command line: a full stop as decimal point, no groups.
std::optional<int> wholeNumber(const std::string& text) {
    const std::optional<double> value = parseNumber(text, NumberLocale::commandLine());
    if (!value || *value != std::trunc(*value) || std::abs(*value) > 1e9) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

// The first of the options given that holds no number as the command line writes
// numbers, as a usage problem naming it; nullopt when all are numbers.
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

// The key values as a key file or the options give them.
struct KeyTexts {
    std::string yKey;
    std::string xKey;
    std::string shift;
    std::string readingLength;
};

// The checks a window field runs when its text changes; a refusal is reported.
// The keys are left alone when they are not used.
std::optional<Message> fieldRefusal(const KeyTexts& texts, Size size, bool withKeys,
                                    bool withReadingLength) {
    const NumberLocale locale = NumberLocale::commandLine();
    std::optional<FieldRefusal> refusal;
    if (withKeys) {
        refusal = checkKey(texts.xKey, size.width, locale);
    }
    if (!refusal && withKeys) {
        refusal = checkKey(texts.yKey, size.height, locale);
    }
    if (!refusal) {
        refusal = checkShift(texts.shift, locale);
    }
    if (!refusal && withReadingLength) {
        refusal = checkReadingLength(texts.readingLength, locale);
    }
    if (!refusal) {
        return std::nullopt;
    }
    return refusal->message;
}

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

// A file a command reads or writes, by the option that names it.
struct FileArgument {
    std::string option;
    std::string path;
    bool written;
};

// A usage error when two files of one command, one of them written, are one file:
// the write would destroy the other before or while it is used.
std::optional<std::string> sameFileProblem(const std::vector<FileArgument>& files) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        for (std::size_t j = i + 1; j < files.size(); ++j) {
            if ((files[i].written || files[j].written) &&
                isSameFile(files[i].path, files[j].path)) {
                return sameFile(files[i].option, files[j].option, files[j].path);
            }
        }
    }
    return std::nullopt;
}

// The canvas to draw on and how to save it. In key-position mode every pixel is
// overwritten, so a bitmap goes straight to its file row by row and of the cover
// only its size matters; otherwise the picture is held whole and saved at the end.
// The file is opened first, so that a name that cannot be written is refused
// before any work is done.
class OutputPicture {
public:
    static Result<OutputPicture> open(const Arguments& arguments, Size size) {
        const std::string out = *arguments.value("--out");
        const auto cover = arguments.value("--cover");
        const bool toStandardOut = out == kStandardOut;
        if (!arguments.has("--adapt") && !isPngPictureName(out) && !toStandardOut) {
            if (cover) {
                const Result<std::pair<int, int>> measured = pictureSize(*cover);
                if (!measured) {
                    return measured.problem();
                }
                size = {measured->first, measured->second};
            }
            Result<std::unique_ptr<BmpOutputCanvas>> file =
                BmpOutputCanvas::create(out, size.width, size.height);
            if (!file) {
                return file.problem();
            }
            return OutputPicture(std::move(*file), nullptr, std::nullopt);
        }
        std::optional<PendingFile> pending;
        if (!toStandardOut) {
            Result<PendingFile> created = PendingFile::create(out);
            if (!created) {
                return created.problem();
            }
            pending.emplace(std::move(*created));
        }
        if (!cover) {
            if (const Status fits = checkPictureMemory("", size.width, size.height,
                                                       Image::bytesFor(size.width, size.height));
                !fits) {
                return fits.problem();
            }
        }
        Result<Image> image = cover ? loadPicture(*cover) : Image(size.width, size.height);
        if (!image) {
            return image.problem();
        }
        return OutputPicture(nullptr, std::make_unique<Image>(std::move(*image)),
                             std::move(pending));
    }

    Canvas& canvas() { return file_ ? static_cast<Canvas&>(*file_) : *image_; }

    // Puts the picture in place, as one with the key file when there is one.
    Status save(std::ostream& standardOut, PendingFile* keyFile) {
        PendingFile* picture = nullptr;
        if (file_) {
            if (Status finished = file_->finish(); !finished) {
                return finished;
            }
            picture = &file_->file();
        } else if (pending_) {
            if (Status written = writePicture(*pending_, *image_); !written) {
                return written;
            }
            picture = &*pending_;
        } else {
            if (Status written = writeToStream(standardOut); !written) {
                return written;
            }
            return keyFile ? keyFile->commit() : Status(Done{});
        }
        return keyFile ? commitPair(*picture, *keyFile) : picture->commit();
    }

private:
    OutputPicture(std::unique_ptr<BmpOutputCanvas> file, std::unique_ptr<Image> image,
                  std::optional<PendingFile> pending)
        : file_(std::move(file))
        , image_(std::move(image))
        , pending_(std::move(pending)) {}

    // A bitmap, since a stream has no name to tell another format by.
    Status writeToStream(std::ostream& stream) const {
        const auto header = bmpHeader(image_->width(), image_->height());
        stream.write(reinterpret_cast<const char*>(header.data()),
                     static_cast<std::streamsize>(header.size()));
        for (int y = image_->height() - 1; y >= 0; --y) {
            const ByteSpan row = image_->row(y);
            stream.write(reinterpret_cast<const char*>(row.data()),
                         static_cast<std::streamsize>(row.size()));
        }
        stream.flush();
        if (!stream) {
            return Message{MessageId::CannotWriteFile, {kStandardOut, errorText(EIO)}};
        }
        return Done{};
    }

    std::unique_ptr<BmpOutputCanvas> file_; // streamed, or
    std::unique_ptr<Image> image_;          // held whole,
    std::optional<PendingFile> pending_;    // to be written here, or to standard output
};

// What a reader needs of the encoder's run, written to the key file not yet in place.
// Every value is within 16 bits: the run refuses keys outside the grid.
Status writeKeyValues(PendingFile& keyFile, const EncodeResult& result) {
    const auto value = [](int number) {
        return static_cast<std::int16_t>(number);
    };
    return keyFile.write(formatKeyFile({value(result.key.y), value(result.key.x),
                                        value(result.shift), value(result.readingLength)}));
}

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

int hide(const std::vector<std::string>& args, Console& console) {
    const auto parsed = commandArguments(args,
                                         {{"--out", "--text", "--text-file", "--message-file",
                                           "--cover", "--size", "-x", "-y", "--shift", "--key"},
                                          {"--adapt"}},
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
    for (const char* option : {"--key", "--cover", "--text-file", "--message-file"}) {
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

    EncodeRequest request{{},
                          arguments.value("-x").value_or(kDefaultKey),
                          arguments.value("-y").value_or(kDefaultKey),
                          arguments.value("--shift").value_or(kDefaultShift),
                          arguments.has("--adapt"),
                          NumberLocale::commandLine()};
    if (const std::optional<Message> refusal = fieldRefusal(
            {request.yKey, request.xKey, request.shift, ""}, size, !request.adapt, false)) {
        return usageError(console, terminalText(*refusal), kHideUsage);
    }
    Result<std::string> bytes = messageBytesOf(*message);
    if (!bytes) {
        return failure(console, bytes.problem());
    }
    request.message = std::move(*bytes);

    HideReport report(console.err, console.errIsTerminal);
    ClockSeededRandom random;
    const Result<EncodeResult> result = Encoder(canvas, random, report).generate(request);
    if (!result) {
        return failure(console, result.problem());
    }
    report.terminal.end();

    if (keyFile) {
        if (const Status written = writeKeyValues(*keyFile, *result); !written) {
            return failure(console, written.problem());
        }
    }
    if (const Status saved = picture->save(console.out, keyFile ? &*keyFile : nullptr); !saved) {
        return failure(console, saved.problem());
    }
    if (report.finished) {
        console.err << terminalText({MessageId::EncryptionFinished, {}}) << '\n';
    }
    return Success;
}

int reveal(const std::vector<std::string>& args, Console& console) {
    const auto parsed =
        commandArguments(args, {{"--key", "-x", "-y", "--shift", "--length", "--out"}, {"--lines"}},
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
    const std::string& picturePath = arguments.positionals.front();
    const std::optional<std::string> out = arguments.value("--out");
    std::vector<FileArgument> files = {{kPictureArgument, picturePath, false}};
    if (fromKeyFile) {
        files.push_back({"--key", *arguments.value("--key"), false});
    }
    if (out && *out != kStandardOut) {
        files.push_back({"--out", *out, true});
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
    if (const std::optional<Message> refusal = fieldRefusal(texts, size, true, true)) {
        if (!fromKeyFile) {
            return usageError(console, terminalText(*refusal), kRevealUsage);
        }
        return failure(console, *refusal);
    }

    RevealReport report(console.err, console.errIsTerminal);
    const DecoderRunResult run = runDecoder(
        **canvas,
        {texts.readingLength, texts.yKey, texts.xKey, texts.shift, NumberLocale::commandLine()},
        report);
    report.terminal.end();
    if (const Status reads = laterReads(**canvas); !reads) {
        return failure(console, reads.problem());
    }
    if (run.result.outcome == DecodeOutcome::Failed) {
        return Failure;
    }
    if (out) {
        // A file gets the text only when all of it was read: a part of it must not
        // replace what the file held.
        if (run.result.outcome != DecodeOutcome::Finished) {
            return Failure;
        }
        const std::string bytes =
            arguments.has("--lines") ? lineBreaksFromMarkers(run.text) : run.text;
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
        std::string text = utf8FromWindows1252(run.text);
        if (console.outIsTerminal) {
            text = shownOnTerminal(text);
        }
        console.out << (arguments.has("--lines") ? lineBreaksFromMarkers(text, "\n") : text)
                    << '\n';
    }
    return run.result.outcome == DecodeOutcome::Finished ? Success : Failure;
}

int capacity(const std::vector<std::string>& args, Console& console) {
    const auto parsed =
        commandArguments(args, {{"--size", "-x", "-y"}, {"--json"}}, kCapacityUsage, console);
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
    const std::optional<int> x = wholeNumber(xText);
    const std::optional<int> y = wholeNumber(yText);
    if (!x || !y || *x < 0 || *y < 0 || *x >= size.width || *y >= size.height) {
        return failure(console,
                       {MessageId::KeyOutsideGrid,
                        {xText, yText, std::to_string(size.width), std::to_string(size.height)}});
    }
    const std::int64_t room = roomFromKey(size.width, size.height, *x, *y);
    const std::int64_t fits = std::min<std::int64_t>(room, kLongestMessage);
    if (arguments.has("--json")) {
        console.out << "{\"width\":" << size.width << ",\"height\":" << size.height
                    << ",\"x\":" << *x << ",\"y\":" << *y << ",\"room\":" << room
                    << ",\"capacity\":" << fits << "}\n";
    } else {
        console.out << fits << '\n';
    }
    return Success;
}

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
    const Colour colour = (*canvas)->pixel(*x, *y);
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

namespace {

int runCommand(const std::vector<std::string>& args, Console& console) {
    if (args.empty()) {
        console.err << kMainUsage;
        return UsageError;
    }
    const std::string& command = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--version") {
        console.out << "Kvistra " << kVersionText << '\n';
        return Success;
    }
    if (command == "--help" || command == "-h" || command == "help") {
        console.out << kMainUsage;
        return Success;
    }
    if (command == "hide") {
        return hide(rest, console);
    }
    if (command == "reveal") {
        return reveal(rest, console);
    }
    if (command == "capacity") {
        return capacity(rest, console);
    }
    if (command == "inspect") {
        return inspect(rest, console);
    }
    return usageError(console, unknownCommand(command), kMainUsage);
}

} // namespace

int run(const std::vector<std::string>& args, Console& console) {
    // Pictures are checked against the memory there is before they are made; this
    // catches what the checks could not foresee. Files being written are removed
    // as the stack unwinds.
    try {
        return runCommand(args, console);
    } catch (const std::bad_alloc&) {
        return failure(console, {MessageId::OutOfMemory, {}});
    }
}

} // namespace kvistra::cli
