// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kvistra {

// Qt and the libraries under it (libpng, say) print their own English lines on
// standard error. Every failure of theirs that matters reaches us as a return
// value and is reported in our words, so their lines are dropped; only a fatal
// one, which ends the program, is still shown.
void keepLibraryMessagesQuiet();

} // namespace kvistra
