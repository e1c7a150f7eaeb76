// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace kvistra {

// The progress bar's three numbers, held in single precision like the control.
struct Progress {
    float min = 0.0f;
    float max = 100.0f;
    float value = 0.0f;

    friend bool operator==(const Progress&, const Progress&) = default;
};

enum class StepRule {
    RaiseBeforeReaching, // the lead-in: raise Max when the step would reach it
    RaiseBeforePassing,  // message and decoys: raise Max when the step would pass it
};

void step(Progress& progress, StepRule rule);

// The same as `steps` single steps, without walking them one by one.
void advance(Progress& progress, std::int64_t steps, StepRule rule);

} // namespace kvistra
