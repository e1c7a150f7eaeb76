// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kvistra {

using RegistryHandle = std::uint32_t;

inline constexpr RegistryHandle HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr std::uint32_t KEY_ALL_ACCESS = 0x2003F;

// Value types.
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_DWORD = 4;

// Answers: 0 is success, anything else a failure.
inline constexpr std::int32_t ERROR_SUCCESS = 0;
inline constexpr std::int32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr std::int32_t ERROR_INVALID_HANDLE = 6;
inline constexpr std::int32_t ERROR_MORE_DATA = 234;

// The platform's registry of settings, with its calls' arguments and answers. Key paths
// and value names are ASCII; value bytes are Windows-1252 text or little-endian numbers.
class Registry {
public:
    virtual ~Registry() = default;

    virtual std::int32_t openKey(RegistryHandle root, const std::string& keyPath,
                                 std::uint32_t options, std::uint32_t access,
                                 RegistryHandle& key) = 0;
    // size: the buffer's size on entry; the value's size in bytes on return, also when
    // the value does not fit (ERROR_MORE_DATA).
    virtual std::int32_t queryValue(RegistryHandle key, const std::string& valueName,
                                    std::uint32_t& type, std::span<char> buffer,
                                    std::uint32_t& size) = 0;
    virtual std::int32_t closeKey(RegistryHandle key) = 0;
};

} // namespace kvistra
