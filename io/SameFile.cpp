// SPDX-License-Identifier: GPL-3.0-or-later
#include "SameFile.h"

#include "PendingFile.h"

#include <filesystem>
#include <sys/stat.h>

namespace kvistra {

namespace {

std::filesystem::path normalised(const std::string& path) {
    std::error_code error;
    // A link that is not followed is never written through: it names itself.
    const Result<std::string> followed = followLinks(path);
    const std::filesystem::path absolute =
        std::filesystem::absolute(followed ? *followed : path, error);
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(absolute, error);
    return error ? absolute.lexically_normal() : canonical;
}

} // namespace

bool isSameFile(const std::string& first, const std::string& second) {
    struct stat a {};
    struct stat b {};
    const bool firstExists = ::stat(first.c_str(), &a) == 0;
    const bool secondExists = ::stat(second.c_str(), &b) == 0;
    if (firstExists && secondExists) {
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    }
    if (firstExists != secondExists) {
        return false;
    }
    return normalised(first) == normalised(second);
}

} // namespace kvistra
