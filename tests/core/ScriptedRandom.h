// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/RandomSource.h"

#include <vector>

namespace kvistra::test {

// Draws a fixed cycle of numbers and counts reseeds, so tests know every channel.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> cycle = {0.0f})
        : cycle_(std::move(cycle)) {}
    float next() override { return cycle_[draws++ % cycle_.size()]; }
    void reseedFromClock() override { ++reseeds; }

    std::size_t draws = 0;
    std::size_t reseeds = 0;

private:
    std::vector<float> cycle_;
};

} // namespace kvistra::test
