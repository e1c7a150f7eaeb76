// SPDX-License-Identifier: GPL-3.0-or-later
// The compression of an adapted cover's PNG file, measured on real photographs:
// for each zlib level and choice of row filters, the time to write every photograph
// given and the size of the files, against libpng's defaults (level 6, each row's
// filter chosen among all five).
// Usage: png_levels_bench PHOTO...
#include "core/Image.h"
#include "io/PendingFile.h"
#include "io/PictureFile.h"
#include "io/PngWriter.h"
#include "io/QtPictureFormats.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <png.h>
#include <string>
#include <sys/stat.h>
#include <vector>
#include <zlib.h>

namespace {

using kvistra::Image;
using kvistra::PngCompression;

struct Filters {
    const char* name;
    int bits;
};

// Seconds and bytes of writing every photograph once, the faster of three.
std::pair<double, double> writeAll(const std::vector<Image>& photos, PngCompression compression,
                                   const std::string& path) {
    double best = 1e30;
    double bytes = 0;
    for (int run = 0; run < 3; ++run) {
        double seconds = 0;
        bytes = 0;
        for (const Image& photo : photos) {
            const auto start = std::chrono::steady_clock::now();
            auto file = kvistra::PendingFile::create(path);
            auto writer =
                kvistra::PngWriter::start(*file, photo.width(), photo.height(), compression);
            for (int y = 0; y < photo.height(); ++y) {
                writer->writeRow(photo.row(y));
            }
            writer->finish();
            file->commit();
            seconds +=
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            struct stat written {};
            ::stat(path.c_str(), &written);
            bytes += static_cast<double>(written.st_size);
        }
        best = std::min(best, seconds);
    }
    return {best, bytes};
}

} // namespace

int main(int argc, char* argv[]) {
    static const kvistra::QtPictureFormats qtFormats;
    kvistra::useOtherPictureFormats(qtFormats);
    std::vector<Image> photos;
    double pixelBytes = 0;
    for (int i = 1; i < argc; ++i) {
        kvistra::Result<Image> photo = kvistra::loadPicture(argv[i]);
        if (!photo) {
            std::fprintf(stderr, "png_levels_bench: %s cannot be read\n", argv[i]);
            return 1;
        }
        pixelBytes += 3.0 * photo->width() * photo->height();
        photos.push_back(std::move(*photo));
    }
    if (photos.empty()) {
        std::fprintf(stderr, "Usage: png_levels_bench PHOTO...\n");
        return 2;
    }
    const std::string path =
        (std::filesystem::temp_directory_path() / "kvistra-png-levels.png").string();
    const auto [defaultSeconds, defaultBytes] =
        writeAll(photos, {6, Z_FILTERED, PNG_ALL_FILTERS}, path);
    std::printf("%zu photographs, %.1f MB of pixels; libpng's defaults: %.2f s, %.1f %% of "
                "the pixels' bytes\n",
                photos.size(), pixelBytes / 1e6, defaultSeconds, 100 * defaultBytes / pixelBytes);
    std::printf("%-6s %-9s %-8s %9s %9s %14s %14s\n", "level", "strategy", "filters", "seconds",
                "MB/s", "% of pixels", "x default size");
    const Filters filters[] = {{"none", PNG_FILTER_NONE},
                               {"up", PNG_FILTER_UP},
                               {"paeth", PNG_FILTER_PAETH},
                               {"all", PNG_ALL_FILTERS}};
    const auto row = [&](int level, int strategy, const Filters& filter) {
        const auto [seconds, bytes] = writeAll(photos, {level, strategy, filter.bits}, path);
        std::printf("%-6d %-9s %-8s %9.2f %9.1f %14.1f %14.3f\n", level,
                    strategy == Z_RLE ? "rle" : "filtered", filter.name, seconds,
                    pixelBytes / seconds / 1e6, 100 * bytes / pixelBytes, bytes / defaultBytes);
    };
    row(0, Z_FILTERED, filters[0]);
    for (const int level : {1, 2, 3, 4, 6, 9}) {
        for (const Filters& filter : filters) {
            row(level, Z_FILTERED, filter);
        }
    }
    // Run-length matches only: zlib's quickest way, often good on filtered rows.
    for (const int level : {1, 6}) {
        for (const Filters& filter : filters) {
            row(level, Z_RLE, filter);
        }
    }
    std::filesystem::remove(path);
    return 0;
}
