// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemInformation.h"

#include "RegistryValue.h"

#include <optional>

namespace kvistra {

namespace {

std::optional<std::string> systemInformationPath(Registry& registry,
                                                 const ProgramStarter& programs) {
    const RegistryText program = readRegistryText(
        registry, HKEY_LOCAL_MACHINE, kSystemInformationKey, kSystemInformationPathValue);
    if (program.read == RegistryRead::Empty) {
        return std::nullopt; // ends the attempt, without the second entry
    }
    if (program.found()) {
        return program.text; // used as it stands: starting it is the test
    }
    const RegistryText folder =
        readRegistryText(registry, HKEY_LOCAL_MACHINE, kSharedToolsKey, kSharedToolsValue);
    if (folder.found()) {
        const std::string path = folder.text + "/" + kSystemInformationProgram;
        if (programs.fileExists(path)) {
            return path;
        }
    }
    return std::nullopt;
}

} // namespace

void startSystemInformation(Registry& registry, ProgramStarter& programs, const ShowMessage& show) {
    const std::optional<std::string> path = systemInformationPath(registry, programs);
    const bool started = path && !path->empty() && programs.start(*path);
    if (!started) {
        show(Message{MessageId::SystemInformationUnavailable, {}});
    }
}

} // namespace kvistra
