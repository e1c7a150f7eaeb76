// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Progress.h"

#include <gtest/gtest.h>

namespace kvistra {
namespace {

// The closed form must agree with single steps wherever it is used.
TEST(Progress, AdvanceEqualsRepeatedSteps) {
    const Progress starts[] = {{0, 20, 0},    {0, 20, 9}, {0, 20, 19},
                               {0, 20, 20},   {0, 5, 9},  {0, 0, 0},
                               {0, 21, 13},   {0, 4, 4},  {0, 16777215, 16777200},
                               {0, 100, 0.5f}};
    for (const StepRule rule : {StepRule::RaiseBeforeReaching, StepRule::RaiseBeforePassing}) {
        for (const Progress& start : starts) {
            for (const int steps : {0, 1, 2, 7, 11, 30}) {
                Progress stepped = start;
                for (int i = 0; i < steps; ++i) {
                    step(stepped, rule);
                }
                Progress advanced = start;
                advance(advanced, steps, rule);
                EXPECT_EQ(advanced, stepped) << start.max << " " << start.value << " +" << steps;
            }
        }
    }
}

// A picture of more than 2^24 pixels advances the count past where a float can
// count; the steps there are taken at once, to the same end.
TEST(Progress, AdvancePastWhereAFloatCountsEqualsRepeatedSteps) {
    for (const StepRule rule : {StepRule::RaiseBeforeReaching, StepRule::RaiseBeforePassing}) {
        for (const Progress& start :
             {Progress{0, 64e6f, 16777000}, Progress{0, 64e6f, 32767}, Progress{0, 64e6f, 16774500},
              Progress{0, 16777218, 16777216}, Progress{0, 16777216, 16777210},
              Progress{0, 16777300, 16777100.5f}}) {
            constexpr int kSteps = 3000;
            Progress stepped = start;
            for (int i = 0; i < kSteps; ++i) {
                step(stepped, rule);
            }
            Progress advanced = start;
            advance(advanced, kSteps, rule);
            EXPECT_EQ(advanced, stepped) << start.max << " " << start.value;
        }
    }
}

TEST(Progress, StepRules) {
    Progress leadIn{0, 20, 19};
    step(leadIn, StepRule::RaiseBeforeReaching);
    EXPECT_EQ(leadIn, (Progress{0, 21, 20}));

    Progress message{0, 20, 19};
    step(message, StepRule::RaiseBeforePassing);
    EXPECT_EQ(message, (Progress{0, 20, 20}));
    step(message, StepRule::RaiseBeforePassing);
    EXPECT_EQ(message, (Progress{0, 21, 21}));
}

} // namespace
} // namespace kvistra
