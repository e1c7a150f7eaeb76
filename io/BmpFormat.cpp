// SPDX-License-Identifier: GPL-3.0-or-later
#include "BmpFormat.h"

#include "PendingFile.h"
#include "core/Capacity.h"
#include "core/MemoryBudget.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

namespace kvistra {

namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitfields = 3;
constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint64_t kInfoHeaderSize = 40;
constexpr std::uint64_t kCoreHeaderSize = 12;

std::uint16_t u16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::int32_t s32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::int32_t>(u32(b, at));
}

void put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::uint8_t* p, std::uint32_t v) {
    put16(p, v);
    put16(p + 2, v >> 16);
}

bool isContiguous(std::uint32_t mask) {
    const std::uint32_t shifted = mask >> std::countr_zero(mask);
    return (shifted & (shifted + 1)) == 0;
}

// A colour channel of a bit-field pixel, scaled to 0..255.
std::uint8_t channel(std::uint32_t pixel, std::uint32_t mask) {
    const int bits = std::popcount(mask);
    const std::uint32_t value = (pixel & mask) >> std::countr_zero(mask);
    if (bits >= 8) {
        return static_cast<std::uint8_t>(value >> (bits - 8));
    }
    const std::uint32_t max = (1u << bits) - 1;
    return static_cast<std::uint8_t>((value * 255 + max / 2) / max);
}

Message malformed(const std::string& path) {
    return {MessageId::PictureMalformed, {path}};
}
Message truncated(const std::string& path) {
    return {MessageId::PictureTruncated, {path}};
}

} // namespace

bool hasBmpSignature(std::span<const std::uint8_t> head) {
    return head.size() >= 2 && head[0] == 'B' && head[1] == 'M';
}

Result<BmpLayout> parseBmpHeader(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                                 const std::string& path) {
    head = head.first(static_cast<std::size_t>(std::min<std::uint64_t>(head.size(), fileSize)));
    if (!hasBmpSignature(head)) {
        return Message{MessageId::NotAPicture, {path}};
    }
    if (head.size() < kFileHeaderSize + 4) {
        return truncated(path);
    }
    BmpLayout layout;
    layout.fileSize = fileSize;
    layout.pixelOffset = u32(head, 10);
    const std::uint64_t headerSize = u32(head, kFileHeaderSize);
    const bool core = headerSize == kCoreHeaderSize;
    if (!core && headerSize != kInfoHeaderSize && headerSize != 52 && headerSize != 56 &&
        headerSize != 108 && headerSize != 124) {
        return malformed(path);
    }
    if (head.size() < kFileHeaderSize + headerSize) {
        return truncated(path);
    }

    const std::size_t h = kFileHeaderSize;
    std::int64_t width = 0;
    std::int64_t height = 0;
    unsigned planes = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t coloursUsed = 0;
    if (core) {
        width = u16(head, h + 4);
        height = u16(head, h + 6);
        planes = u16(head, h + 8);
        layout.bitsPerPixel = u16(head, h + 10);
    } else {
        width = s32(head, h + 4);
        height = s32(head, h + 8);
        planes = u16(head, h + 12);
        layout.bitsPerPixel = u16(head, h + 14);
        compression = u32(head, h + 16);
        coloursUsed = u32(head, h + 32);
    }

    const int bpp = layout.bitsPerPixel;
    const bool paletted = bpp == 1 || bpp == 4 || bpp == 8;
    if (planes != 1 || !(paletted || bpp == 16 || bpp == 24 || bpp == 32) || (core && bpp == 16) ||
        (core && bpp == 32)) {
        return malformed(path);
    }
    // Embedded JPEG/PNG data and alpha bit fields are not read.
    layout.runLength = (compression == kRle8 && bpp == 8) || (compression == kRle4 && bpp == 4);
    if (compression != kRgb && !layout.runLength &&
        !(compression == kBitfields && (bpp == 16 || bpp == 32))) {
        return malformed(path);
    }
    if (width <= 0 || height == 0) {
        return malformed(path);
    }
    layout.topDown = height < 0;
    if (layout.topDown && layout.runLength) {
        return malformed(path);
    }
    height = height < 0 ? -height : height;
    if (width > kLongestSide || height > kLongestSide) {
        return Message{MessageId::PictureTooLarge,
                       {path, std::to_string(width), std::to_string(height)}};
    }
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);

    std::uint64_t headersEnd = kFileHeaderSize + headerSize;
    if (compression == kBitfields) {
        if (headerSize == kInfoHeaderSize) {
            headersEnd += 12; // the three masks follow the header
            if (head.size() < headersEnd) {
                return truncated(path);
            }
        }
        const std::size_t at = kFileHeaderSize + kInfoHeaderSize;
        layout.masks = {u32(head, at), u32(head, at + 4), u32(head, at + 8)};
        const std::uint64_t limit = bpp == 16 ? 0xFFFF : 0xFFFFFFFF;
        for (const std::uint32_t mask : layout.masks) {
            if (mask == 0 || mask > limit || !isContiguous(mask)) {
                return malformed(path);
            }
        }
        const auto [r, g, b] = layout.masks;
        if ((r & g) != 0 || (r & b) != 0 || (g & b) != 0) {
            return malformed(path);
        }
    } else if (bpp == 16) {
        layout.masks = {0x7C00, 0x03E0, 0x001F};
    } else if (bpp == 32) {
        layout.masks = {0xFF0000, 0x00FF00, 0x0000FF};
    }
    if (layout.pixelOffset < headersEnd) {
        return malformed(path);
    }

    if (paletted) {
        const std::uint64_t full = 1u << bpp;
        if (coloursUsed > full) {
            return malformed(path);
        }
        const std::uint64_t entrySize = core ? 3 : 4;
        // Some writers declare more colours than they store before the pixels;
        // only what lies before them is palette.
        const std::uint64_t room = (layout.pixelOffset - headersEnd) / entrySize;
        const std::uint64_t count = std::min(coloursUsed == 0 ? full : coloursUsed, room);
        if (count == 0) {
            return malformed(path);
        }
        if (head.size() < headersEnd + count * entrySize) {
            return truncated(path);
        }
        layout.palette.reserve(count);
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::size_t at = headersEnd + i * entrySize;
            layout.palette.push_back(makeColour(head[at + 2], head[at + 1], head[at]));
        }
    }

    const std::uint64_t rowBits =
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bpp);
    layout.rowStride = (rowBits + 31) / 32 * 4;
    layout.rowBytes = (rowBits + 7) / 8;
    if (layout.runLength) {
        // A run covers at most 255 pixels in two bytes; fewer bytes cannot hold the
        // picture, and are refused before anything is allocated for it.
        const std::uint64_t runsPerRow = (static_cast<std::uint64_t>(width) + 254) / 255;
        if (layout.pixelOffset + 2 * runsPerRow * static_cast<std::uint64_t>(height) > fileSize) {
            return truncated(path);
        }
        return layout;
    }
    // Every pixel must be in the file; only the last row's padding may be missing.
    const std::uint64_t needed = layout.pixelOffset +
                                 layout.rowStride * static_cast<std::uint64_t>(height - 1) +
                                 layout.rowBytes;
    if (needed > fileSize) {
        return truncated(path);
    }
    return layout;
}

Status checkBmpMemory(const BmpLayout& layout, const std::string& path, std::uint64_t alongside) {
    return checkPictureMemory(path, layout.width, layout.height,
                              Image::bytesFor(layout.width, layout.height) + alongside);
}

// Every pixel must be given by a run: rows end only when full and the jump code,
// which leaves pixels unset, is refused, so no pixel is made up and a tiny file
// cannot claim a huge picture.
Status decodeBmpRuns(const BmpLayout& layout, std::span<const std::uint8_t> data, Image* image,
                     const std::string& path) {
    const bool four = layout.bitsPerPixel == 4;
    const std::uint64_t width = static_cast<std::uint64_t>(layout.width);
    const std::uint64_t height = static_cast<std::uint64_t>(layout.height);
    const std::size_t colours = layout.palette.size();
    std::uint64_t x = 0;
    std::uint64_t row = 0; // from the bottom
    std::size_t at = 0;
    const auto put = [&](unsigned index) {
        if (index >= colours) {
            return false;
        }
        if (image != nullptr) {
            image->setPixel(static_cast<int>(x), static_cast<int>(height - 1 - row),
                            layout.palette[index]);
        }
        ++x;
        return true;
    };
    const auto fits = [&](std::uint64_t count) {
        return row < height && x + count <= width;
    };
    while (true) {
        if (data.size() - at < 2) {
            return truncated(path);
        }
        const unsigned count = data[at];
        const unsigned value = data[at + 1];
        at += 2;
        if (count > 0) {
            if (!fits(count)) {
                return malformed(path);
            }
            for (unsigned i = 0; i < count; ++i) {
                const unsigned index = four ? (i % 2 == 0 ? value >> 4 : value & 0xF) : value;
                if (!put(index)) {
                    return malformed(path);
                }
            }
            continue;
        }
        switch (value) {
        case 0: // end of row
            if (x != width || row >= height) {
                return malformed(path);
            }
            x = 0;
            ++row;
            break;
        case 1: // end of picture
            if (!(row == height && x == 0) && !(row == height - 1 && x == width)) {
                return malformed(path);
            }
            return Done{};
        case 2: // jump
            return malformed(path);
        default: { // value literal indices, padded to a whole number of 16-bit words
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            if (data.size() - at < bytes + bytes % 2) {
                return truncated(path);
            }
            if (!fits(value)) {
                return malformed(path);
            }
            for (unsigned i = 0; i < value; ++i) {
                const unsigned byte = data[at + (four ? i / 2 : i)];
                const unsigned index = four ? (i % 2 == 0 ? byte >> 4 : byte & 0xF) : byte;
                if (!put(index)) {
                    return malformed(path);
                }
            }
            at += bytes + bytes % 2;
        }
        }
    }
}

bool decodeBmpRow(const BmpLayout& layout, const std::uint8_t* in, std::uint8_t* out) {
    const int width = layout.width;
    switch (layout.bitsPerPixel) {
    case 24:
        std::memcpy(out, in, static_cast<std::size_t>(width) * 3);
        return true;
    case 16:
    case 32: {
        const auto [r, g, b] = layout.masks;
        const std::size_t size = layout.bitsPerPixel / 8;
        for (int x = 0; x < width; ++x, in += size, out += 3) {
            std::uint32_t pixel = in[0] | static_cast<std::uint32_t>(in[1]) << 8;
            if (size == 4) {
                pixel |= static_cast<std::uint32_t>(in[2]) << 16 | static_cast<std::uint32_t>(in[3])
                                                                       << 24;
            }
            out[0] = channel(pixel, b);
            out[1] = channel(pixel, g);
            out[2] = channel(pixel, r);
        }
        return true;
    }
    default: {
        const int bpp = layout.bitsPerPixel;
        const int perByte = 8 / bpp;
        const unsigned mask = (1u << bpp) - 1;
        const std::size_t count = layout.palette.size();
        for (int x = 0; x < width; ++x, out += 3) {
            const int shift = 8 - bpp * (x % perByte + 1);
            const unsigned index = (in[x / perByte] >> shift) & mask;
            if (index >= count) {
                return false;
            }
            const Colour colour = layout.palette[index];
            out[0] = static_cast<std::uint8_t>(blueOf(colour));
            out[1] = static_cast<std::uint8_t>(greenOf(colour));
            out[2] = static_cast<std::uint8_t>(redOf(colour));
        }
        return true;
    }
    }
}

Result<Image> decodeBmp(std::span<const std::uint8_t> file, const std::string& path) {
    Result<BmpLayout> layout =
        parseBmpHeader(file.first(std::min(file.size(), kBmpHeadSize)), file.size(), path);
    if (!layout) {
        return layout.problem();
    }
    if (const Status memory = checkBmpMemory(*layout, path); !memory) {
        return memory.problem();
    }
    Image image(layout->width, layout->height);
    if (layout->runLength) {
        if (const Status runs = decodeBmpRuns(
                *layout, file.subspan(static_cast<std::size_t>(layout->pixelOffset)), &image, path);
            !runs) {
            return runs.problem();
        }
        return image;
    }
    for (int y = 0; y < layout->height; ++y) {
        if (!decodeBmpRow(*layout, file.data() + layout->rowOffset(y), image.row(y).data())) {
            return malformed(path);
        }
    }
    return image;
}

std::array<std::uint8_t, kBmpHeaderBytes> bmpHeader(int width, int height) {
    const auto pixelBytes =
        static_cast<std::uint32_t>(Image::strideFor(width)) * static_cast<std::uint32_t>(height);
    std::array<std::uint8_t, kBmpHeaderBytes> header{};
    header[0] = 'B';
    header[1] = 'M';
    put32(&header[2], static_cast<std::uint32_t>(kBmpHeaderBytes) + pixelBytes);
    put32(&header[10], static_cast<std::uint32_t>(kBmpHeaderBytes));
    put32(&header[14], static_cast<std::uint32_t>(kInfoHeaderSize));
    put32(&header[18], static_cast<std::uint32_t>(width));
    put32(&header[22], static_cast<std::uint32_t>(height));
    put16(&header[26], 1);
    put16(&header[28], 24);
    put32(&header[34], pixelBytes);
    put32(&header[38], 2835); // 72 dots per inch
    put32(&header[42], 2835);
    return header;
}

Status writeBmp(PendingFile& file, const Image& image) {
    const std::array<std::uint8_t, kBmpHeaderBytes> header =
        bmpHeader(image.width(), image.height());
    std::vector<ByteSpan> pieces;
    pieces.reserve(static_cast<std::size_t>(image.height()) + 1);
    pieces.emplace_back(header);
    for (int y = image.height() - 1; y >= 0; --y) {
        pieces.push_back(image.row(y));
    }
    return file.write(pieces);
}

} // namespace kvistra
