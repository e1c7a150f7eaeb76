// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kvistra {

// The values a reader needs, in the order a key file holds them.
enum class KeyField { YKey, XKey, Shift, ReadingLength };

} // namespace kvistra
