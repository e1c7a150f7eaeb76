// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Message.h"
#include "Progress.h"
#include "StatusCaption.h"

namespace kvistra {

// What a long run tells its front end as it goes. The engine shows nothing itself.
class RunReport {
public:
    virtual ~RunReport() = default;

    virtual void caption(StatusCaption caption) = 0;
    virtual void progress(const Progress& progress) = 0;
    // A notice the user sees before the run goes on.
    virtual void message(const Message& message) = 0;
};

} // namespace kvistra
