// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngWriter.h"

#include "PngErrors.h"

#include <cerrno>
#include <csetjmp>
#include <cstdlib>
#include <png.h>
#include <vector>
#include <zlib.h>

namespace kvistra {

namespace {

constexpr std::size_t kWriteBuffer = std::size_t{1024} * 1024;

} // namespace

struct PngWriter::State {
    PendingFile* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<std::uint8_t> buffer;
    int width = 0;
    int height = 0;
    Status written = Done{};

    ~State() {
        if (png != nullptr) {
            png_destroy_write_struct(&png, &info);
        }
    }
    Status flush() {
        if (written && !buffer.empty()) {
            written = file->write(
                std::string_view(reinterpret_cast<const char*>(buffer.data()), buffer.size()));
        }
        buffer.clear();
        return written;
    }
};

namespace {

void writeToFile(png_structp png, png_bytep data, png_size_t length) {
    auto& state = *static_cast<PngWriter::State*>(png_get_io_ptr(png));
    state.buffer.insert(state.buffer.end(), data, data + length);
    if (state.buffer.size() >= kWriteBuffer && !state.flush()) {
        png_error(png, "write");
    }
}

void flushNothing(png_structp) {}

bool writeHeader(PngWriter::State& state, PngCompression compression) {
    if (setjmp(png_jmpbuf(state.png))) {
        return false;
    }
    png_set_write_fn(state.png, &state, writeToFile, flushNothing);
    png_set_user_limits(state.png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_set_IHDR(state.png, state.info, static_cast<png_uint_32>(state.width),
                 static_cast<png_uint_32>(state.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(state.png, PNG_FILTER_TYPE_BASE, compression.filters);
    png_set_compression_level(state.png, compression.level);
    png_set_compression_strategy(state.png, compression.strategy);
    png_write_info(state.png, state.info);
    png_set_bgr(state.png);
    return true;
}

bool writeRowGuarded(png_structp png, const std::uint8_t* row) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    // libpng takes the row as writable but only reads it.
    png_write_row(png, const_cast<std::uint8_t*>(row));
    return true;
}

bool writeEnd(png_structp png) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_write_end(png, nullptr);
    return true;
}

} // namespace

PngCompression compressionFor(PngContent content) {
    if (content == PngContent::RandomCharacters) {
        // Bytes drawn evenly from 78 characters hardly compress: libpng's defaults
        // take twenty times as long as storing them, to save 5 % (bench/PngBench.cpp).
        return {Z_NO_COMPRESSION, Z_DEFAULT_STRATEGY, PNG_FILTER_NONE};
    }
    // Photographs (bench/PngLevels.cpp, on the MATE desktop's): zlib level 2 on rows
    // filtered "up" writes five to ten times as fast as libpng's defaults (level 6,
    // each row's filter chosen among all five), for files 6 to 12 % larger.
    return {2, Z_FILTERED, PNG_FILTER_UP};
}

Result<PngWriter> PngWriter::start(PendingFile& file, int width, int height, PngContent content) {
    return start(file, width, height, compressionFor(content));
}

Result<PngWriter> PngWriter::start(PendingFile& file, int width, int height,
                                   PngCompression compression) {
    auto state = std::make_unique<State>();
    state->file = &file;
    state->width = width;
    state->height = height;
    state->buffer.reserve(kWriteBuffer + std::size_t{64} * 1024);
    state->png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngJumpOnError, pngIgnoreWarning);
    if (state->png != nullptr) {
        state->info = png_create_info_struct(state->png);
    }
    if (state->png == nullptr || state->info == nullptr || !writeHeader(*state, compression)) {
        return state->written ? file.failure(ENOMEM) : state->written.problem();
    }
    return PngWriter(std::move(state));
}

PngWriter::PngWriter(std::unique_ptr<State> state)
    : state_(std::move(state)) {}
PngWriter::PngWriter(PngWriter&&) noexcept = default;
PngWriter& PngWriter::operator=(PngWriter&&) noexcept = default;
PngWriter::~PngWriter() = default;

Status PngWriter::writeRow(std::span<const std::uint8_t> row) {
    if (!state_->written) {
        return state_->written;
    }
    if (!writeRowGuarded(state_->png, row.data())) {
        // Only our own write or memory can fail here: the rows are ours.
        return state_->written ? state_->file->failure(ENOMEM) : state_->written.problem();
    }
    return Done{};
}

Status PngWriter::finish() {
    if (!state_->written) {
        return state_->written;
    }
    if (!writeEnd(state_->png)) {
        return state_->written ? state_->file->failure(ENOMEM) : state_->written.problem();
    }
    return state_->flush();
}

} // namespace kvistra
