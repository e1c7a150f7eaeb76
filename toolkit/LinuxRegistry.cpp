// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxRegistry.h"

#include "core/Windows1252.h"
#include "system/SystemInformation.h"

#include <QStandardPaths>
#include <algorithm>
#include <array>
#include <cstring>

namespace kvistra {

namespace {

// The system profilers first, then the desktops' own (KDE, XFCE, MATE, GNOME), then the
// hardware viewers: whichever of them the desktop has.
constexpr std::array kSystemInformationPrograms = {"hardinfo2",
                                                   "hardinfo",
                                                   "kinfocenter",
                                                   "xfce4-about",
                                                   "mate-system-monitor",
                                                   "gnome-system-monitor",
                                                   "cpu-x",
                                                   "lshw-gtk"};

// Registry names ignore case.
bool sameName(const QString& a, const char* b) {
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

bool isKnownKey(const QString& keyPath) {
    return sameName(keyPath, kSystemInformationKey) || sameName(keyPath, kSharedToolsKey);
}

std::optional<QString> systemInformationProgram() {
    for (const char* name : kSystemInformationPrograms) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty()) {
            return path;
        }
    }
    return std::nullopt;
}

} // namespace

std::int32_t LinuxRegistry::openKey(RegistryHandle root, const std::string& keyPath,
                                    std::uint32_t /*options*/, std::uint32_t /*access*/,
                                    RegistryHandle& key) {
    const QString path = QString::fromStdString(keyPath);
    if (root != HKEY_LOCAL_MACHINE || !isKnownKey(path)) {
        return ERROR_FILE_NOT_FOUND;
    }
    key = nextHandle_++;
    openKeys_[key] = path;
    return ERROR_SUCCESS;
}

std::int32_t LinuxRegistry::queryValue(RegistryHandle key, const std::string& valueName,
                                       std::uint32_t& type, std::span<char> buffer,
                                       std::uint32_t& size) {
    const auto open = openKeys_.find(key);
    if (open == openKeys_.end()) {
        return ERROR_INVALID_HANDLE;
    }
    const std::optional<QString> value = valueOf(open->second, QString::fromStdString(valueName));
    if (!value) {
        return ERROR_FILE_NOT_FOUND;
    }
    // Stored as the platform stores text; a path that Windows-1252 cannot hold is no entry.
    const Result<std::string> bytes = windows1252FromUtf8(value->toStdString());
    if (!bytes) {
        return ERROR_FILE_NOT_FOUND;
    }
    const std::string stored = *bytes + '\0';
    const std::size_t room = std::min<std::size_t>(size, buffer.size());
    type = REG_SZ;
    size = static_cast<std::uint32_t>(stored.size());
    if (stored.size() > room) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(buffer.data(), stored.data(), stored.size());
    return ERROR_SUCCESS;
}

std::int32_t LinuxRegistry::closeKey(RegistryHandle key) {
    return openKeys_.erase(key) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

std::optional<QString> LinuxRegistry::valueOf(const QString& keyPath,
                                              const QString& valueName) const {
    if (sameName(keyPath, kSystemInformationKey) &&
        sameName(valueName, kSystemInformationPathValue)) {
        return systemInformationProgram();
    }
    if (sameName(keyPath, kSharedToolsKey) && sameName(valueName, kSharedToolsValue)) {
        return toolsFolder_;
    }
    return std::nullopt;
}

} // namespace kvistra
