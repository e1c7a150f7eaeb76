// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace kvistra::cli {

// A JSON string literal for UTF-8 text.
std::string jsonString(std::string_view utf8);

} // namespace kvistra::cli
