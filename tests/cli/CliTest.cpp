// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliRun.h"
#include "support/ScopedEnvironment.h"

#include <algorithm>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kvistra::cli {
namespace {

namespace fs = std::filesystem;

using test::cli;
using test::CliRun;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

mode_t modeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// A named pipe with a writer held open, so that a program that opens it to read
// does not wait and a test of it cannot hang.
class Pipe {
public:
    explicit Pipe(const std::string& path) {
        ::mkfifo(path.c_str(), 0644);
        writer_ = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
    }
    ~Pipe() { ::close(writer_); }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

private:
    int writer_;
};

std::string everyCodeFrom(int lowest, int highest) {
    std::string bytes;
    for (int code = lowest; code <= highest; ++code) {
        bytes += static_cast<char>(code);
    }
    return bytes;
}

struct RoundTrip {
    const char* name;
    const char* picture;
    bool adapt;
    const char* shift;
    int lowest;
    int highest;
    bool verify; // the written file read back before it is put in place
};

TEST(Cli, HideThenRevealRoundTripsEveryCodeTheShiftAllows) {
    const RoundTrip cases[] = {
        {"bitmap, key position, shift 0", "p.bmp", false, "0", 0, 255, false},
        {"bitmap, adapt mode, shift 0", "p.bmp", true, "0", 0, 255, true},
        {"png, key position, shift 7", "p.png", false, "7", 7, 248, true},
        {"png, adapt mode, shift 7", "p.png", true, "7", 7, 248, false},
        {"bitmap, adapt mode, negative shift", "p.bmp", true, "-3", 0, 252, false},
        {"bitmap, key position, negative shift", "p.bmp", false, "-3", 0, 252, true},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder dir;
        const std::string message = everyCodeFrom(c.lowest, c.highest);
        writeBytes(dir / "message", message);
        std::vector<std::string> hideArgs = {"hide",
                                             "--message-file",
                                             dir / "message",
                                             "--out",
                                             dir / c.picture,
                                             "--size",
                                             "31x17",
                                             "-x",
                                             "30",
                                             "-y",
                                             "2",
                                             "--shift",
                                             c.shift,
                                             "--key",
                                             dir / "key.txt"};
        if (c.adapt) {
            hideArgs.push_back("--adapt");
        }
        if (c.verify) {
            hideArgs.push_back("--verify");
        }
        const CliRun hidden = cli(hideArgs);
        ASSERT_EQ(hidden.status, 0) << hidden.err;

        const CliRun revealed =
            cli({"reveal", dir / c.picture, "--key", dir / "key.txt", "--out", dir / "back"});
        ASSERT_EQ(revealed.status, 0) << revealed.err;
        EXPECT_EQ(readBytes(dir / "back"), message);
    }
}

TEST(Cli, KeyFileHoldsTheFourValues) {
    const TempFolder dir;
    const CliRun hidden = cli({"hide", "--text", "Hej", "--out", dir / "p.bmp", "-x", "7", "-y",
                               "3", "--shift", "2", "--key", dir / "key.txt"});
    ASSERT_EQ(hidden.status, 0) << hidden.err;
    EXPECT_EQ(hidden.err, "");
    // The four values, then the check of the pixels they read.
    EXPECT_TRUE(std::regex_match(readBytes(dir / "key.txt"),
                                 std::regex("3\r\n7\r\n2\r\n3\r\nkontroll [0-9a-f]{32}\r\n")))
        << readBytes(dir / "key.txt");

    const CliRun byOptions =
        cli({"reveal", dir / "p.bmp", "-x", "7", "-y", "3", "--shift", "2", "--length", "3"});
    EXPECT_EQ(byOptions.status, 0) << byOptions.err;
    EXPECT_EQ(byOptions.out, "Hej\n");
}

TEST(Cli, TextIsUtf8AndLineMarkersBecomeLineBreaks) {
    const TempFolder dir;
    // The file is Windows-1252.
    writeBytes(dir / "lines.txt", "F\xF6rsta raden\r\n\xE5\xE4\xF6\r\n");
    ASSERT_EQ(
        cli({"hide", "--text-file", dir / "lines.txt", "--out", dir / "p.bmp", "--key", dir / "k"})
            .status,
        0);
    EXPECT_EQ(cli({"reveal", dir / "p.bmp", "--key", dir / "k"}).out, "Första raden|åäö|\n");
    EXPECT_EQ(cli({"reveal", dir / "p.bmp", "--key", dir / "k", "--lines"}).out,
              "Första raden\nåäö\n\n");
    ASSERT_EQ(
        cli({"reveal", dir / "p.bmp", "--key", dir / "k", "--lines", "--out", dir / "t"}).status,
        0);
    EXPECT_EQ(readBytes(dir / "t"), "F\xF6rsta raden\r\n\xE5\xE4\xF6\r\n");
}

TEST(Cli, TextFilesAreUtf8WithAnyLineEnds) {
    const TempFolder dir;
    // As a Linux editor writes it: UTF-8, LF alone; a byte order mark is skipped.
    writeBytes(dir / "lf.txt", "\xEF\xBB\xBF"
                               "F\xC3\xB6rsta raden\n\xC3\xA5\xC3\xA4\xC3\xB6 \xE2\x82\xAC\n");
    ASSERT_EQ(
        cli({"hide", "--text-file", dir / "lf.txt", "--out", dir / "p.bmp", "--key", dir / "k"})
            .status,
        0);
    EXPECT_EQ(cli({"reveal", dir / "p.bmp", "--key", dir / "k"}).out, "Första raden|åäö €|\n");
}

TEST(Cli, NumbersTakeAFullStopOnly) {
    const TempFolder dir;
    ASSERT_EQ(cli({"hide", "--text", "Hej", "--out", dir / "ok.bmp"}).status, 0);
    const struct {
        std::vector<std::string> args;
        const char* option;
    } cases[] = {
        {{"hide", "--text", "x", "--out", dir / "o.bmp", "--shift", "2,5"}, "--shift"},
        {{"hide", "--text", "x", "--out", dir / "o.bmp", "-x", "2,5"}, "-x"},
        {{"hide", "--text", "x", "--out", dir / "o.bmp", "-y", "1,000"}, "-y"},
        {{"hide", "--text", "x", "--out", dir / "o.bmp", "-x", "1\u00A0000", "--adapt"}, "-x"},
        {{"hide", "--text", "x", "--out", dir / "o.bmp", "--size", "2,5x30"}, "--size"},
        {{"reveal", dir / "ok.bmp", "-x", "5", "-y", "5", "--shift", "0", "--length", "3,0"},
         "--length"},
        {{"reveal", dir / "ok.bmp", "-x", "0,5", "-y", "5", "--shift", "0", "--length", "3"}, "-x"},
        {{"capacity", "--size", "10x10", "-y", "2,5"}, "-y"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const CliRun result = cli(c.args);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(std::string(c.option) + " "), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_FALSE(fs::exists(dir / "o.bmp"));
    }
    EXPECT_EQ(cli({"capacity", "--size", "5x4", "-x", "3.0", "-y", "1e0"}).out, "12\n");
}

// A fractional shift would change the message: "Hemligt" came back as "Hdllhft".
TEST(Cli, FractionalShiftIsRefusedBeforeAnythingIsWritten) {
    for (const bool adapt : {false, true}) {
        SCOPED_TRACE(adapt ? "adapt" : "key position");
        const TempFolder dir;
        writeBytes(dir / "p.bmp", "gammal bild");
        std::vector<std::string> args = {"hide",  "--text",      "Hemligt", "--shift",    "0.5",
                                         "--out", dir / "p.bmp", "--key",   dir / "k.txt"};
        if (adapt) {
            args.push_back("--adapt");
        }
        const CliRun result = cli(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("--shift: Förskjutningen du har valt (0.5) är inget heltal."),
                  std::string::npos)
            << result.err;
        EXPECT_EQ(readBytes(dir / "p.bmp"), "gammal bild");
        EXPECT_FALSE(fs::exists(dir / "k.txt"));
    }
}

// The keys play no part in adapt mode: the message starts at the top-left pixel.
TEST(Cli, AdaptModeChecksNoKeys) {
    const TempFolder dir;
    const CliRun hidden = cli({"hide", "--text", "Hej", "--adapt", "--size", "4x4", "-x", "100",
                               "--out", dir / "p.bmp", "--key", dir / "k.txt"});
    ASSERT_EQ(hidden.status, 0) << hidden.err;
    EXPECT_EQ(test::keyValuesIn(dir / "k.txt"), "0\r\n0\r\n0\r\n3\r\n");
    EXPECT_EQ(cli({"reveal", dir / "p.bmp", "--key", dir / "k.txt"}).out, "Hej\n");
}

// Key files: the first four lines count, a byte order mark is skipped.
TEST(Cli, KeyFileIsReadToItsFourthLine) {
    const TempFolder dir;
    ASSERT_EQ(cli({"hide", "--text", "Hej", "--out", dir / "p.bmp", "-x", "7", "-y", "3", "--key",
                   dir / "k.txt"})
                  .status,
              0);
    writeBytes(dir / "long.txt", "\xEF\xBB\xBF" + readBytes(dir / "k.txt") +
                                     std::string(std::size_t{100} << 10, 'x'));
    const CliRun revealed = cli({"reveal", dir / "p.bmp", "--key", dir / "long.txt"});
    EXPECT_EQ(revealed.status, 0) << revealed.err;
    EXPECT_EQ(revealed.out, "Hej\n");
}

// Qt sets the process locale from LANG; numbers on the command line stay as they are.
TEST(Cli, NumbersIgnoreTheProcessLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "sv_SE.UTF-8") == nullptr) {
        GTEST_SKIP() << "the locale sv_SE.UTF-8 is not generated";
    }
    const TempFolder dir;
    const CliRun hidden = cli({"hide", "--text", "Hej", "--out", dir / "p.bmp", "-x", "7.0", "-y",
                               "3", "--shift", "2.0", "--key", dir / "k.txt"});
    const CliRun capacity = cli({"capacity", "--size", "5x4", "-x", "3.0", "-y", "1"});
    std::setlocale(LC_ALL, saved.c_str()); // before any assertion can end the test
    EXPECT_EQ(hidden.status, 0) << hidden.err;
    EXPECT_EQ(test::keyValuesIn(dir / "k.txt"), "3\r\n7\r\n2\r\n3\r\n");
    EXPECT_EQ(capacity.out, "12\n");
}

TEST(Cli, LoweredShiftIsAWarningAndTheRunGoesOn) {
    const TempFolder dir;
    const CliRun hidden =
        cli({"hide", "--text", "ö", "--out", dir / "p.bmp", "--shift", "29", "--key", dir / "k"});
    EXPECT_EQ(hidden.status, 0);
    EXPECT_EQ(hidden.err, "Förskjutningen du har valt (29) överskrider den tillåtna nivån, \n"
                          "förskjutningen ställs om till det högst tillåtna: 9\n");
    EXPECT_EQ(test::keyValuesIn(dir / "k"), "5\r\n5\r\n9\r\n1\r\n");
    EXPECT_EQ(cli({"reveal", dir / "p.bmp", "--key", dir / "k"}).out, "ö\n");
}

TEST(Cli, AdaptModeAnnouncesTheFinish) {
    const TempFolder dir;
    const CliRun hidden = cli({"hide", "--text", "A", "--adapt", "--out", dir / "p.bmp"});
    EXPECT_EQ(hidden.status, 0);
    EXPECT_EQ(hidden.err, "Krypteringsprocess slutförd!\n");
}

TEST(Cli, UsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"conceal"},
        {"hide", "--text", "x"},
        {"hide", "--out", "p.bmp"},
        {"hide", "--out", "p.bmp", "--text", "x", "--text-file", "f"},
        {"hide", "--out", "p.bmp", "--text", "x", "-x", "abc"},
        {"hide", "--out", "p.bmp", "--text", "x", "-x", "270"},
        {"hide", "--out", "p.bmp", "--text", "x", "--shift", "30"},
        {"hide", "--out", "p.bmp", "--text", "x", "--size", "0x5"},
        {"hide", "--out", "p.bmp", "--text", "x", "--bogus"},
        {"hide", "--out"},
        {"reveal", "p.bmp", "-x", "1", "-y", "1", "--shift", "0"},
        {"reveal", "p.bmp", "--key", "k", "-x", "1"},
        {"reveal"},
        {"capacity"},
        {"inspect", "p.bmp", "1"},
        {"inspect", "p.bmp", "1.5", "2"},
    };
    for (const auto& args : cases) {
        const CliRun result = cli(args);
        EXPECT_EQ(result.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(result.err, "") << ::testing::PrintToString(args);
        EXPECT_EQ(result.out, "");
    }
}

TEST(Cli, FailuresSayWhatWentWrongAndWriteNothing) {
    const TempFolder dir;
    writeBytes(dir / "not-a-picture.bmp", "hello, I am text");
    writeBytes(dir / "short.txt", "1\r\n2\r\n3\r\n");
    writeBytes(dir / "letters.txt", "a\r\nb\r\nc\r\nd\r\n");
    writeBytes(dir / "nul.txt", std::string("5\0\r\n5\r\n0\r\n3\r\n", 14));
    // The message from the top-left pixel: its first character, not a random one that
    // a shift of -200 might still read, makes the decoder fail there.
    ASSERT_EQ(cli({"hide", "--text", "Hej", "-x", "0", "-y", "0", "--out", dir / "ok.bmp"}).status,
              0);
    const std::string truncated = readBytes(dir / "ok.bmp").substr(0, 1000);
    writeBytes(dir / "truncated.bmp", truncated);
    writeBytes(dir / "huge.txt", std::string(17u << 20, 'a'));
    writeBytes(dir / "empty.bmp", "");
    writeBytes(dir / "huge-length.txt", "5\r\n5\r\n0\r\n99999\r\n");
    writeBytes(dir / "huge-key.txt", "1e9\r\n5\r\n0\r\n3\r\n");
    writeBytes(dir / "grouped.txt", "5\r\n5\r\n0\r\n1,000\r\n");
    writeBytes(dir / "shift.txt", "5\r\n5\r\n30\r\n3\r\n");
    writeBytes(dir / "polish.txt", "God dag\nŁódź\n");

    const struct {
        const char* name;
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {"missing cover",
         {"hide", "--text", "x", "--cover", dir / "none.bmp", "--out", dir / "o.bmp"},
         "kunde inte öppnas"},
        {"cover that is no picture",
         {"hide", "--text", "x", "--cover", dir / "not-a-picture.bmp", "--out", dir / "o.bmp"},
         "ingen bild"},
        {"truncated picture",
         {"reveal", dir / "truncated.bmp", "-x", "0", "-y", "0", "--shift", "0", "--length", "1"},
         "avkortad"},
        {"lossy output",
         {"hide", "--text", "x", "--out", dir / "o.jpg"},
         "förstör det dolda meddelandet"},
        {"key outside the picture",
         {"hide", "--text", "x", "-x", "269", "--out", dir / "o.bmp"},
         "utanför bilden"},
        {"message too long for the room",
         {"hide", "--text", "abc", "--size", "4x4", "-x", "3", "-y", "3", "--out", dir / "o.bmp"},
         "får inte plats"},
        {"character outside Windows-1252",
         {"hide", "--text", "Łódź", "--out", dir / "o.bmp"},
         "kan inte lagras"},
        {"key file in a folder that does not exist",
         {"hide", "--text", "x", "--out", dir / "o.bmp", "--key", dir / "no/such/k.txt"},
         "kunde inte sparas"},
        {"folder that does not exist",
         {"hide", "--text", "x", "--out", dir / "no/such/o.bmp"},
         "kunde inte sparas"},
        {"key file with three lines",
         {"reveal", dir / "ok.bmp", "--key", dir / "short.txt"},
         "har bara 3 rader"},
        {"key file of letters",
         {"reveal", dir / "ok.bmp", "--key", dir / "letters.txt"},
         "kan inte användas: rad 1 (Nyckel-y:) är \"a\".\nDu måste mata in numeriska data!"},
        {"key file with a group separator",
         {"reveal", dir / "ok.bmp", "--key", dir / "grouped.txt"},
         "kan inte användas: rad 4 (Inläsningslängd:) är \"1,000\".\n"},
        {"key file with a shift above 29",
         {"reveal", dir / "ok.bmp", "--key", dir / "shift.txt"},
         "kan inte användas: rad 3 (Förskjutning:) är \"30\".\nDu måste mata in ett tal som är "
         "högst 29!"},
        {"text file with a character outside Windows-1252",
         {"hide", "--text-file", dir / "polish.txt", "--out", dir / "o.bmp"},
         "kan inte användas: tecknet \"Ł\" på rad 2 finns inte i teckentabellen Windows-1252"},
        {"key file with a NUL byte",
         {"reveal", dir / "ok.bmp", "--key", dir / "nul.txt"},
         "Du måste mata in numeriska data!"},
        {"missing key file",
         {"reveal", dir / "ok.bmp", "--key", dir / "none.txt"},
         "kunde inte öppnas"},
        {"decoder failure",
         {"reveal", dir / "ok.bmp", "-x", "0", "-y", "0", "--shift", "-200", "--length", "3"},
         "Följande fel uppstod: Tecken nummer 1 (bildpunkt 0, 0) kunde inte läsas: det gröna "
         "värdet "},
        {"empty picture file",
         {"reveal", dir / "empty.bmp", "-x", "0", "-y", "0", "--shift", "0", "--length", "1"},
         "ingen bild"},
        {"reading length beyond 16 bits",
         {"reveal", dir / "ok.bmp", "--key", dir / "huge-length.txt"},
         "Följande fel uppstod: Inläsningslängden \"99999\" ligger utanför -32768 till 32767."},
        {"huge key",
         {"reveal", dir / "ok.bmp", "--key", dir / "huge-key.txt"},
         "rad 1 (Nyckel-y:) är \"1e9\".\nDu måste mata in ett tal under 253!"},
        {"huge text file",
         {"hide", "--text-file", dir / "huge.txt", "--out", dir / "o.bmp"},
         "för stor"},
        {"walk ends before the reading length",
         {"reveal", dir / "ok.bmp", "-x", "0", "-y", "252", "--shift", "0", "--length", "300"},
         "tog slut efter 269 av 300"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun result = cli(c.args);
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
        EXPECT_FALSE(fs::exists(dir / "o.bmp"));
        EXPECT_FALSE(fs::exists(dir / "o.jpg"));
    }
}

// Every command that reads pixels refuses what it cannot read: a picture cut short,
// a key or pixel outside the picture, a key file it cannot take. Nothing is written.
TEST(Cli, ReadsOutsideThePictureOrPastItsEndAreRefused) {
    const TempFolder dir;
    for (const char* name : {"ok.bmp", "ok.png"}) {
        ASSERT_EQ(cli({"hide", "--text", "Hej", "--size", "300x200", "--out", dir / name, "--key",
                       dir / "k.txt"})
                      .status,
                  0);
        const std::string whole = readBytes(dir / name);
        writeBytes(dir / (std::string("cut-") + name), whole.substr(0, whole.size() / 2));
    }
    writeBytes(dir / "lf.txt", "5\n5\n0\n3\n");
    writeBytes(dir / "negative.txt", "5\r\n5\r\n0\r\n-6\r\n");
    const std::string out = dir / "t.txt";
    const struct {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {"inspect a bitmap cut short", {"inspect", dir / "cut-ok.bmp", "250", "10"}, 1, "avkortad"},
        {"inspect a PNG file cut short",
         {"inspect", dir / "cut-ok.png", "250", "190"},
         1,
         "avkortad"},
        {"reveal above the picture",
         {"reveal", dir / "ok.bmp", "-x", "5", "-y", "-1", "--shift", "0", "--length", "6", "--out",
          out},
         1,
         "utanför bilden"},
        {"reveal right of the picture",
         {"reveal", dir / "ok.bmp", "-x", "300", "-y", "0", "--shift", "0", "--length", "6",
          "--out", out},
         1,
         "utanför bilden"},
        {"inspect left of the picture",
         {"inspect", dir / "ok.bmp", "-1", "0"},
         1,
         "utanför bilden"},
        {"inspect below the picture", {"inspect", dir / "ok.png", "0", "200"}, 1, "utanför bilden"},
        {"key file with LF line ends",
         {"reveal", dir / "ok.bmp", "--key", dir / "lf.txt"},
         1,
         "har radslut LF där CR LF väntas"},
        {"negative reading length in a key file",
         {"reveal", dir / "ok.bmp", "--key", dir / "negative.txt", "--out", out},
         1,
         "Inläsningslängden \"-6\" är negativ"},
        {"negative reading length given",
         {"reveal", dir / "ok.bmp", "-x", "5", "-y", "5", "--shift", "0", "--length", "-1", "--out",
          out},
         2,
         "Inläsningslängden \"-1\" är negativ"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(out, "old");
        const CliRun result = cli(c.args);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
        EXPECT_EQ(readBytes(out), "old");
    }
}

// The picture and its key are one pair: a key that cannot be written leaves the
// picture as it was, and no temporary file behind.
TEST(Cli, AKeyFileThatCannotBeWrittenLeavesThePictureAsItWas) {
    const struct {
        const char* name;
        const char* key;
        const char* says;
    } cases[] = {
        {"key names a folder", "folder", "kunde inte sparas"},
        {"key in a folder that does not exist", "no/such/k.txt", "kunde inte sparas"},
        {"key names a named pipe", "pipe", "ingen vanlig fil"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder dir;
        fs::create_directory(dir / "folder");
        const Pipe pipe(dir / "pipe");
        ASSERT_EQ(cli({"hide", "--text", "Gammal", "--out", dir / "p.bmp"}).status, 0);
        const std::string before = readBytes(dir / "p.bmp");
        for (const char* size : {"269x253", "20x20"}) { // streamed, and held whole
            for (const char* picture : {"p.bmp", "p.png"}) {
                const CliRun hidden = cli({"hide", "--text", "Ny", "--size", size, "--out",
                                           dir / picture, "--key", dir / c.key});
                EXPECT_EQ(hidden.status, 1);
                EXPECT_NE(hidden.err.find(c.says), std::string::npos) << hidden.err;
            }
        }
        EXPECT_EQ(readBytes(dir / "p.bmp"), before);
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"folder", "p.bmp", "pipe"}));
    }
}

// One file named twice would be destroyed by the write before or while it is
// read: such a command is refused before anything is written.
TEST(Cli, TwoOptionsNamingOneFileAreRefusedBeforeAnythingIsWritten) {
    const TempFolder dir;
    ASSERT_EQ(cli({"hide", "--text", "Hej", "--out", dir / "p.bmp", "--key", dir / "k.txt"}).status,
              0);
    writeBytes(dir / "t.txt", "text");
    fs::create_directory(dir / "sub");
    fs::create_symlink("p.bmp", dir / "link.bmp");
    const std::vector<std::string> before = dir.entries();
    const std::string picture = readBytes(dir / "p.bmp");
    const std::string key = readBytes(dir / "k.txt");

    const struct {
        std::vector<std::string> args;
        const char* options; // as the refusal names them
    } cases[] = {
        {{"hide", "--text", "x", "--out", dir / "q.bmp", "--key", dir / "q.bmp"},
         "--out och --key"},
        {{"hide", "--text", "x", "--out", dir / "p.bmp", "--key", dir / "p.bmp"},
         "--out och --key"},
        {{"hide", "--text", "x", "--out", dir / "p.bmp", "--key", dir / "link.bmp"},
         "--out och --key"},
        {{"hide", "--text", "x", "--out", dir / "q.bmp", "--key", dir / "sub/../q.bmp"},
         "--out och --key"},
        {{"hide", "--text", "x", "--cover", dir / "p.bmp", "--out", dir / "p.bmp"},
         "--out och --cover"},
        {{"hide", "--text-file", dir / "t.txt", "--out", dir / "p.bmp", "--key", dir / "t.txt"},
         "--key och --text-file"},
        {{"hide", "--message-file", dir / "t.txt", "--out", dir / "t.txt"},
         "--out och --message-file"},
        {{"reveal", dir / "p.bmp", "--key", dir / "k.txt", "--out", dir / "p.bmp"},
         "BILD och --out"},
        {{"reveal", dir / "p.bmp", "--key", dir / "k.txt", "--out", dir / "sub/../k.txt"},
         "--key och --out"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const CliRun result = cli(c.args);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(std::string(c.options) + " anger samma fil"), std::string::npos)
            << result.err;
        EXPECT_EQ(dir.entries(), before);
        EXPECT_EQ(readBytes(dir / "p.bmp"), picture);
        EXPECT_EQ(readBytes(dir / "k.txt"), key);
    }
    // Different files in one folder are no problem.
    EXPECT_EQ(cli({"reveal", dir / "p.bmp", "--key", dir / "k.txt", "--out", dir / "t.txt"}).status,
              0);
}

// A key file is the scheme's secret: a new one is private, and a replaced file
// keeps the mode its user gave it.
TEST(Cli, KeyFilesArePrivateAndReplacedFilesKeepTheirMode) {
    const TempFolder dir;
    const mode_t previous = ::umask(022);
    ASSERT_EQ(cli({"hide", "--text", "Hej", "--out", dir / "p.bmp", "--key", dir / "k.txt"}).status,
              0);
    EXPECT_EQ(modeOf(dir / "k.txt"), 0600u);
    EXPECT_EQ(modeOf(dir / "p.bmp"), 0644u);

    ::chmod((dir / "k.txt").c_str(), 0640);
    ::chmod((dir / "p.bmp").c_str(), 0600);
    writeBytes(dir / "t.txt", "old");
    ::chmod((dir / "t.txt").c_str(), 0600);
    ASSERT_EQ(cli({"hide", "--text", "Ny", "--out", dir / "p.bmp", "--key", dir / "k.txt"}).status,
              0);
    ASSERT_EQ(cli({"reveal", dir / "p.bmp", "--key", dir / "k.txt", "--out", dir / "t.txt"}).status,
              0);
    ::umask(previous);
    EXPECT_EQ(readBytes(dir / "t.txt"), "Ny");
    EXPECT_EQ(modeOf(dir / "k.txt"), 0640u);
    EXPECT_EQ(modeOf(dir / "p.bmp"), 0600u);
    EXPECT_EQ(modeOf(dir / "t.txt"), 0600u);
}

// A named pipe or a device is never replaced by a file, nor read as a picture
// (which waited for ever on a pipe).
TEST(Cli, OnlyRegularFilesAreReadAsPicturesOrWritten) {
    const TempFolder dir;
    ASSERT_EQ(cli({"hide", "--text", "Hej", "--out", dir / "p.bmp", "--key", dir / "k.txt"}).status,
              0);
    const Pipe pipe(dir / "pipe");
    const std::vector<std::vector<std::string>> cases = {
        {"hide", "--text", "x", "--out", dir / "pipe"},
        {"hide", "--text", "x", "--adapt", "--out", dir / "pipe"},
        {"hide", "--text", "x", "--out", dir / "q.bmp", "--key", dir / "pipe"},
        {"hide", "--text", "x", "--cover", dir / "pipe", "--out", dir / "q.bmp"},
        {"hide", "--text", "x", "--cover", dir / "pipe", "--adapt", "--out", dir / "q.bmp"},
        {"reveal", dir / "p.bmp", "--key", dir / "k.txt", "--out", dir / "pipe"},
        {"reveal", dir / "pipe", "--key", dir / "k.txt"},
        {"capacity", dir / "pipe"},
        {"inspect", dir / "pipe", "0", "0"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const CliRun result = cli(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find("\"" + (dir / "pipe") + "\" är ingen vanlig fil"),
                  std::string::npos)
            << result.err;
        EXPECT_EQ(fs::status(dir / "pipe").type(), fs::file_type::fifo);
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"k.txt", "p.bmp", "pipe"}));
    }
}

TEST(Cli, OutDashWritesStandardOutput) {
    const TempFolder dir;
    const CliRun hidden = cli({"hide", "--text", "Hej då", "--out", "-", "--size", "9x4", "-x", "0",
                               "-y", "0", "--key", dir / "k.txt", "--verify"});
    ASSERT_EQ(hidden.status, 0) << hidden.err;
    ASSERT_EQ(hidden.out.size(), 54u + 4 * 28); // headers and four padded rows
    EXPECT_EQ(hidden.out.substr(0, 2), "BM");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"k.txt"});
    EXPECT_FALSE(fs::exists("-"));

    writeBytes(dir / "p.bmp", hidden.out);
    const CliRun revealed = cli({"reveal", dir / "p.bmp", "--key", dir / "k.txt", "--out", "-"});
    EXPECT_EQ(revealed.status, 0) << revealed.err;
    EXPECT_EQ(revealed.out, "Hej d\xE5"); // the Windows-1252 bytes, as to a file
    EXPECT_FALSE(fs::exists("-"));
}

// The picture for standard output is drawn in a file nobody else can name: a
// name planted beforehand in the shared temporary folder goes unused.
TEST(Cli, StandardOutputDraftCannotBePlanted) {
    const TempFolder dir;
    const std::string shared = dir / "tmp";
    fs::create_directory(shared);
    fs::create_symlink("/nonexistent-kvistra-folder/draft.bmp",
                       shared + "/kvistra-standard-out.bmp");
    const CliRun hidden = [&] {
        const test::ScopedEnvironment temporaryFolder("TMPDIR", shared);
        return cli({"hide", "--text", "Hej", "--out", "-", "--size", "9x4", "-x", "0", "-y", "0"});
    }();
    EXPECT_EQ(hidden.status, 0) << hidden.err;
    EXPECT_EQ(hidden.out.substr(0, 2), "BM");
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(shared)) {
        left.push_back(entry.path().filename());
    }
    EXPECT_EQ(left, std::vector<std::string>{"kvistra-standard-out.bmp"});
}

// A text that ends early is shown, but never replaces what a file held.
TEST(Cli, RevealWritesOutOnlyWhenTheWholeTextWasRead) {
    const TempFolder dir;
    ASSERT_EQ(cli({"hide", "--text", "Hej", "--out", dir / "p.bmp"}).status, 0);
    writeBytes(dir / "t.txt", "old");
    const std::vector<std::string> early = {"reveal", dir / "p.bmp", "-x", "0",        "-y",
                                            "252",    "--shift",     "0",  "--length", "300"};
    for (const char* out : {"t.txt", "new.txt", "-"}) {
        SCOPED_TRACE(out);
        std::vector<std::string> args = early;
        args.insert(args.end(), {"--out", out == std::string("-") ? out : dir / out});
        const CliRun result = cli(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find("tog slut efter 269 av 300"), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(readBytes(dir / "t.txt"), "old");
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"p.bmp", "t.txt"}));
    }
    const CliRun shown = cli(early);
    EXPECT_EQ(shown.status, 1);
    EXPECT_GE(shown.out.size(), 269u + 1); // the characters read, in UTF-8
}

// Ctrl-C, a TERM from the system, or any other signal that ends the program during a
// save removes the temporary files. The program waits on a named pipe for its message
// after it has opened both of its outputs, which holds it there until the signal comes.
TEST(Cli, ASignalDuringASaveLeavesNoTemporaryFile) {
    // SIGQUIT's core dump is not wanted here.
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGXCPU,
                             SIGVTALRM, SIGPROF, SIGRTMIN}) {
        SCOPED_TRACE(signal);
        const TempFolder dir;
        writeBytes(dir / "p.bmp", "old picture");
        writeBytes(dir / "k.txt", "old key");
        ASSERT_EQ(::mkfifo((dir / "message").c_str(), 0644), 0);
        const pid_t child =
            test::startProgram({"hide", "--message-file", dir / "message", "--size", "8000x8000",
                                "--out", dir / "p.bmp", "--key", dir / "k.txt"});
        ASSERT_GT(child, 0);

        // Both temporary files appear before the message is read.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (dir.entries().size() < 5 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(dir.entries().size(), 5u);
        ::kill(child, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"k.txt", "message", "p.bmp"}));
        EXPECT_EQ(readBytes(dir / "p.bmp"), "old picture");
        EXPECT_EQ(readBytes(dir / "k.txt"), "old key");
    }
}

// A picture and its key put in place, cut off at each step by a kill that nothing
// can catch: the pair read afterwards gives the old message, the new one, or a
// refusal, never the new picture read with the old key or the other way round. The
// old key is one of four lines, as older versions wrote them.
TEST(Cli, APairCutOffAtAnyStepIsNeverReadAsAnotherMessage) {
    if (std::system("strace -o /dev/null true 2>/dev/null") != 0) {
        GTEST_SKIP() << "strace cannot follow a program here";
    }
    const struct {
        const char* step;
        const char* calls; // the system calls counted, and the one that is cut off
        int when;
        int status;
        std::string out;
        std::vector<std::string> left; // besides the pair and the tool's output
    } steps[] = {
        {"before the first rename", "renameat2", 1, 0, "Gammal text\n", {"k.txt.", "p.bmp."}},
        {"between the renames", "renameat2", 2, 1, "", {"k.txt.", "p.bmp."}},
        {"before the old files go", "unlink,unlinkat", 1, 0, "Ny text\n", {"k.txt.", "p.bmp."}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        const TempFolder dir;
        ASSERT_EQ(
            cli({"hide", "--text", "Gammal text", "--out", dir / "p.bmp", "--key", dir / "k.txt"})
                .status,
            0);
        writeBytes(dir / "k.txt", test::keyValuesIn(dir / "k.txt"));
        const std::string command =
            std::string("strace -o /dev/null -e trace=") + step.calls + " -e inject=" + step.calls +
            ":signal=KILL:when=" + std::to_string(step.when) +
            " '" KVISTRA_CLI "' hide --text 'Ny text' --out '" + (dir / "p.bmp") + "' --key '" +
            (dir / "k.txt") + "' 2>/dev/null";
        const int killed = std::system(command.c_str());
        EXPECT_NE(killed, 0);

        const CliRun read = cli({"reveal", dir / "p.bmp", "--key", dir / "k.txt"});
        EXPECT_EQ(read.status, step.status) << read.err;
        EXPECT_EQ(read.out, step.out);
        if (step.status == 1) {
            EXPECT_NE(read.err.find("hör inte till bilden"), std::string::npos) << read.err;
        }
        // What the kill left: the temporary files, one of them the other half.
        std::vector<std::string> left;
        for (const std::string& entry : dir.entries()) {
            if (entry != "k.txt" && entry != "p.bmp") {
                left.push_back(entry.substr(0, 6));
            }
        }
        EXPECT_EQ(left, step.left);
    }
}

TEST(Cli, Capacity) {
    EXPECT_EQ(cli({"capacity", "--size", "5x4", "-x", "3", "-y", "1"}).out, "12\n");
    EXPECT_EQ(cli({"capacity", "--size", "269x253"}).out, "32767\n");
    EXPECT_EQ(cli({"capacity", "--size", "5x4", "-x", "0", "-y", "0", "--json"}).out,
              "{\"width\":5,\"height\":4,\"x\":0,\"y\":0,\"room\":20,\"capacity\":20}\n");
    const TempFolder dir;
    ASSERT_EQ(
        cli({"hide", "--text", "x", "--size", "10x3", "-y", "0", "--out", dir / "p.bmp"}).status,
        0);
    EXPECT_EQ(cli({"capacity", dir / "p.bmp", "-x", "9", "-y", "2"}).out, "1\n");
    EXPECT_EQ(cli({"capacity", dir / "p.bmp", "-x", "10", "-y", "2"}).status, 1);
}

TEST(Cli, InspectShowsTheRawPixel) {
    const TempFolder dir;
    ASSERT_EQ(cli({"hide", "--text", "H", "--adapt", "--out", dir / "p.bmp"}).status, 0);
    const CliRun hidden = cli({"inspect", dir / "p.bmp", "0", "0", "--json"});
    EXPECT_EQ(hidden.status, 0);
    EXPECT_NE(hidden.out.find("\"green\":72,"), std::string::npos) << hidden.out;
    EXPECT_NE(hidden.out.find("\"character\":\"H\"}"), std::string::npos) << hidden.out;

    EXPECT_EQ(cli({"inspect", dir / "p.bmp", "120", "45", "--json"}).out,
              "{\"x\":120,\"y\":45,\"colour\":16777215,\"red\":255,\"green\":255,\"blue\":255,"
              "\"character\":\"ÿ\"}\n");
    EXPECT_EQ(cli({"inspect", dir / "p.bmp", "120", "45"}).out,
              "16777215 - 120x45\nRöd: 255\nGrön: 255\nBlå: 255\nTecken: ÿ\n");
}

// The options a text names: words with one or two leading dashes after a space, a
// bracket, a parenthesis, a bar or a comma.
std::set<std::string> optionsIn(const std::string& text) {
    static const std::regex option(R"((?:^|[\s\[(|,])(--?[a-z][a-z-]*))");
    std::set<std::string> found;
    for (auto match = std::sregex_iterator(text.begin(), text.end(), option);
         match != std::sregex_iterator(); ++match) {
        found.insert((*match)[1]);
    }
    return found;
}

TEST(Cli, VersionAndHelp) {
    EXPECT_EQ(cli({"--version"}).out, "Kvistra 1.0.0\n");
    for (const char* command : {"hide", "reveal", "capacity", "inspect"}) {
        SCOPED_TRACE(command);
        const CliRun help = cli({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("Användning: kvistra-cli"), std::string::npos);
        const CliRun shortHelp = cli({command, "-h"});
        EXPECT_EQ(shortHelp.status, 0);
        EXPECT_EQ(shortHelp.out, help.out);

        // Every option of the synopsis has a line of its own that describes it.
        const std::size_t synopsisEnd = help.out.find("\n\n");
        std::string described;
        std::istringstream lines(help.out.substr(synopsisEnd));
        for (std::string line; std::getline(lines, line);) {
            if (line.starts_with("  -")) {
                described += line.substr(0, line.find("   ", 2)) + '\n';
            }
        }
        for (const std::string& option : optionsIn(help.out.substr(0, synopsisEnd))) {
            EXPECT_TRUE(optionsIn(described).contains(option)) << option;
        }
    }
    // One message source is required, as the synopsis shows.
    EXPECT_NE(
        cli({"hide", "--help"}).out.find("(--text TEXT | --text-file FIL | --message-file FIL)"),
        std::string::npos);
}

} // namespace
} // namespace kvistra::cli
