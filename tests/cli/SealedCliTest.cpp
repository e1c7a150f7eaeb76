// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliRun.h"
#include "cli/Passphrase.h"
#include "cli/TerminalReport.h"
#include "core/CharacterSet.h"
#include "core/SealedMessage.h"
#include "io/PictureFile.h"
#include "words/MessageCatalogue.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace kvistra::cli {
namespace {

using test::CliRun;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

// Answers the prompts in turn, and notes what was asked.
class ScriptedPassphrases final : public PassphrasePrompt {
public:
    explicit ScriptedPassphrases(std::vector<std::string> answers)
        : answers_(std::move(answers)) {}

    Result<SecretBytes> ask(const std::string& prompt) override {
        prompts.push_back(prompt);
        if (next_ == answers_.size()) {
            return Message{MessageId::NoPassphraseTerminal, {}};
        }
        SecretBytes answer(kLongestPassphrase);
        answer.append(answers_[next_++]);
        return answer;
    }

    std::vector<std::string> prompts;

private:
    std::vector<std::string> answers_;
    std::size_t next_ = 0;
};

// The command line in this process, with the quick key setting (unless told) and a
// scripted prompt.
CliRun sealedCli(const std::vector<std::string>& args, PassphrasePrompt* prompt = nullptr,
                 SealSetting setting = SealSetting::Quick) {
    std::ostringstream out;
    std::ostringstream err;
    Console console{out, err, false, false, prompt, setting};
    const int status = run(args, console);
    return {status, out.str(), err.str()};
}

std::string messageText(MessageId id, std::vector<std::string> args = {}) {
    return terminalText({id, std::move(args)}) + "\n";
}

std::string bytesCycling(std::int64_t length) {
    std::string bytes;
    for (std::int64_t k = 0; k < length; ++k) {
        bytes += static_cast<char>(k * 37 % 256);
    }
    return bytes;
}

std::vector<std::string> keyLines(const std::string& path) {
    std::istringstream lines(test::keyValuesIn(path));
    std::vector<std::string> values;
    for (std::string line; std::getline(lines, line);) {
        values.push_back(line.substr(0, line.size() - 1)); // without the CR
    }
    return values;
}

TEST(SealedCli, RoundTripsInBothModesAndFormatsFromOneCharacterToTheMostThatFits) {
    const struct {
        const char* picture;
        bool adapt;
    } modes[] = {{"p.bmp", false}, {"p.png", false}, {"p.bmp", true}, {"p.png", true}};
    for (const auto& mode : modes) {
        // 31 x 17 from the key (30, 2), or the whole canvas in adapt mode.
        const std::string x = mode.adapt ? "0" : "30";
        const std::string y = mode.adapt ? "0" : "2";
        const CliRun capacity =
            sealedCli({"capacity", "--size", "31x17", "-x", x, "-y", y, "--sealed"});
        ASSERT_EQ(capacity.status, 0);
        const std::int64_t most = std::stoll(capacity.out);
        EXPECT_EQ(most, sealedCapacity(mode.adapt ? 31 * 17 : 1 + 14 * 31));

        for (const std::int64_t length : {std::int64_t{1}, most, most + 1}) {
            SCOPED_TRACE(std::string(mode.picture) + (mode.adapt ? ", adapt, " : ", key, ") +
                         std::to_string(length));
            const TempFolder dir;
            const std::string message = bytesCycling(length);
            writeBytes(dir / "message", message);
            writeBytes(dir / "phrase", "lösen ord\n");
            std::vector<std::string> hide = {"hide",
                                             "--message-file",
                                             dir / "message",
                                             "--out",
                                             dir / mode.picture,
                                             "--size",
                                             "31x17",
                                             "-x",
                                             x,
                                             "-y",
                                             y,
                                             "--key",
                                             dir / "key.txt",
                                             "--passphrase-file",
                                             dir / "phrase"};
            if (mode.adapt) {
                hide.push_back("--adapt");
            }
            // Read back as the sealed characters they are.
            hide.push_back("--verify");
            const CliRun hidden = sealedCli(hide);
            if (length > most) {
                EXPECT_EQ(hidden.status, 1);
                EXPECT_EQ(hidden.err, messageText(MessageId::SealedMessageDoesNotFit,
                                                  {std::to_string(length), std::to_string(most)}));
                EXPECT_EQ(dir.entries(), (std::vector<std::string>{"message", "phrase"}));
                continue;
            }
            ASSERT_EQ(hidden.status, 0) << hidden.err;
            EXPECT_EQ(keyLines(dir / "key.txt"),
                      (std::vector<std::string>{y, x, "0", std::to_string(sealedLength(length))}));

            const CliRun revealed =
                sealedCli({"reveal", dir / mode.picture, "--key", dir / "key.txt",
                           "--passphrase-file", dir / "phrase", "--out", dir / "back"});
            ASSERT_EQ(revealed.status, 0) << revealed.err;
            EXPECT_EQ(readBytes(dir / "back"), message);
        }
    }
}

// The green value of the k-th character of a run from (x, y).
void replaceGreen(const std::string& path, int x, int y, int k, int (*change)(int)) {
    Result<Image> image = loadPicture(path);
    ASSERT_TRUE(image);
    const int position = y * image->width() + x + k;
    const int px = position % image->width();
    const int py = position / image->width();
    const Colour colour = image->pixel(px, py);
    image->setPixel(px, py, makeColour(redOf(colour), change(greenOf(colour)), blueOf(colour)));
    ASSERT_TRUE(savePicture(path, *image));
}

int lowBitFlipped(int green) {
    return green ^ 1;
}

// Another character of the set: the bytes still decode, and the seal finds the change.
int neighbourInTheSet(int green) {
    for (int index = 1; index <= kCharacterSetSize; ++index) {
        if (characterAt(index) == green) {
            return characterAt(index == kCharacterSetSize ? index - 1 : index + 1);
        }
    }
    return green;
}

TEST(SealedCli, WrongPassphraseKeyPixelOrLengthIsOneMessageAndWritesNothing) {
    const TempFolder dir;
    writeBytes(dir / "phrase", "rätt\n");
    writeBytes(dir / "wrong", "rätt \n");
    ASSERT_EQ(sealedCli({"hide", "--text", "Möt mig vid bron", "--size", "40x30", "-x", "12", "-y",
                         "7", "--out", dir / "p.bmp", "--key", dir / "key.txt", "--passphrase-file",
                         dir / "phrase"})
                  .status,
              0);
    const std::string length = keyLines(dir / "key.txt")[3];
    const int run = std::stoi(length);
    const std::string original = readBytes(dir / "p.bmp");

    const struct {
        const char* name;
        std::vector<std::string> keys; // x, y, length
        const char* phrase;
        int changedCharacter; // -1: none
        int (*change)(int);
    } cases[] = {
        {"right key and passphrase", {"12", "7", length}, "phrase", -1, nullptr},
        {"wrong passphrase", {"12", "7", length}, "wrong", -1, nullptr},
        {"wrong x-key", {"13", "7", length}, "phrase", -1, nullptr},
        {"wrong y-key", {"12", "6", length}, "phrase", -1, nullptr},
        {"reading length cut by one", {"12", "7", std::to_string(run - 1)}, "phrase", -1, nullptr},
        {"reading length cut short", {"12", "7", "40"}, "phrase", -1, nullptr},
        {"reading length one more", {"12", "7", std::to_string(run + 1)}, "phrase", -1, nullptr},
        {"first green byte flipped", {"12", "7", length}, "phrase", 0, lowBitFlipped},
        {"a green byte in the middle flipped",
         {"12", "7", length},
         "phrase",
         run / 2,
         lowBitFlipped},
        {"last green byte flipped", {"12", "7", length}, "phrase", run - 1, lowBitFlipped},
        {"a green byte another character",
         {"12", "7", length},
         "phrase",
         run / 3,
         neighbourInTheSet},
        {"the last character another one",
         {"12", "7", length},
         "phrase",
         run - 1,
         neighbourInTheSet},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(dir / "p.bmp", original);
        if (c.change) {
            replaceGreen(dir / "p.bmp", 12, 7, c.changedCharacter, c.change);
        }
        std::filesystem::remove(dir / "back");
        for (const bool toFile : {false, true}) {
            std::vector<std::string> args = {"reveal",
                                             dir / "p.bmp",
                                             "-x",
                                             c.keys[0],
                                             "-y",
                                             c.keys[1],
                                             "--shift",
                                             "0",
                                             "--length",
                                             c.keys[2],
                                             "--passphrase-file",
                                             dir / c.phrase};
            if (toFile) {
                args.insert(args.end(), {"--out", dir / "back"});
            }
            const CliRun revealed = sealedCli(args);
            if (c.changedCharacter < 0 && c.keys[0] == "12" && c.keys[1] == "7" &&
                c.keys[2] == length && std::string(c.phrase) == "phrase") {
                EXPECT_EQ(revealed.status, 0) << revealed.err;
                if (toFile) {
                    EXPECT_EQ(readBytes(dir / "back"), "M\xF6t mig vid bron");
                } else {
                    EXPECT_EQ(revealed.out, "Möt mig vid bron\n");
                }
                continue;
            }
            EXPECT_EQ(revealed.status, 1);
            EXPECT_EQ(revealed.err, messageText(MessageId::SealedMessageRefused));
            EXPECT_EQ(revealed.out, "");
            EXPECT_FALSE(std::filesystem::exists(dir / "back"));
        }
    }
}

TEST(SealedCli, TheTerminalIsAskedTwiceWhenHidingAndOnceWhenRevealing) {
    const TempFolder dir;
    const std::vector<std::string> hide = {"hide",        "--text",          "Hej",
                                           "--out",       dir / "p.bmp",     "--key",
                                           dir / "k.txt", "--ask-passphrase"};
    const struct {
        const char* name;
        std::vector<std::string> answers;
        std::string err;
    } refused[] = {
        {"the two differ", {"fras", "frax"}, messageText(MessageId::PassphrasesDiffer)},
        {"empty", {"", ""}, messageText(MessageId::PassphraseEmpty)},
        {"no terminal", {}, messageText(MessageId::NoPassphraseTerminal)},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        ScriptedPassphrases prompt(c.answers);
        const CliRun hidden = sealedCli(hide, &prompt);
        EXPECT_EQ(hidden.status, 1);
        EXPECT_EQ(hidden.err, c.err);
        EXPECT_TRUE(dir.entries().empty());
    }

    ScriptedPassphrases twice({"fras", "fras"});
    ASSERT_EQ(sealedCli(hide, &twice).status, 0);
    EXPECT_EQ(twice.prompts, (std::vector<std::string>{"Lösenfras: ", "Lösenfras igen: "}));
    ScriptedPassphrases once({"fras", "unused"});
    const CliRun revealed =
        sealedCli({"reveal", dir / "p.bmp", "--key", dir / "k.txt", "--ask-passphrase"}, &once);
    EXPECT_EQ(revealed.status, 0) << revealed.err;
    EXPECT_EQ(revealed.out, "Hej\n");
    EXPECT_EQ(once.prompts, (std::vector<std::string>{"Lösenfras: "}));
}

// A core dump of a run holding a passphrase or a message to be sealed would give
// both away: such a run is made undumpable before it reads either. Each case runs
// in a child, which starts dumpable and reports whether it still is.
TEST(SealedCli, ARunWithAPassphraseLeavesNoCoreDump) {
    const TempFolder dir;
    writeBytes(dir / "fras.txt", std::string("fras\n"));
    ASSERT_EQ(
        sealedCli({"hide", "--text", "Hej", "--out", dir / "p.bmp", "--key", dir / "k.txt"}).status,
        0);
    const struct {
        const char* name;
        std::vector<std::string> args;
        int dumpable;
    } cases[] = {
        {"hide sealed",
         {"hide", "--text", "Hej", "--out", dir / "s.bmp", "--key", dir / "s.txt",
          "--passphrase-file", dir / "fras.txt"},
         0},
        {"reveal sealed",
         {"reveal", dir / "s.bmp", "--key", dir / "s.txt", "--passphrase-file", dir / "fras.txt"},
         0},
        {"reveal plain", {"reveal", dir / "p.bmp", "--key", dir / "k.txt"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::prctl(PR_SET_DUMPABLE, 1, 0, 0, 0);
            const bool done = sealedCli(c.args).status == 0;
            ::_exit(done ? ::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0) : 2);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.dumpable);
    }
}

TEST(SealedCli, APassphraseFileGivesItsFirstLine) {
    const TempFolder dir;
    ScriptedPassphrases asked({"fras", "fras"});
    ASSERT_EQ(sealedCli({"hide", "--text", "Hej", "--out", dir / "p.bmp", "--key", dir / "k.txt",
                         "--ask-passphrase"},
                        &asked)
                  .status,
              0);
    const struct {
        const char* name;
        std::string file;
        std::string err; // empty: opens
    } cases[] = {
        {"LF", "fras\nnästa rad", ""},
        {"CR LF", "fras\r\nnästa rad", ""},
        {"CR", "fras\rnästa rad", ""},
        {"no line end", "fras", ""},
        {"a longer line", "fras och mer\n", messageText(MessageId::SealedMessageRefused)},
        {"empty", "", messageText(MessageId::PassphraseEmpty)},
        {"an empty first line", "\nfras\n", messageText(MessageId::PassphraseEmpty)},
        {"the longest", std::string(kLongestPassphrase, 'a') + "\n",
         messageText(MessageId::SealedMessageRefused)},
        {"too long", std::string(kLongestPassphrase + 1, 'a'),
         messageText(MessageId::PassphraseTooLong, {std::to_string(kLongestPassphrase)})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(dir / "phrase", c.file);
        const CliRun revealed = sealedCli(
            {"reveal", dir / "p.bmp", "--key", dir / "k.txt", "--passphrase-file", dir / "phrase"});
        EXPECT_EQ(revealed.status, c.err.empty() ? 0 : 1);
        EXPECT_EQ(revealed.err, c.err);
        EXPECT_EQ(revealed.out, c.err.empty() ? "Hej\n" : "");
    }
    const CliRun missing = sealedCli(
        {"reveal", dir / "p.bmp", "--key", dir / "k.txt", "--passphrase-file", dir / "none"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Filen \"" + (dir / "none") +
                               "\" kunde inte öppnas: filen eller mappen finns inte.\n");
    // A source without a line end is read only as far as a passphrase may reach.
    const CliRun endless = sealedCli(
        {"hide", "--text", "Hej", "--out", dir / "z.bmp", "--passphrase-file", "/dev/zero"});
    EXPECT_EQ(endless.status, 1);
    EXPECT_EQ(endless.err,
              messageText(MessageId::PassphraseTooLong, {std::to_string(kLongestPassphrase)}));
}

TEST(SealedCli, UsageErrorsAndCapacity) {
    const TempFolder dir;
    writeBytes(dir / "phrase", "fras");
    const std::vector<std::string> usage[] = {
        {"hide", "--text", "x", "--out", dir / "p.bmp", "--passphrase-file", dir / "phrase",
         "--ask-passphrase"},
        {"hide", "--text", "x", "--out", dir / "p.bmp", "--passphrase-file", dir / "phrase",
         "--shift", "3"},
        {"hide", "--text", "x", "--out", dir / "p.bmp", "--passphrase-file", dir / "p.bmp"},
        {"reveal", dir / "p.bmp", "--key", dir / "k", "--passphrase-file", dir / "phrase",
         "--ask-passphrase"},
        {"reveal", dir / "p.bmp", "--key", dir / "k", "--out", dir / "phrase", "--passphrase-file",
         dir / "phrase"},
    };
    for (const std::vector<std::string>& args : usage) {
        SCOPED_TRACE(args[0] + " " + args[args.size() - 2]);
        const CliRun result = sealedCli(args);
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_EQ(readBytes(dir / "phrase"), "fras");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "p.bmp"));
    // Shift 0 is the shift a sealed message has anyway.
    EXPECT_EQ(sealedCli({"hide", "--text", "x", "--out", dir / "p.bmp", "--passphrase-file",
                         dir / "phrase", "--shift", "0"})
                  .status,
              0);

    EXPECT_EQ(sealedCli({"capacity", "--size", "269x253", "--sealed"}).out,
              std::to_string(sealedCapacity(32767)) + "\n");
    EXPECT_EQ(sealedCli({"capacity", "--size", "5x4", "-x", "0", "-y", "0", "--sealed"}).out,
              "0\n");
    EXPECT_EQ(
        sealedCli({"capacity", "--size", "10x10", "-x", "0", "-y", "0", "--sealed", "--json"}).out,
        "{\"width\":10,\"height\":10,\"x\":0,\"y\":0,\"room\":100,\"capacity\":" +
            std::to_string(sealedCapacity(100)) + ",\"sealed\":true}\n");
}

// A key outside the picture gets the refusal an open message gets, not a room of none.
TEST(SealedCli, KeyOutsideThePictureIsRefusedAsSuch) {
    const TempFolder dir;
    writeBytes(dir / "phrase", "fras");
    for (const bool sealed : {false, true}) {
        SCOPED_TRACE(sealed);
        std::vector<std::string> args = {"hide",        "--text", "x",     "--out",
                                         dir / "p.bmp", "--size", "31x17", "-x",
                                         "31",          "-y",     "0"};
        if (sealed) {
            args.insert(args.end(), {"--passphrase-file", dir / "phrase"});
        }
        const CliRun hidden = sealedCli(args);
        EXPECT_EQ(hidden.status, 1);
        EXPECT_EQ(hidden.err, messageText(MessageId::KeyOutsideGrid, {"31", "0", "31", "17"}));
        EXPECT_FALSE(std::filesystem::exists(dir / "p.bmp"));
    }
}

// The real program at the real key setting. The passphrase comes through a named
// pipe, which holds the program while its argument list is read.
TEST(SealedCli, PassphraseStaysOutOfTheArgumentListAndEveryFileWritten) {
    const TempFolder dir;
    const std::string passphrase = "kvistra-lösen-4711";
    ASSERT_EQ(::mkfifo((dir / "phrase").c_str(), 0600), 0);
    const pid_t child =
        test::startProgram({"hide", "--text", "Möt mig vid bron", "--out", dir / "p.png", "--key",
                            dir / "k.txt", "--passphrase-file", dir / "phrase"});
    ASSERT_GT(child, 0);
    // Opening the pipe waits until the program opens it to read.
    const int writer = ::open((dir / "phrase").c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    const std::string commandLine = readBytes("/proc/" + std::to_string(child) + "/cmdline");
    EXPECT_NE(commandLine.find("--passphrase-file"), std::string::npos);
    EXPECT_EQ(commandLine.find(passphrase), std::string::npos);
    const std::string line = passphrase + "\n";
    EXPECT_EQ(::write(writer, line.data(), line.size()), static_cast<ssize_t>(line.size()));
    ::close(writer);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    writeBytes(dir / "phrase.txt", line);
    const test::ChildRun revealed =
        test::runProgram("true",
                         {"reveal", dir / "p.png", "--key", dir / "k.txt", "--passphrase-file",
                          dir / "phrase.txt", "--out", dir / "back.txt"},
                         dir);
    EXPECT_EQ(revealed.status, 0) << revealed.err;
    EXPECT_EQ(readBytes(dir / "back.txt"), "M\xF6t mig vid bron");
    for (const char* written : {"p.png", "k.txt", "back.txt", "child.out", "child.err"}) {
        SCOPED_TRACE(written);
        EXPECT_EQ(readBytes(dir / written).find("kvistra-l"), std::string::npos);
    }
}

struct TerminalRun {
    std::string shown; // what the terminal showed
    int status;        // as waitpid gives it
    termios after;     // the terminal's settings once the program ended
};

// The program on a terminal of its own, with what is typed at each prompt.
TerminalRun onATerminal(const std::vector<std::string>& args,
                        const std::vector<std::string>& typed) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        ADD_FAILURE() << "no terminal to be had";
        return {};
    }
    const std::string slaveName = ::ptsname(master);
    const pid_t child = ::fork();
    if (child == 0) {
        // The terminal becomes the program's controlling terminal, as in a shell.
        ::setsid();
        const int slave = ::open(slaveName.c_str(), O_RDWR);
        ::dup2(slave, STDIN_FILENO);
        std::vector<char*> argv{const_cast<char*>(KVISTRA_CLI)};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(KVISTRA_CLI, argv.data());
        ::_exit(127);
    }
    // Held open, so that the terminal outlives the program and can be looked at after.
    const int slave = ::open(slaveName.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    std::string shown;
    const auto readUntil = [&](const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (shown.find(text) == std::string::npos &&
               std::chrono::steady_clock::now() < deadline) {
            char buffer[256];
            const ssize_t count = ::read(master, buffer, sizeof buffer);
            if (count <= 0) {
                break;
            }
            shown.append(buffer, static_cast<std::size_t>(count));
        }
    };
    std::size_t prompts = 0;
    for (const std::string& line : typed) {
        readUntil(prompts == 0 ? "Lösenfras: " : "Lösenfras igen: ");
        ++prompts;
        EXPECT_EQ(::write(master, line.data(), line.size()), static_cast<ssize_t>(line.size()));
    }
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // What was shown after the last answer.
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    for (char buffer[256];;) {
        const ssize_t count = ::read(master, buffer, sizeof buffer);
        if (count <= 0) {
            break;
        }
        shown.append(buffer, static_cast<std::size_t>(count));
    }
    termios after{};
    ::tcgetattr(slave, &after);
    ::close(slave);
    ::close(master);
    return {shown, status, after};
}

TEST(SealedCli, TheTerminalShowsThePromptsButNotTheTyping) {
    const TempFolder dir;
    const std::vector<std::string> hide = {"hide",        "--text",          "Hej",
                                           "--out",       dir / "p.bmp",     "--key",
                                           dir / "k.txt", "--ask-passphrase"};
    const TerminalRun hidden = onATerminal(hide, {"tyst fras\n", "tyst fras\n"});
    EXPECT_TRUE(WIFEXITED(hidden.status) && WEXITSTATUS(hidden.status) == 0) << hidden.shown;
    EXPECT_NE(hidden.shown.find("Lösenfras: "), std::string::npos) << hidden.shown;
    EXPECT_NE(hidden.shown.find("Lösenfras igen: "), std::string::npos) << hidden.shown;
    EXPECT_EQ(hidden.shown.find("tyst"), std::string::npos) << hidden.shown;
    EXPECT_TRUE(hidden.after.c_lflag & ECHO) << "the echo is back";

    writeBytes(dir / "phrase", "tyst fras\n");
    // The program itself sealed with the standard setting.
    const CliRun revealed = sealedCli(
        {"reveal", dir / "p.bmp", "--key", dir / "k.txt", "--passphrase-file", dir / "phrase"},
        nullptr, SealSetting::Standard);
    EXPECT_EQ(revealed.out, "Hej\n") << revealed.err;

    // Ctrl-C at the prompt ends the program as ever, and the echo comes back.
    const std::vector<std::string> before = dir.entries();
    const TerminalRun interrupted = onATerminal(hide, {"\x03"});
    EXPECT_TRUE(WIFSIGNALED(interrupted.status) && WTERMSIG(interrupted.status) == SIGINT)
        << interrupted.status << interrupted.shown;
    EXPECT_TRUE(interrupted.after.c_lflag & ECHO) << "the echo is back";
    EXPECT_EQ(dir.entries(), before);
}

} // namespace
} // namespace kvistra::cli
