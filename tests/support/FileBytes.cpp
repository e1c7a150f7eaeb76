// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileBytes.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kvistra::test {

std::optional<std::string> bytesIfReadable(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string readBytes(const std::string& path) {
    return bytesIfReadable(path).value_or(std::string());
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path);
    }
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    writeBytes(path, std::string(bytes.begin(), bytes.end()));
}

} // namespace kvistra::test
