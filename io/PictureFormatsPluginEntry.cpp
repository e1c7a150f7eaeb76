// SPDX-License-Identifier: GPL-3.0-or-later
// The plugin's one entry: Qt's image readers for the command-line tool.
#include "LibraryMessages.h"
#include "PictureFormatsPlugin.h"
#include "QtPictureFormats.h"

extern "C" __attribute__((visibility("default"))) const kvistra::OtherPictureFormats*
KVISTRA_PICTURE_FORMATS_ENTRY() {
    static const kvistra::QtPictureFormats formats;
    kvistra::keepLibraryMessagesQuiet();
    return &formats;
}
