// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Colour.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kvistra::test {

// The parts of a bitmap file a test wants to choose; build() lays out the bytes.
struct BmpFixture {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1; // negative: rows from the top
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::vector<Colour> palette{};
    std::array<std::uint32_t, 3> masks{};          // written for compression 3
    std::vector<std::vector<std::uint8_t>> rows{}; // file order, without padding
    std::vector<std::uint8_t> runs{};              // run-length data, written as it is

    std::vector<std::uint8_t> build() const {
        std::vector<std::uint8_t> out;
        auto put = [&](std::uint64_t value, int size) {
            for (int i = 0; i < size; ++i) {
                out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
            }
        };
        const bool core = headerSize == 12;
        const bool masksAfterHeader = compression == 3 && headerSize == 40;
        const std::uint32_t paletteBytes =
            static_cast<std::uint32_t>(palette.size()) * (core ? 3 : 4);
        const std::uint32_t offset = 14 + headerSize + (masksAfterHeader ? 12 : 0) + paletteBytes;
        const std::size_t stride = (static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32 * 4;
        const std::size_t pixelBytes = runs.empty() ? stride * rows.size() : runs.size();
        put('B', 1);
        put('M', 1);
        put(offset + pixelBytes, 4);
        put(0, 4);
        put(offset, 4);
        put(headerSize, 4);
        if (core) {
            put(static_cast<std::uint16_t>(width), 2);
            put(static_cast<std::uint16_t>(height), 2);
            put(1, 2);
            put(bitsPerPixel, 2);
        } else {
            put(static_cast<std::uint32_t>(width), 4);
            put(static_cast<std::uint32_t>(height), 4);
            put(1, 2);
            put(bitsPerPixel, 2);
            put(compression, 4);
            put(pixelBytes, 4);
            put(2835, 4);
            put(2835, 4);
            put(coloursUsed, 4);
            put(0, 4);
            const std::size_t headerEnd = 14 + headerSize;
            if (headerSize > 40) {
                for (const std::uint32_t mask : masks) {
                    put(mask, 4);
                }
            }
            out.resize(headerEnd, 0);
            if (masksAfterHeader) {
                for (const std::uint32_t mask : masks) {
                    put(mask, 4);
                }
            }
        }
        for (const Colour colour : palette) {
            put(static_cast<std::uint32_t>(blueOf(colour)), 1);
            put(static_cast<std::uint32_t>(greenOf(colour)), 1);
            put(static_cast<std::uint32_t>(redOf(colour)), 1);
            if (!core) {
                put(0, 1);
            }
        }
        out.insert(out.end(), runs.begin(), runs.end());
        for (const auto& row : rows) {
            std::vector<std::uint8_t> padded = row;
            padded.resize(stride, 0);
            out.insert(out.end(), padded.begin(), padded.end());
        }
        return out;
    }
};

} // namespace kvistra::test
