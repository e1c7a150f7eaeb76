#pragma once

#include "Canvas.h"
#include "Decoder.h"
#include "ProgramWideValues.h"
#include "WindowHost.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kvistra {

struct DecoderRunResult {
    std::optional<std::int16_t> ReadLength; // empty when the run did not get that far
    DecodeResult result;
    std::string text; // the decoded Windows-1252 bytes
};

// "Dekryptera": reads the key fields, decodes, fills the decrypted-text box and
// the list, and reports the elapsed time or the failure.
DecoderRunResult runDecoder(WindowHost& host, const Canvas& canvas,
                            const ProgramWideValues& shared);

// One line of the list: the stored green byte, " - ", the character (UTF-8).
std::string listLine(const DecodedPosition& position);

} // namespace kvistra
