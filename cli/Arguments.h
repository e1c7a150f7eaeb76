// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

namespace kvistra::cli {

struct Arguments {
    std::vector<std::string> positionals;
    std::map<std::string, std::string> values;
    std::set<std::string> flags;

    bool has(const std::string& option) const {
        return values.contains(option) || flags.contains(option);
    }
    std::optional<std::string> value(const std::string& option) const;
};

struct KnownOptions {
    std::set<std::string> withValue; // "--out", "-x", ...
    std::set<std::string> flags;     // "--adapt", "--json", ...
};

// An option's value is always the next argument, so "-x -5" works; "--" ends the options.
// The string alternative is the usage error.
std::variant<Arguments, std::string> parseArguments(const std::vector<std::string>& args,
                                                    const KnownOptions& known);

} // namespace kvistra::cli
