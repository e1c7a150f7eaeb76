// SPDX-License-Identifier: GPL-3.0-or-later
#include "Arguments.h"

#include "Usage.h"

namespace kvistra::cli {

std::optional<std::string> Arguments::value(const std::string& option) const {
    const auto found = values.find(option);
    if (found == values.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::variant<Arguments, std::string> parseArguments(const std::vector<std::string>& args,
                                                    const KnownOptions& known) {
    Arguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-' || (arg[1] >= '0' && arg[1] <= '9')) {
            parsed.positionals.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (known.flags.contains(arg)) {
            parsed.flags.insert(arg);
        } else if (known.withValue.contains(arg)) {
            if (i + 1 == args.size()) {
                return optionWithoutValue(arg);
            }
            if (parsed.values.contains(arg)) {
                return optionGivenTwice(arg);
            }
            parsed.values[arg] = args[++i];
        } else {
            return unknownOption(arg);
        }
    }
    return parsed;
}

} // namespace kvistra::cli
