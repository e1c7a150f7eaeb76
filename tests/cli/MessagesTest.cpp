// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliRun.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace kvistra::cli {
namespace {

using test::ChildRun;
using test::cli;
using test::CliRun;
using test::readBytes;
using test::runProgram;
using test::TempFolder;
using test::writeBytes;

// A full disk, as the program meets it: writes past a size fail. Such a write raises
// SIGXFSZ, whether the shell ignores it or not: the program takes it as the failed
// write it is, and leaves no temporary file.
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
        for (const char* limit : {"trap '' XFSZ && ulimit -f 40", "ulimit -f 40"}) {
            SCOPED_TRACE(c.name);
            SCOPED_TRACE(limit);
            const TempFolder dir;
            const std::string picture = dir / c.picture;
            writeBytes(picture, "old picture");
            std::vector<std::string> args = {"hide",    "--text", "Hemligt", "--size",
                                             "300x300", "--out",  picture,   "-x",
                                             "0",       "-y",     "0"};
            if (c.adapt) {
                args.push_back("--adapt");
                args[4] = "200x1000"; // a message of 7 pixels; the rest of the canvas stays white
            }
            const ChildRun result = runProgram(limit, args, dir);
            EXPECT_EQ(result.status, 1);
            EXPECT_EQ(result.err, "Filen \"" + picture +
                                      "\" kunde inte sparas: filen blir för stor.\n"
                                      "En befintlig fil med samma namn har lämnats orörd.\n");
            EXPECT_EQ(readBytes(picture), "old picture");
            EXPECT_EQ(dir.entries(),
                      (std::vector<std::string>{"child.err", "child.out", c.picture}));
        }
    }
}

// A disk that fills up: the picture's rows take the room, and the key file's few
// bytes fail too. The picture is what did not fit. A small file system of its own
// is mounted in a namespace of the test's own, where the system allows that.
TEST(CliMessages, AFullDiskNamesThePictureThatDidNotFit) {
    if (std::system("unshare -rm true 2>/dev/null") != 0) {
        GTEST_SKIP() << "no namespace of its own can be made here";
    }
    for (const char* name : {"p.bmp", "p.png"}) {
        SCOPED_TRACE(name);
        const TempFolder disk;
        const TempFolder dir;
        const std::string command =
            "unshare -rm sh -c 'mount -t tmpfs -o size=64k none \"$0\" && cd \"$0\" && exec "
            "\"$@\"' '" +
            disk.path().string() + "' '" KVISTRA_CLI "' hide --text Hemligt --size 400x400 --out " +
            name + " --key p.key 2>'" + (dir / "err") + "'";
        const int wait = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(wait) && WEXITSTATUS(wait) == 1) << wait;
        EXPECT_EQ(readBytes(dir / "err"),
                  std::string("Filen \"") + name +
                      "\" kunde inte sparas: disken är full.\n"
                      "En befintlig fil med samma namn har lämnats orörd.\n");
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
