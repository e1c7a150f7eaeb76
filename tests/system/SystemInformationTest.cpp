// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/SystemInformation.h"

#include "support/FakePlatform.h"
#include "words/MessageCatalogue.h"

#include <gtest/gtest.h>

namespace kvistra {
namespace {

using test::FakeProgramStarter;
using test::FakeRegistry;
using test::ScriptedAnswers;

constexpr const char* kProgramKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

struct SysInfo {
    FakeRegistry registry;
    FakeProgramStarter programs;
    ScriptedAnswers answers;

    void start() { startSystemInformation(registry, programs, answers.show()); }
};

TEST(StartSystemInformation, StartsTheFirstEntryThatLeadsToAProgram) {
    const struct {
        const char* name;
        std::vector<std::pair<std::string, std::string>> entries; // key path, text
        std::set<std::string> files;
        std::vector<std::string> started;
        std::vector<std::string> lookups;
    } cases[] = {
        {"full path, second entry missing",
         {{kProgramKey, "/usr/bin/hardinfo"}},
         {},
         {"/usr/bin/hardinfo"},
         {"open " + std::string(kProgramKey), "query PATH", "close"}},
        {"full path wins over the folder",
         {{kProgramKey, "/usr/bin/hardinfo"}, {kFolderKey, "/opt/verktyg"}},
         {"/opt/verktyg/MSINFO32.EXE"},
         {"/usr/bin/hardinfo"},
         {"open " + std::string(kProgramKey), "query PATH", "close"}},
        {"folder with the program",
         {{kFolderKey, "/opt/verktyg"}},
         {"/opt/verktyg/MSINFO32.EXE"},
         {"/opt/verktyg/MSINFO32.EXE"},
         {"open " + std::string(kProgramKey), "open " + std::string(kFolderKey), "query MSINFO",
          "close"}},
    };
    for (const auto& c : cases) {
        SysInfo run;
        for (const auto& [keyPath, text] : c.entries) {
            run.registry.setString(keyPath, keyPath == kProgramKey ? "PATH" : "MSINFO", text);
        }
        run.programs.files = c.files;
        run.start();
        EXPECT_EQ(run.programs.started, c.started) << c.name;
        EXPECT_EQ(run.registry.calls, c.lookups) << c.name;
        EXPECT_TRUE(run.answers.shown.empty()) << c.name;
    }
}

TEST(StartSystemInformation, EveryFailureShowsTheOneMessage) {
    const struct {
        const char* name;
        std::vector<std::pair<std::string, FakeRegistry::Value>> entries;
        std::set<std::string> files;
        bool startSucceeds;
        std::vector<std::string> started;
    } cases[] = {
        {"no entry", {}, {}, true, {}},
        {"folder without the program",
         {{kFolderKey, {REG_SZ, "/opt/verktyg"}}},
         {"/opt/verktyg/msinfo32.exe", "/opt/MSINFO32.EXE"},
         true,
         {}},
        {"start fails",
         {{kProgramKey, {REG_SZ, "/usr/bin/saknas"}}},
         {},
         false,
         {"/usr/bin/saknas"}},
        {"folder program fails to start",
         {{kFolderKey, {REG_SZ, "/opt/verktyg"}}},
         {"/opt/verktyg/MSINFO32.EXE"},
         false,
         {"/opt/verktyg/MSINFO32.EXE"}},
        // A value of another type leaves the path empty: there is nothing to start.
        {"path of another type", {{kProgramKey, {3, "/usr/bin/hardinfo"}}}, {}, true, {}},
        // Ends the attempt at once, without the second entry.
        {"empty path value",
         {{kProgramKey, {REG_SZ, ""}}, {kFolderKey, {REG_SZ, "/opt/verktyg"}}},
         {"/opt/verktyg/MSINFO32.EXE"},
         true,
         {}},
    };
    for (const auto& c : cases) {
        SysInfo run;
        for (const auto& [keyPath, value] : c.entries) {
            run.registry.keys[keyPath][keyPath == kProgramKey ? "PATH" : "MSINFO"] = value;
        }
        run.programs.files = c.files;
        run.programs.startSucceeds = c.startSucceeds;
        run.start();
        EXPECT_EQ(run.programs.started, c.started) << c.name;
        ASSERT_EQ(run.answers.shown.size(), 1u) << c.name;
        const MessageBoxText box = describe(run.answers.shown[0]);
        EXPECT_EQ(box.text, "System Information Is Unavailable At This Time") << c.name;
        EXPECT_EQ(box.title, "") << c.name;
        EXPECT_EQ(box.style, MessageBoxStyle::OkOnly) << c.name;
        EXPECT_EQ(run.registry.openHandles(), 0u) << c.name;
    }
}

} // namespace
} // namespace kvistra
