// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Arguments.h"
#include "core/Result.h"
#include "core/SecretBytes.h"

#include <optional>
#include <string>

namespace kvistra::cli {

struct Console;

// Asks for a passphrase, behind an interface so that tests script the answers.
class PassphrasePrompt {
public:
    virtual ~PassphrasePrompt() = default;

    // The line typed after the prompt, without its end. NoPassphraseTerminal when
    // there is no one to ask; PassphraseTooLong.
    virtual Result<SecretBytes> ask(const std::string& prompt) = 0;
};

// The controlling terminal, with the typing not shown.
class TerminalPassphrasePrompt final : public PassphrasePrompt {
public:
    Result<SecretBytes> ask(const std::string& prompt) override;
};

// The first line of the file, without its line end. A pipe will do, so that the
// passphrase can come from another program without touching a disk.
Result<SecretBytes> passphraseFromFile(const std::string& path);

// The passphrase the options name: --passphrase-file, or --ask-passphrase (asked
// twice when `confirm`, and refused unless both are the same). Nullopt without either.
Result<std::optional<SecretBytes>> passphraseFromOptions(const Arguments& arguments,
                                                         Console& console, bool confirm);

} // namespace kvistra::cli
