// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ChunksAhead.h"

#include <atomic>
#include <gtest/gtest.h>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace kvistra {
namespace {

// Each colour is its own place in the whole: any chunk put in the wrong slot, made
// twice or handed over out of order shows.
void makeByPlace(std::size_t chunk, std::size_t index, std::span<Colour> colours) {
    for (std::size_t i = 0; i < colours.size(); ++i) {
        colours[i] = static_cast<Colour>(index * chunk + i);
    }
}

struct Split {
    std::size_t count;
    std::size_t chunk;
};

class ChunksAheadSplits : public testing::TestWithParam<Split> {};

TEST_P(ChunksAheadSplits, EveryColourArrivesOnceAndInOrder) {
    const auto [count, chunk] = GetParam();
    for (const auto makeChunks : {makeChunksAhead, makeChunksInTurn}) {
        std::vector<Colour> used;
        std::vector<std::size_t> sizes;
        makeChunks(
            count, chunk,
            [chunk](std::size_t index, std::span<Colour> colours) {
                makeByPlace(chunk, index, colours);
            },
            [&](std::span<const Colour> colours) {
                used.insert(used.end(), colours.begin(), colours.end());
                sizes.push_back(colours.size());
            });
        ASSERT_EQ(used.size(), count);
        for (std::size_t i = 0; i < count; ++i) {
            ASSERT_EQ(used[i], static_cast<Colour>(i)) << i;
        }
        for (std::size_t i = 0; i + 1 < sizes.size(); ++i) {
            EXPECT_EQ(sizes[i], chunk);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ChunksAheadSplits,
                         testing::Values(Split{0, 16}, Split{1, 16}, Split{16, 16}, Split{17, 16},
                                         Split{1000, 7}, Split{4096, 64}, Split{100003, 1000}),
                         [](const testing::TestParamInfo<Split>& split) {
                             return std::to_string(split.param.count) + "_by_" +
                                    std::to_string(split.param.chunk);
                         });

// A failure on either side ends the work at once and reaches the caller; no worker
// is left waiting for a slot that will never be freed.
TEST(ChunksAhead, AFailureInMakingReachesTheCaller) {
    std::atomic<int> made = 0;
    EXPECT_THROW(makeChunksAhead(
                     1 << 20, 64,
                     [&](std::size_t index, std::span<Colour>) {
                         ++made;
                         if (index == 40) {
                             throw std::bad_alloc();
                         }
                     },
                     [](std::span<const Colour>) {}),
                 std::bad_alloc);
    EXPECT_LT(made, 1 << 14);
}

TEST(ChunksAhead, AFailureInUseReachesTheCaller) {
    std::atomic<int> made = 0;
    int used = 0;
    EXPECT_THROW(makeChunksAhead(
                     1 << 20, 64, [&](std::size_t, std::span<Colour>) { ++made; },
                     [&](std::span<const Colour>) {
                         if (++used == 3) {
                             throw std::runtime_error("full disk");
                         }
                     }),
                 std::runtime_error);
    EXPECT_EQ(used, 3);
    EXPECT_LT(made, 1 << 14);
}

} // namespace
} // namespace kvistra
