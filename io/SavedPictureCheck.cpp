#include "SavedPictureCheck.h"

#include "PictureFile.h"
#include "core/MessageCatalogue.h"
#include "core/PictureComparison.h"

#include <memory>

namespace kvistra {

namespace {

Message unreadable(const std::string& path, const Message& why) {
    return {MessageId::SavedPictureUnreadable, {path, describe(why).text}};
}

} // namespace

Status checkSavedPicture(const std::string& path, const Image& saved,
                         const std::optional<ExpectedMessage>& expected) {
    // Read row by row from the file, so that a large picture is not held twice.
    const Result<std::unique_ptr<Canvas>> readBack = openPictureForReading(path);
    if (!readBack) {
        return unreadable(path, readBack.problem());
    }
    const Canvas& file = **readBack;
    const std::optional<PictureDifference> difference = firstDifference(saved, file);
    if (const Status reads = laterReads(file); !reads) {
        return unreadable(path, reads.problem());
    }
    if (difference) {
        if (difference->sizeDiffers) {
            return Message{MessageId::SavedPictureSizeDiffers,
                           {path, std::to_string(file.width()), std::to_string(file.height()),
                            std::to_string(saved.width()), std::to_string(saved.height())}};
        }
        return Message{MessageId::SavedPictureDiffers,
                       {path, std::to_string(difference->x), std::to_string(difference->y)}};
    }
    if (expected) {
        const std::optional<std::int64_t> place =
            firstMisreadCharacter(file, expected->request, expected->message);
        if (const Status reads = laterReads(file); !reads) {
            return unreadable(path, reads.problem());
        }
        if (place) {
            return Message{MessageId::SavedMessageMisread, {path, std::to_string(*place)}};
        }
    }
    return Done{};
}

} // namespace kvistra
