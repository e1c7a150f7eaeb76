#include "SystemInformation.h"

#include "RegistryValue.h"

#include <exception>
#include <optional>

namespace kvistra {

namespace {

std::optional<std::string> systemInformationPath(Registry& registry,
                                                 const ProgramStarter& programs) {
    std::string path;
    if (GetKeyValue(registry, HKEY_LOCAL_MACHINE, kSystemInformationKey,
                    kSystemInformationPathValue, path)) {
        return path; // used as it stands: starting it is the test
    }
    if (GetKeyValue(registry, HKEY_LOCAL_MACHINE, kSharedToolsKey, kSharedToolsValue, path)) {
        const std::string program = path + "/" + kSystemInformationProgram;
        if (programs.fileExists(program)) {
            return program;
        }
    }
    return std::nullopt;
}

bool startSystemInformation(Registry& registry, ProgramStarter& programs) {
    const std::optional<std::string> path = systemInformationPath(registry, programs);
    return path && !path->empty() && programs.start(*path);
}

} // namespace

void StartSysInfo(Registry& registry, ProgramStarter& programs, const ShowMessage& show) {
    bool started = false;
    try {
        started = startSystemInformation(registry, programs);
    } catch (const std::exception&) {
        // Every failure on the way ends in the one message below.
    }
    if (!started) {
        show(Message{MessageId::SystemInformationUnavailable, {}});
    }
}

} // namespace kvistra
