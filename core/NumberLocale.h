#pragma once

#include <string>

namespace kvistra {

// The parts of the user's locale that numeric text depends on (UTF-8).
struct NumberLocale {
    std::string decimalSeparator = ".";
    std::string groupSeparator = ",";

    static NumberLocale c() { return {}; }
    static NumberLocale swedish() { return {",", "\u00A0"}; }
};

} // namespace kvistra
