// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace kvistra {

// The values that every window shares; one instance lives as long as the program.
struct ProgramWideValues {
    std::int16_t keyX = 0; // where the lead-in met the key position
    std::int16_t keyY = 0;
    std::string messageText; // the encoder's copy of the input, Windows-1252
    bool decryptEnabled = false;
    std::string currentFileName; // last key file or imported text file
};

} // namespace kvistra
