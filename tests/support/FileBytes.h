// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kvistra::test {

// A file's bytes; empty when it cannot be read.
std::string readBytes(const std::string& path);
// A file's bytes, or nothing when it cannot be read.
std::optional<std::string> bytesIfReadable(const std::string& path);

// Creates or replaces the file; throws when it cannot be written.
void writeBytes(const std::string& path, const std::string& bytes);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace kvistra::test
