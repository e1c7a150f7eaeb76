// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FieldChecks.h"

#include "words/MessageCatalogue.h"

#include <gtest/gtest.h>

namespace kvistra {
namespace {

TEST(FieldChecks, Keys) {
    const struct {
        const char* text;
        std::optional<FieldRefusal> refusal;
    } cases[] = {
        {"5", std::nullopt},
        {"269", std::nullopt}, // the bound itself is accepted
        {"-3", std::nullopt},
        {"2.5", std::nullopt},
        {"270", FieldRefusal{{MessageId::KeyAboveBound, {"269"}}, "5"}},
        {"abc", FieldRefusal{{MessageId::KeyNotNumeric, {}}, "5"}},
        {"", FieldRefusal{{MessageId::KeyNotNumeric, {}}, "5"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(checkKey(c.text, 269, NumberLocale::c()), c.refusal) << c.text;
    }
}

TEST(FieldChecks, ShiftAndReadingLength) {
    const NumberLocale swedish = NumberLocale::swedish();
    EXPECT_EQ(checkShift("29", swedish), std::nullopt);
    EXPECT_EQ(checkShift("-3", swedish), std::nullopt);
    EXPECT_EQ(checkShift("2,5", swedish), std::nullopt);
    EXPECT_EQ(checkShift("30", swedish), (FieldRefusal{{MessageId::ShiftAboveLimit, {}}, "0"}));
    EXPECT_EQ(checkShift("29,5", swedish), (FieldRefusal{{MessageId::ShiftAboveLimit, {}}, "0"}));
    EXPECT_EQ(checkShift("x", swedish), (FieldRefusal{{MessageId::ValueNotNumeric, {}}, "0"}));
    EXPECT_EQ(checkReadingLength("", swedish),
              (FieldRefusal{{MessageId::ValueNotNumeric, {}}, "0"}));
    EXPECT_EQ(checkReadingLength("123456", swedish), std::nullopt);
}

TEST(FieldChecks, AShiftToWriteIsWhole) {
    const NumberLocale c = NumberLocale::c();
    const NumberLocale sv = NumberLocale::swedish();
    const struct {
        const char* text;
        const NumberLocale& locale;
        std::optional<Message> refusal;
    } cases[] = {
        {"3", c, std::nullopt},
        {"-29", c, std::nullopt},
        {"4.0", c, std::nullopt},
        {"1e1", c, std::nullopt},
        {"0.5", c, Message{MessageId::ShiftNotWhole, {"0.5"}}},
        {"-2.5", c, Message{MessageId::ShiftNotWhole, {"-2.5"}}},
        {"2,5", sv, Message{MessageId::ShiftNotWhole, {"2,5"}}},
        {"1e-1", c, Message{MessageId::ShiftNotWhole, {"1e-1"}}},
        {"abc", c, Message{MessageId::ValueNotNumeric, {}}},
        {"", sv, Message{MessageId::ValueNotNumeric, {}}},
    };
    for (const auto& t : cases) {
        const Status checked = checkShiftForWriting(t.text, t.locale);
        EXPECT_EQ(checked.ok() ? std::nullopt : std::optional(checked.problem()), t.refusal)
            << t.text;
        // The field itself still takes what was typed.
        if (t.refusal && t.refusal->id == MessageId::ShiftNotWhole) {
            EXPECT_EQ(checkShift(t.text, t.locale), std::nullopt) << t.text;
        }
    }
    EXPECT_EQ(describe({MessageId::ShiftNotWhole, {"0,5"}}).text,
              "Förskjutningen du har valt (0,5) är inget heltal.\r\nFörskjutningen måste vara ett "
              "heltal, annars ändras tecknen i meddelandet. Ingenting har skrivits.");
}

TEST(MessageCatalogue, WordsAndStyles) {
    const MessageBoxText shift = describe({MessageId::ShiftTooHigh, {"29", "9"}});
    EXPECT_EQ(shift.text, "Förskjutningen du har valt (29) överskrider den tillåtna nivån, \r\n"
                          "förskjutningen ställs om till det högst tillåtna: 9");
    EXPECT_EQ(shift.title, "Kvistra");
    EXPECT_EQ(shift.style, 16);

    const MessageBoxText failed = describe({MessageId::DecodeFailed, {"13"}});
    EXPECT_EQ(failed.text, "Följande fel uppstod: Typerna matchar inte\r\nFelkod: 13");
    EXPECT_EQ(failed.style, 0);

    const MessageBoxText check = describe({MessageId::KeyAboveBound, {"253"}});
    EXPECT_EQ(check.text, "Du måste mata in ett tal under 253!");
    EXPECT_EQ(check.title, "Information");
    EXPECT_EQ(check.style, 16);

    EXPECT_EQ(describe({MessageId::DecodeFinished, {"0,5"}}).text,
              "Det tog 0,5 sekunder att dekryptera meddelandet");
    EXPECT_EQ(describe({MessageId::EncryptionFinished, {}}).style, 64);
}

} // namespace
} // namespace kvistra
