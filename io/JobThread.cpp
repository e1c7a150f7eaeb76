// SPDX-License-Identifier: GPL-3.0-or-later
#include "JobThread.h"

#include <system_error>

namespace kvistra {

JobThread::JobThread() {
    try {
        thread_ = std::jthread([this](const std::stop_token& stop) { run(stop); });
    } catch (const std::system_error&) {
        // No thread: start() runs each job itself.
    }
}

JobThread::~JobThread() {
    wait();
}

void JobThread::start(std::function<void()> job) {
    if (!thread_.joinable()) {
        job();
        return;
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !running_; });
    job_ = std::move(job);
    running_ = true;
    lock.unlock();
    changed_.notify_all();
}

void JobThread::wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !running_; });
}

void JobThread::run(const std::stop_token& stop) {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            if (!changed_.wait(lock, stop, [this] { return running_; })) {
                return; // stopped with nothing to run
            }
            job = std::move(job_);
        }
        job();
        {
            const std::lock_guard lock(mutex_);
            running_ = false;
        }
        changed_.notify_all();
    }
}

} // namespace kvistra
