// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/NumberLocale.h"

#include <string>

namespace kvistra {

enum class DroppedFileKind {
    Picture,
    KeyFile,
    Text,
    // A device or a named pipe: reading one could wait without end.
    Special,
};

// What a file dropped on the window is, by its content rather than its name: a
// picture when it starts as a bitmap or as a format the readers of other formats
// know, a key file when its first four lines are numbers as the key fields read them, and anything
// else text. A file that cannot be read is taken as text, whose import says why;
// nothing but a regular file is opened to look.
DroppedFileKind classifyDroppedFile(const std::string& path, const NumberLocale& locale);

} // namespace kvistra
