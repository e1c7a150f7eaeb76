// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Seal.h"

#include <ostream>
#include <string>
#include <vector>

namespace kvistra::cli {

enum ExitStatus : int {
    Success = 0,
    Failure = 1,
    UsageError = 2,
};

class PassphrasePrompt;

struct Console {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false;
    bool outIsTerminal = false;
    // Asks for --ask-passphrase; the terminal when there is none.
    PassphrasePrompt* passphrasePrompt = nullptr;
    // What a key from a passphrase costs; tests take the quick setting.
    SealSetting sealSetting = SealSetting::Standard;
};

// The whole command line after the program name.
int run(const std::vector<std::string>& args, Console& console);

int hide(const std::vector<std::string>& args, Console& console);
int reveal(const std::vector<std::string>& args, Console& console);
int capacity(const std::vector<std::string>& args, Console& console);
int inspect(const std::vector<std::string>& args, Console& console);

} // namespace kvistra::cli
