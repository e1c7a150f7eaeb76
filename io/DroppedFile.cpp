// SPDX-License-Identifier: GPL-3.0-or-later
#include "DroppedFile.h"

#include "BmpFormat.h"
#include "FileDescriptor.h"
#include "KeyFile.h"
#include "core/NumericText.h"

#include <QFile>
#include <QImageReader>
#include <array>
#include <filesystem>

namespace kvistra {

namespace {

bool isPicture(const std::string& path) {
    const Result<FileDescriptor> opened = openRegularFile(path);
    if (!opened) {
        return false;
    }
    std::array<std::uint8_t, 2> signature{};
    if (readAt(opened->get(), signature.data(), signature.size(), 0) == 2 &&
        hasBmpSignature(signature)) {
        return true;
    }
    // From the descriptor we opened, so that Qt never re-encodes the name.
    QFile file;
    if (!file.open(opened->get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        return false;
    }
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    return reader.canRead();
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
