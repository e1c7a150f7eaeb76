// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorkInHand.h"

#include "core/MessageBoxStyle.h"
#include "toolkit/MessageBoxes.h"
#include "words/MessageCatalogue.h"

namespace kvistra {

void WorkInHand::pictureOpened() {
    readable_ = true;
    // The generated picture was replaced.
    pictureGone();
}

void WorkInHand::generated(std::string message) {
    generatedMessage_ = std::move(message);
    readable_ = true;
    pictureUnsaved_ = true;
    keyUnsaved_ = true;
}

void WorkInHand::pictureGone() {
    // The key values stay in the fields: for a picture that was saved they are the only
    // way to read it, so they are still asked about until they are saved too.
    keyUnsaved_ = keyUnsaved_ && !pictureUnsaved_;
    generatedMessage_.reset();
    pictureUnsaved_ = false;
}

WorkInHand::Answer WorkInHand::ask(MessageBoxes& boxes) const {
    if (!pictureUnsaved_ && !keyUnsaved_) {
        return Answer::GoOn;
    }
    const char* what = pictureUnsaved_ && keyUnsaved_ ? "both"
                       : pictureUnsaved_              ? "picture"
                                                      : "key";
    switch (boxes.show(describe({MessageId::UnsavedGeneration, {what}}))) {
    case MessageBoxAnswer::Yes:
        return Answer::Save;
    case MessageBoxAnswer::No:
        return Answer::GoOn;
    default:
        return Answer::Stay;
    }
}

} // namespace kvistra
