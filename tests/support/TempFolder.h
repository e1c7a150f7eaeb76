// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kvistra::test {

// A fresh folder under the temporary directory, removed with everything in it,
// even after a test has taken its permissions away.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    // The path of `name` inside the folder.
    std::string operator/(const std::string& name) const;
    const std::filesystem::path& path() const { return path_; }

    // Names of everything in the folder, sorted, to spot left-over temporary files.
    std::vector<std::string> entries() const;

private:
    std::filesystem::path path_;
};

} // namespace kvistra::test
