// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kvistra {

// Whether the program is listed among the running programs of the desktop's task list.
class TaskList {
public:
    virtual ~TaskList() = default;

    // False when the desktop does not let a program change it.
    virtual bool setVisible(bool visible) = 0;
};

} // namespace kvistra
