// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Seal.h"

#include "StepwiseFixedFrequencyCode.h"
#include "core/CharacterSet.h"
#include "core/FixedFrequencyCode.h"
#include "core/SealedMessage.h"
#include "core/SecretBytes.h"

#include <bit>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <sstream>
#include <vector>

namespace kvistra {
namespace {

using Bytes = std::vector<std::uint8_t>;

SecretBytes secret(std::string_view text) {
    SecretBytes bytes(kLongestPassphrase);
    EXPECT_TRUE(bytes.append(text));
    return bytes;
}

Bytes randomBytes(std::size_t count, std::mt19937& generator) {
    Bytes bytes(count);
    for (std::uint8_t& byte : bytes) {
        byte = static_cast<std::uint8_t>(generator());
    }
    return bytes;
}

TEST(FixedFrequencyCode, EveryByteStringComesBack) {
    std::mt19937 generator(15);
    std::vector<Bytes> cases = {{}, {0}, {0xFF}, Bytes(64, 0), Bytes(64, 0xFF), {0x80, 0, 0, 1}};
    for (std::size_t size = 1; size <= 200; ++size) {
        cases.push_back(randomBytes(size, generator));
    }
    cases.push_back(randomBytes(5000, generator));
    for (const Bytes& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        const std::string characters = charactersOfBytes(bytes);
        ASSERT_EQ(characters.size(), codedLength(bytes.size()));
        for (const char character : characters) {
            const auto code = static_cast<unsigned char>(character);
            ASSERT_GE(code, 33);
            ASSERT_LE(code, 246);
        }
        EXPECT_EQ(bytesOfCharacters(characters), bytes);
    }
}

// 77^L against 256^n in exact arithmetic, for every byte count a picture can hold.
TEST(FixedFrequencyCode, LengthIsTheFewestCharactersThatHoldTheBytes) {
    std::vector<std::uint32_t> power{1}; // 77^L, least significant limb first
    const auto bitLength = [&power] {
        return 32 * (power.size() - 1) + static_cast<std::size_t>(std::bit_width(power.back()));
    };
    std::size_t mostBefore = 0; // the most bytes L - 1 characters hold
    for (std::size_t length = 1; length <= 33000; ++length) {
        std::uint64_t carry = 0;
        for (std::uint32_t& limb : power) {
            const std::uint64_t product = std::uint64_t{limb} * 77 + carry;
            limb = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry != 0) {
            power.push_back(static_cast<std::uint32_t>(carry));
        }
        // 256^n <= 77^L exactly when 8n < the bit length of 77^L.
        const std::size_t most = (bitLength() - 1) / 8;
        for (std::size_t n = mostBefore + 1; n <= most; ++n) {
            ASSERT_EQ(codedLength(n), length) << n;
        }
        ASSERT_EQ(byteCountOf(length),
                  most > mostBefore ? std::optional<std::size_t>(most) : std::nullopt)
            << length;
        mostBefore = most;
    }
}

TEST(FixedFrequencyCode, RefusesWhatNoBytesGive) {
    std::size_t lengthWithoutBytes = 1;
    while (byteCountOf(lengthWithoutBytes)) {
        ++lengthWithoutBytes;
    }
    const std::string valid = charactersOfBytes(Bytes(40, 0x5A));
    std::string outsideTheSet = valid;
    outsideTheSet[7] = ' ';
    const struct {
        const char* name;
        std::string characters;
    } cases[] = {
        {"a length no byte count gives", std::string(lengthWithoutBytes, 'a')},
        {"a character outside the set", outsideTheSet},
        {"a run above the largest bytes", std::string(valid.size(), '/')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(bytesOfCharacters(c.characters), std::nullopt);
    }
}

// A changed character must never read back as the bytes it came from, or a
// changed pixel would go unseen.
TEST(FixedFrequencyCode, EveryChangedCharacterGivesOtherBytesOrNone) {
    std::mt19937 generator(16);
    for (const std::size_t size : {1u, 2u, 17u, 45u}) {
        const Bytes bytes = randomBytes(size, generator);
        const std::string characters = charactersOfBytes(bytes);
        for (std::size_t at = 0; at < characters.size(); ++at) {
            for (int index = 1; index <= kCharacterSetSize; ++index) {
                std::string changed = characters;
                changed[at] = static_cast<char>(characterAt(index));
                if (changed == characters) {
                    continue;
                }
                const std::optional<Bytes> read = bytesOfCharacters(changed);
                ASSERT_NE(read, bytes) << "size " << size << ", character " << at;
                if (read) {
                    ASSERT_EQ(charactersOfBytes(*read), changed);
                }
            }
        }
    }
}

// The code splits long runs in halves and takes the first half from the top bits
// alone; what it writes must stay what the plain rule writes, for runs of every
// size and for bytes that lie right at the start of a run of characters, where the
// top bits alone fall into the characters before.
TEST(FixedFrequencyCode, WritesWhatThePlainRuleWrites) {
    std::mt19937 generator(26);
    std::vector<Bytes> cases = {Bytes(3000, 0), Bytes(3000, 0xFF)};
    for (const std::size_t size : {40u, 41u, 97u, 250u, 1000u, 6000u}) {
        cases.push_back(randomBytes(size, generator));
        // The least bytes behind a run of characters that ends in "1"s lie at the
        // start of the slots of the characters before those.
        const std::string characters = charactersOfBytes(randomBytes(size, generator));
        for (const std::size_t kept : {characters.size() / 2, characters.size() / 4 + 3}) {
            std::string atStart = characters.substr(0, kept);
            atStart.resize(characters.size(), static_cast<char>(characterAt(1)));
            if (const std::optional<Bytes> bytes = bytesOfCharacters(atStart)) {
                cases.push_back(*bytes);
            }
            Bytes below = cases.back();
            for (auto byte = below.rbegin(); byte != below.rend() && (*byte)-- == 0; ++byte) {
            }
            cases.push_back(below);
        }
    }
    for (const Bytes& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        const std::string characters = charactersOfBytes(bytes);
        ASSERT_EQ(characters, stepwiseCharactersOfBytes(bytes));
        EXPECT_EQ(bytesOfCharacters(characters), bytes);
    }
}

TEST(Seal, OpensWithTheSamePassphraseOnly) {
    const std::string plaintext = "M\xF6t mig vid bron|kl. 12";
    const Result<Bytes> sealed = seal(plaintext, secret("rätt fras"), SealSetting::Quick);
    ASSERT_TRUE(sealed);
    ASSERT_EQ(sealed->size(), plaintext.size() + kSealOverhead);
    EXPECT_EQ(open(*sealed, secret("rätt fras"), SealSetting::Quick).value(), plaintext);

    // Each part of the sealed bytes: first byte, salt, nonce, text and tag.
    const auto flipped = [&](std::size_t at) {
        Bytes changed = *sealed;
        changed[at] ^= 0x01;
        return changed;
    };
    const struct {
        const char* name;
        Bytes sealed;
        std::string passphrase;
    } refused[] = {
        {"wrong passphrase", *sealed, "rätt fras "},
        {"empty passphrase", *sealed, ""},
        {"first byte", flipped(0), "rätt fras"},
        {"salt", flipped(3), "rätt fras"},
        {"nonce", flipped(30), "rätt fras"},
        {"text", flipped(kSealOverhead - 16 + 2), "rätt fras"},
        {"tag", flipped(sealed->size() - 1), "rätt fras"},
        {"cut short", Bytes(sealed->begin(), sealed->end() - 1), "rätt fras"},
        {"shorter than the overhead", Bytes(sealed->begin(), sealed->begin() + 20), "rätt fras"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        const Result<std::string> opened = open(c.sealed, secret(c.passphrase), SealSetting::Quick);
        ASSERT_FALSE(opened);
        EXPECT_EQ(opened.problem().id, MessageId::SealedMessageRefused);
    }
}

TEST(Seal, EachSealingDrawsItsOwnSaltAndNonce) {
    const Result<Bytes> first = seal("samma text", secret("fras"), SealSetting::Quick);
    const Result<Bytes> second = seal("samma text", secret("fras"), SealSetting::Quick);
    ASSERT_TRUE(first && second);
    EXPECT_NE(Bytes(first->begin() + 1, first->begin() + 41),
              Bytes(second->begin() + 1, second->begin() + 41));
    EXPECT_NE(*first, *second);
}

// The setting the program writes, once: the others use the quick one.
TEST(Seal, StandardSettingOpensAndIsNotTheQuickOne) {
    const Result<Bytes> sealed = seal("hemligt", secret("fras"), SealSetting::Standard);
    ASSERT_TRUE(sealed);
    EXPECT_EQ(open(*sealed, secret("fras")).value(), "hemligt");
    // Read as 1.0.0 would have labelled it quick, the key differs. One run in 256
    // already carries that label in its random first byte and stays whole.
    Bytes relabelled = *sealed;
    relabelled[0] = static_cast<std::uint8_t>(relabelled[1] ^ static_cast<int>(SealSetting::Quick));
    if (relabelled != *sealed) {
        EXPECT_FALSE(open(relabelled, secret("fras")));
    }
    Bytes otherwise = *sealed;
    otherwise[0] ^= 0x01;
    EXPECT_FALSE(open(otherwise, secret("fras"))) << "a changed first byte must break the tag";
}

// Runs that 1.0.0 wrote of "Gammal text" with "fras", at each setting.
TEST(Seal, OpensWhat100Sealed) {
    const std::string quick = "ANPUJq+d4rWCa2.GEld\xC5"
                              "tkHBl!o.P\xC4"
                              "/,)yA215h-q,,rCb8EiV.4WerZs/jG2j\xF6"
                              "(Jd\xC4"
                              "B4mk-.Bus\xD6"
                              "OG\xE5"
                              "llXr\xC5"
                              "ZE";
    const std::string standard = "q7e-m7+oC.4kg*v0\xD6"
                                 "gtNUOYC31f!*,jjj3o9bP\xE5"
                                 "463Sv0XbOzys\xE4"
                                 "cZF,a+U90ai*Pc0\xC5"
                                 ",(0\xC5"
                                 "!ZBHCRMfKE,fdCb";
    EXPECT_EQ(openedMessage(quick, secret("fras"), SealSetting::Quick).value(), "Gammal text");
    EXPECT_EQ(openedMessage(standard, secret("fras")).value(), "Gammal text");
    const Result<std::string> wrong = openedMessage(quick, secret("Fras"), SealSetting::Quick);
    ASSERT_FALSE(wrong);
    EXPECT_EQ(wrong.problem().id, MessageId::SealedMessageRefused);
}

// The flags /proc/self/smaps gives the mapping that holds `address`.
std::string mappingFlags(const void* address) {
    std::ifstream smaps("/proc/self/smaps");
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    bool inside = false;
    std::string line;
    while (std::getline(smaps, line)) {
        std::uintptr_t start = 0;
        std::uintptr_t end = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> start >> dash >> end && dash == '-') {
            inside = start <= at && at < end;
        } else if (inside && line.starts_with("VmFlags:")) {
            return line;
        }
    }
    return {};
}

// A passphrase must not reach the swap or a core dump: its pages are locked and
// marked to be left out of dumps.
TEST(SecretBytes, AreLockedAndLeftOutOfCoreDumps) {
    const SecretBytes passphrase = secret("fras");
    const std::string flags = mappingFlags(passphrase.data());
    ASSERT_FALSE(flags.empty());
#ifndef __SANITIZE_ADDRESS__ // AddressSanitizer turns mlock into nothing
    EXPECT_NE(flags.find(" lo"), std::string::npos) << flags; // locked
#endif
    EXPECT_NE(flags.find(" dd"), std::string::npos) << flags; // not dumped
}

} // namespace
} // namespace kvistra
