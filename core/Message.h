// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "KeyField.h"

#include <optional>
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
    ShiftNotWhole, // stepping text

    // Field checks
    KeyNotNumeric,
    KeyAboveBound, // bound
    ValueNotNumeric,
    ShiftAboveLimit,

    // Decoder
    DecodeFinished,  // elapsed seconds as text
    DecodeFailed,    // failure number, value (y, x, shift or length), its text; for a
                     // character also: its position in the run (1-based), x, y, green byte
    DecodeExhausted, // characters read, reading length

    // Files
    NoFileName,
    CannotOpenFile,     // path; its system error
    CannotWriteFile,    // path; its system error
    NotAPicture,        // path
    PictureTruncated,   // path
    PictureMalformed,   // path
    PictureTooLarge,    // path, width, height
    LossyPictureFormat, // path
    KeyFileTooShort,    // path, lines found
    KeyValueInvalid,    // text; its field
    TextFileTooLarge,   // path
    KeyFileTooLarge,    // path
    TextNotInCodePage,  // the character, its position (1-based)
    PictureNeedsMemory, // path (empty for a new picture), width, height, MB needed, MB available
    OutOfMemory,
    KeyFileLineTooLong, // path, line (1-based)
    KeyFileLfLineEnds,  // path
    // key file path, picture path: the key's check does not match the picture's pixels
    KeyFileForAnotherPicture,
    ReadingLengthNegative, // text
    // path, line (1-based), line text; its field, and the field check's refusal as its cause
    KeyFileLineRefused,
    TextFileCharacterNotInCodePage, // path, the character, line (1-based)
    // opened picture's path, its width, height, canvas width, height, path saved to
    PictureLargerThanCanvas,
    NotARegularFile, // path
    PairHalfSaved,   // path saved, path not saved; the system error that stopped the second
    LinkNotFollowed, // path, the link not followed
    FolderLocked,    // folder
    // path, the reader of other formats (a file), the loader's own words on why it could not
    // be loaded (empty when a system error says why)
    PictureFormatsMissing,

    // System settings
    DisplayModeWarning,
    DisplayModeSummary, // width, height in pixels
    RestartQuestion,
    DisplayModeChanged,
    DisplayModeRefused,
    TaskListNotAllowed,

    // Exit and credits
    ExitReminder,
    AboutProgrammer,
    AboutHelper,
    SystemInformationUnavailable,

    // Saved pictures read back, and work not yet saved
    SavedPictureUnreadable,  // path; why it could not be read: its cause or system error
    SavedPictureSizeDiffers, // path, width, height read back, canvas width, height
    SavedPictureDiffers,     // path, x, y of the first pixel that differs
    SavedMessageMisread,     // path, place (1-based) of the first character misread
    UnsavedGeneration,       // what is unsaved: "picture", "key" or "both"
    // A written picture read back before it is put in place
    WrittenPictureUnreadable, // name; why it could not be read as its cause
    WrittenPictureDiffers,    // name, the first row (0-based) that differs
    WrittenMessageMisread,    // name, place (1-based) of the first character misread
    // A message sealed with a passphrase
    SealedMessageRefused,
    SealedMessageDoesNotFit, // length, capacity
    PassphraseEmpty,
    PassphrasesDiffer,
    PassphraseTooLong, // longest in bytes
    NoPassphraseTerminal,
};

struct Message {
    MessageId id;
    std::vector<std::string> args;
    // What lies behind it, for the catalogue to word: the system's error number (0 for
    // none), the key field concerned, and the message that caused it (none or one).
    int systemError = 0;
    std::optional<KeyField> field{};
    std::vector<Message> cause{};

    friend bool operator==(const Message&, const Message&) = default;
};

// What made the decoder fail; the catalogue gives each its number in the error report.
enum class FailureNumber {
    None,
    InvalidArgument,
    Overflow,
    TypeMismatch,
};

} // namespace kvistra
