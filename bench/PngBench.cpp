// SPDX-License-Identifier: GPL-3.0-or-later
// PNG settings for pictures of random characters: the file size and the time of
// libpng's defaults against what the tool writes, on the same 4000 x 3000 picture.
#include "QuietReport.h"
#include "core/Encoder.h"
#include "core/Image.h"
#include "core/SecureRandom.h"
#include "io/PendingFile.h"
#include "io/PngWriter.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <sys/stat.h>

namespace kvistra {
namespace {

const Image& randomCharacters() {
    static const Image canvas = [] {
        Image image(4000, 3000);
        SecureRandom random;
        QuietEncodeReport report;
        Encoder(image, random, report).generate(quietRequestFor(std::string(32767, 'k'), false));
        return image;
    }();
    return canvas;
}

void writePng(benchmark::State& state) {
    const Image& image = randomCharacters();
    const auto content = static_cast<PngContent>(state.range(0));
    const std::string path =
        (std::filesystem::temp_directory_path() / "kvistra-bench.png").string();
    double bytes = 0;
    for (auto _ : state) {
        Result<PendingFile> file = PendingFile::create(path);
        Result<PngWriter> writer = PngWriter::start(*file, image.width(), image.height(), content);
        for (int y = 0; y < image.height(); ++y) {
            writer->writeRow(image.row(y));
        }
        writer->finish();
        file->commit();
        struct stat written {};
        ::stat(path.c_str(), &written);
        bytes = static_cast<double>(written.st_size);
    }
    std::filesystem::remove(path);
    state.counters["percent_of_pixels"] = 100.0 * bytes / (3.0 * image.width() * image.height());
}
BENCHMARK(writePng)
    ->ArgName("random_characters")
    ->Arg(static_cast<int>(PngContent::Picture))
    ->Arg(static_cast<int>(PngContent::RandomCharacters))
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kvistra

BENCHMARK_MAIN();
