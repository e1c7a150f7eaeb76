#pragma once

#include "core/Result.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kvistra {

inline constexpr std::size_t kTextFileLimit = std::size_t{16} * 1024 * 1024;

// Every line followed by "|", the program's line marker: "abc\r\ndef" gives "abc|def|".
// Bytes are passed through; Windows-1252 in, Windows-1252 out.
std::string joinLinesWithMarker(std::string_view bytes);

// A text file's lines joined with markers; TextFileTooLarge over kTextFileLimit.
Result<std::string> importTextFile(const std::string& path);

} // namespace kvistra
