// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kvistra {

// The fixed-frequency code's characters taken one at a time, as plainly as the
// rule reads: slow, but it is what sealed pictures already hold.
std::string stepwiseCharactersOfBytes(std::span<const std::uint8_t> bytes);

} // namespace kvistra
