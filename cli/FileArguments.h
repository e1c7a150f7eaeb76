// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kvistra::cli {

// A file a command reads or writes, by the option that names it.
struct FileArgument {
    std::string option;
    std::string path;
    bool written;
};

// A usage error when two files of one command, one of them written, are one file:
// the write would destroy the other before or while it is used.
std::optional<std::string> sameFileProblem(const std::vector<FileArgument>& files);

} // namespace kvistra::cli
