#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kvistra::cli {

enum ExitStatus : int {
    Success = 0,
    Failure = 1,
    UsageError = 2,
};

struct Console {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false;
    bool outIsTerminal = false;
};

// The whole command line after the program name.
int run(const std::vector<std::string>& args, Console& console);

int hide(const std::vector<std::string>& args, Console& console);
int reveal(const std::vector<std::string>& args, Console& console);
int capacity(const std::vector<std::string>& args, Console& console);
int inspect(const std::vector<std::string>& args, Console& console);

} // namespace kvistra::cli
