#pragma once

#include <string>
#include <vector>

namespace kvistra {

// What happened, without words: the front ends turn it into text through the
// message catalogue.
enum class MessageId {
    // Encoder
    NothingEntered,
    ShiftTooHigh,           // stepping text, new shift
    ShiftAboveLowestCode,   // stepping text, new shift
    ShiftBelowHighestCode,  // stepping text, new shift
    CharacterNotInCodePage, // the character, its position (1-based)
    InvalidTextEncoding,    // position (1-based byte)
    InputTooLong,           // length
    KeyOutsideGrid,         // x-key text, y-key text, width, height
    MessageDoesNotFit,      // length, capacity
    EncryptionFinished,

    // Field checks
    KeyNotNumeric,
    KeyAboveBound, // bound
    ValueNotNumeric,
    ShiftAboveLimit,

    // Decoder
    DecodeFinished,  // elapsed seconds as text
    DecodeFailed,    // failure number
    DecodeExhausted, // characters read, reading length

    // Files
    NoFileName,
    CannotOpenFile,     // path, reason
    CannotWriteFile,    // path, reason
    NotAPicture,        // path
    PictureTruncated,   // path
    PictureMalformed,   // path
    PictureTooLarge,    // path, width, height
    LossyPictureFormat, // path
    KeyFileTooShort,    // path, lines found
    KeyValueInvalid,    // field label, text
    TextFileTooLarge,   // path
    KeyFileTooLarge,    // path
    TextNotInCodePage,  // the character, its position (1-based)
    NotARegularFile,    // path
    PairHalfSaved,      // path saved, path not saved, reason

    // System settings
    DisplayModeWarning,
    DisplayModeSummary, // width, height in pixels
    RestartQuestion,
    DisplayModeChanged,
    DisplayModeRefused,

    // Exit and credits
    ExitReminder,
    AboutProgrammer,
    AboutHelper,
    SystemInformationUnavailable,
};

struct Message {
    MessageId id;
    std::vector<std::string> args;

    friend bool operator==(const Message&, const Message&) = default;
};

// Failure numbers of the decoder's error report.
enum class FailureNumber : int {
    InvalidArgument = 5,
    Overflow = 6,
    TypeMismatch = 13,
};

} // namespace kvistra
