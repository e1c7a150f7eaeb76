// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Registry.h"

#include <string>

namespace kvistra {

// How reading one registry value went.
enum class RegistryRead {
    Text,      // a string or a number, as text
    OtherType, // there, but of a type that gives no text
    Missing,   // the key or the value is missing, or cannot be read
    Empty,     // reported as 0 bytes long: there is nothing to cut a text from
};

struct RegistryText {
    RegistryRead read = RegistryRead::Missing;
    std::string text; // empty unless read is Text

    // The lookup answered: a value of another type counts, as the platform's does.
    bool found() const { return read == RegistryRead::Text || read == RegistryRead::OtherType; }
};

// Reads one value as text (UTF-8). A string gives its characters less a terminating
// zero, a number "&h" and its hexadecimal digits. The key is closed whatever happens.
RegistryText readRegistryText(Registry& registry, RegistryHandle root, const std::string& keyPath,
                              const std::string& valueName);

} // namespace kvistra
