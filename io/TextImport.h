// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Result.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kvistra {

inline constexpr std::size_t kTextFileLimit = std::size_t{16} * 1024 * 1024;

// Every line followed by "|", the program's line marker: "abc\r\ndef" and "abc\ndef"
// give "abc|def|". Bytes are passed through; Windows-1252 in, Windows-1252 out.
std::string joinLinesWithMarker(std::string_view bytes);

// A text file's lines joined with markers, in Windows-1252. A file that is valid
// UTF-8 is read as UTF-8 (a byte order mark skipped), and a character without a
// Windows-1252 code is refused as TextFileCharacterNotInCodePage {path, character,
// line}; any other file is taken as Windows-1252.
Result<std::string> importText(std::string_view bytes, const std::string& path);

// The same from a file; TextFileTooLarge over kTextFileLimit.
Result<std::string> importTextFile(const std::string& path);

} // namespace kvistra
