// SPDX-License-Identifier: GPL-3.0-or-later
#include "DroppedFile.h"

#include "BmpFormat.h"
#include "FileDescriptor.h"
#include "KeyFile.h"
#include "OtherPictureFormats.h"
#include "PngReader.h"
#include "core/NumericText.h"

#include <algorithm>
#include <array>
#include <filesystem>

namespace kvistra {

namespace {

bool isPicture(const std::string& path) {
    const Result<FileDescriptor> opened = openRegularFile(path);
    if (!opened) {
        return false;
    }
    std::array<std::uint8_t, 8> head{};
    const FileRead got = readAt(opened->get(), head.data(), head.size(), 0);
    const std::span<const std::uint8_t> read(head.data(), got.ok() ? got.bytes : 0);
    if ((read.size() >= 2 && hasBmpSignature(read.first(2))) || PngReader::hasSignature(read)) {
        return true;
    }
    const Result<const OtherPictureFormats*> formats = otherPictureFormats(path);
    return formats && (*formats)->canRead(opened->get());
}

bool isKeyFile(const std::string& path, const NumberLocale& locale) {
    const Result<KeyFileLines> lines = readKeyFile(path);
    if (!lines) {
        return false;
    }
    const NumberLocale plain = locale.withoutGroups();
    for (const std::string* line :
         {&lines->yKey, &lines->xKey, &lines->shift, &lines->readingLength}) {
        if (!isNumeric(*line, plain)) {
            return false;
        }
    }
    return true;
}

} // namespace

DroppedFileKind classifyDroppedFile(const std::string& path, const NumberLocale& locale) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (std::filesystem::is_directory(status) || !std::filesystem::exists(status)) {
        return DroppedFileKind::Text;
    }
    if (!std::filesystem::is_regular_file(status)) {
        return DroppedFileKind::Special;
    }
    if (isPicture(path)) {
        return DroppedFileKind::Picture;
    }
    if (isKeyFile(path, locale)) {
        return DroppedFileKind::KeyFile;
    }
    return DroppedFileKind::Text;
}

} // namespace kvistra
