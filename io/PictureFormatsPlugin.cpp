// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureFormatsPlugin.h"

#include <cerrno>
#include <dlfcn.h>
#include <filesystem>
#include <sys/stat.h>

namespace kvistra {

std::string pictureFormatsPluginPath() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    // The relative place is fixed when the program is built, from where it is installed.
    return (program.parent_path() / KVISTRA_PLUGIN_DIR / KVISTRA_PICTURE_FORMATS_PLUGIN)
        .lexically_normal()
        .string();
}

LoadedPictureFormats loadPictureFormatsPlugin() {
    const std::string path = pictureFormatsPluginPath();
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return {nullptr, {}, errno};
    }
    // Never closed: the readers it gives live as long as the program.
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return {nullptr, dlerror()};
    }
    void* entry = dlsym(library, kPictureFormatsEntryName);
    if (entry == nullptr) {
        return {nullptr, dlerror()};
    }
    return {reinterpret_cast<PictureFormatsEntry>(entry)(), {}};
}

} // namespace kvistra
