// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <chrono>
#include <future>
#include <system_error>

namespace kvistra {

// Runs work on a thread of its own while the windows go on repainting, so that
// reading a large picture does not freeze them; what the user types or clicks
// meanwhile waits until the work is done. Work must not touch any widget.
template <typename Work> auto whileRepainting(Work work) -> decltype(work()) {
    std::future<decltype(work())> result;
    try {
        result = std::async(std::launch::async, work);
    } catch (const std::system_error&) {
        return work(); // no thread to be had: the windows wait
    }
    while (result.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    }
    return result.get();
}

} // namespace kvistra
