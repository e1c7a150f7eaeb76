// SPDX-License-Identifier: GPL-3.0-or-later
#include "StepwiseFixedFrequencyCode.h"

#include "core/CharacterSet.h"
#include "core/FixedFrequencyCode.h"

#include <vector>

namespace kvistra {

namespace {

constexpr unsigned kSlots = 154;

// The character index of a slot: "1" slot 0, "/" the last, two slots each between.
int indexOfSlot(unsigned slot) {
    if (slot == 0) {
        return 1;
    }
    if (slot == kSlots - 1) {
        return kCharacterSetSize;
    }
    return static_cast<int>((slot + 1) / 2) + 1;
}

unsigned firstSlotOf(int index) {
    return index == 1 ? 0 : index == kCharacterSetSize ? kSlots - 1 : 2 * index - 3;
}

} // namespace

std::string stepwiseCharactersOfBytes(std::span<const std::uint8_t> bytes) {
    // X / 2^bits, in bytes, least significant first; 154 X / 2^bits gives the slot,
    // and X becomes 154 X - first slot * 2^bits, over one more bit for two slots.
    std::size_t bits = 8 * bytes.size();
    std::vector<unsigned> x(bytes.rbegin(), bytes.rend());
    std::string characters;
    for (std::size_t k = 0; k < codedLength(bytes.size()); ++k) {
        unsigned carry = 0;
        for (unsigned& digit : x) {
            const unsigned product = digit * kSlots + carry;
            digit = product & 0xFFu;
            carry = product >> 8;
        }
        for (; carry != 0; carry >>= 8) {
            x.push_back(carry & 0xFFu);
        }
        x.resize(bits / 8 + 2, 0);
        // The slot: the bits from `bits` up, at most 8 of them.
        const unsigned below = bits % 8;
        const unsigned slot = ((x[bits / 8] | x[bits / 8 + 1] << 8) >> below) & 0xFFu;
        const int index = indexOfSlot(slot);
        const unsigned width = index == 1 || index == kCharacterSetSize ? 1 : 2;
        x[bits / 8] &= (1u << below) - 1u;
        x[bits / 8 + 1] = 0;
        if (slot != firstSlotOf(index)) {
            x[bits / 8] |= 1u << below;
        }
        bits += width - 1;
        characters += static_cast<char>(characterAt(index));
    }
    return characters;
}

} // namespace kvistra
