#include "MessageCatalogue.h"

#include "MessageBoxStyle.h"

namespace kvistra {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kInformation = "Information";

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

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

} // namespace

std::string failureDescription(int number) {
    switch (number) {
    case static_cast<int>(FailureNumber::InvalidArgument):
        return "Ogiltigt proceduranrop eller argument";
    case static_cast<int>(FailureNumber::Overflow):
        return "Spill";
    case static_cast<int>(FailureNumber::TypeMismatch):
        return "Typerna matchar inte";
    default:
        return "Okänt fel";
    }
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

    case KeyNotNumeric:
        return fieldCheck("Du måste mata in numeriska data!");
    case KeyAboveBound:
        return fieldCheck("Du måste mata in ett tal under " + arg(m, 0) + "!");
    case ValueNotNumeric:
        return fieldCheck("Du måste mata in numeriska värden!");
    case ShiftAboveLimit:
        return fieldCheck("Du måste mata in data under 29!");

    case DecodeFinished:
        return {"Det tog " + arg(m, 0) + " sekunder att dekryptera meddelandet", kApplicationTitle,
                MessageBoxStyle::OkOnly};
    case DecodeFailed: {
        const int number = std::stoi(arg(m, 0).empty() ? std::string("0") : arg(m, 0));
        return {"Följande fel uppstod: " + failureDescription(number) + kCrLf +
                    "Felkod: " + arg(m, 0),
                kApplicationTitle, MessageBoxStyle::OkOnly};
    }
    case DecodeExhausted:
        return {"Bilden tog slut efter " + arg(m, 0) + " av " + arg(m, 1) +
                    " tecken; de tecken som fanns har dekrypterats.",
                kApplicationTitle, MessageBoxStyle::Warning};

    case NoFileName:
        return fieldCheck("Du måste välja ett filnamn");
    case CannotOpenFile:
        return stop("Filen " + quoted(arg(m, 0)) + " kunde inte öppnas: " + arg(m, 1) + ".");
    case CannotWriteFile:
        return stop("Filen " + quoted(arg(m, 0)) + " kunde inte sparas: " + arg(m, 1) + "." +
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
                    " rader; en nyckelfil har fyra: nyckel-y, nyckel-x, förskjutning och "
                    "inläsningslängd.");
    case KeyValueInvalid:
        return stop("Värdet \"" + arg(m, 1) + "\" i fältet " + arg(m, 0) +
                    " är inget tal mellan -32768 och 32767." + kCrLf +
                    "Nyckelfilen har inte sparats.");
    case TextFileTooLarge:
        return stop("Textfilen " + quoted(arg(m, 0)) + " är för stor för att användas som indata.");
    case KeyFileTooLarge:
        return stop("Filen " + quoted(arg(m, 0)) + " är för stor för att vara en nyckelfil.");
    case TextNotInCodePage:
        return stop("Tecknet \"" + arg(m, 0) + "\" (tecken nummer " + arg(m, 1) +
                    ") kan inte sparas i en textfil med teckentabellen Windows-1252." + kCrLf +
                    "Ta bort det och försök igen. Ingenting har sparats.");
    case NotARegularFile:
        return stop(quoted(arg(m, 0)) +
                    " är ingen vanlig fil utan till exempel en enhet eller en namngiven "
                    "rörledning; den varken läses eller skrivs." +
                    kCrLf + "Ange en vanlig fil.");
    case PairHalfSaved:
        return stop("Filen " + quoted(arg(m, 0)) + " har sparats, men filen " + quoted(arg(m, 1)) +
                    " kunde inte sparas: " + arg(m, 2) + "." + kCrLf +
                    "De hör ihop; spara båda på nytt.");

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
    }
    return stop("Okänt fel");
}

} // namespace kvistra
