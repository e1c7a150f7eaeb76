// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SealedMessage.h"

#include "RecordingReports.h"
#include "core/Capacity.h"
#include "core/CharacterSet.h"
#include "core/DecoderRun.h"
#include "core/Encoder.h"
#include "core/Image.h"
#include "core/SecureRandom.h"
#include "core/Windows1252.h"
#include "support/TypedKeys.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <vector>

namespace kvistra {
namespace {

SecretBytes secret(std::string_view text) {
    SecretBytes bytes(kLongestPassphrase);
    EXPECT_TRUE(bytes.append(text));
    return bytes;
}

TEST(SealedMessage, CapacityIsABoundThatAlwaysHolds) {
    std::vector<std::int64_t> rooms = {0, 1, 72, 73, 74, 75, 76, 1000, 32766, 32767, 32768, 68057};
    for (std::int64_t room = 2; room < 3000; room += 7) {
        rooms.push_back(room);
    }
    for (const std::int64_t room : rooms) {
        SCOPED_TRACE(room);
        const std::int64_t characters = std::min(room, kLongestMessage);
        const std::int64_t capacity = sealedCapacity(room);
        if (capacity > 0) {
            EXPECT_LE(sealedLength(capacity), characters);
        }
        EXPECT_GT(sealedLength(capacity + 1), characters);
    }
    EXPECT_EQ(sealedCapacity(74), 0);
    EXPECT_EQ(sealedCapacity(75), 1);

    // The characters written are as many as told, whatever the message and the draws.
    for (const std::string& message :
         {std::string(1, '\0'), std::string(283, '\xFF'), std::string("Hej")}) {
        for (int draw = 0; draw < 3; ++draw) {
            const Result<std::string> sealed =
                sealedCharacters(message, secret("fras"), SealSetting::Quick);
            ASSERT_TRUE(sealed);
            EXPECT_EQ(static_cast<std::int64_t>(sealed->size()),
                      sealedLength(static_cast<std::int64_t>(message.size())));
        }
    }
}

TEST(SealedMessage, OpensFromItsCharactersWithThePassphrase) {
    const std::string message = "Hemligt: \xE5\xE4\xF6|rad tv\xE5";
    const Result<std::string> sealed =
        sealedCharacters(message, secret("fras"), SealSetting::Quick);
    ASSERT_TRUE(sealed);
    EXPECT_EQ(openedMessage(*sealed, secret("fras"), SealSetting::Quick).value(), message);
    std::string changed = *sealed;
    changed[10] = changed[10] == 'A' ? 'B' : 'A';
    for (const std::string& characters :
         {changed, sealed->substr(0, sealed->size() - 1), *sealed + "A"}) {
        const Result<std::string> opened =
            openedMessage(characters, secret("fras"), SealSetting::Quick);
        ASSERT_FALSE(opened);
        EXPECT_EQ(opened.problem().id, MessageId::SealedMessageRefused);
    }
    EXPECT_FALSE(openedMessage(*sealed, secret("Fras"), SealSetting::Quick));
}

// Both front ends seal and read through these: a message sealed into the request,
// written by the encoder and read back whole, opens with its passphrase only.
TEST(SealedMessage, RunSealedIntoARequestReadsBack) {
    Image image(40, 30);
    SecureRandom random;
    test::RecordingEncodeReport report;
    EncodeRequest request = test::writingKeys("Hemligt", "7", "3", "5", false);
    ASSERT_TRUE(checkSealedFits(image, request));
    ASSERT_TRUE(sealRequest(request, secret("fras"), SealSetting::Quick));
    EXPECT_EQ(request.message.size(), static_cast<std::size_t>(sealedLength(7)));
    EXPECT_EQ(request.shift.value, 0.0);
    const Result<EncodeResult> written = Encoder(image, random, report).generate(request);
    ASSERT_TRUE(written);

    const auto reading = [&](const std::string& length, const std::string& x) {
        return readingRequest(length, "3", x, "0", NumberLocale::c());
    };
    const std::string length = std::to_string(written->readingLength);
    EXPECT_EQ(readSealed(image, reading(length, "7"), secret("fras"), SealSetting::Quick).value(),
              "Hemligt");
    const Message refused{MessageId::SealedMessageRefused, {}};
    const struct {
        const char* name;
        DecodeRunRequest request;
        const char* passphrase;
    } cases[] = {
        {"wrong passphrase", reading(length, "7"), "Fras"},
        {"another key", reading(length, "8"), "fras"},
        {"one character short", reading(std::to_string(written->readingLength - 1), "7"), "fras"},
        {"reading length outside 16 bits", reading("40000", "7"), "fras"},
        {"run past the picture's end", reading("1200", "7"), "fras"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Result<std::string> opened =
            readSealed(image, c.request, secret(c.passphrase), SealSetting::Quick);
        ASSERT_FALSE(opened);
        EXPECT_EQ(opened.problem(), refused);
    }
}

TEST(SealedMessage, RefusesToSealWhatDoesNotFitFromTheKey) {
    const Image image(20, 10);
    const std::int64_t fromLastRow = sealedCapacity(20); // 0: no sealed message fits there
    const std::int64_t fromTop = sealedCapacity(200);
    const struct {
        const char* name;
        EncodeRequest request;
        std::optional<Message> refusal;
    } cases[] = {
        {"fits from the top", test::writingKeys(std::string(fromTop, 'a'), "0", "0", "0", false),
         std::nullopt},
        {"one byte too many",
         test::writingKeys(std::string(fromTop + 1, 'a'), "0", "0", "0", false),
         Message{MessageId::SealedMessageDoesNotFit,
                 {std::to_string(fromTop + 1), std::to_string(fromTop)}}},
        {"from the last row", test::writingKeys("a", "0", "9", "0", false),
         Message{MessageId::SealedMessageDoesNotFit, {"1", std::to_string(fromLastRow)}}},
        {"key outside the picture", test::writingKeys("a", "20", "0", "0", false),
         Message{MessageId::KeyOutsideGrid, {"20", "0", "20", "10"}}},
        {"fractional key", test::writingKeys("a", "2.5", "0", "0", false),
         Message{MessageId::KeyOutsideGrid, {"2.5", "0", "20", "10"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Status fits = checkSealedFits(image, c.request);
        EXPECT_EQ(fits.ok(), !c.refusal);
        if (c.refusal) {
            EXPECT_EQ(fits.problem(), *c.refusal);
        }
    }
}

TEST(SealedMessage, PassphraseChecks) {
    SecretBytes longest(kLongestPassphrase + 1);
    ASSERT_TRUE(longest.append(std::string(kLongestPassphrase, 'x')));
    EXPECT_TRUE(checkPassphrase(longest));
    ASSERT_TRUE(longest.append("x"));
    EXPECT_EQ(checkPassphrase(longest).problem(),
              (Message{MessageId::PassphraseTooLong, {std::to_string(kLongestPassphrase)}}));

    const SecretBytes empty(kLongestPassphrase);
    EXPECT_EQ(checkPassphrase(empty).problem(), (Message{MessageId::PassphraseEmpty, {}}));
    // An empty one is refused as empty, typed twice or not.
    EXPECT_EQ(checkPassphrase(empty, &empty).problem(), (Message{MessageId::PassphraseEmpty, {}}));

    const SecretBytes typed = secret("fras");
    const SecretBytes same = secret("fras");
    const SecretBytes other = secret("Fras");
    EXPECT_TRUE(checkPassphrase(typed));
    EXPECT_TRUE(checkPassphrase(typed, &same));
    EXPECT_EQ(checkPassphrase(typed, &other).problem(),
              (Message{MessageId::PassphrasesDiffer, {}}));
    EXPECT_EQ(checkPassphrase(typed, &empty).problem(),
              (Message{MessageId::PassphrasesDiffer, {}}));
}

// The green values of a message run, written the way a front end writes it.
std::vector<int> greenValuesOfRun(const std::string& characters) {
    Image image(269, 253);
    SecureRandom random;
    test::RecordingEncodeReport report;
    const EncodeRequest request = test::writingKeys(characters, "7", "3", "0", false);
    EXPECT_TRUE(Encoder(image, random, report).generate(request));
    std::vector<int> greens;
    for (std::size_t k = 0; k < characters.size(); ++k) {
        const auto position = static_cast<int>(3 * image.width() + 7 + k);
        greens.push_back(greenOf(image.pixel(position % image.width(), position / image.width())));
    }
    return greens;
}

double slots(int index) {
    return index == 1 || index == kCharacterSetSize ? 1.0 : 2.0;
}

// The character set's index of a code; 0 outside it.
int indexOfCode(int code) {
    for (int index = 1; index <= kCharacterSetSize; ++index) {
        if (characterAt(index) == code) {
            return index;
        }
    }
    return 0;
}

// The upper 0.1 % point of the chi-square distribution (Wilson and Hilferty).
double criticalValue(int degrees) {
    const double k = degrees;
    // The normal's upper 10^-6 point: with a fresh salt and nonce each run, a
    // stricter level would fail a sound build now and then.
    const double z = 4.7534;
    return k * std::pow(1.0 - 2.0 / (9.0 * k) + z * std::sqrt(2.0 / (9.0 * k)), 3.0);
}

// Counts against expected frequencies; a value where none is expected fails outright.
double chiSquare(const std::vector<double>& counts, const std::vector<double>& probabilities,
                 double draws) {
    double sum = 0;
    for (std::size_t cell = 0; cell < counts.size(); ++cell) {
        const double expected = draws * probabilities[cell];
        if (expected == 0) {
            if (counts[cell] > 0) {
                return std::numeric_limits<double>::infinity();
            }
            continue;
        }
        sum += (counts[cell] - expected) * (counts[cell] - expected) / expected;
    }
    return sum;
}

// Each green value against the random characters' frequencies: 78 cells and one
// for any value outside the set.
bool singlesPass(const std::vector<int>& greens) {
    std::vector<double> counts(kCharacterSetSize + 1, 0);
    std::vector<double> probabilities(kCharacterSetSize + 1, 0);
    for (int index = 1; index <= kCharacterSetSize; ++index) {
        probabilities[static_cast<std::size_t>(index)] = slots(index) / 154.0;
    }
    for (const int green : greens) {
        counts[static_cast<std::size_t>(indexOfCode(green))] += 1;
    }
    return chiSquare(counts, probabilities, static_cast<double>(greens.size())) <
           criticalValue(kCharacterSetSize - 1);
}

// Neighbouring values in pairs that do not overlap, against the product of their
// frequencies. The characters go into 13 classes of six (index mod 13) so that every
// one of the 169 cells expects enough pairs for the test to hold; a last cell takes
// any pair with a value outside the set.
bool pairsPass(const std::vector<int>& greens) {
    constexpr int kClasses = 13;
    std::array<double, kClasses> classProbability{};
    for (int index = 1; index <= kCharacterSetSize; ++index) {
        classProbability[static_cast<std::size_t>(index % kClasses)] += slots(index) / 154.0;
    }
    std::vector<double> counts(kClasses * kClasses + 1, 0);
    std::vector<double> probabilities(kClasses * kClasses + 1, 0);
    for (int a = 0; a < kClasses; ++a) {
        for (int b = 0; b < kClasses; ++b) {
            probabilities[static_cast<std::size_t>(a * kClasses + b)] =
                classProbability[static_cast<std::size_t>(a)] *
                classProbability[static_cast<std::size_t>(b)];
        }
    }
    double pairs = 0;
    for (std::size_t k = 0; k + 1 < greens.size(); k += 2) {
        const int first = indexOfCode(greens[k]);
        const int second = indexOfCode(greens[k + 1]);
        const std::size_t cell =
            first == 0 || second == 0
                ? counts.size() - 1
                : static_cast<std::size_t>((first % kClasses) * kClasses + second % kClasses);
        counts[cell] += 1;
        pairs += 1;
    }
    return chiSquare(counts, probabilities, pairs) < criticalValue(kClasses * kClasses - 1);
}

// Knowing where a run starts, no position of it may tell it from the random
// characters around it: not its first characters, which hold the start of the
// sealed bytes, nor its last, where the bytes run out.
TEST(SealedMessage, EveryPositionOfManyRunsIsDistributedAsTheRandomCharacters) {
    std::vector<std::string> runs;
    for (int seal = 0; seal < 2000; ++seal) {
        runs.push_back(sealedCharacters("Hej", secret("fras"), SealSetting::Quick).value());
    }
    const std::size_t length = runs.front().size();
    for (std::size_t position = 0; position < length; ++position) {
        if (position < 10 || position + 3 >= length) {
            std::vector<int> codes;
            for (const std::string& run : runs) {
                codes.push_back(static_cast<unsigned char>(run[position]));
            }
            EXPECT_TRUE(singlesPass(codes)) << "position " << position;
        }
    }
}

std::string swedishText(std::size_t length) {
    const std::string paragraph =
        windows1252FromUtf8("När vi kom fram till bron hade det redan börjat skymma, och vinden "
                            "från sjön var kall. Vi väntade en stund vid räcket och såg hur "
                            "ljusen tändes i husen på andra sidan. Ingen av oss sa något på "
                            "länge.|")
            .value();
    std::string text;
    while (text.size() < length) {
        text += paragraph;
    }
    text.resize(length);
    return text;
}

TEST(SealedMessage, RunLooksLikeTheRandomCharactersAndPlainTextDoesNot) {
    const std::string message = swedishText(20000);
    const Result<std::string> sealed =
        sealedCharacters(message, secret("fras"), SealSetting::Quick);
    ASSERT_TRUE(sealed);
    const std::vector<int> sealedGreens = greenValuesOfRun(*sealed);
    EXPECT_TRUE(singlesPass(sealedGreens));
    EXPECT_TRUE(pairsPass(sealedGreens));

    // The tests can tell: the same text written as it stands fails both.
    const std::vector<int> plainGreens = greenValuesOfRun(message);
    EXPECT_FALSE(singlesPass(plainGreens));
    EXPECT_FALSE(pairsPass(plainGreens));
    // Even with every character inside the set, language is no random run.
    std::string lettersOnly;
    for (const char character : message) {
        if (indexOfCode(static_cast<unsigned char>(character)) != 0) {
            lettersOnly += character;
        }
    }
    const std::vector<int> letterGreens = greenValuesOfRun(lettersOnly);
    EXPECT_FALSE(singlesPass(letterGreens));
    EXPECT_FALSE(pairsPass(letterGreens));
}

} // namespace
} // namespace kvistra
