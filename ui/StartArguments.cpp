// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartArguments.h"

#include <algorithm>

namespace kvistra {

StartRequest parseStartArguments(const std::vector<std::string>& arguments) {
    const auto end = std::find(arguments.begin(), arguments.end(), std::string("--"));
    const auto given = [&](const char* option) {
        return std::find(arguments.begin(), end, std::string(option)) != end;
    };
    if (given("--help") || given("-h")) {
        return {StartRequest::Action::Help, {}, {}, {}};
    }
    if (given("--version")) {
        return {StartRequest::Action::Version, {}, {}, {}};
    }

    std::vector<std::string> names;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument.size() > 1 && argument.front() == '-') {
            return {StartRequest::Action::UsageError, {}, {}, "okänd flagga: " + argument};
        } else if (names.size() == 2) {
            return {StartRequest::Action::UsageError, {}, {}, "oväntat argument: " + argument};
        } else if (argument.empty()) {
            return {StartRequest::Action::UsageError, {}, {}, "ett filnamn är tomt"};
        } else {
            names.push_back(argument);
        }
    }
    StartRequest request;
    if (!names.empty()) {
        request.picture = names[0];
    }
    if (names.size() == 2) {
        request.keyFile = names[1];
    }
    return request;
}

} // namespace kvistra
