// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BmpFormat.h"
#include "FileDescriptor.h"
#include "core/Image.h"
#include "core/Result.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kvistra {

// A bitmap file opened once: its headers are read and checked when the reader is
// made, and its pixels come from the same open file, so a file replaced meanwhile
// cannot mix its pixels with another's headers.
class BmpReader {
public:
    // Takes the open file. CannotOpenFile when it cannot be read, or the header's
    // refusal (see parseBmpHeader).
    static Result<BmpReader> open(FileDescriptor file, std::string path);
    // Opens the file by name first.
    static Result<BmpReader> open(std::string path);

    const BmpLayout& layout() const { return layout_; }
    int fd() const { return file_.get(); }
    const std::string& path() const { return path_; }

    // The whole picture, its rows read straight into it without holding the file
    // in memory.
    Result<Image> read() const;
    // Checks every pixel as read() would, without making the picture; done at once
    // when the headers alone show that every stored value is valid.
    Status checkPixels() const;

private:
    BmpReader(FileDescriptor file, std::string path, BmpLayout layout);

    Result<std::vector<std::uint8_t>> readRuns() const;

    FileDescriptor file_;
    std::string path_;
    BmpLayout layout_;
};

// A bitmap file by name, read whole.
Result<Image> readBmpFile(const std::string& path);

} // namespace kvistra
