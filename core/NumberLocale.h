// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kvistra {

// The parts of the user's locale that numeric text depends on (UTF-8).
struct NumberLocale {
    std::string decimalSeparator = ".";
    std::string groupSeparator = ",";

    static NumberLocale c() { return {}; }
    static NumberLocale swedish() { return {",", "\u00A0"}; }
    // Scripts write numbers one way, whatever the user's locale: a full stop, no groups.
    static NumberLocale commandLine() { return {".", ""}; }

    // The same decimal separator, and digits only before it: as key files are read.
    NumberLocale withoutGroups() const { return {decimalSeparator, ""}; }
};

} // namespace kvistra
