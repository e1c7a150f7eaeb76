// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct xcb_connection_t;

namespace kvistra {

// The toolkit's connection to the X server; null when the program runs elsewhere
// (another platform plugin, or none yet).
xcb_connection_t* x11Connection();

} // namespace kvistra
