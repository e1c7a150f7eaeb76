// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OtherPictureFormats.h"

#include <string>

namespace kvistra {

// The entry the plugin exports: its readers, alive while the program runs. The
// number changes with the interface, so that an old plugin is never called.
#define KVISTRA_PICTURE_FORMATS_ENTRY kvistra_picture_formats_1
#define KVISTRA_STRING_OF(name) #name
#define KVISTRA_STRING(name) KVISTRA_STRING_OF(name)
inline constexpr const char* kPictureFormatsEntryName =
    KVISTRA_STRING(KVISTRA_PICTURE_FORMATS_ENTRY);
extern "C" using PictureFormatsEntry = const OtherPictureFormats * (*)();

// Where the plugin lies: in the program's own library folder, found from where the
// program itself lies (as installed, and in the build tree alike).
std::string pictureFormatsPluginPath();

struct LoadedPictureFormats {
    const OtherPictureFormats* formats; // null when the plugin could not be loaded
    std::string failure;                // and then why: the loader's words,
    int systemError = 0;                // or the system's error number
};

// The plugin's readers. Loaded for good: the plugin is never unloaded.
LoadedPictureFormats loadPictureFormatsPlugin();

} // namespace kvistra
