#pragma once

#include "cli/Commands.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kvistra::cli::test {

// A fresh directory under /tmp, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kvistra-cli-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

    // Names of everything in the folder, sorted, to spot left-over temporary files.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// The command line run in this process, as if standard output were a terminal or not.
inline CliRun cli(const std::vector<std::string>& args, bool outIsTerminal = false) {
    std::ostringstream out;
    std::ostringstream err;
    Console console{out, err, false, outIsTerminal};
    const int status = run(args, console);
    return {status, out.str(), err.str()};
}

// The program itself in a shell, after the shell commands in `setup` (limits, say).
struct ChildRun {
    bool signalled;
    int status;
    std::string out;
    std::string err;
};

inline ChildRun runProgram(const std::string& setup, const std::vector<std::string>& args,
                           const TempDir& dir) {
    std::string command = setup + " && exec '" KVISTRA_CLI "'";
    for (const std::string& arg : args) {
        command += " '" + arg + "'";
    }
    command += " >'" + (dir / "child.out") + "' 2>'" + (dir / "child.err") + "'";
    const int wait = std::system(command.c_str());
    return {WIFSIGNALED(wait), WIFEXITED(wait) ? WEXITSTATUS(wait) : -1,
            readFile(dir / "child.out"), readFile(dir / "child.err")};
}

} // namespace kvistra::cli::test
