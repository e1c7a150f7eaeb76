// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyFile.h"

#include "FileDescriptor.h"
#include "PendingFile.h"
#include "core/FieldChecks.h"
#include "core/KeyNumbers.h"
#include "core/Windows1252.h"

#include <array>
#include <cerrno>
#include <optional>
#include <unistd.h>

namespace kvistra {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kCheckPrefix = "kontroll ";
// A mark, four longest lines and a check line, each with CR LF.
constexpr std::size_t kKeyFileReadLimit = kByteOrderMark.size() + 5 * (kKeyFileLineLimit + 2);

// The first limit bytes of the file, or all of it when it is shorter.
Result<std::string> readFileStart(const std::string& path, std::size_t limit) {
    const Result<FileDescriptor> opened = openForReading(path);
    if (!opened) {
        return opened.problem();
    }
    const FileDescriptor& fd = *opened;
    std::string bytes(limit, '\0');
    std::size_t done = 0;
    while (done < limit) {
        const ssize_t got = ::read(fd.get(), bytes.data() + done, limit - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return Message{MessageId::CannotOpenFile, {path}, errno};
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

Message lineRefused(const std::string& path, std::size_t index, const std::string& text,
                    const Message& why) {
    return {MessageId::KeyFileLineRefused,
            {path, std::to_string(index + 1), text},
            0,
            static_cast<KeyField>(index),
            {why}};
}

// The lines of the text when CR LF, CR and LF alone each end a line.
std::size_t linesEndingAnyWay(std::string_view text) {
    std::size_t count = 0;
    while (!text.empty()) {
        ++count;
        const std::size_t end = text.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            break;
        }
        const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crLf ? 2 : 1));
    }
    return count;
}

} // namespace

Result<KeyFileLines> parseKeyFile(std::string_view bytes, const std::string& path) {
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    // Lines end as in the key files the program writes, at CR (an LF after it
    // belongs to the line end); the end of the file ends the last line.
    const std::string_view whole = bytes;
    std::array<std::string, 4> lines;
    std::size_t count = 0;
    while (count < lines.size() && !bytes.empty()) {
        const std::size_t cr = bytes.find('\r');
        const std::string_view line = bytes.substr(0, cr);
        if (line.size() > kKeyFileLineLimit) {
            return Message{MessageId::KeyFileLineTooLong, {path, std::to_string(count + 1)}};
        }
        lines[count++] = utf8FromWindows1252(line);
        if (cr == std::string_view::npos) {
            bytes = {};
            break;
        }
        const std::size_t next = cr + 1 < bytes.size() && bytes[cr + 1] == '\n' ? cr + 2 : cr + 1;
        bytes.remove_prefix(next);
    }
    if (count < lines.size()) {
        // Four lines or more once an LF alone ends a line too: the line ends are wrong.
        const std::size_t anyWay = linesEndingAnyWay(whole);
        if (anyWay >= lines.size()) {
            return Message{MessageId::KeyFileLfLineEnds, {path}};
        }
        return Message{MessageId::KeyFileTooShort, {path, std::to_string(anyWay)}};
    }
    KeyFileLines parsed{lines[0], lines[1], lines[2], lines[3]};
    if (const std::string_view fifth = bytes.substr(0, bytes.find('\r'));
        fifth.starts_with(kCheckPrefix)) {
        parsed.check = fifth.substr(kCheckPrefix.size());
    }
    return parsed;
}

Result<KeyFileLines> readKeyFile(const std::string& path) {
    const Result<std::string> bytes = readFileStart(path, kKeyFileReadLimit);
    if (!bytes) {
        return bytes.problem();
    }
    return parseKeyFile(*bytes, path);
}

Status checkKeyFileLines(const KeyFileLines& lines, const std::string& path, int width, int height,
                         const NumberLocale& locale) {
    const NumberLocale plain = locale.withoutGroups();
    const std::array<std::optional<FieldRefusal>, 4> refusals = {
        checkKey(lines.yKey, height, plain),
        checkKey(lines.xKey, width, plain),
        checkShift(lines.shift, plain),
        checkReadingLength(lines.readingLength, plain),
    };
    const std::array<const std::string*, 4> texts = {&lines.yKey, &lines.xKey, &lines.shift,
                                                     &lines.readingLength};
    for (std::size_t i = 0; i < refusals.size(); ++i) {
        if (refusals[i]) {
            return lineRefused(path, i, *texts[i], refusals[i]->message);
        }
    }
    return Done{};
}

std::string formatKeyFile(const KeyValues& values, const std::string& check) {
    std::string text;
    for (const std::int16_t value :
         {values.yKey, values.xKey, values.shift, values.readingLength}) {
        text += std::to_string(value);
        text += "\r\n";
    }
    if (!check.empty()) {
        text += std::string(kCheckPrefix) + check + "\r\n";
    }
    return text;
}

Result<KeyValues> convertKeyFields(std::string_view yText, std::string_view xText,
                                   std::string_view shiftText, std::string_view lengthText,
                                   const NumberLocale& locale) {
    const std::array<std::string_view, 4> texts = {yText, xText, shiftText, lengthText};
    std::array<std::int16_t, 4> values{};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string_view text = texts[i];
        // Each value, the shift and length too, rounded as the decoder rounds a key.
        const std::optional<int> value = roundedKey(std::string(text), locale).value;
        if (!value) {
            return Message{
                MessageId::KeyValueInvalid, {std::string(text)}, 0, static_cast<KeyField>(i)};
        }
        values[i] = static_cast<std::int16_t>(*value);
    }
    return KeyValues{values[0], values[1], values[2], values[3]};
}

Status writeKeyFile(const std::string& path, const KeyValues& values) {
    return writeFileAtomically(path, formatKeyFile(values), NewFile::Private);
}

} // namespace kvistra
