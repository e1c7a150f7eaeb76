// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliRun.h"
#include "support/BmpFixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <zlib.h>

namespace kvistra::cli {
namespace {

using test::ChildRun;
using test::cli;
using test::CliRun;
using test::runProgram;
using test::TempFolder;
using test::writeBytes;
using Bytes = std::vector<std::uint8_t>;

constexpr Colour kA = makeColour(0x12, 0x34, 0x56);
constexpr Colour kB = makeColour(0x65, 0x43, 0x21);

std::string bytes(const kvistra::test::BmpFixture& fixture) {
    const Bytes built = fixture.build();
    return {built.begin(), built.end()};
}

// 2 x 2 at 8 bits with a palette of two colours.
std::string paletted(std::uint8_t lastIndex) {
    return bytes({.width = 2,
                  .height = 2,
                  .bitsPerPixel = 8,
                  .coloursUsed = 2,
                  .palette = {kA, kB},
                  .rows = {{0, 1}, {1, lastIndex}}});
}

// 4 x 2 run-length coded, a palette of two colours.
std::string runLength(Bytes runs) {
    return bytes({.width = 4,
                  .height = 2,
                  .bitsPerPixel = 8,
                  .compression = 1,
                  .coloursUsed = 2,
                  .palette = {kA, kB},
                  .runs = std::move(runs)});
}

// capacity, hide --cover (picture kept whole or only measured), reveal and inspect
// must agree on every picture: all take it, or all refuse it with the same words.
TEST(CliPictures, EveryCommandGivesABitmapTheSameVerdict) {
    const struct {
        const char* name;
        std::string file;
        const char* refusal; // empty: a good picture
    } cases[] = {
        {"good paletted", paletted(1), ""},
        {"good run-length", runLength({4, 0, 0, 0, 2, 1, 2, 0, 0, 1}), ""},
        {"palette index out of range", paletted(7), "är skadad och kan inte läsas."},
        {"4-bit index out of range",
         bytes({.width = 2,
                .height = 1,
                .bitsPerPixel = 4,
                .coloursUsed = 2,
                .palette = {kA, kB},
                .rows = {{0x1F}}}),
         "är skadad och kan inte läsas."},
        {"run index out of range", runLength({4, 0, 0, 0, 2, 1, 2, 9, 0, 1}),
         "är skadad och kan inte läsas."},
        {"literal index out of range", runLength({4, 0, 0, 0, 0, 4, 0, 1, 5, 1, 0, 1}),
         "är skadad och kan inte läsas."},
        {"jump in the runs", runLength({4, 0, 0, 0, 0, 2, 1, 0, 0, 1}),
         "är skadad och kan inte läsas."},
        {"run past the row", runLength({5, 0, 0, 0, 4, 1, 0, 1}), "är skadad och kan inte läsas."},
        {"runs without an end", runLength({4, 0, 0, 0, 4, 1, 0, 0}),
         "är avkortad: filen innehåller inte alla bildpunkter."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder dir;
        const std::string picture = dir / "p.bmp";
        writeBytes(picture, c.file);
        const std::vector<std::vector<std::string>> commands = {
            {"capacity", picture, "-x", "0", "-y", "0"},
            {"hide", "--text", "x", "-x", "0", "-y", "0", "--cover", picture, "--out",
             dir / "o.bmp"},
            {"hide", "--text", "x", "-x", "0", "-y", "0", "--adapt", "--cover", picture, "--out",
             dir / "o.png"},
            {"reveal", picture, "-x", "0", "-y", "0", "--shift", "0", "--length", "1"},
            {"inspect", picture, "0", "0"},
        };
        for (const auto& args : commands) {
            SCOPED_TRACE(args.front());
            const CliRun result = cli(args);
            if (*c.refusal == '\0') {
                EXPECT_EQ(result.status, 0) << result.err;
                continue;
            }
            EXPECT_EQ(result.status, 1);
            EXPECT_EQ(result.err, "Bilden \"" + picture + "\" " + c.refusal + "\n");
            EXPECT_EQ(result.out, "");
            EXPECT_FALSE(std::filesystem::exists(dir / "o.bmp"));
            EXPECT_FALSE(std::filesystem::exists(dir / "o.png"));
        }
    }
}

ChildRun underMemoryLimit(const char* kibibytes, const std::vector<std::string>& args,
                          const TempFolder& dir) {
    return runProgram(std::string("ulimit -v ") + kibibytes, args, dir);
}

// A valid 8.5 MB run-length bitmap of 32767 x 32767 white pixels: 3 GB once decoded.
std::string hugeRunLengthBitmap() {
    constexpr int kSide = 32767;
    Bytes row;
    for (int i = 0; i < kSide / 255; ++i) {
        row.insert(row.end(), {255, 0});
    }
    row.insert(row.end(), {kSide % 255, 0, 0, 0});
    Bytes runs;
    runs.reserve(row.size() * kSide);
    for (int y = 0; y < kSide; ++y) {
        runs.insert(runs.end(), row.begin(), row.end());
    }
    runs.back() = 1; // the last end of row ends the picture
    return bytes({.width = kSide,
                  .height = kSide,
                  .bitsPerPixel = 8,
                  .compression = 1,
                  .coloursUsed = 1,
                  .palette = {kWhite},
                  .runs = std::move(runs)});
}

TEST(CliMemory, APictureLargerThanTheMemoryAllowedIsRefusedBeforeItIsMade) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit under a small address-space limit";
#endif
    const TempFolder dir;
    const std::string picture = dir / "huge.bmp";
    writeBytes(picture, hugeRunLengthBitmap());
    const std::string needs = "Bilden \"" + picture +
                              "\" på 32767 x 32767 bildpunkter behöver 3081 MB minne, men "
                              "programmet kan bara använda ";
    const struct {
        const char* name;
        const char* limit;
        std::vector<std::string> args;
        std::string says; // the start of standard error
    } refused[] = {
        {"reveal",
         "2000000",
         {"reveal", picture, "-x", "0", "-y", "0", "--shift", "0", "--length", "1"},
         needs},
        {"inspect", "2000000", {"inspect", picture, "5", "5"}, needs},
        {"adapt on a cover",
         "2000000",
         {"hide", "--text", "x", "--adapt", "--cover", picture, "--out", dir / "o.bmp"},
         needs},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        const ChildRun result = underMemoryLimit(c.limit, c.args, dir);
        EXPECT_FALSE(result.signalled);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err.substr(0, c.says.size()), c.says) << result.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "o.bmp"));
        EXPECT_FALSE(std::filesystem::exists(dir / "o.png"));
    }
    // Measuring the picture checks every run but never holds the picture.
    const ChildRun measured = underMemoryLimit("2000000", {"capacity", picture}, dir);
    EXPECT_EQ(measured.status, 0) << measured.err;
    EXPECT_EQ(measured.out, "32767\n");
}

// Every picture the tool writes goes to its file row by row, and a cover is read
// the same way: a picture several times larger than the memory allowed is made,
// and read back, under that limit.
TEST(CliMemory, PicturesLargerThanTheMemoryAllowedAreWrittenAndReadInRows) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit under a small address-space limit";
#endif
    const TempFolder dir;
    const char* limit = "100000"; // KiB; each picture below takes 192 MB
    const std::string cover = dir / "cover.png";
    const std::string key = dir / "key.txt";
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string out;
    } made[] = {
        {"key position, PNG", {"--size", "8000x8000", "-x", "7000", "-y", "7990"}, cover},
        {"adapt, new bitmap", {"--size", "8000x8000", "--adapt"}, dir / "new.bmp"},
        {"adapt on a PNG cover", {"--cover", cover, "--adapt"}, dir / "adapted.png"},
        {"adapt on a PNG cover, bitmap out", {"--cover", cover, "--adapt"}, dir / "adapted.bmp"},
    };
    for (const auto& c : made) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"hide", "--text", "Hej på dig", "--out",
                                         c.out,  "--key",  key};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ChildRun hidden = underMemoryLimit(limit, args, dir);
        ASSERT_EQ(hidden.status, 0) << hidden.err;
        const ChildRun revealed = underMemoryLimit(limit, {"reveal", c.out, "--key", key}, dir);
        EXPECT_EQ(revealed.status, 0) << revealed.err;
        EXPECT_EQ(revealed.out, "Hej på dig\n");
        const ChildRun room = underMemoryLimit(limit, {"capacity", c.out}, dir);
        EXPECT_EQ(room.out, "32767\n") << room.err;
    }
}

// The tool reads bitmaps and PNG files itself and any other format through its
// plugin, which it finds from where it lies itself; a copy of the tool without the
// plugin beside it refuses such a picture in words that name the plugin.
TEST(CliPictures, OtherFormatsAreReadThroughThePluginBesideTheTool) {
    const TempFolder dir;
    // One red pixel.
    writeBytes(dir / "red.gif",
               std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\x00\x00\x00\x00\x00"
                           ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                           35));
    const std::vector<std::string> inspect = {"inspect", dir / "red.gif", "0", "0"};
    const ChildRun read = runProgram("true", inspect, dir);
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_NE(read.out.find("255"), std::string::npos) << read.out;

    std::filesystem::create_directory(dir / "bin");
    std::filesystem::copy_file(KVISTRA_CLI, dir / "bin/kvistra-cli");
    const std::string copy = dir / "bin/kvistra-cli";
    const int status = std::system(("'" + copy + "' inspect '" + (dir / "red.gif") + "' 0 0 >'" +
                                    (dir / "out") + "' 2>'" + (dir / "err") + "'")
                                       .c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string refusal = test::readBytes(dir / "err");
    EXPECT_NE(refusal.find("är varken BMP eller PNG"), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("picture-formats.so"), std::string::npos) << refusal;
}

std::string bigEndian(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

// A PNG chunk: its length, type, data and checksum.
std::string pngChunk(const std::string& type, const std::string& data) {
    const std::string typed = type + data;
    return bigEndian(static_cast<std::uint32_t>(data.size())) + typed +
           bigEndian(static_cast<std::uint32_t>(crc32(
               0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()))));
}

// An RGB PNG file that claims width x height pixels but holds one row of them.
std::string pngWhoseRowsRunOut(std::uint32_t width, std::uint32_t height) {
    const std::string row(1 + 3 * static_cast<std::size_t>(width), '\0');
    std::string packed(compressBound(static_cast<uLong>(row.size())), '\0');
    uLongf packedSize = packed.size();
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
             reinterpret_cast<const Bytef*>(row.data()), static_cast<uLong>(row.size()));
    packed.resize(packedSize);
    return std::string("\x89PNG\r\n\x1a\n", 8) +
           pngChunk("IHDR",
                    bigEndian(width) + bigEndian(height) + std::string("\x08\x02\0\0\0", 5)) +
           pngChunk("IDAT", packed) + pngChunk("IEND", "");
}

// A cover whose rows run out is refused where they do: a few bytes that claim
// 30000 x 30000 pixels never cost the gigabytes of writing their size would. The
// file size limit stops a program that writes on.
TEST(CliPictures, ACoverWhoseRowsRunOutIsRefusedWhereTheyDo) {
    const TempFolder dir;
    const std::string cover = dir / "cover.png";
    writeBytes(cover, pngWhoseRowsRunOut(30000, 30000));
    for (const char* out : {"o.png", "o.bmp"}) {
        SCOPED_TRACE(out);
        const ChildRun hidden = runProgram(
            "trap '' XFSZ && ulimit -f 20000",
            {"hide", "--cover", cover, "--adapt", "--text", "hej", "--out", dir / out}, dir);
        EXPECT_EQ(hidden.status, 1);
        EXPECT_NE(hidden.err.find("är skadad"), std::string::npos) << hidden.err;
        EXPECT_FALSE(std::filesystem::exists(dir / out));
    }
}

// A run-length bitmap of 4 x 1 pixels whose file runs on for a gigabyte (a sparse
// file): its runs are read whole, more than the address space allows. What the
// picture checks cannot foresee ends in a message, not an abort.
TEST(CliMemory, AnAllocationThatFailsEndsInAMessage) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit under a small address-space limit";
#endif
    const TempFolder dir;
    const std::string picture = dir / "long.bmp";
    writeBytes(picture, runLength({4, 0, 0, 0, 4, 1, 0, 1}));
    std::filesystem::resize_file(picture, std::uint64_t{1} << 30);
    const ChildRun result = underMemoryLimit("600000", {"capacity", picture}, dir);
    EXPECT_FALSE(result.signalled);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "Minnet räckte inte till, och åtgärden avbröts. Ingenting har sparats.\n");
}

// What the tool writes, it reads: the longest sides, and pictures just past 2^28
// pixels (where toolkit image readers give up), with the message in the last
// pixels, so that every row is written and read.
TEST(CliPictures, EveryShapeReadsBackWithEveryCommand) {
    const TempFolder dir;
    const struct {
        int width;
        int height;
    } shapes[] = {{32767, 1}, {1, 32767}, {16385, 16384}};
    for (const auto& shape : shapes) {
        for (const char* extension : {"bmp", "png"}) {
            const std::string size =
                std::to_string(shape.width) + "x" + std::to_string(shape.height);
            SCOPED_TRACE(size + " " + extension);
            const std::string picture = dir / (std::string("picture.") + extension);
            const std::int64_t last = std::int64_t{shape.width} * shape.height - 3;
            const std::string x = std::to_string(last % shape.width);
            const std::string y = std::to_string(last / shape.width);
            const CliRun hidden = cli({"hide", "--text", "Hej", "--size", size, "-x", x, "-y", y,
                                       "--shift", "0", "--out", picture});
            ASSERT_EQ(hidden.status, 0) << hidden.err;

            const CliRun revealed =
                cli({"reveal", picture, "-x", x, "-y", y, "--shift", "0", "--length", "3"});
            EXPECT_EQ(revealed.out, "Hej\n") << revealed.err;
            const CliRun room = cli({"capacity", picture, "-x", x, "-y", y});
            EXPECT_EQ(room.out, "3\n") << room.err;
            const CliRun inspected = cli({"inspect", picture, std::to_string(shape.width - 1),
                                          std::to_string(shape.height - 1), "--json"});
            EXPECT_NE(inspected.out.find("\"character\":\"j\""), std::string::npos)
                << inspected.out << inspected.err;
            std::filesystem::remove(picture);
        }
    }
}

} // namespace
} // namespace kvistra::cli
