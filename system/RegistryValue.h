#pragma once

#include "Registry.h"

#include <stdexcept>
#include <string>

namespace kvistra {

// A value that the registry reports as 0 bytes long: there is nothing to cut a text from.
class EmptyRegistryValue : public std::runtime_error {
public:
    EmptyRegistryValue()
        : std::runtime_error("empty registry value") {}
};

// Reads one value as text (UTF-8). A string gives its characters less a terminating
// zero, a number "&h" and its hexadecimal digits; any other type leaves text as it was.
// A missing key or value gives false and an empty text. Throws EmptyRegistryValue.
bool GetKeyValue(Registry& registry, RegistryHandle root, const std::string& keyPath,
                 const std::string& valueName, std::string& text);

} // namespace kvistra
