// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace kvistra {

// The program's window icon, drawn at 16 and 32 pixels.
QIcon programIcon();

// The about dialog's own 32 x 32 picture in 16 colours.
inline constexpr const char* kAboutPicturePath = ":/icons/kvistra-about.png";

} // namespace kvistra
