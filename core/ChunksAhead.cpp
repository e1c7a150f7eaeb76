// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChunksAhead.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace kvistra {

namespace {

// The workers stay for the whole run: starting a thread for each chunk cost more
// than some chunks take to make.
std::size_t workerCount() {
    return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4);
}

class Pipeline {
public:
    Pipeline(std::size_t count, std::size_t chunk, std::size_t workers, const MakeChunk& make)
        : count_(count)
        , chunk_(chunk)
        , chunks_((count + chunk - 1) / chunk)
        // Each worker a chunk of its own, one in use and one ready for it.
        , slots_(std::min(chunks_, workers + 2))
        , buffer_(std::make_unique_for_overwrite<Colour[]>(slots_ * chunk))
        , make_(make)
        , ready_(slots_, false) {}

    // A worker: takes the next chunk with a free slot until all are taken.
    void work() {
        for (;;) {
            std::size_t index = 0;
            {
                std::unique_lock lock(mutex_);
                slotFreed_.wait(lock, [this] {
                    return stopped_ || nextToMake_ == chunks_ || nextToMake_ < nextToUse_ + slots_;
                });
                if (stopped_ || nextToMake_ == chunks_) {
                    return;
                }
                index = nextToMake_++;
            }
            try {
                make_(index, slotOf(index));
            } catch (...) {
                stop(std::current_exception());
                return;
            }
            {
                const std::lock_guard lock(mutex_);
                ready_[index % slots_] = true;
            }
            chunkMade_.notify_one();
        }
    }

    // The caller's part: each chunk in order, as soon as it is made.
    void useAll(const UseChunk& use) {
        for (std::size_t index = 0; index < chunks_; ++index) {
            {
                std::unique_lock lock(mutex_);
                chunkMade_.wait(lock, [&] { return failure_ || ready_[index % slots_]; });
                if (failure_) {
                    std::rethrow_exception(failure_);
                }
            }
            use(slotOf(index));
            {
                const std::lock_guard lock(mutex_);
                ready_[index % slots_] = false;
                nextToUse_ = index + 1;
            }
            slotFreed_.notify_one();
        }
    }

    void stop(std::exception_ptr failure = nullptr) {
        {
            const std::lock_guard lock(mutex_);
            stopped_ = true;
            if (failure && !failure_) {
                failure_ = std::move(failure);
            }
        }
        slotFreed_.notify_all();
        chunkMade_.notify_all();
    }

private:
    std::span<Colour> slotOf(std::size_t index) const {
        const std::size_t size = std::min(chunk_, count_ - index * chunk_);
        return {buffer_.get() + (index % slots_) * chunk_, size};
    }

    const std::size_t count_;
    const std::size_t chunk_;
    const std::size_t chunks_;
    const std::size_t slots_;
    const std::unique_ptr<Colour[]> buffer_;
    const MakeChunk& make_;
    std::mutex mutex_;
    // Only the caller waits for a chunk; only workers wait for a slot.
    std::condition_variable chunkMade_;
    std::condition_variable slotFreed_;
    std::vector<bool> ready_;
    std::size_t nextToMake_ = 0;
    std::size_t nextToUse_ = 0;
    bool stopped_ = false;
    std::exception_ptr failure_;
};

// Stops the workers however the caller's part ends, before they are joined.
class StopOnExit {
public:
    explicit StopOnExit(Pipeline& pipeline)
        : pipeline_(pipeline) {}
    ~StopOnExit() { pipeline_.stop(); }
    StopOnExit(const StopOnExit&) = delete;
    StopOnExit& operator=(const StopOnExit&) = delete;

private:
    Pipeline& pipeline_;
};

} // namespace

void makeChunksInTurn(std::size_t count, std::size_t chunk, const MakeChunk& make,
                      const UseChunk& use) {
    const auto buffer = std::make_unique_for_overwrite<Colour[]>(std::min(count, chunk));
    for (std::size_t index = 0; index * chunk < count; ++index) {
        const std::span<Colour> colours(buffer.get(), std::min(chunk, count - index * chunk));
        make(index, colours);
        use(colours);
    }
}

void makeChunksAhead(std::size_t count, std::size_t chunk, const MakeChunk& make,
                     const UseChunk& use) {
    if (count <= chunk) {
        makeChunksInTurn(count, chunk, make, use);
        return;
    }
    const std::size_t wanted = workerCount();
    Pipeline pipeline(count, chunk, wanted, make);
    std::vector<std::jthread> workers;
    workers.reserve(wanted);
    // Destroyed before the workers are joined.
    const StopOnExit stopper(pipeline);
    try {
        for (std::size_t i = 0; i < wanted; ++i) {
            workers.emplace_back([&pipeline] { pipeline.work(); });
        }
    } catch (const std::system_error&) {
        if (workers.empty()) {
            makeChunksInTurn(count, chunk, make, use);
            return;
        }
    }
    pipeline.useAll(use);
}

} // namespace kvistra
