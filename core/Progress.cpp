// SPDX-License-Identifier: GPL-3.0-or-later
#include "Progress.h"

#include <algorithm>

namespace kvistra {

namespace {
// Below this every integer is exact in single precision, so the closed form holds.
constexpr double kExactFloatIntegers = 16777216.0;
} // namespace

void step(Progress& progress, StepRule rule) {
    const float reach = rule == StepRule::RaiseBeforeReaching ? progress.max - 1.0f : progress.max;
    if (reach == progress.value) {
        progress.max += 1.0f;
    }
    progress.value += 1.0f;
}

void advance(Progress& progress, std::int64_t steps, StepRule rule) {
    if (steps <= 0) {
        return;
    }
    const double margin = rule == StepRule::RaiseBeforeReaching ? 1.0 : 0.0;
    const double value = progress.value;
    const double max = progress.max;
    const double end = value + static_cast<double>(steps);
    const bool wholeNumbers = value == static_cast<double>(static_cast<std::int64_t>(value)) &&
                              max == static_cast<double>(static_cast<std::int64_t>(max));
    // A maximum beyond 2^24 needs no steps: a value below 2^24 never reaches it.
    if (!wholeNumbers || end + margin >= kExactFloatIntegers || value < 0.0) {
        for (std::int64_t i = 0; i < steps; ++i) {
            const Progress before = progress;
            step(progress, rule);
            // Past 2^24 a float no longer counts: once a step changes nothing, no
            // later one will.
            if (progress == before) {
                break;
            }
        }
        return;
    }
    // Max only moves once the value has caught up with it; from then on it stays one
    // (or zero) ahead.
    if (max - margin >= value) {
        progress.max = static_cast<float>(std::max(max, end + margin));
    }
    progress.value = static_cast<float>(end);
}

} // namespace kvistra
