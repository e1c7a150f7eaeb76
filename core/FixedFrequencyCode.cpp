// SPDX-License-Identifier: GPL-3.0-or-later
#include "FixedFrequencyCode.h"

#include "CharacterSet.h"

#include <array>
#include <cmath>

namespace kvistra {

namespace {

// The character set's frequencies in 154ths, as the random index rule gives them:
// "1" one slot, each of the next 76 characters two, "/" one.
constexpr unsigned kSlots = 154;

struct Symbol {
    int index;      // 1 ... 78 in the character set
    unsigned start; // first slot
    unsigned width; // 1 or 2 slots
};

constexpr Symbol symbolOfIndex(int index) {
    if (index == 1) {
        return {1, 0, 1};
    }
    if (index == kCharacterSetSize) {
        return {index, kSlots - 1, 1};
    }
    return {index, static_cast<unsigned>(2 * index - 3), 2};
}

constexpr Symbol symbolOfSlot(unsigned slot) {
    if (slot == 0) {
        return symbolOfIndex(1);
    }
    if (slot == kSlots - 1) {
        return symbolOfIndex(kCharacterSetSize);
    }
    return symbolOfIndex(static_cast<int>((slot + 1) / 2) + 1);
}

// Character code to index in the set; 0 for a code outside it.
constexpr std::array<int, 256> indexOfCode() {
    std::array<int, 256> indices{};
    for (int index = 1; index <= kCharacterSetSize; ++index) {
        indices[characterAt(index)] = index;
    }
    return indices;
}
constexpr std::array<int, 256> kIndexOfCode = indexOfCode();

// A non-negative whole number of fixed room, in 32-bit limbs, least significant first.
class Natural {
public:
    explicit Natural(std::size_t bits)
        : limbs_(bits / 32 + 2, 0) {}

    void setBit(std::size_t bit) { limbs_[bit / 32] |= 1u << (bit % 32); }

    // The 8 bits from `bit` on.
    unsigned byteAt(std::size_t bit) const {
        const std::size_t limb = bit / 32;
        const unsigned shift = bit % 32;
        std::uint64_t word = limbs_[limb];
        if (limb + 1 < limbs_.size()) {
            word |= static_cast<std::uint64_t>(limbs_[limb + 1]) << 32;
        }
        return static_cast<unsigned>(word >> shift) & 0xFFu;
    }

    // Everything from `bit` up becomes 0; `used` limbs hold the rest.
    void clearFrom(std::size_t bit, std::size_t used) {
        std::size_t limb = bit / 32;
        limbs_[limb] &= (1u << (bit % 32)) - 1u;
        for (++limb; limb < used; ++limb) {
            limbs_[limb] = 0;
        }
    }

    void multiply(unsigned factor, std::size_t used) {
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < used; ++i) {
            const std::uint64_t product = static_cast<std::uint64_t>(limbs_[i]) * factor + carry;
            limbs_[i] = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
    }

    // Adds value * 2^bit.
    void addAt(unsigned value, std::size_t bit) {
        std::size_t limb = bit / 32;
        std::uint64_t carry = static_cast<std::uint64_t>(value) << (bit % 32);
        while (carry != 0) {
            const std::uint64_t sum = static_cast<std::uint64_t>(limbs_[limb]) + carry;
            limbs_[limb] = static_cast<std::uint32_t>(sum);
            carry = sum >> 32;
            ++limb;
        }
    }

    // Divides by the slot count, rounding up.
    void divideUp(std::size_t used) {
        std::uint64_t remainder = 0;
        for (std::size_t i = used; i-- > 0;) {
            const std::uint64_t dividend = remainder << 32 | limbs_[i];
            limbs_[i] = static_cast<std::uint32_t>(dividend / kSlots);
            remainder = dividend % kSlots;
        }
        if (remainder != 0) {
            addAt(1, 0);
        }
    }

    // Below 2^bits?
    bool below(std::size_t bits) const {
        for (std::size_t limb = bits / 32; limb < limbs_.size(); ++limb) {
            const std::uint32_t allowed = limb == bits / 32 ? (1u << (bits % 32)) - 1u : 0u;
            if ((limbs_[limb] & ~allowed) != 0) {
                return false;
            }
        }
        return true;
    }

    std::size_t limbsFor(std::size_t bits) const { return std::min(limbs_.size(), bits / 32 + 2); }

private:
    std::vector<std::uint32_t> limbs_;
};

constexpr double kBitsPerCharacter = 6.266786540694901; // log2(77)

} // namespace

std::size_t codedLength(std::size_t byteCount) {
    // 8n / log2(77) is never a whole number for n > 0, and lies far enough from one
    // for any n a picture holds that double precision decides the ceiling.
    return static_cast<std::size_t>(
        std::ceil(static_cast<double>(byteCount) * 8.0 / kBitsPerCharacter));
}

std::optional<std::size_t> byteCountOf(std::size_t characterCount) {
    // The most bytes that many characters hold; fewer need fewer characters.
    const auto most = static_cast<std::size_t>(
        std::floor(static_cast<double>(characterCount) * kBitsPerCharacter / 8.0));
    if (codedLength(most) != characterCount) {
        return std::nullopt;
    }
    return most;
}

std::string charactersOfBytes(std::span<const std::uint8_t> bytes) {
    const std::size_t length = codedLength(bytes.size());
    // The fraction x = X / 2^bits, X the bytes, the first most significant. Each
    // character takes the slot floor(154 x); x then becomes the place of 154 x within
    // the character's slots, which takes one more bit for a two-slot character.
    std::size_t bits = 8 * bytes.size();
    Natural x(bits + length + 16);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        x.addAt(bytes[i], 8 * (bytes.size() - 1 - i));
    }
    std::string characters;
    characters.reserve(length);
    for (std::size_t k = 0; k < length; ++k) {
        const std::size_t used = x.limbsFor(bits + 8);
        x.multiply(kSlots, used);
        const unsigned slot = x.byteAt(bits);
        const Symbol symbol = symbolOfSlot(slot);
        x.clearFrom(bits, used);
        if (slot != symbol.start) {
            x.setBit(bits); // the upper of a two-slot character's slots
        }
        if (symbol.width == 2) {
            ++bits;
        }
        characters += static_cast<char>(characterAt(symbol.index));
    }
    return characters;
}

std::optional<std::vector<std::uint8_t>> bytesOfCharacters(std::string_view characters) {
    const std::optional<std::size_t> byteCount = byteCountOf(characters.size());
    if (!byteCount) {
        return std::nullopt;
    }
    std::vector<Symbol> symbols;
    symbols.reserve(characters.size());
    std::size_t bits = 8 * *byteCount;
    for (const char character : characters) {
        const int index = kIndexOfCode[static_cast<unsigned char>(character)];
        if (index == 0) {
            return std::nullopt;
        }
        symbols.push_back(symbolOfIndex(index));
        bits += symbols.back().width - 1;
    }
    // Back from the last character: the least X whose fraction lies in every
    // character's slots, each step rounded up (ceilings nest exactly).
    Natural x(bits + 16);
    for (std::size_t k = symbols.size(); k-- > 0;) {
        bits -= symbols[k].width - 1; // the bits before character k was taken
        x.addAt(symbols[k].start, bits);
        x.divideUp(x.limbsFor(bits + 8));
    }
    if (!x.below(bits)) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(*byteCount);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(x.byteAt(8 * (bytes.size() - 1 - i)));
    }
    // Characters whose slots hold no bytes of their own (a changed last character,
    // say) round up to the bytes of other characters: only the characters these
    // bytes give are theirs, so that no change goes unseen.
    if (charactersOfBytes(bytes) != characters) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace kvistra
