#pragma once

#include <cstdint>
#include <string>

namespace kvistra {

// The values that every window shares; one instance lives as long as the program.
struct ProgramWideValues {
    std::int16_t KeyX = 0; // where the lead-in met the key position
    std::int16_t KeyY = 0;
    std::string MessageText; // the encoder's copy of the input, Windows-1252
    bool DecryptEnabled = false;
    std::string CurrentFileName; // last key file or imported text file
};

} // namespace kvistra
