// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <png.h>

namespace kvistra {

// libpng reports errors by a long jump back to the setjmp of the call that failed;
// the calls that set one keep nothing with a destructor between the two.
[[noreturn]] inline void pngJumpOnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// Warnings (a chunk it skips, say) change nothing that is read or written.
inline void pngIgnoreWarning(png_structp, png_const_charp) {}

} // namespace kvistra
