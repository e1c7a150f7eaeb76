// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Commands.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kvistra::test {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// The command line run in this process, as if standard output were a terminal or not.
inline CliRun cli(const std::vector<std::string>& args, bool outIsTerminal = false) {
    std::ostringstream out;
    std::ostringstream err;
    cli::Console console{out, err, false, outIsTerminal};
    const int status = cli::run(args, console);
    return {status, out.str(), err.str()};
}

// The four key values of a key file that hide wrote, without the check line after them.
inline std::string keyValuesIn(const std::string& path) {
    const std::string bytes = readBytes(path);
    return bytes.substr(0, bytes.find("kontroll "));
}

// The program itself in a shell, after the shell commands in `setup` (limits, say).
struct ChildRun {
    bool signalled;
    int status;
    std::string out;
    std::string err;
};

inline ChildRun runProgram(const std::string& setup, const std::vector<std::string>& args,
                           const TempFolder& dir) {
    std::string command = setup + " && exec '" KVISTRA_CLI "'";
    for (const std::string& arg : args) {
        command += " '" + arg + "'";
    }
    command += " >'" + (dir / "child.out") + "' 2>'" + (dir / "child.err") + "'";
    const int wait = std::system(command.c_str());
    return {WIFSIGNALED(wait), WIFEXITED(wait) ? WEXITSTATUS(wait) : -1,
            readBytes(dir / "child.out"), readBytes(dir / "child.err")};
}

// The program itself started with `args` (after its name), not waited for: its
// process id, or -1.
inline pid_t startProgram(const std::vector<std::string>& args) {
    std::vector<std::string> words = {KVISTRA_CLI};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_t child = -1;
    return ::posix_spawn(&child, KVISTRA_CLI, nullptr, nullptr, argv.data(), environ) == 0 ? child
                                                                                           : -1;
}

} // namespace kvistra::test
