// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/MemoryBudget.h"

#include "core/Image.h"
#include "words/MessageCatalogue.h"

#include <gtest/gtest.h>

namespace kvistra {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

TEST(MemoryBudget, RefusesAPictureThatDoesNotFitInWhatIsLeft) {
    const struct {
        const char* name;
        int width;
        int height;
        std::uint64_t available;
        bool refused;
        const char* needMB;
    } cases[] = {
        {"the largest picture under a 2 GB limit", 32767, 32767, 2000 * kMiB, true, "3072"},
        {"the largest picture with 4 GB left", 32767, 32767, 4096 * kMiB, false, ""},
        {"exactly what is left", 1024, 1024, Image::bytesFor(1024, 1024), false, ""},
        {"one byte more than is left", 1024, 1024, Image::bytesFor(1024, 1024) - 1, true, "3"},
        {"a small picture with nothing left", 1, 1, 0, true, "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Status fits = checkPictureMemory("p.bmp", c.width, c.height,
                                               Image::bytesFor(c.width, c.height), c.available);
        ASSERT_EQ(!fits.ok(), c.refused);
        if (!fits) {
            EXPECT_EQ(fits.problem().id, MessageId::PictureNeedsMemory);
            EXPECT_EQ(fits.problem().args[3], c.needMB);
            EXPECT_EQ(fits.problem().args[4], std::to_string(c.available / kMiB));
        }
    }
}

TEST(MemoryBudget, TheRefusalSaysWhatIsNeeded) {
    EXPECT_EQ(
        describe({MessageId::PictureNeedsMemory, {"p.bmp", "32767", "32767", "3072", "1953"}}).text,
        "Bilden \"p.bmp\" på 32767 x 32767 bildpunkter behöver 3072 MB minne, men "
        "programmet kan bara använda 1953 MB.\r\nVälj en mindre bild.");
    EXPECT_EQ(describe({MessageId::PictureNeedsMemory, {"", "2", "3", "4", "1"}}).text,
              "En ny bild på 2 x 3 bildpunkter behöver 4 MB minne, men programmet kan bara "
              "använda 1 MB.\r\nVälj en mindre bild.");
}

TEST(MemoryBudget, TheSystemBoundsAreTheLeastOfMemoryAndLimits) {
    const MemoryBounds bounds = systemMemoryBounds();
    EXPECT_GT(bounds.physical, 0u);
    EXPECT_LT(bounds.physical, UINT64_MAX); // Linux tells its memory
    EXPECT_EQ(bounds.available(), std::min(bounds.physical, bounds.addressSpaceLeft));
    EXPECT_EQ((MemoryBounds{10, 20}.available()), 10u);
    EXPECT_EQ((MemoryBounds{20, 10}.available()), 10u);
}

} // namespace
} // namespace kvistra
