#include "core/FieldChecks.h"

#include "core/MessageCatalogue.h"

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
