// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileArguments.h"

#include "Usage.h"
#include "io/SameFile.h"

namespace kvistra::cli {

std::optional<std::string> sameFileProblem(const std::vector<FileArgument>& files) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        for (std::size_t j = i + 1; j < files.size(); ++j) {
            if ((files[i].written || files[j].written) &&
                isSameFile(files[i].path, files[j].path)) {
                return sameFile(files[i].option, files[j].option, files[j].path);
            }
        }
    }
    return std::nullopt;
}

} // namespace kvistra::cli
