#include "SavedPictureCheck.h"

#include "PictureFile.h"
#include "core/MessageCatalogue.h"
#include "core/PictureComparison.h"

namespace kvistra {

Status checkSavedPicture(const std::string& path, const Image& saved,
                         const std::optional<ExpectedMessage>& expected) {
    const Result<Image> readBack = loadPicture(path);
    if (!readBack) {
        return Message{MessageId::SavedPictureUnreadable,
                       {path, describe(readBack.problem()).text}};
    }
    if (const std::optional<PictureDifference> difference = firstDifference(saved, *readBack)) {
        if (difference->sizeDiffers) {
            return Message{MessageId::SavedPictureSizeDiffers,
                           {path, std::to_string(readBack->width()),
                            std::to_string(readBack->height()), std::to_string(saved.width()),
                            std::to_string(saved.height())}};
        }
        return Message{MessageId::SavedPictureDiffers,
                       {path, std::to_string(difference->x), std::to_string(difference->y)}};
    }
    if (expected) {
        if (const std::optional<std::int64_t> place =
                firstMisreadCharacter(*readBack, expected->request, expected->message)) {
            return Message{MessageId::SavedMessageMisread, {path, std::to_string(*place)}};
        }
    }
    return Done{};
}

} // namespace kvistra
