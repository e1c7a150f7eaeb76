// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/FakePlatform.h"
#include "toolkit/SystemServices.h"

#include <vector>

namespace kvistra::test {

// Records every change of the task-list visibility; a desktop that does not allow it
// records nothing.
class RecordingTaskList final : public TaskList {
public:
    std::vector<bool> changes;
    bool allowed = true;

    bool setVisible(bool visible) override {
        if (allowed) {
            changes.push_back(visible);
        }
        return allowed;
    }
    // Listed until told otherwise, as every program starts.
    bool visible() const { return changes.empty() || changes.back(); }
};

// Recording fakes for every platform service; see support/FakePlatform.h.
struct FakeSystem {
    test::FakeDisplayPlatform display;
    test::FakeScreen screen;
    test::FakeRegistry registry;
    test::FakeProgramStarter programs;
    RecordingTaskList taskList;

    SystemServices services() { return {display, screen, registry, programs, taskList}; }
};

} // namespace kvistra::test
