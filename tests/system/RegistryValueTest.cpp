// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/RegistryValue.h"

#include "support/FakePlatform.h"

#include <gtest/gtest.h>

namespace kvistra {
namespace {

using test::FakeRegistry;

constexpr const char* kKey = "SOFTWARE\\Kvistra";

TEST(ReadRegistryText, ValuesAsText) {
    const struct {
        std::uint32_t type;
        std::string bytes;
        std::string text;
        RegistryRead read = RegistryRead::Text;
    } cases[] = {
        {REG_SZ, std::string("C:\\Verktyg\\info.exe\0", 20), "C:\\Verktyg\\info.exe"},
        {REG_SZ, "utan nolla", "utan nolla"},                       // no terminating zero
        {REG_SZ, std::string("a\0b\0", 4), std::string("a\0b", 3)}, // only the last zero goes
        {REG_SZ, std::string("\0", 1), ""},
        {REG_SZ, "F\xE4rgdjup \x80", "F\xC3\xA4rgdjup \xE2\x82\xAC"}, // Windows-1252 to UTF-8
        {REG_SZ, std::string(1024, 'x'), std::string(1024, 'x')},     // fills the buffer
        {REG_DWORD, std::string("\x0F\x2A\x01\x00", 4), "&h00012A0F"},
        {REG_DWORD, std::string("\x00\x00\x00\x80", 4), "&h80000000"},
        {3, "bytes", "", RegistryRead::OtherType}, // another type is found but gives no text
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        registry.keys[kKey]["V"] = {c.type, c.bytes};
        const RegistryText value = readRegistryText(registry, HKEY_LOCAL_MACHINE, kKey, "V");
        EXPECT_TRUE(value.found());
        EXPECT_EQ(value.read, c.read);
        EXPECT_EQ(value.text, c.text);
        EXPECT_EQ(registry.calls,
                  (std::vector<std::string>{"open SOFTWARE\\Kvistra", "query V", "close"}));
        EXPECT_EQ(registry.roots, std::vector<RegistryHandle>{0x80000002});
        EXPECT_EQ(registry.accessMasks, std::vector<std::uint32_t>{0x2003F});
        EXPECT_EQ(registry.openHandles(), 0u);
    }
}

TEST(ReadRegistryText, WhatCannotBeReadGivesFalseAndAnEmptyText) {
    const std::string key = kKey;
    const struct {
        std::string keyPath;
        std::string valueName;
        std::string stored; // under kKey, value "V"
        std::vector<std::string> calls;
    } cases[] = {
        {"SOFTWARE\\Saknas", "V", "x", {"open SOFTWARE\\Saknas"}},
        {key, "Saknas", "x", {"open " + key, "query Saknas", "close"}},
        {key, "V", std::string(1025, 'x'), {"open " + key, "query V", "close"}}, // too long
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        registry.keys[kKey]["V"] = {REG_SZ, c.stored};
        const RegistryText value =
            readRegistryText(registry, HKEY_LOCAL_MACHINE, c.keyPath, c.valueName);
        EXPECT_FALSE(value.found());
        EXPECT_EQ(value.read, RegistryRead::Missing);
        EXPECT_EQ(value.text, "");
        EXPECT_EQ(registry.calls, c.calls);
        EXPECT_EQ(registry.openHandles(), 0u);
    }
}

TEST(ReadRegistryText, EmptyValueIsAnErrorThatStillClosesTheKey) {
    for (const std::uint32_t type : {REG_SZ, REG_DWORD}) {
        FakeRegistry registry;
        registry.keys[kKey]["V"] = {type, ""};
        const RegistryText value = readRegistryText(registry, HKEY_LOCAL_MACHINE, kKey, "V");
        EXPECT_FALSE(value.found());
        EXPECT_EQ(value.read, RegistryRead::Empty);
        EXPECT_EQ(registry.openHandles(), 0u);
    }
}

} // namespace
} // namespace kvistra
