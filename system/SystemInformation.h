// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ProgramStarter.h"
#include "Registry.h"
#include "ShowMessage.h"

namespace kvistra {

// Where the registry names the system-information program: first its full path...
inline constexpr const char* kSystemInformationKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char* kSystemInformationPathValue = "PATH";
// ...then the folder that holds it under its own name.
inline constexpr const char* kSharedToolsKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr const char* kSharedToolsValue = "MSINFO";
inline constexpr const char* kSystemInformationProgram = "MSINFO32.EXE";

// Starts the system-information program, or says that it is unavailable.
void startSystemInformation(Registry& registry, ProgramStarter& programs, const ShowMessage& show);

} // namespace kvistra
