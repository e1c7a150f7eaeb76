// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegistryValue.h"

#include "core/Windows1252.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kvistra {

namespace {

constexpr std::uint32_t kBufferSize = 1024;

class OpenKey {
public:
    OpenKey(Registry& registry, RegistryHandle key)
        : registry_(registry)
        , key_(key) {}
    ~OpenKey() { registry_.closeKey(key_); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

private:
    Registry& registry_;
    RegistryHandle key_;
};

// Most significant first: the bytes of a number are stored least significant first.
std::string hexadecimalOf(std::string_view littleEndian) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "&h";
    for (auto byte = littleEndian.rbegin(); byte != littleEndian.rend(); ++byte) {
        const auto value = static_cast<unsigned char>(*byte);
        text += kDigits[value >> 4];
        text += kDigits[value & 0x0F];
    }
    return text;
}

} // namespace

RegistryText readRegistryText(Registry& registry, RegistryHandle root, const std::string& keyPath,
                              const std::string& valueName) {
    RegistryHandle key = 0;
    if (registry.openKey(root, keyPath, 0, KEY_ALL_ACCESS, key) != ERROR_SUCCESS) {
        return {RegistryRead::Missing, {}};
    }
    const OpenKey closeOnReturn(registry, key);

    std::array<char, kBufferSize> buffer{};
    std::uint32_t type = 0;
    std::uint32_t size = kBufferSize;
    if (registry.queryValue(key, valueName, type, buffer, size) != ERROR_SUCCESS) {
        return {RegistryRead::Missing, {}};
    }
    if (size == 0) {
        return {RegistryRead::Empty, {}};
    }
    // The size of a value that fits, never past the buffer whatever the registry says.
    const std::string_view value(buffer.data(), std::min(size, kBufferSize));
    const std::string_view characters =
        value.back() == '\0' ? value.substr(0, value.size() - 1) : value;

    if (type == REG_SZ) {
        return {RegistryRead::Text, utf8FromWindows1252(characters)};
    }
    if (type == REG_DWORD) {
        // From every byte of the number: a high byte of zero is a digit, not a terminator.
        return {RegistryRead::Text, hexadecimalOf(value)};
    }
    return {RegistryRead::OtherType, {}};
}

} // namespace kvistra
