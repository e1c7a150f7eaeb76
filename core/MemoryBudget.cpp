// SPDX-License-Identifier: GPL-3.0-or-later
#include "MemoryBudget.h"

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace kvistra {

namespace {

constexpr std::uint64_t kMegabyte = 1024 * 1024;

std::uint64_t physicalMemory() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) {
        return UINT64_MAX;
    }
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

std::uint64_t softLimit(int resource) {
    rlimit limit{};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return UINT64_MAX;
    }
    return static_cast<std::uint64_t>(limit.rlim_cur);
}

struct InUse {
    std::uint64_t addressSpace = 0; // its libraries, heap and stacks
    std::uint64_t data = 0;         // what counts against the data limit
};

InUse memoryInUse() {
    InUse inUse;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) {
        return inUse;
    }
    unsigned long long size = 0;
    unsigned long long ignored = 0;
    unsigned long long data = 0;
    const int read = std::fscanf(statm, "%llu %llu %llu %llu %llu %llu", &size, &ignored, &ignored,
                                 &ignored, &ignored, &data);
    std::fclose(statm);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (read == 6 && pageSize > 0) {
        inUse.addressSpace = size * static_cast<std::uint64_t>(pageSize);
        inUse.data = data * static_cast<std::uint64_t>(pageSize);
    }
    return inUse;
}

std::uint64_t roomUnder(std::uint64_t limit, std::uint64_t used) {
    if (limit == UINT64_MAX) {
        return UINT64_MAX;
    }
    return limit > used ? limit - used : 0;
}

std::string megabytes(std::uint64_t bytes) {
    return std::to_string((bytes + kMegabyte - 1) / kMegabyte);
}

} // namespace

MemoryBounds systemMemoryBounds() {
    MemoryBounds bounds;
    bounds.physical = physicalMemory();
    // Large blocks are mapped: they count against both limits.
    const InUse inUse = memoryInUse();
    bounds.addressSpaceLeft = std::min(roomUnder(softLimit(RLIMIT_AS), inUse.addressSpace),
                                       roomUnder(softLimit(RLIMIT_DATA), inUse.data));
    return bounds;
}

Status checkPictureMemory(const std::string& path, int width, int height, std::uint64_t needed,
                          std::uint64_t available) {
    if (needed <= available) {
        return Done{};
    }
    return Message{MessageId::PictureNeedsMemory,
                   {path, std::to_string(width), std::to_string(height), megabytes(needed),
                    std::to_string(available / kMegabyte)}};
}

Status checkPictureMemory(const std::string& path, int width, int height, std::uint64_t needed) {
    return checkPictureMemory(path, width, height, needed, systemMemoryBounds().available());
}

} // namespace kvistra
