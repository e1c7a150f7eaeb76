// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kvistra {

// Bytes written as characters of the 78-character set, and back. A run of
// random characters around a message has 76 characters at 1/77 each and "1" and
// "/" at 1/154 each; a run that kept any other distribution would stand out to
// anyone who counts, and give away where the message lies. So the bytes are read
// as one binary fraction and arithmetic-decoded with exactly those frequencies;
// from uniform bytes (a sealed message) each character then comes with the
// frequency of a random one. The arithmetic is exact, so every byte comes back.

// The characters for `byteCount` bytes: the fewest L with 77^L >= 256^byteCount,
// whatever the bytes.
std::size_t codedLength(std::size_t byteCount);
// The byte count whose coded length is `characterCount`, if there is one.
std::optional<std::size_t> byteCountOf(std::size_t characterCount);

// Windows-1252 characters of the set, codedLength(bytes.size()) of them.
std::string charactersOfBytes(std::span<const std::uint8_t> bytes);
// Nullopt for a length no byte count gives, a character outside the set, or
// characters that no bytes give: no two strings of characters give the same bytes.
std::optional<std::vector<std::uint8_t>> bytesOfCharacters(std::string_view characters);

} // namespace kvistra
