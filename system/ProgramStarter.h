// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kvistra {

// Files and programs of the platform, by UTF-8 path.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;

    virtual bool fileExists(const std::string& path) const = 0;
    // Starts the program in a normal, focused window without waiting for it; false
    // when it could not be started.
    virtual bool start(const std::string& path) = 0;
};

} // namespace kvistra
