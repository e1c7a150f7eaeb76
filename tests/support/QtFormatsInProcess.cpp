// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into a test program, not the support library: the test program reads
// other formats through Qt in its own process, as the window does; the
// command-line tool's plugin is tried by the tests that run the tool itself.
#include "io/QtPictureFormats.h"

namespace {

[[maybe_unused]] const bool kQtFormatsInUse = [] {
    static const kvistra::QtPictureFormats formats;
    kvistra::useOtherPictureFormats(formats);
    return true;
}();

} // namespace
