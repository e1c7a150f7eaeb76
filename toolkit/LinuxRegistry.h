// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "system/Registry.h"

#include <QString>
#include <map>
#include <optional>
#include <string>

namespace kvistra {

// The two registry entries that name the system-information program, answered from this
// desktop: the full path of the first such program on the search path (HardInfo, the
// information programs of KDE, XFCE, MATE and GNOME, CPU-X, lshw-gtk), and a folder where
// the site may put a program of its own as MSINFO32.EXE. Every other key is missing.
class LinuxRegistry final : public Registry {
public:
    explicit LinuxRegistry(QString toolsFolder)
        : toolsFolder_(std::move(toolsFolder)) {}

    std::int32_t openKey(RegistryHandle root, const std::string& keyPath, std::uint32_t options,
                         std::uint32_t access, RegistryHandle& key) override;
    std::int32_t queryValue(RegistryHandle key, const std::string& valueName, std::uint32_t& type,
                            std::span<char> buffer, std::uint32_t& size) override;
    std::int32_t closeKey(RegistryHandle key) override;

private:
    std::optional<QString> valueOf(const QString& keyPath, const QString& valueName) const;

    QString toolsFolder_;
    std::map<RegistryHandle, QString> openKeys_;
    RegistryHandle nextHandle_ = 1;
};

} // namespace kvistra
