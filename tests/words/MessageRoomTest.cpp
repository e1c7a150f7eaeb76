// SPDX-License-Identifier: GPL-3.0-or-later
#include "words/MessageRoom.h"

#include "core/Capacity.h"
#include "core/NumericText.h"
#include "core/SealedMessage.h"
#include "words/MessageCatalogue.h"

#include <gtest/gtest.h>
#include <limits>

namespace kvistra {
namespace {

constexpr int kWidth = 269;
constexpr int kHeight = 253;
// From the default key (5, 5) to the end of the canvas there are 66 707 positions,
// more than the longest message: the room is what generation accepts.
constexpr std::int64_t kRoomFromDefaultKey = kLongestMessage;
static_assert((kWidth - 5) + (kHeight - 1 - 5) * kWidth > kLongestMessage);

RoomRequest request(std::string typed, std::string x = "5", std::string y = "5",
                    bool adapt = false) {
    return {std::move(typed),
            wholeKey(x, NumberLocale::c()),
            wholeKey(y, NumberLocale::c()),
            adapt,
            kWidth,
            kHeight};
}

TEST(MessageRoom, JudgesTheMessageAsTheEncoderWould) {
    const std::string longest(32767, 'a');
    const struct {
        const char* name;
        RoomRequest request;
        RoomEstimate estimate;
    } cases[] = {
        {"fits", request("Hej"), {3, kRoomFromDefaultKey, RoomVerdict::Fits, "", 0}},
        {"nothing typed yet", request(""), {0, kRoomFromDefaultKey, RoomVerdict::Fits, "", 0}},
        // A line break is stored as CR and LF, and å as one Windows-1252 byte.
        {"line break and å",
         request("på\r\nnytt"),
         {8, kRoomFromDefaultKey, RoomVerdict::Fits, "", 0}},
        {"adapt mode ignores the keys",
         request("Hej", "abc", "-1", true),
         {3, kLongestMessage, RoomVerdict::Fits, "", 0}},
        {"key in the last position", request("a", "268", "252"), {1, 1, RoomVerdict::Fits, "", 0}},
        {"one more than the last position",
         request("ab", "268", "252"),
         {2, 1, RoomVerdict::DoesNotFit, "", 0}},
        {"x-key equal to the width",
         request("a", "269", "0"),
         {1, 0, RoomVerdict::KeyOutsideGrid, "", 0}},
        {"fractional key", request("a", "4.5", "0"), {1, 0, RoomVerdict::KeyOutsideGrid, "", 0}},
        {"negative key", request("a", "5", "-1"), {1, 0, RoomVerdict::KeyOutsideGrid, "", 0}},
        {"the longest message",
         request(longest, "0", "0", true),
         {32767, kLongestMessage, RoomVerdict::Fits, "", 0}},
        {"one past the longest",
         request(longest + "a", "0", "0", true),
         {32768, kLongestMessage, RoomVerdict::TooLong, "", 0}},
        // Refused first for the character, as "Generera kryptobild" would.
        {"character outside Windows-1252",
         request("ok ✓ " + longest),
         {5 + 32767, kRoomFromDefaultKey, RoomVerdict::CharacterNotStorable, "✓", 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(estimateRoom(c.request), c.estimate);
    }
}

TEST(MessageRoom, LengthAndRoomFollowTheCanvas) {
    RoomRequest small = request("abcdefghij", "0", "0");
    small.width = 3;
    small.height = 3;
    EXPECT_EQ(estimateRoom(small).room, 9);
    EXPECT_EQ(estimateRoom(small).verdict, RoomVerdict::DoesNotFit);
    small.typed = "abcdefghi";
    EXPECT_EQ(estimateRoom(small).verdict, RoomVerdict::Fits);
}

// Sealed, the message takes more characters than it has: the room is what the
// generation would let in, and one more is refused.
TEST(MessageRoom, ASealedMessageIsJudgedByWhatItSealsInto) {
    RoomRequest sealed = request("", "268", "200");
    sealed.sealed = true;
    const std::int64_t positions = 1 + 52 * std::int64_t{kWidth};
    const std::int64_t most = sealedCapacity(positions);
    ASSERT_LT(most, positions);
    sealed.typed = std::string(static_cast<std::size_t>(most), 'a');
    EXPECT_EQ(estimateRoom(sealed), (RoomEstimate{most, most, RoomVerdict::Fits, "", 0}));
    sealed.typed += 'a';
    EXPECT_EQ(estimateRoom(sealed).verdict, RoomVerdict::DoesNotFit);
    sealed.sealed = false;
    EXPECT_EQ(estimateRoom(sealed).verdict, RoomVerdict::Fits);
}

TEST(MessageRoom, LineSaysLengthRoomAndWhyInSwedish) {
    const std::string space = "\u00A0"; // Swedish groups with a no-break space
    const struct {
        RoomEstimate estimate;
        std::string text;
    } cases[] = {
        {{12, 64789, RoomVerdict::Fits, "", 0}, "12 tecken, plats för 64" + space + "789"},
        {{70000, 68057, RoomVerdict::DoesNotFit, "", 0},
         "70" + space + "000 tecken, plats för 68" + space + "057: får inte plats"},
        {{40000, 68057, RoomVerdict::TooLong, "", 0},
         "40" + space + "000 tecken: högst 32" + space + "767 kan lagras"},
        {{5, 100, RoomVerdict::CharacterNotStorable, "✓", 4},
         "5 tecken: tecknet \"✓\" (nummer 4) kan inte lagras"},
        {{1, 0, RoomVerdict::KeyOutsideGrid, "", 0},
         "1 tecken: nyckelpositionen ligger utanför bilden"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(roomLineText(c.estimate), c.text);
        EXPECT_EQ(c.estimate.warns(), c.estimate.verdict != RoomVerdict::Fits);
    }
}

TEST(NumberRules, GroupsWholeNumbersByThousands) {
    const NumberLocale spaced{",", " "};
    const struct {
        std::int64_t value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1 000"},
        {64789, "64 789"},
        {1234567, "1 234 567"},
        {-1234, "-1 234"},
        {std::numeric_limits<std::int64_t>::min(), "-9 223 372 036 854 775 808"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatGrouped(c.value, spaced), c.text);
    }
    EXPECT_EQ(formatGrouped(1234567, NumberLocale::commandLine()), "1234567");
}

} // namespace
} // namespace kvistra
