// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunCheck.h"

#include <algorithm>
#include <array>
#include <sodium.h>

namespace kvistra {

std::string runCheck(const std::vector<Colour>& run) {
    crypto_generichash_state state;
    std::array<unsigned char, 16> digest{};
    crypto_generichash_init(&state, nullptr, 0, digest.size());
    for (const Colour colour : run) {
        const std::array<unsigned char, 3> bytes = {
            static_cast<unsigned char>(colour & 0xFF),
            static_cast<unsigned char>((colour >> 8) & 0xFF),
            static_cast<unsigned char>((colour >> 16) & 0xFF)};
        crypto_generichash_update(&state, bytes.data(), bytes.size());
    }
    crypto_generichash_final(&state, digest.data(), digest.size());
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (const unsigned char byte : digest) {
        text += kHex[byte >> 4];
        text += kHex[byte & 0x0F];
    }
    return text;
}

std::string runCheckOf(const Canvas& canvas, int x, int y, int length) {
    std::vector<Colour> run(static_cast<std::size_t>(std::max(length, 0)));
    std::size_t done = 0;
    while (done < run.size()) {
        const std::size_t count =
            std::min(run.size() - done, static_cast<std::size_t>(canvas.width() - x));
        canvas.readRun(x, y, std::span<Colour>(run).subspan(done, count));
        done += count;
        x = 0;
        ++y;
    }
    return runCheck(run);
}

RunRecordingCanvas::RunRecordingCanvas(Canvas& inner, int x, int y, int length)
    : inner_(inner)
    , first_(static_cast<std::int64_t>(y) * inner.width() + x)
    , run_(static_cast<std::size_t>(std::max(length, 0))) {}

void RunRecordingCanvas::record(int x, int y, std::span<const Colour> colours) {
    // Only the part that falls in the run is kept; most writes miss it entirely.
    const std::int64_t from = static_cast<std::int64_t>(y) * width() + x - first_;
    const std::int64_t begin = std::max<std::int64_t>(from, 0);
    const std::int64_t end = std::min(from + static_cast<std::int64_t>(colours.size()),
                                      static_cast<std::int64_t>(run_.size()));
    if (begin < end) {
        std::copy(colours.begin() + (begin - from), colours.begin() + (end - from),
                  run_.begin() + begin);
    }
}

void RunRecordingCanvas::setPixel(int x, int y, Colour colour) {
    inner_.setPixel(x, y, colour);
    if (contains(x, y)) {
        record(x, y, std::span<const Colour>(&colour, 1));
    }
}

void RunRecordingCanvas::readRun(int x, int y, std::span<Colour> colours) const {
    inner_.readRun(x, y, colours);
}

void RunRecordingCanvas::writeRun(int x, int y, std::span<const Colour> colours) {
    inner_.writeRun(x, y, colours);
    record(x, y, colours);
}

} // namespace kvistra
