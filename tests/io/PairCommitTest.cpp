// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/PairCommit.h"

#include "support/FileBytes.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace kvistra {
namespace {

using test::TempFolder;

PendingFile pending(const std::string& path, const std::string& bytes) {
    Result<PendingFile> file = PendingFile::create(path);
    EXPECT_TRUE(file);
    EXPECT_TRUE(file->write(bytes));
    return std::move(*file);
}

TEST(PairCommit, PutsBothInPlaceAndRemovesTheOldFiles) {
    for (const bool existed : {true, false}) {
        SCOPED_TRACE(existed ? "replacing" : "new");
        const TempFolder dir;
        if (existed) {
            test::writeBytes(dir / "p.bmp", std::string("old picture"));
            test::writeBytes(dir / "k.txt", std::string("old key"));
        }
        PendingFile picture = pending(dir / "p.bmp", "new picture");
        PendingFile key = pending(dir / "k.txt", "new key");
        ASSERT_TRUE(commitPair(picture, key));
        EXPECT_EQ(test::readBytes(dir / "p.bmp"), "new picture");
        EXPECT_EQ(test::readBytes(dir / "k.txt"), "new key");
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"k.txt", "p.bmp"}));
    }
}

// When either cannot be put in place, both files are as they were and no
// temporary file is left. The temporary file vanishing stands for any failure
// of its rename.
TEST(PairCommit, AFailureOfEitherLeavesBothAsTheyWere) {
    const struct {
        const char* name;
        bool existed;
        bool firstFails;
    } cases[] = {
        {"second fails over old files", true, false},
        {"second fails, no old files", false, false},
        {"first fails over old files", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder dir;
        if (c.existed) {
            test::writeBytes(dir / "p.bmp", std::string("old picture"));
            test::writeBytes(dir / "k.txt", std::string("old key"));
        }
        {
            PendingFile picture = pending(dir / "p.bmp", "new picture");
            PendingFile key = pending(dir / "k.txt", "new key");
            PendingFile& failing = c.firstFails ? picture : key;
            ASSERT_EQ(::unlink(failing.temporaryPath().c_str()), 0);

            const Status status = commitPair(picture, key);
            ASSERT_FALSE(status);
            EXPECT_EQ(status.problem().id, MessageId::CannotWriteFile);
            EXPECT_EQ(status.problem().args.at(0), failing.path());
        }
        if (c.existed) {
            EXPECT_EQ(test::readBytes(dir / "p.bmp"), "old picture");
            EXPECT_EQ(test::readBytes(dir / "k.txt"), "old key");
            EXPECT_EQ(dir.entries(), (std::vector<std::string>{"k.txt", "p.bmp"}));
        } else {
            EXPECT_TRUE(dir.entries().empty());
        }
    }
}

// Another run putting a pair in the same folder holds the lock: the pair waits
// for it, so two runs never mix their pictures and keys.
TEST(PairCommit, WaitsWhileAnotherRunHoldsThePairLock) {
    const TempFolder dir;
    test::writeBytes(dir / "p.bmp", std::string("old picture"));
    std::optional<Result<PairLock>> other = PairLock::take(dir.path());
    ASSERT_TRUE(*other);

    PendingFile picture = pending(dir / "p.bmp", "new picture");
    PendingFile key = pending(dir / "k.txt", "new key");
    bool committed = false;
    std::thread run([&] { committed = static_cast<bool>(commitPair(picture, key)); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(test::readBytes(dir / "p.bmp"), "old picture");
    other.reset();
    run.join();
    EXPECT_TRUE(committed);
    EXPECT_EQ(test::readBytes(dir / "p.bmp"), "new picture");
    EXPECT_EQ(test::readBytes(dir / "k.txt"), "new key");
}

// Anyone may flock a shared folder such as /tmp and keep it: with a private runtime
// folder that lock is none of the pair's business; without one, the pair gives up
// after a bounded wait and says which folder is held, and nothing changes.
TEST(PairCommit, AFolderLockedByAnyoneElseNeverHoldsAPairForever) {
    const TempFolder runtime; // private, as a session's runtime folder is
    for (const bool hasRuntime : {true, false}) {
        SCOPED_TRACE(hasRuntime ? "private runtime folder" : "none");
        const test::ScopedEnvironment environment(
            "XDG_RUNTIME_DIR",
            hasRuntime ? std::optional<std::string>(runtime.path()) : std::nullopt);
        const TempFolder dir;
        test::writeBytes(dir / "p.bmp", std::string("old picture"));
        const int folder = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
        ASSERT_GE(folder, 0);
        ASSERT_EQ(::flock(folder, LOCK_EX), 0);
        PendingFile picture = pending(dir / "p.bmp", "new picture");
        PendingFile key = pending(dir / "k.txt", "new key");
        const Status committed = commitPair(picture, key, std::chrono::milliseconds(100));
        ::close(folder);
        if (hasRuntime) {
            EXPECT_TRUE(committed);
            EXPECT_EQ(test::readBytes(dir / "p.bmp"), "new picture");
        } else {
            ASSERT_FALSE(committed);
            EXPECT_EQ(committed.problem().id, MessageId::FolderLocked);
            EXPECT_EQ(committed.problem().args, std::vector<std::string>{dir.path()});
            EXPECT_EQ(test::readBytes(dir / "p.bmp"), "old picture");
            EXPECT_FALSE(std::filesystem::exists(dir / "k.txt"));
        }
    }
}

} // namespace
} // namespace kvistra
