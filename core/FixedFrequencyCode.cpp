// SPDX-License-Identifier: GPL-3.0-or-later
#include "FixedFrequencyCode.h"

#include "CharacterSet.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <gmpxx.h>
#include <map>

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

// Characters are taken in exact arithmetic on whole numbers: the fraction x is
// X / 2^b, and taking character k (its slots start .. start + width - 1) makes
// X' = 154 X - start 2^b over b + width - 1 bits. Over characters j < h that is
//   X_h = 154^h X - 2^b M,   M = sum of start_j 2^(c_j) 154^(h-1-j),
// c_j the two-slot characters before j. Both ways split the characters in halves
// and join the halves with a few large products, so the time stays near linear.

// Characters below this many are taken one at a time.
constexpr std::size_t kDirect = 48;
// Bits beyond what h characters can tell apart, when the first h are taken from
// the top bits of X alone; should X lie closer than that to a slot boundary, the
// check of the rest catches it and they are taken from X whole.
constexpr std::size_t kGuardBits = 64;

class Powers {
public:
    // 154^count, kept: the halves of a split come in few lengths.
    const mpz_class& of(std::size_t count) {
        auto [at, added] = powers_.try_emplace(count);
        if (added) {
            mpz_ui_pow_ui(at->second.get_mpz_t(), kSlots, count);
        }
        return at->second;
    }

private:
    std::map<std::size_t, mpz_class> powers_;
};

// The two-slot characters among `symbols`.
std::size_t twoSlotCount(std::span<const Symbol> symbols) {
    return static_cast<std::size_t>(std::count_if(
        symbols.begin(), symbols.end(), [](const Symbol& symbol) { return symbol.width == 2; }));
}

// M above for `symbols`, c_j counted from the first of them.
mpz_class weightedStarts(std::span<const Symbol> symbols, Powers& powers) {
    if (symbols.size() <= kDirect) {
        mpz_class sum;
        std::size_t twoSlots = 0;
        for (const Symbol& symbol : symbols) {
            sum *= kSlots;
            sum += mpz_class(symbol.start) << twoSlots;
            twoSlots += symbol.width - 1;
        }
        return sum;
    }
    const std::size_t half = symbols.size() / 2;
    const std::span<const Symbol> first = symbols.first(half);
    const std::span<const Symbol> rest = symbols.subspan(half);
    mpz_class sum = weightedStarts(first, powers) * powers.of(rest.size());
    sum += weightedStarts(rest, powers) << twoSlotCount(first);
    return sum;
}

// `count` characters of X / 2^bits onto `symbols`; X becomes what is left after them.
void takeDirectly(mpz_class& x, std::size_t bits, std::size_t count, std::vector<Symbol>& symbols) {
    mpz_class slot;
    for (std::size_t k = 0; k < count; ++k) {
        x *= kSlots;
        mpz_fdiv_q_2exp(slot.get_mpz_t(), x.get_mpz_t(), bits);
        mpz_fdiv_r_2exp(x.get_mpz_t(), x.get_mpz_t(), bits);
        const Symbol symbol = symbolOfSlot(static_cast<unsigned>(slot.get_ui()));
        if (slot.get_ui() != symbol.start) {
            mpz_setbit(x.get_mpz_t(), bits); // the upper of a two-slot character's slots
        }
        bits += symbol.width - 1;
        symbols.push_back(symbol);
    }
}

// X_h into `rest`, after `taken` were taken from X / 2^bits; whether it lies in
// [0, 2^(bits after them)), as it does only when they are the characters of X.
bool restAfter(const mpz_class& x, std::size_t bits, std::span<const Symbol> taken, Powers& powers,
               mpz_class& rest) {
    rest = x * powers.of(taken.size());
    rest -= weightedStarts(taken, powers) << bits;
    const std::size_t bitsAfter = bits + twoSlotCount(taken);
    return sgn(rest) == 0 || (sgn(rest) > 0 && mpz_sizeinbase(rest.get_mpz_t(), 2) <= bitsAfter);
}

// `count` characters of X / 2^bits onto `symbols`.
void takeCharacters(const mpz_class& x, std::size_t bits, std::size_t count,
                    std::vector<Symbol>& symbols, Powers& powers) {
    if (count <= kDirect) {
        mpz_class rest = x;
        takeDirectly(rest, bits, count, symbols);
        return;
    }
    const std::size_t half = count / 2;
    const std::size_t from = symbols.size();
    // The first half from the top bits of X only; a result they give wrongly shows
    // as a rest out of range, and is then taken again from X whole.
    const auto needed =
        static_cast<std::size_t>(std::ceil(static_cast<double>(half) * std::log2(double{kSlots}))) +
        kGuardBits;
    mpz_class rest;
    bool taken = false;
    if (bits > needed) {
        const mpz_class top = x >> (bits - needed);
        takeCharacters(top, needed, half, symbols, powers);
        taken = restAfter(x, bits, std::span(symbols).subspan(from), powers, rest);
        if (!taken) {
            symbols.resize(from);
        }
    }
    if (!taken) {
        takeCharacters(x, bits, half, symbols, powers);
        restAfter(x, bits, std::span(symbols).subspan(from), powers, rest);
    }
    const std::size_t bitsAfter = bits + twoSlotCount(std::span(symbols).subspan(from));
    takeCharacters(rest, bitsAfter, count - half, symbols, powers);
}

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
    // The fraction x = X / 2^bits, X the bytes, the first most significant.
    mpz_class x;
    if (!bytes.empty()) {
        mpz_import(x.get_mpz_t(), bytes.size(), 1, 1, 1, 0, bytes.data());
    }
    std::vector<Symbol> symbols;
    symbols.reserve(length);
    Powers powers;
    takeCharacters(x, 8 * bytes.size(), length, symbols, powers);
    std::string characters;
    characters.reserve(length);
    for (const Symbol& symbol : symbols) {
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
    for (const char character : characters) {
        const int index = kIndexOfCode[static_cast<unsigned char>(character)];
        if (index == 0) {
            return std::nullopt;
        }
        symbols.push_back(symbolOfIndex(index));
    }
    // The least X whose fraction lies in every character's slots: X_L = 0 above
    // gives X = ceil(2^(8n) M / 154^L).
    Powers powers;
    mpz_class x = weightedStarts(symbols, powers) << (8 * *byteCount);
    mpz_cdiv_q(x.get_mpz_t(), x.get_mpz_t(), powers.of(symbols.size()).get_mpz_t());
    const std::size_t significantBits = sgn(x) == 0 ? 0 : mpz_sizeinbase(x.get_mpz_t(), 2);
    if (significantBits > 8 * *byteCount) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(*byteCount);
    if (significantBits > 0) {
        const std::size_t significant = (significantBits + 7) / 8;
        mpz_export(bytes.data() + bytes.size() - significant, nullptr, 1, 1, 1, 0, x.get_mpz_t());
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
