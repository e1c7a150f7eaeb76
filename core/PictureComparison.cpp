// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureComparison.h"

#include <algorithm>
#include <vector>

namespace kvistra {

std::optional<PictureDifference> firstDifference(const Canvas& expected, const Canvas& found) {
    if (expected.width() != found.width() || expected.height() != found.height()) {
        return PictureDifference{true, 0, 0};
    }
    const auto width = static_cast<std::size_t>(expected.width());
    std::vector<Colour> want(width);
    std::vector<Colour> got(width);
    for (int y = 0; y < expected.height(); ++y) {
        expected.readRun(0, y, want);
        found.readRun(0, y, got);
        const auto [a, b] = std::mismatch(want.begin(), want.end(), got.begin());
        if (a != want.end()) {
            return PictureDifference{false, static_cast<int>(a - want.begin()), y};
        }
    }
    return std::nullopt;
}

std::optional<std::int64_t> firstMisreadCharacter(const Canvas& picture,
                                                  const DecodeRequest& request,
                                                  const std::string& expected) {
    const DecodeResult result = decode(picture, request);
    const std::size_t read = result.positions.size();
    const std::size_t common = std::min(read, expected.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (result.positions[i].character != static_cast<unsigned char>(expected[i])) {
            return static_cast<std::int64_t>(i) + 1;
        }
    }
    if (result.outcome != DecodeOutcome::Finished || read != expected.size()) {
        return static_cast<std::int64_t>(common) + 1;
    }
    return std::nullopt;
}

} // namespace kvistra
