// SPDX-License-Identifier: GPL-3.0-or-later
#include "OtherPictureFormats.h"

#include "PictureFormatsPlugin.h"

namespace kvistra {

namespace {

const OtherPictureFormats* given = nullptr;

} // namespace

void useOtherPictureFormats(const OtherPictureFormats& formats) {
    given = &formats;
}

Result<const OtherPictureFormats*> otherPictureFormats(const std::string& path) {
    if (given != nullptr) {
        return given;
    }
    static const LoadedPictureFormats plugin = loadPictureFormatsPlugin();
    if (plugin.formats == nullptr) {
        return Message{MessageId::PictureFormatsMissing,
                       {path, pictureFormatsPluginPath(), plugin.failure},
                       plugin.systemError};
    }
    return plugin.formats;
}

} // namespace kvistra
