// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kvistra {

// Asks the login manager to restart the machine, as `systemctl reboot` does; it may ask
// the user to authenticate. False when the request could not be sent.
bool requestReboot();

} // namespace kvistra
