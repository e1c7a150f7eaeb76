// SPDX-License-Identifier: GPL-3.0-or-later
#include "Commands.h"
#include "io/TemporaryFiles.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char* argv[]) {
    // Ctrl-C during a save must not leave a picture-sized temporary file behind.
    kvistra::TemporaryFiles::removeOnSignals();
    const std::vector<std::string> args(argv + 1, argv + argc);
    kvistra::cli::Console console{std::cout, std::cerr, isatty(STDERR_FILENO) == 1,
                                  isatty(STDOUT_FILENO) == 1};
    const int status = kvistra::cli::run(args, console);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "kvistra-cli: standard ut kunde inte skrivas\n";
        return kvistra::cli::Failure;
    }
    return status;
}
