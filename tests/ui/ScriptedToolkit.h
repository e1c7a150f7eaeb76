// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/MessageBoxStyle.h"
#include "toolkit/FileDialog.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/PassphrasePrompt.h"

#include <QtGlobal>
#include <deque>
#include <string>
#include <vector>

namespace kvistra::test {

// Records every message box and answers from a script (OK when it runs dry).
class ScriptedMessageBoxes final : public MessageBoxes {
public:
    static constexpr std::size_t kRunaway = 1000;

    std::vector<MessageBoxText> shown;
    std::deque<int> answers;

    int show(const MessageBoxText& box) override {
        shown.push_back(box);
        // Boxes that bring one another without end: stop with a word, not a stack overflow.
        if (shown.size() > kRunaway) {
            qFatal("more than %zu message boxes, the last: %s", kRunaway, box.text.c_str());
        }
        if (answers.empty()) {
            return MessageBoxAnswer::Ok;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> all;
        for (const MessageBoxText& box : shown) {
            all.push_back(box.text);
        }
        return all;
    }
};

// Answers file dialogs from a script (cancel when it runs dry) and records
// the name each dialog suggested.
class ScriptedFilePrompt final : public FilePrompt {
public:
    struct Asked {
        FileDialogMode mode;
        std::string suggestedName;
        std::string defaultExtension;
    };

    std::deque<std::string> answers;
    std::vector<Asked> asked;

    std::string ask(FileDialogMode mode, const std::string& suggestedName,
                    const std::string& defaultExtension) override {
        asked.push_back({mode, suggestedName, defaultExtension});
        if (answers.empty()) {
            return {};
        }
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Answers the passphrase dialog from a script (cancel when it runs dry) and
// records whether each asked twice. Keys come at the quick setting unless told.
class ScriptedPassphrasePrompt final : public PassphrasePrompt {
public:
    struct Answer {
        std::string passphrase;
        std::string repeated;
    };

    std::deque<Answer> answers;
    std::vector<bool> asked;
    SealSetting sealing = SealSetting::Quick;

    SealSetting setting() const override { return sealing; }

    std::optional<PassphraseAnswer> ask(bool repeat) override {
        asked.push_back(repeat);
        if (answers.empty()) {
            return std::nullopt;
        }
        const Answer answer = answers.front();
        answers.pop_front();
        PassphraseAnswer given{SecretBytes(4 * answer.passphrase.size() + 1),
                               SecretBytes(answer.repeated.size() + 1)};
        given.passphrase.append(answer.passphrase);
        given.repeated.append(answer.repeated);
        return given;
    }
};

} // namespace kvistra::test
