// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliRun.h"

#include <gtest/gtest.h>

namespace kvistra::cli {
namespace {

using test::ChildRun;
using test::cli;
using test::CliRun;
using test::readBytes;
using test::runProgram;
using test::TempFolder;
using test::writeBytes;

// A full disk, as the program meets it: writes past a size fail. The shell ignores
// the signal such a write raises, so the program sees the failed write itself.
TEST(CliMessages, AFailedWriteNamesTheFileInSwedishAndNothingElse) {
    const struct {
        const char* name;
        const char* picture;
        bool adapt;
    } cases[] = {
        {"bitmap written row by row", "p.bmp", false},
        {"bitmap held whole", "p.bmp", true},
        {"PNG", "p.png", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder dir;
        const std::string picture = dir / c.picture;
        writeBytes(picture, "old picture");
        std::vector<std::string> args = {"hide",  "--text", "Hemligt", "--size", "300x300", "--out",
                                         picture, "-x",     "0",       "-y",     "0"};
        if (c.adapt) {
            args.push_back("--adapt");
            args[4] = "200x1000"; // a message of 7 pixels; the rest of the canvas stays white
        }
        const ChildRun result = runProgram("trap '' XFSZ && ulimit -f 40", args, dir);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "Filen \"" + picture +
                                  "\" kunde inte sparas: filen blir för stor.\n"
                                  "En befintlig fil med samma namn har lämnats orörd.\n");
        EXPECT_EQ(readBytes(picture), "old picture");
    }
}

TEST(CliMessages, SystemErrorsAreInSwedish) {
    const TempFolder dir;
    std::filesystem::create_directory(dir / "folder");
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string says;
    } cases[] = {
        {"missing picture",
         {"capacity", dir / "none.bmp"},
         "Filen \"" + (dir / "none.bmp") +
             "\" kunde inte öppnas: filen eller mappen finns inte.\n"},
        {"a folder as the picture",
         {"inspect", dir / "folder", "0", "0"},
         "Filen \"" + (dir / "folder") + "\" kunde inte öppnas: det är en mapp.\n"},
        {"a missing folder for the output",
         {"hide", "--text", "x", "--out", dir / "none/p.bmp"},
         "Filen \"" + (dir / "none/p.bmp") +
             "\" kunde inte sparas: filen eller mappen finns inte.\n"
             "En befintlig fil med samma namn har lämnats orörd.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun result = cli(c.args);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, c.says);
    }
}

TEST(CliMessages, AdaptModeTellsItFinishedOnlyOnceThePictureIsSaved) {
    const TempFolder dir;
    const CliRun failed =
        cli({"hide", "--text", "A", "--adapt", "--out", dir / "no/such/folder/p.bmp"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err.find("slutförd"), std::string::npos) << failed.err;

    const CliRun saved = cli({"hide", "--text", "A", "--adapt", "--out", dir / "p.bmp"});
    EXPECT_EQ(saved.status, 0);
    EXPECT_EQ(saved.err, "Krypteringsprocess slutförd!\n");
}

// Control characters from a picture would act on a terminal (an escape sequence can
// rewrite the screen); a pipe or file gets the text as it is.
TEST(CliMessages, RevealShowsControlCharactersAsPicturesOnATerminal) {
    const TempFolder dir;
    writeBytes(dir / "message", std::string("a\x1B[2Jb\tc\rd\x7F|e\x9D"
                                            "f\r\ng",
                                            18));
    ASSERT_EQ(
        cli({"hide", "--message-file", dir / "message", "--out", dir / "p.bmp", "--key", dir / "k"})
            .status,
        0);
    const struct {
        const char* name;
        bool terminal;
        bool lines;
        std::string out;
    } cases[] = {
        {"terminal", true, false, "a␛[2Jb\tc␍d␡|e\uFFFDf\ng\n"},
        {"terminal, lines", true, true, "a␛[2Jb\tc␍d␡\ne\uFFFDf\ng\n"},
        {"pipe", false, false, "a\x1B[2Jb\tc\rd\x7F|e\u009Df\r\ng\n"},
        {"pipe, lines", false, true, "a\x1B[2Jb\tc\rd\x7F\ne\u009Df\r\ng\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"reveal", dir / "p.bmp", "--key", dir / "k"};
        if (c.lines) {
            args.push_back("--lines");
        }
        const CliRun result = cli(args, c.terminal);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, c.out);
    }
}

} // namespace
} // namespace kvistra::cli
