// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageCatalogue.h"

#include "core/Capacity.h"
#include "core/DecodeFailedMessage.h"
#include "core/MessageBoxStyle.h"
#include "core/NumericText.h"

#include <cerrno>
#include <system_error>

namespace kvistra {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kInformation = "Information";
constexpr const char* kSaveAgain =
    "Spara bilden på nytt, gärna under ett annat namn eller på en annan disk, och spara inte "
    "nyckelfilen förrän bilden har sparats utan fel.";

const std::string& arg(const Message& message, std::size_t index) {
    static const std::string empty;
    return index < message.args.size() ? message.args[index] : empty;
}

MessageBoxText fieldCheck(std::string text) {
    return {std::move(text), kInformation, MessageBoxStyle::Error};
}

MessageBoxText stop(std::string text) {
    return {std::move(text), kApplicationTitle, MessageBoxStyle::Error};
}

// Why it happened, after a sentence's colon: the cause's own words when there is one,
// else the system error's.
std::string reasonText(const Message& m) {
    if (!m.cause.empty()) {
        return describe(m.cause.front()).text;
    }
    return systemErrorText(m.systemError);
}

std::string fieldLabel(const Message& m) {
    return m.field ? keyFieldLabel(*m.field) : std::string();
}

// The failure a message's number names; None for a number the decoder never gives.
FailureNumber failureNamed(const std::string& number) {
    for (const FailureNumber failure :
         {FailureNumber::InvalidArgument, FailureNumber::Overflow, FailureNumber::TypeMismatch}) {
        if (number == std::to_string(failureCode(failure))) {
            return failure;
        }
    }
    return FailureNumber::None;
}

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string valueLabel(const std::string& code) {
    if (code == "y") {
        return "Nyckel-y";
    }
    if (code == "x") {
        return "Nyckel-x";
    }
    if (code == "shift") {
        return "Förskjutningen";
    }
    return "Inläsningslängden";
}

// What a failed decoding could not read, and what to check.
std::string decodeFailure(const Message& m) {
    const FailureNumber failure = failureNamed(arg(m, 0));
    const std::string& value = arg(m, 1);
    if (value.empty()) {
        return failureDescription(failure);
    }
    std::string what;
    if (m.args.size() >= 7) {
        what = "Tecken nummer " + arg(m, 3) + " (bildpunkt " + arg(m, 4) + ", " + arg(m, 5) +
               ") kunde inte läsas: ";
        if (failure == FailureNumber::InvalidArgument) {
            what += "det gröna värdet " + arg(m, 6) + " med förskjutningen " + arg(m, 2) +
                    " ger ingen teckenkod mellan 0 och 255.";
        } else {
            what += "förskjutningen \"" + arg(m, 2) + "\" är inget tal.";
        }
    } else if (failure == FailureNumber::Overflow) {
        what = valueLabel(value) + " \"" + arg(m, 2) + "\" ligger utanför -32768 till 32767.";
    } else {
        what = valueLabel(value) + " \"" + arg(m, 2) + "\" är inget tal.";
    }
    return what + kCrLf +
           "Kontrollera att nyckel-x, nyckel-y, förskjutningen och inläsningslängden hör till "
           "den här bilden.";
}

} // namespace

std::string keyFieldCaption(KeyField field) {
    switch (field) {
    case KeyField::YKey:
        return "Nyckel-&y:";
    case KeyField::XKey:
        return "Nyckel-&x:";
    case KeyField::Shift:
        return "&Förskjutning:";
    case KeyField::ReadingLength:
        return "I&nläsningslängd:";
    }
    return {};
}

std::string keyFieldLabel(KeyField field) {
    std::string label = keyFieldCaption(field);
    std::erase(label, '&');
    return label;
}

std::string captionText(StatusCaption caption) {
    switch (caption) {
    case StatusCaption::Waiting:
        return "Status: Väntar";
    case StatusCaption::Analysing:
        return "Status: Utför analys";
    case StatusCaption::AnalysisDone:
        return "Status: Analys klar";
    case StatusCaption::WritingLeadIn:
        return "Status: Genererar inledningsdata";
    case StatusCaption::WritingCipherData:
        return "Status: Skriver kryptodata";
    case StatusCaption::WritingDecoys:
        return "Status: Genererar villospår";
    case StatusCaption::Decoding:
        return "Status: Dekrypterar";
    }
    return {};
}

std::string roomLineText(const RoomEstimate& estimate) {
    const auto grouped = [](std::int64_t value) {
        return formatGrouped(value, NumberLocale::swedish());
    };
    std::string length = grouped(estimate.length) + " tecken";
    const std::string room = ", plats för " + grouped(estimate.room);
    switch (estimate.verdict) {
    case RoomVerdict::Fits:
        return length + room;
    case RoomVerdict::CharacterNotStorable:
        return length + ": tecknet \"" + estimate.character + "\" (nummer " +
               grouped(estimate.characterPlace) + ") kan inte lagras";
    case RoomVerdict::TooLong:
        return length + ": högst " + grouped(kLongestMessage) + " kan lagras";
    case RoomVerdict::KeyOutsideGrid:
        return length + ": nyckelpositionen ligger utanför bilden";
    case RoomVerdict::DoesNotFit:
        return length + room + ": får inte plats";
    }
    return length;
}

std::string failureDescription(FailureNumber failure) {
    switch (failure) {
    case FailureNumber::InvalidArgument:
        return "Ogiltigt proceduranrop eller argument";
    case FailureNumber::Overflow:
        return "Spill";
    case FailureNumber::TypeMismatch:
        return "Typerna matchar inte";
    case FailureNumber::None:
        break;
    }
    return "Okänt fel";
}

MessageBoxText describe(const Message& m) {
    using enum MessageId;
    switch (m.id) {
    case NothingEntered:
        return stop("Du har inte matat in något!");
    case ShiftTooHigh:
        return stop("Förskjutningen du har valt (" + arg(m, 0) +
                    ") överskrider den tillåtna nivån, " + kCrLf +
                    "förskjutningen ställs om till det högst tillåtna: " + arg(m, 1));
    case ShiftAboveLowestCode:
        return stop("Förskjutningen du har valt (" + arg(m, 0) +
                    ") överskrider den tillåtna nivån för det lägsta tecknet i indata, " + kCrLf +
                    "förskjutningen ställs om till det högst tillåtna: " + arg(m, 1));
    case ShiftBelowHighestCode:
        return stop("Förskjutningen du har valt (" + arg(m, 0) +
                    ") underskrider den tillåtna nivån för det högsta tecknet i indata, " + kCrLf +
                    "förskjutningen ställs om till det lägsta tillåtna: " + arg(m, 1));
    case CharacterNotInCodePage:
        return stop("Tecknet \"" + arg(m, 0) + "\" (tecken nummer " + arg(m, 1) +
                    ") kan inte lagras i bilden. Ta bort det och försök igen.");
    case InvalidTextEncoding:
        return stop("Indata är inte giltig UTF-8-text (byte nummer " + arg(m, 0) + ").");
    case InputTooLong:
        return stop("Indata är för långt (" + arg(m, 0) +
                    " tecken). Högst 32767 tecken kan lagras i en bild.");
    case KeyOutsideGrid:
        return stop("Nyckelpositionen (x " + arg(m, 0) + ", y " + arg(m, 1) +
                    ") ligger utanför bilden, som är " + arg(m, 2) + " x " + arg(m, 3) +
                    " bildpunkter." + kCrLf +
                    "Nyckel-x och nyckel-y måste vara heltal inom bilden. Ingenting har skrivits.");
    case MessageDoesNotFit:
        return stop(
            "Indata (" + arg(m, 0) + " tecken) får inte plats i bilden från nyckelpositionen: " +
            "där finns plats för " + arg(m, 1) + " tecken." + kCrLf + "Ingenting har skrivits.");
    case EncryptionFinished:
        return {"Krypteringsprocess slutförd!", kApplicationTitle, MessageBoxStyle::Information};
    case ShiftNotWhole:
        return stop("Förskjutningen du har valt (" + arg(m, 0) + ") är inget heltal." + kCrLf +
                    "Förskjutningen måste vara ett heltal, annars ändras tecknen i meddelandet. " +
                    "Ingenting har skrivits.");

    case KeyNotNumeric:
        return fieldCheck("Du måste mata in numeriska data!");
    case KeyAboveBound:
        return fieldCheck("Du måste mata in ett tal under " + arg(m, 0) + "!");
    case ValueNotNumeric:
        return fieldCheck("Du måste mata in numeriska värden!");
    case ShiftAboveLimit:
        return fieldCheck("Du måste mata in ett tal som är högst 29!");

    case DecodeFinished:
        return {"Det tog " + arg(m, 0) + " sekunder att dekryptera meddelandet", kApplicationTitle,
                MessageBoxStyle::OkOnly};
    case DecodeFailed:
        return {"Följande fel uppstod: " + decodeFailure(m) + kCrLf + "Felkod: " + arg(m, 0),
                kApplicationTitle, MessageBoxStyle::OkOnly};
    case DecodeExhausted:
        return {"Bilden tog slut efter " + arg(m, 0) + " av " + arg(m, 1) +
                    " tecken; de tecken som fanns har dekrypterats.",
                kApplicationTitle, MessageBoxStyle::Warning};

    case NoFileName:
        return fieldCheck("Du måste välja ett filnamn");
    case CannotOpenFile:
        return stop("Filen " + quoted(arg(m, 0)) + " kunde inte öppnas: " + reasonText(m) + ".");
    case CannotWriteFile:
        return stop("Filen " + quoted(arg(m, 0)) + " kunde inte sparas: " + reasonText(m) + "." +
                    kCrLf + "En befintlig fil med samma namn har lämnats orörd.");
    case NotAPicture:
        return stop("Filen " + quoted(arg(m, 0)) + " är ingen bild som programmet kan läsa.");
    case PictureTruncated:
        return stop("Bilden " + quoted(arg(m, 0)) +
                    " är avkortad: filen innehåller inte alla bildpunkter.");
    case PictureMalformed:
        return stop("Bilden " + quoted(arg(m, 0)) + " är skadad och kan inte läsas.");
    case PictureTooLarge:
        return stop("Bilden " + quoted(arg(m, 0)) + " är för stor (" + arg(m, 1) + " x " +
                    arg(m, 2) +
                    " bildpunkter); högst 32767 bildpunkter på varje led kan användas.");
    case LossyPictureFormat:
        return stop("Formatet för " + quoted(arg(m, 0)) +
                    " ändrar bildpunkternas färger och förstör det dolda meddelandet." + kCrLf +
                    "Spara bilden som .bmp eller .png.");
    case KeyFileTooShort:
        return stop("Nyckelfilen " + quoted(arg(m, 0)) + " har bara " + arg(m, 1) +
                    (arg(m, 1) == "1" ? " rad" : " rader") +
                    "; en nyckelfil har fyra: nyckel-y, nyckel-x, förskjutning och "
                    "inläsningslängd.");
    case KeyValueInvalid:
        return stop("Värdet \"" + arg(m, 0) + "\" i fältet " + fieldLabel(m) +
                    " är inget tal mellan -32768 och 32767." + kCrLf +
                    "Nyckelfilen har inte sparats.");
    case TextFileTooLarge:
        return stop("Textfilen " + quoted(arg(m, 0)) + " är för stor för att användas som indata.");
    case KeyFileTooLarge:
        return stop("Filen " + quoted(arg(m, 0)) + " är för stor för att vara en nyckelfil.");
    case KeyFileLineTooLong:
        return stop("Nyckelfilen " + quoted(arg(m, 0)) + " kan inte användas: rad " + arg(m, 1) +
                    " är för lång för att vara ett nyckelvärde.");
    case KeyFileLfLineEnds:
        return stop("Nyckelfilen " + quoted(arg(m, 0)) +
                    " har radslut LF där CR LF väntas; en nyckelfil har fyra rader, var och en "
                    "avslutad med CR LF: nyckel-y, nyckel-x, förskjutning och inläsningslängd.");
    case KeyFileForAnotherPicture:
        return stop("Nyckelfilen " + quoted(arg(m, 0)) + " hör inte till bilden " +
                    quoted(arg(m, 1)) +
                    ": bildpunkterna som nyckeln pekar ut är inte de som skrevs med den." + kCrLf +
                    "Bilden kan ha ersatts, eller så avbröts sparandet av bilden och nyckelfilen. "
                    "Ingenting har lästs.");
    case ReadingLengthNegative:
        return stop("Inläsningslängden \"" + arg(m, 0) +
                    "\" är negativ; den är antalet tecken som ska läsas, 0 eller fler.");
    case KeyFileLineRefused:
        return stop("Nyckelfilen " + quoted(arg(m, 0)) + " kan inte användas: rad " + arg(m, 1) +
                    " (" + fieldLabel(m) + ") är \"" + arg(m, 2) + "\"." + kCrLf + reasonText(m));
    case TextFileCharacterNotInCodePage:
        return stop("Textfilen " + quoted(arg(m, 0)) + " kan inte användas: tecknet \"" +
                    arg(m, 1) + "\" på rad " + arg(m, 2) +
                    " finns inte i teckentabellen Windows-1252 och kan inte lagras i bilden.");
    case TextNotInCodePage:
        return stop("Tecknet \"" + arg(m, 0) + "\" (tecken nummer " + arg(m, 1) +
                    ") kan inte sparas i en textfil med teckentabellen Windows-1252." + kCrLf +
                    "Ta bort det och försök igen. Ingenting har sparats.");
    case PictureNeedsMemory:
        return stop(
            (arg(m, 0).empty() ? std::string("En ny bild") : "Bilden " + quoted(arg(m, 0))) +
            " på " + arg(m, 1) + " x " + arg(m, 2) + " bildpunkter behöver " + arg(m, 3) +
            " MB minne, men programmet kan bara använda " + arg(m, 4) + " MB." + kCrLf +
            "Välj en mindre bild.");
    case OutOfMemory:
        return stop("Minnet räckte inte till, och åtgärden avbröts. Ingenting har sparats.");
    case PictureLargerThanCanvas:
        return {
            "Bilden är större än bildrutan: " + quoted(arg(m, 0)) + " har " + arg(m, 1) + " x " +
                arg(m, 2) + " bildpunkter, men bara de " + arg(m, 3) + " x " + arg(m, 4) +
                " som ryms i bildrutan sparas i " + quoted(arg(m, 5)) + ". Resten går förlorad." +
                kCrLf + "Dubbelklicka på bildrutan för att behålla hela bilden." + kCrLf + kCrLf +
                "Vill du ändå spara bara den synliga delen?",
            kApplicationTitle,
            MessageBoxStyle::Warning + MessageBoxStyle::YesNo + MessageBoxStyle::DefaultButton2};
    case NotARegularFile:
        return stop(quoted(arg(m, 0)) +
                    " är ingen vanlig fil utan till exempel en enhet eller en namngiven "
                    "rörledning; den varken läses eller skrivs." +
                    kCrLf + "Ange en vanlig fil.");
    case PairHalfSaved:
        return stop("Filen " + quoted(arg(m, 0)) + " har sparats, men filen " + quoted(arg(m, 1)) +
                    " kunde inte sparas: " + reasonText(m) + "." + kCrLf +
                    "De hör ihop; spara båda på nytt.");
    case LinkNotFollowed:
        return stop("Filen " + quoted(arg(m, 0)) + " kunde inte sparas: länken " +
                    quoted(arg(m, 1)) +
                    " tillhör en annan användare och ligger i en mapp där alla får skriva, "
                    "så den följs inte." +
                    kCrLf + "Ange filens egen sökväg.");
    case FolderLocked:
        return stop("Mappen " + quoted(arg(m, 0)) +
                    " hålls låst av ett annat program, så bilden och nyckelfilen kunde inte "
                    "sparas där." +
                    kCrLf + "Försök igen senare, eller spara i en annan mapp.");
    case PictureFormatsMissing:
        return stop("Filen " + quoted(arg(m, 0)) +
                    " är varken BMP eller PNG. Andra bildformat läses med tillägget " +
                    quoted(arg(m, 1)) + ", som inte kunde läsas in: " +
                    (m.systemError != 0 ? systemErrorText(m.systemError) : arg(m, 2)) + ".");

    case DisplayModeWarning:
        return {std::string("Du bör ställa in skärmen på minst 24-bitars färgdjup, ") +
                    "annars kommer felaktigheter uppstå!" + kCrLf + kCrLf +
                    "Vill du att Kvistra skall verkställa ändringarna!",
                "Systeminställningar", MessageBoxStyle::Question + MessageBoxStyle::YesNo};
    case DisplayModeSummary:
        return {std::string("Följande inställningar kommer att träda i kraft:") + kCrLf +
                    std::string(70, '-') + kCrLf + "X: " + arg(m, 0) + kCrLf + "Y: " + arg(m, 1) +
                    kCrLf + "Färgdjup: " + "24, 32",
                "System", MessageBoxStyle::Information + MessageBoxStyle::YesNo};
    case RestartQuestion:
        return {"Vill du starta om för att ändringarna skall träda i kraft?", "Info",
                MessageBoxStyle::SystemModal + MessageBoxStyle::YesNo};
    case DisplayModeChanged:
        return {"Ändringen lyckades!", "Genomfört", MessageBoxStyle::SystemModal};
    case DisplayModeRefused:
        return {"Läge ej tillåtet", "Fel", MessageBoxStyle::SystemModal};
    case TaskListNotAllowed:
        return {std::string("Skrivbordet tillåter inte att Kvistra göms för eller visas i ") +
                    "Aktivitetshanteraren.",
                "Special", MessageBoxStyle::Warning};

    // An empty title: the box shows the application's.
    case ExitReminder:
        return {std::string("Kom ihåg att ha nyckelfilen separerad från bitmappen!") + kCrLf +
                    "Mvh, Programmeraren",
                "", MessageBoxStyle::Information};
    case AboutProgrammer:
        return {"Programmerat av Brennvik", "", MessageBoxStyle::OkOnly};
    case AboutHelper:
        return {"Moraliskt stöd, Tolvmark", kInformation, MessageBoxStyle::Information};
    case SystemInformationUnavailable:
        return {"System Information Is Unavailable At This Time", "", MessageBoxStyle::OkOnly};

    case SavedPictureUnreadable:
        return stop("Bilden " + quoted(arg(m, 0)) +
                    " har sparats men kunde inte läsas tillbaka för kontroll: " + reasonText(m) +
                    kCrLf + kSaveAgain);
    case SavedPictureSizeDiffers:
        return stop("Bilden " + quoted(arg(m, 0)) +
                    " har sparats, men filen som lästes tillbaka har " + arg(m, 1) + " x " +
                    arg(m, 2) + " bildpunkter i stället för bildrutans " + arg(m, 3) + " x " +
                    arg(m, 4) + "." + kCrLf + kSaveAgain);
    case SavedPictureDiffers:
        return stop("Bilden " + quoted(arg(m, 0)) +
                    " har sparats, men i filen som lästes tillbaka skiljer sig bildpunkt (" +
                    arg(m, 1) + ", " + arg(m, 2) +
                    ") från bildrutan, så det dolda meddelandet kan vara förstört." + kCrLf +
                    kSaveAgain);
    case SavedMessageMisread:
        return stop("Bilden " + quoted(arg(m, 0)) +
                    " har sparats, men med nyckel-x, nyckel-y, förskjutningen och "
                    "inläsningslängden i fälten blir tecken nummer " +
                    arg(m, 1) + " fel när meddelandet läses tillbaka ur den." + kCrLf +
                    "Sätt tillbaka nyckelvärdena från genereringen, eller generera bilden på nytt "
                    "och spara den igen, innan du sparar nyckelfilen.");
    case UnsavedGeneration: {
        const std::string& what = arg(m, 0);
        const std::string unsaved =
            what == "picture" ? "Den genererade bilden har inte sparats"
            : what == "key"   ? "Nyckelvärdena för den genererade bilden har inte sparats i "
                                "någon nyckelfil"
                              : "Varken den genererade bilden eller dess nyckelvärden har sparats";
        return {unsaved + " sedan den senaste genereringen." + kCrLf + kCrLf +
                    "Vill du spara först?" + kCrLf +
                    "Ja sparar först, Nej går vidare utan att spara och Avbryt låter allt vara "
                    "som det är.",
                kApplicationTitle, MessageBoxStyle::Warning + MessageBoxStyle::YesNoCancel};
    }
    case WrittenPictureUnreadable:
        return stop("Bilden " + quoted(arg(m, 0)) +
                    " skrevs men kunde inte läsas tillbaka för kontroll: " + reasonText(m) + kCrLf +
                    "Ingenting har sparats.");
    case WrittenPictureDiffers:
        return stop("Bilden " + quoted(arg(m, 0)) + " skrevs, men rad " + arg(m, 1) +
                    " i filen som lästes tillbaka skiljer sig från den som skrevs." + kCrLf +
                    "Ingenting har sparats.");
    case WrittenMessageMisread:
        return stop("Bilden " + quoted(arg(m, 0)) + " skrevs, men tecken nummer " + arg(m, 1) +
                    " blir fel när texten läses tillbaka ur den med nyckeln." + kCrLf +
                    "Ingenting har sparats.");
    case SealedMessageRefused:
        return stop("Meddelandet kunde inte öppnas: lösenfrasen eller nyckeln stämmer inte, "
                    "eller så har bilden ändrats." +
                    std::string(kCrLf) + "Ingenting har ändrats.");
    case SealedMessageDoesNotFit:
        return stop("Indata (" + arg(m, 0) +
                    " tecken) får inte plats i bilden från nyckelpositionen när det skyddas med "
                    "lösenfras: där finns plats för " +
                    arg(m, 1) + " tecken." + kCrLf + "Ingenting har skrivits.");
    case PassphraseEmpty:
        return stop("Lösenfrasen är tom. Ingenting har ändrats.");
    case PassphrasesDiffer:
        return stop("Lösenfraserna är inte lika. Ingenting har ändrats.");
    case PassphraseTooLong:
        return stop("Lösenfrasen är för lång: högst " + arg(m, 0) +
                    " byte kan användas. Ingenting har ändrats.");
    case NoPassphraseTerminal:
        return stop("Det finns ingen terminal att fråga efter lösenfrasen på. Ange den med "
                    "--passphrase-file.");
    }
    return stop("Okänt fel");
}

std::string systemErrorText(int error) {
    switch (error) {
    case ENOENT:
        return "filen eller mappen finns inte";
    case EACCES:
        return "åtkomst nekas";
    case EPERM:
        return "åtgärden är inte tillåten";
    case EISDIR:
        return "det är en mapp";
    case ENOTDIR:
        return "en del av sökvägen är ingen mapp";
    case ENOSPC:
        return "disken är full";
    case EDQUOT:
        return "diskkvoten är förbrukad";
    case EROFS:
        return "filsystemet är skrivskyddat";
    case EEXIST:
        return "filen finns redan";
    case EMFILE:
        return "programmet har för många öppna filer";
    case ENFILE:
        return "systemet har för många öppna filer";
    case ENAMETOOLONG:
        return "namnet är för långt";
    case ELOOP:
        return "för många symboliska länkar i sökvägen";
    case EIO:
        return "in- eller utmatningsfel";
    case ENOMEM:
        return "minnet räcker inte";
    case EFBIG:
        return "filen blir för stor";
    case ETXTBSY:
        return "filen används av ett program som körs";
    case EBUSY:
        return "enheten eller resursen är upptagen";
    case EXDEV:
        return "filen kan inte flyttas mellan olika filsystem";
    case EINVAL:
        return "ogiltigt argument";
    case ENXIO:
    case ENODEV:
        return "enheten finns inte";
    case EAGAIN:
        return "resursen är tillfälligt otillgänglig";
    case EINTR:
        return "åtgärden avbröts";
    case EBADF:
        return "ogiltig filreferens";
    case ESPIPE:
        return "filen går inte att läsa på valfri plats";
    case EPIPE:
        return "mottagaren har slutat läsa";
    case ENOTEMPTY:
        return "mappen är inte tom";
    case ESTALE:
        return "filreferensen är inte längre giltig";
    case EOPNOTSUPP:
        return "åtgärden stöds inte";
    case ETIMEDOUT:
        return "tidsgränsen överskreds";
    case EOVERFLOW:
        return "värdet är för stort";
    default:
        return "okänt systemfel (felkod " + std::to_string(error) + ")";
    }
}

} // namespace kvistra
