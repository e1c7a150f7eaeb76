// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kvistra {

// Whether two paths name one file: the same device and inode when both exist,
// otherwise the same path once made absolute, normalised and links followed,
// so that a file one command would write is never also its other input or output.
bool isSameFile(const std::string& first, const std::string& second);

} // namespace kvistra
