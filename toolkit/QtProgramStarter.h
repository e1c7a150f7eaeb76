// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "system/ProgramStarter.h"

namespace kvistra {

// Programs started on their own, outliving the program that started them. The window
// manager gives a new program's window the focus.
class QtProgramStarter final : public ProgramStarter {
public:
    bool fileExists(const std::string& path) const override;
    bool start(const std::string& path) override;
};

} // namespace kvistra
