// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/JobThread.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace kvistra {
namespace {

// The jobs run one at a time, in the order handed over, off the caller's thread;
// what they wrote is the caller's to read once it has waited.
TEST(JobThread, JobsRunInOrderOneAtATimeOffTheCallersThread) {
    std::vector<int> done;
    std::vector<std::thread::id> ranOn;
    {
        JobThread jobs;
        for (int i = 0; i < 200; ++i) {
            jobs.start([&done, &ranOn, i] {
                done.push_back(i);
                ranOn.push_back(std::this_thread::get_id());
            });
        }
        jobs.wait();
        ASSERT_EQ(done.size(), 200u);
        for (int i = 0; i < 200; ++i) {
            EXPECT_EQ(done[static_cast<std::size_t>(i)], i);
        }
        EXPECT_NE(ranOn.front(), std::this_thread::get_id());
        jobs.start([&done] { done.push_back(200); });
    } // the last job ends before the thread goes
    EXPECT_EQ(done.size(), 201u);
}

} // namespace
} // namespace kvistra
