// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngReader.h"

#include "PngErrors.h"
#include "core/Capacity.h"
#include "core/MemoryBudget.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <png.h>
#include <vector>

namespace kvistra {

namespace {

constexpr std::size_t kReadBuffer = std::size_t{64} * 1024;

} // namespace

struct PngReader::State {
    FileDescriptor file;
    std::string path;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<std::uint8_t> buffer = std::vector<std::uint8_t>(kReadBuffer);
    std::uint64_t offset = 0; // of the byte after the buffer's
    std::size_t bufferAt = 0;
    std::size_t bufferEnd = 0;
    bool endOfFile = false;
    int readError = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    int next = 0;
    Crc crc = Crc::Usual;

    ~State() { close(); }
    void close() {
        if (png != nullptr) {
            png_destroy_read_struct(&png, &info, nullptr);
        }
    }
    // What went wrong, once libpng has given up.
    Message problem() const {
        if (readError != 0) {
            return {MessageId::CannotOpenFile, {path}, readError};
        }
        return {endOfFile ? MessageId::PictureTruncated : MessageId::PictureMalformed, {path}};
    }
};

namespace {

void readFromFile(png_structp png, png_bytep out, png_size_t length) {
    auto& state = *static_cast<PngReader::State*>(png_get_io_ptr(png));
    while (length > 0) {
        if (state.bufferAt == state.bufferEnd) {
            const FileRead got =
                readAt(state.file.get(), state.buffer.data(), state.buffer.size(), state.offset);
            if (!got.ok() || got.bytes == 0) {
                (got.ok() ? state.endOfFile = true : state.readError = got.systemError);
                png_error(png, "read");
            }
            state.offset += got.bytes;
            state.bufferAt = 0;
            state.bufferEnd = got.bytes;
        }
        const std::size_t count = std::min(length, state.bufferEnd - state.bufferAt);
        std::memcpy(out, state.buffer.data() + state.bufferAt, count);
        state.bufferAt += count;
        out += count;
        length -= count;
    }
}

// The header, and the conversions that make every kind of file Image's rows.
bool readHeader(PngReader::State& state) {
    if (setjmp(png_jmpbuf(state.png))) {
        return false;
    }
    png_set_read_fn(state.png, &state, readFromFile);
    if (state.crc == PngReader::Crc::Strict) {
        png_set_crc_action(state.png, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
    }
    // Our own limit is checked below, with our own message.
    png_set_user_limits(state.png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_read_info(state.png, state.info);
    png_set_expand(state.png);
    png_set_scale_16(state.png);
    png_set_strip_alpha(state.png);
    png_set_gray_to_rgb(state.png);
    png_set_bgr(state.png);
    if (png_get_interlace_type(state.png, state.info) != PNG_INTERLACE_NONE) {
        png_set_interlace_handling(state.png);
    }
    png_read_update_info(state.png, state.info);
    return true;
}

bool readEnd(png_structp png) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_end(png, nullptr);
    return true;
}

bool readRow(png_structp png, std::uint8_t* row) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_row(png, row, nullptr);
    return true;
}

Status start(PngReader::State& state) {
    state.close();
    state.offset = 0;
    state.bufferAt = state.bufferEnd = 0;
    state.endOfFile = false;
    state.readError = 0;
    state.next = 0;
    state.png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngJumpOnError, pngIgnoreWarning);
    if (state.png != nullptr) {
        state.info = png_create_info_struct(state.png);
    }
    if (state.png == nullptr || state.info == nullptr) {
        return Message{MessageId::CannotOpenFile, {state.path}, ENOMEM};
    }
    if (!readHeader(state)) {
        return state.problem();
    }
    const png_uint_32 width = png_get_image_width(state.png, state.info);
    const png_uint_32 height = png_get_image_height(state.png, state.info);
    if (width > static_cast<png_uint_32>(kLongestSide) ||
        height > static_cast<png_uint_32>(kLongestSide)) {
        return Message{MessageId::PictureTooLarge,
                       {state.path, std::to_string(width), std::to_string(height)}};
    }
    state.width = static_cast<int>(width);
    state.height = static_cast<int>(height);
    state.interlaced = png_get_interlace_type(state.png, state.info) != PNG_INTERLACE_NONE;
    return Done{};
}

} // namespace

bool PngReader::hasSignature(std::span<const std::uint8_t> head) {
    return head.size() >= 8 && png_sig_cmp(head.data(), 0, 8) == 0;
}

Result<PngReader> PngReader::open(FileDescriptor file, std::string path, Crc crc) {
    auto state = std::make_unique<State>();
    state->file = std::move(file);
    state->path = std::move(path);
    state->crc = crc;
    if (Status started = start(*state); !started) {
        return started.problem();
    }
    return PngReader(std::move(state));
}

PngReader::PngReader(std::unique_ptr<State> state)
    : state_(std::move(state)) {}
PngReader::PngReader(PngReader&&) noexcept = default;
PngReader& PngReader::operator=(PngReader&&) noexcept = default;
PngReader::~PngReader() = default;

int PngReader::width() const {
    return state_->width;
}

int PngReader::height() const {
    return state_->height;
}

bool PngReader::interlaced() const {
    return state_->interlaced;
}

const std::string& PngReader::path() const {
    return state_->path;
}

int PngReader::nextRow() const {
    return state_->next;
}

Status PngReader::readNextRow(std::span<std::uint8_t> row) {
    if (state_->interlaced || state_->next >= state_->height ||
        row.size() < static_cast<std::size_t>(state_->width) * 3) {
        return Message{MessageId::PictureMalformed, {state_->path}};
    }
    if (!readRow(state_->png, row.data())) {
        return state_->problem();
    }
    ++state_->next;
    return Done{};
}

Status PngReader::rewind() {
    return start(*state_);
}

Status PngReader::readToEnd() {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(state_->width) * 3);
    while (state_->next < state_->height) {
        if (Status read = readNextRow(row); !read) {
            return read;
        }
    }
    if (!readEnd(state_->png)) {
        return state_->problem();
    }
    // Nothing after the end chunk.
    std::uint8_t after = 0;
    if (state_->bufferAt != state_->bufferEnd) {
        return Message{MessageId::PictureMalformed, {state_->path}};
    }
    if (const FileRead got = readAt(state_->file.get(), &after, 1, state_->offset);
        !got.ok() || got.bytes != 0) {
        return Message{MessageId::PictureMalformed, {state_->path}};
    }
    return Done{};
}

Result<Image> PngReader::readWhole() {
    if (const Status fits = checkPictureMemory(state_->path, state_->width, state_->height,
                                               Image::bytesFor(state_->width, state_->height));
        !fits) {
        return fits.problem();
    }
    if (state_->next != 0) {
        if (Status rewound = rewind(); !rewound) {
            return rewound.problem();
        }
    }
    Image image(state_->width, state_->height);
    // Each pass of an interlaced file adds its pixels to the rows the earlier ones began.
    const int passes = state_->interlaced ? PNG_INTERLACE_ADAM7_PASSES : 1;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < state_->height; ++y) {
            if (!readRow(state_->png, image.row(y).data())) {
                return state_->problem();
            }
        }
    }
    state_->next = state_->height;
    return image;
}

} // namespace kvistra
