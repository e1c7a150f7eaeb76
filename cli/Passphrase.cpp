// SPDX-License-Identifier: GPL-3.0-or-later
#include "Passphrase.h"

#include "Commands.h"
#include "core/SealedMessage.h"
#include "io/FileDescriptor.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sodium.h>
#include <termios.h>
#include <unistd.h>

namespace kvistra::cli {

namespace {

constexpr const char* kPrompt = "Lösenfras: ";
constexpr const char* kPromptAgain = "Lösenfras igen: ";

enum class LineEnd { Found, EndOfFile, Failed };

// Reads the first line into `line` through a buffer that is wiped after. A line
// longer than a passphrase may be fills `line` to its capacity, one byte past the
// longest, and ends the reading there, so that an endless source without a line
// end (a device, say) cannot hold the program.
LineEnd readFirstLine(int fd, SecretBytes& line) {
    std::array<char, 64> chunk{};
    LineEnd end = LineEnd::EndOfFile;
    for (;;) {
        const ssize_t count = ::read(fd, chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            end = LineEnd::Failed;
            break;
        }
        if (count == 0) {
            break;
        }
        std::string_view bytes(chunk.data(), static_cast<std::size_t>(count));
        const std::size_t lineEnd = bytes.find_first_of("\r\n");
        const bool found = lineEnd != std::string_view::npos;
        bytes = bytes.substr(0, found ? lineEnd : bytes.size());
        if (!line.append(bytes)) {
            line.append(bytes.substr(0, line.capacity() - line.size()));
            break;
        }
        if (found) {
            end = LineEnd::Found;
            break;
        }
    }
    sodium_memzero(chunk.data(), chunk.size());
    return end;
}

// Room for the longest passphrase and one byte more, which tells a longer line.
SecretBytes lineBuffer() {
    return SecretBytes(kLongestPassphrase + 1);
}

Result<SecretBytes> checked(SecretBytes passphrase) {
    if (const Status usable = checkPassphrase(passphrase); !usable) {
        return usable.problem();
    }
    return passphrase;
}

// The terminal as it was before the echo went, for a signal handler to put back:
// it can reach nothing but a program-wide value.
struct SavedTerminal {
    int fd = -1;
    termios settings{};
    struct sigaction previous[4]{};
};
SavedTerminal savedTerminal;
constexpr int kEndingSignals[4] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Ctrl-C at the prompt must not leave the terminal without its echo: the settings
// go back, then the signal goes on to whatever handled it before.
void restoreAndPassOn(int signal) {
    ::tcsetattr(savedTerminal.fd, TCSAFLUSH, &savedTerminal.settings);
    for (int i = 0; i < 4; ++i) {
        ::sigaction(kEndingSignals[i], &savedTerminal.previous[i], nullptr);
    }
    ::raise(signal); // pending until this handler returns
}

// Puts the terminal's echo back however the reading ends.
class EchoOff {
public:
    explicit EchoOff(int fd) {
        if (::tcgetattr(fd, &savedTerminal.settings) != 0) {
            return;
        }
        savedTerminal.fd = fd;
        struct sigaction action {};
        action.sa_handler = restoreAndPassOn;
        sigemptyset(&action.sa_mask);
        for (int i = 0; i < 4; ++i) {
            ::sigaction(kEndingSignals[i], nullptr, &savedTerminal.previous[i]);
            // A signal the caller chose to ignore stays ignored.
            if (savedTerminal.previous[i].sa_handler != SIG_IGN) {
                ::sigaction(kEndingSignals[i], &action, nullptr);
            }
        }
        termios quiet = savedTerminal.settings;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        active_ = ::tcsetattr(fd, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff() {
        if (savedTerminal.fd < 0) {
            return;
        }
        if (active_) {
            ::tcsetattr(savedTerminal.fd, TCSAFLUSH, &savedTerminal.settings);
        }
        for (int i = 0; i < 4; ++i) {
            ::sigaction(kEndingSignals[i], &savedTerminal.previous[i], nullptr);
        }
        savedTerminal.fd = -1;
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    bool active_ = false;
};

void writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

} // namespace

Result<SecretBytes> TerminalPassphrasePrompt::ask(const std::string& prompt) {
    const FileDescriptor terminal(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!terminal.valid()) {
        return Message{MessageId::NoPassphraseTerminal, {}};
    }
    SecretBytes passphrase = lineBuffer();
    LineEnd end = LineEnd::Failed;
    {
        // The echo goes before the prompt shows, so that nothing typed after it is seen.
        const EchoOff quiet(terminal.get());
        writeAll(terminal.get(), prompt);
        end = readFirstLine(terminal.get(), passphrase);
    }
    // The line end typed was not shown either.
    writeAll(terminal.get(), "\n");
    if (end == LineEnd::Failed) {
        return Message{MessageId::NoPassphraseTerminal, {}};
    }
    return checked(std::move(passphrase));
}

Result<SecretBytes> passphraseFromFile(const std::string& path) {
    const Result<FileDescriptor> file = openForReading(path);
    if (!file) {
        return file.problem();
    }
    SecretBytes passphrase = lineBuffer();
    if (readFirstLine(file->get(), passphrase) == LineEnd::Failed) {
        return Message{MessageId::CannotOpenFile, {path}, errno};
    }
    return checked(std::move(passphrase));
}

Result<std::optional<SecretBytes>> passphraseFromOptions(const Arguments& arguments,
                                                         Console& console, bool confirm) {
    using Answer = Result<std::optional<SecretBytes>>;
    if (const auto path = arguments.value("--passphrase-file")) {
        Result<SecretBytes> read = passphraseFromFile(*path);
        if (!read) {
            return read.problem();
        }
        return Answer(std::optional<SecretBytes>(std::move(*read)));
    }
    if (!arguments.has("--ask-passphrase")) {
        return Answer(std::optional<SecretBytes>());
    }
    TerminalPassphrasePrompt terminal;
    PassphrasePrompt& prompt = console.passphrasePrompt ? *console.passphrasePrompt : terminal;
    Result<SecretBytes> first = prompt.ask(kPrompt);
    if (!first) {
        return first.problem();
    }
    if (const Status usable = checkPassphrase(*first); !usable) {
        return usable.problem();
    }
    if (confirm) {
        const Result<SecretBytes> again = prompt.ask(kPromptAgain);
        if (!again) {
            return again.problem();
        }
        if (const Status same = checkPassphrase(*first, &*again); !same) {
            return same.problem();
        }
    }
    return Answer(std::optional<SecretBytes>(std::move(*first)));
}

} // namespace kvistra::cli
