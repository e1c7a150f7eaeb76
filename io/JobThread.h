// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace kvistra {

// A thread of its own that runs the jobs handed to it one at a time, in order, so
// that the caller goes on with the next while one runs: a block of rows is
// written to its file while the next is drawn. Without a thread to be had, each
// job runs on the caller's as it is handed over. A job must not throw.
class JobThread {
public:
    JobThread();
    // Waits for the job running, if any.
    ~JobThread();
    JobThread(const JobThread&) = delete;
    JobThread& operator=(const JobThread&) = delete;

    // Waits for the job before to end, then starts this one.
    void start(std::function<void()> job);
    // Waits until no job runs: what the last one wrote may then be read.
    void wait();

private:
    void run(const std::stop_token& stop);

    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::function<void()> job_;
    bool running_ = false;
    std::jthread thread_; // last: it stops and is joined before the rest goes
};

} // namespace kvistra
