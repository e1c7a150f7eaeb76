// SPDX-License-Identifier: GPL-3.0-or-later
#include "CharacterSet.h"

#include "Rounding.h"

namespace kvistra {

int randomIndex(float r) {
    // The product is taken in double precision: exact for any single-precision r.
    return static_cast<int>(roundHalfEven(static_cast<double>(r) * 77.0)) + 1;
}

unsigned char randomCharacterCode(float r) {
    return characterAt(randomIndex(r));
}

} // namespace kvistra
