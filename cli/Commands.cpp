// SPDX-License-Identifier: GPL-3.0-or-later
#include "Commands.h"

#include "CommandLine.h"
#include "Usage.h"
#include "core/Version.h"

#include <new>

namespace kvistra::cli {

namespace {

int runCommand(const std::vector<std::string>& args, Console& console) {
    if (args.empty()) {
        console.err << kMainUsage;
        return UsageError;
    }
    const std::string& command = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--version") {
        console.out << "Kvistra " << kVersionText << '\n';
        return Success;
    }
    if (command == "--help" || command == "-h" || command == "help") {
        console.out << kMainUsage;
        return Success;
    }
    if (command == "hide") {
        return hide(rest, console);
    }
    if (command == "reveal") {
        return reveal(rest, console);
    }
    if (command == "capacity") {
        return capacity(rest, console);
    }
    if (command == "inspect") {
        return inspect(rest, console);
    }
    return usageError(console, unknownCommand(command), kMainUsage);
}

} // namespace

int run(const std::vector<std::string>& args, Console& console) {
    // Pictures are checked against the memory there is before they are made; this
    // catches what the checks could not foresee. Files being written are removed
    // as the stack unwinds.
    try {
        return runCommand(args, console);
    } catch (const std::bad_alloc&) {
        return failure(console, {MessageId::OutOfMemory, {}});
    }
}

} // namespace kvistra::cli
