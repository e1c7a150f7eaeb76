// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The command-line tool's own words: its usage texts, its usage errors and the
// labels of its output. The messages it shares with the window live in the catalogue.
namespace kvistra::cli {

inline constexpr const char* kMainUsage =
    R"(Användning: kvistra-cli KOMMANDO [FLAGGOR]

Gömmer en text i bildpunkterna i en bild och läser tillbaka den.

Kommandon:
  hide      skriv en text i en bild (kryptobild) och spara nyckelfilen
  reveal    läs tillbaka texten ur en kryptobild
  capacity  hur många tecken som ryms från nyckelpositionen
  inspect   visa färgen och det odekrypterade tecknet i en bildpunkt

  kvistra-cli KOMMANDO --help   visar kommandots flaggor
  kvistra-cli --version         visar versionen

Tal skrivs med punkt som decimaltecken och utan tusentalsavgränsare.
Slutstatus: 0 klart, 1 fel, 2 felaktig användning.
)";

inline constexpr const char* kHideUsage =
    R"(Användning: kvistra-cli hide --out BILD (--text TEXT | --text-file FIL | --message-file FIL)
                       [--cover BILD | --size BxH] [-x N] [-y N] [--shift S] [--adapt]
                       [--key NYCKELFIL] [--passphrase-file FIL | --ask-passphrase]
                       [--verify]

Skriver texten i bilden från nyckelpositionen, med slumpdata före och efter den,
och sparar bilden (24-bitars BMP, eller PNG när namnet slutar på .png).

  --out BILD          bilden som skrivs ("-": standard ut, som BMP)
  --text TEXT         texten (UTF-8; varje tecken måste finnas i Windows-1252)
  --text-file FIL     en textfil (UTF-8 eller Windows-1252) vars rader förenas
                      med "|", som "Infoga textfil"
  --message-file FIL  en fils byte som de står (Windows-1252)
  --cover BILD        bilden att skriva i (annars en vit bild)
  --size BxH          storleken på en vit bild (standard 269x253)
  -x N, -y N          nyckelpositionen: kolumn och rad (standard 5 och 5)
  --shift S           förskjutningen, ett heltal (standard 0, högst 29)
  --adapt             "Anpassa efter indata": endast texten, från övre vänstra hörnet
  --key NYCKELFIL     spara nyckelfilen (nyckel-y, nyckel-x, förskjutning, inläsningslängd)
  --passphrase-file FIL
                      skydda texten med lösenfrasen på filens första rad: den förseglas
                      och skrivs som tecken som inte går att skilja från slumpdata
                      (förskjutningen blir 0)
  --ask-passphrase    fråga efter lösenfrasen på terminalen (två gånger)
  --verify            läs tillbaka den skrivna filen, varje rad och texten ur den,
                      innan bilden läggs på plats
)";

inline constexpr const char* kRevealUsage =
    R"(Användning: kvistra-cli reveal BILD (--key NYCKELFIL | -x N -y N --shift S --length L)
                         [--lines] [--out FIL] [--passphrase-file FIL | --ask-passphrase]

Läser texten ur bilden och skriver den på standard ut följd av en radbrytning.

  --key NYCKELFIL     nyckelfilen med nyckel-y, nyckel-x, förskjutning och inläsningslängd
  -x N, -y N          nyckelpositionen: kolumn och rad
  --shift S           förskjutningen
  --length L          inläsningslängden: antal tecken
  --lines             gör varje "|" till en radbrytning
  --out FIL           skriv textens Windows-1252-byte till filen i stället ("-": standard ut),
                      endast när hela texten har lästs
  --passphrase-file FIL
                      öppna en text som skyddats med lösenfrasen på filens första rad
  --ask-passphrase    fråga efter lösenfrasen på terminalen
)";

inline constexpr const char* kCapacityUsage =
    R"(Användning: kvistra-cli capacity (BILD | --size BxH) [-x N] [-y N] [--sealed] [--json]

Skriver hur många tecken som ryms från nyckelpositionen (högst 32767).

  --size BxH          storleken på en vit bild, i stället för en bild
  -x N, -y N          nyckelpositionen: kolumn och rad (standard 5 och 5)
  --sealed            hur många tecken som ryms när texten skyddas med lösenfras
  --json              skriv svaret som ett JSON-objekt med bredd, höjd, position
                      och antal tecken
)";

inline constexpr const char* kInspectUsage =
    R"(Användning: kvistra-cli inspect BILD X Y [--json]

Visar färgvärdet hos bildpunkten i kolumn X och rad Y (från 0 i övre vänstra
hörnet), dess röda, gröna och blå byte och det odekrypterade tecknet för den
gröna byten.

  --json              skriv samma uppgifter som ett JSON-objekt
)";

// Usage errors.
inline constexpr const char* kProgramPrefix = "kvistra-cli: ";
inline constexpr const char* kOutMissing = "--out saknas";
inline constexpr const char* kOneMessageSource =
    "ange en av --text, --text-file och --message-file";
inline constexpr const char* kCoverOrSize = "ange antingen --cover eller --size";
inline constexpr const char* kOnePicture = "ange en bild";
inline constexpr const char* kKeyFileOrAllKeys =
    "ange antingen --key eller alla av -x, -y, --shift och --length";
inline constexpr const char* kPictureOrSize = "ange antingen en bild eller --size";
inline constexpr const char* kOnePassphraseSource =
    "ange antingen --passphrase-file eller --ask-passphrase";
inline constexpr const char* kSealedAtShiftZero =
    "ett meddelande med lösenfras skrivs med förskjutningen 0";
inline constexpr const char* kPictureAndPosition = "ange en bild, X och Y";
inline constexpr const char* kPositionNotWhole = "X och Y måste vara heltal";
// How a usage error names the picture argument of "reveal".
inline constexpr const char* kPictureArgument = "BILD";

inline std::string unknownCommand(const std::string& command) {
    return "okänt kommando: " + command;
}
inline std::string unknownOption(const std::string& option) {
    return "okänd flagga: " + option;
}
inline std::string optionWithoutValue(const std::string& option) {
    return "flaggan " + option + " saknar värde";
}
inline std::string optionGivenTwice(const std::string& option) {
    return "flaggan " + option + " är angiven två gånger";
}
inline std::string unexpectedArgument(const std::string& argument) {
    return "oväntat argument: " + argument;
}
inline std::string optionNotANumber(const std::string& option, const std::string& text) {
    return "flaggan " + option +
           " måste vara ett tal, skrivet med punkt som decimaltecken och utan "
           "tusentalsavgränsare: " +
           text;
}
inline std::string shiftRefused(const std::string& reason) {
    return "flaggan --shift: " + reason;
}
inline std::string invalidSize(const std::string& text) {
    return "ogiltig storlek för --size: " + text;
}
inline std::string sameFile(const std::string& option, const std::string& otherOption,
                            const std::string& path) {
    return option + " och " + otherOption + " anger samma fil: " + path;
}

// The labels of "inspect".
inline constexpr const char* kRedLabel = "Röd: ";
inline constexpr const char* kGreenLabel = "Grön: ";
inline constexpr const char* kBlueLabel = "Blå: ";
inline constexpr const char* kCharacterLabel = "Tecken: ";
// A character a terminal cannot show, by its code.
inline std::string characterCode(int code) {
    return "(kod " + std::to_string(code) + ")";
}

} // namespace kvistra::cli
