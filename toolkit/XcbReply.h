// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <memory>

namespace kvistra {

// xcb hands out replies that the caller frees with free().
template <typename Reply> using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> XcbReply<Reply> ownedReply(Reply* reply) {
    return XcbReply<Reply>(reply, &std::free);
}

} // namespace kvistra
