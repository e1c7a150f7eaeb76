// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Seal.h"
#include "core/SecretBytes.h"

namespace kvistra {

// The passphrase a run seals or opens its message with.
struct Sealing {
    SecretBytes passphrase;
    SealSetting setting; // the strongest to try when reading
};

} // namespace kvistra
