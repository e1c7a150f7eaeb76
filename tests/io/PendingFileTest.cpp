// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/PendingFile.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace kvistra {
namespace {

using test::TempFolder;

mode_t currentUmaskForTest() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

TEST(AtomicFile, WritesAllPiecesToANewFileWithUsualPermissions) {
    const TempFolder dir;
    const std::string path = dir / "out.bin";
    // More pieces than one writev call takes.
    std::vector<std::vector<std::uint8_t>> storage;
    std::vector<ByteSpan> pieces;
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        storage.emplace_back(static_cast<std::size_t>(i % 7), static_cast<std::uint8_t>(i));
        expected.append(static_cast<std::size_t>(i % 7), static_cast<char>(i));
    }
    for (const auto& bytes : storage) {
        pieces.emplace_back(bytes);
    }
    const mode_t previous = ::umask(027);
    const Status status = writeFileAtomically(path, pieces);
    ::umask(previous);
    ASSERT_TRUE(status);
    EXPECT_EQ(test::readBytes(path), expected);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.bin"});
}

TEST(AtomicFile, FailureLeavesNoTraceAndReportsThePath) {
    const TempFolder dir;
    const std::string path = dir / "missing-folder/out.txt";
    const Status status = writeFileAtomically(path, "x");
    ASSERT_FALSE(status);
    EXPECT_EQ(status.problem().id, MessageId::CannotWriteFile);
    EXPECT_EQ(status.problem().args.at(0), path);
    EXPECT_NE(status.problem().systemError, 0);
    EXPECT_TRUE(dir.entries().empty());
}

// A replaced file keeps the mode its user gave it; a new one gets the kind's.
TEST(AtomicFile, ReplacedFileKeepsItsModeAndANewFileGetsItsKinds) {
    const struct {
        const char* name;
        std::optional<mode_t> existing;
        NewFile kind;
        mode_t expected;
    } cases[] = {
        {"private file replaced", 0600, NewFile::Usual, 0600},
        {"shared file replaced", 0664, NewFile::Usual, 0664},
        {"executable file replaced", 0750, NewFile::Usual, 0750},
        {"shared key file replaced", 0644, NewFile::Private, 0644},
        {"new usual file", std::nullopt, NewFile::Usual, 0644},
        {"new private file", std::nullopt, NewFile::Private, 0600},
    };
    const mode_t previous = ::umask(022);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder dir;
        const std::string path = dir / "f";
        if (c.existing) {
            test::writeBytes(path, std::string("old"));
            ASSERT_EQ(::chmod(path.c_str(), *c.existing), 0);
        }
        ASSERT_TRUE(writeFileAtomically(path, "new", c.kind));
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, c.expected);
        EXPECT_EQ(info.st_uid, ::geteuid());
        EXPECT_EQ(test::readBytes(path), "new");
    }
    ::umask(previous);
}

// Writing through a link replaces the file it leads to; the link stays.
TEST(AtomicFile, ALinkIsFollowedAndStaysALink) {
    const struct {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links; // link, where it points
        std::string target;                                     // the file finally written
        bool targetExists;
    } cases[] = {
        {"relative link into a folder", {{"link", "sub/file"}}, "sub/file", true},
        {"relative link from a folder", {{"sub/link", "../file"}}, "file", true},
        {"link to a link", {{"link", "sub/link2"}, {"sub/link2", "file"}}, "sub/file", true},
        {"absolute link", {{"link", "@/sub/file"}}, "sub/file", true},
        {"link to a file not there yet", {{"link", "sub/new"}}, "sub/new", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder dir;
        std::filesystem::create_directory(dir.path() / "sub");
        if (c.targetExists) {
            test::writeBytes(dir / c.target, std::string("old"));
            ::chmod((dir / c.target).c_str(), 0600);
        }
        for (const auto& [link, pointsTo] : c.links) {
            const std::string to =
                pointsTo.starts_with('@') ? dir.path().string() + pointsTo.substr(1) : pointsTo;
            ASSERT_EQ(::symlink(to.c_str(), (dir / link).c_str()), 0);
        }
        const std::string written = c.links.front().first;
        ASSERT_TRUE(writeFileAtomically(dir / written, "new"));
        for (const auto& link : c.links) {
            EXPECT_TRUE(std::filesystem::is_symlink(dir / link.first)) << link.first;
        }
        EXPECT_EQ(test::readBytes(dir / c.target), "new");
        struct stat info {};
        ASSERT_EQ(::stat((dir / c.target).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, c.targetExists ? 0600u : 0666u & ~currentUmaskForTest());
        // No temporary file is left in either folder.
        std::size_t entries = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
            entries += entry.path().filename().string().find('.') == std::string::npos ? 0 : 1;
        }
        EXPECT_EQ(entries, 0u);
    }
}

// Only a regular file is replaced: a device or a named pipe stays what it was.
TEST(AtomicFile, RefusesATargetThatIsNoRegularFile) {
    const TempFolder dir;
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    std::filesystem::create_directory(dir.path() / "folder");
    ASSERT_EQ(::symlink("pipe", (dir / "link-to-pipe").c_str()), 0);
    const struct {
        std::string name;
        MessageId id;
    } cases[] = {
        {"pipe", MessageId::NotARegularFile},
        {"link-to-pipe", MessageId::NotARegularFile},
        {"folder", MessageId::CannotWriteFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Status status = writeFileAtomically(dir / c.name, "x");
        ASSERT_FALSE(status);
        EXPECT_EQ(status.problem().id, c.id);
        EXPECT_EQ(status.problem().args.at(0), dir / c.name);
    }
    EXPECT_EQ(std::filesystem::status(dir / "pipe").type(), std::filesystem::file_type::fifo);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
    EXPECT_EQ(dir.entries().size(), 3u);
}

} // namespace
} // namespace kvistra

namespace kvistra {
namespace {

// Another user's link in a shared sticky folder (/tmp) must not lead a save into a
// file of that user's choosing: it is followed only where the kernel, with its
// protection of such links on, would follow it too.
TEST(AtomicFile, FollowsAnotherUsersLinkOnlyWhereTheKernelWould) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving a link to another user takes root";
    }
    constexpr uid_t kOther = 65534; // nobody
    const struct {
        const char* name;
        mode_t folderMode;
        uid_t folderOwner;
        uid_t linkOwner;
        bool followed;
    } cases[] = {
        {"another's link in a shared sticky folder", 01777, 0, kOther, false},
        {"one's own link there", 01777, 0, 0, true},
        {"the folder owner's link there", 01777, kOther, kOther, true},
        {"another's link in a sticky folder not all may write", 01775, 0, kOther, true},
        {"another's link in a shared folder that is not sticky", 0777, 0, kOther, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const test::TempFolder dir;
        const std::string shared = dir / "shared";
        ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
        ASSERT_EQ(::chmod(shared.c_str(), c.folderMode), 0);
        ASSERT_EQ(::chown(shared.c_str(), c.folderOwner, 0), 0);
        const std::string victim = dir / "victim.txt";
        test::writeBytes(victim, "the other user's file");
        const std::string link = shared + "/key.txt";
        ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0);
        ASSERT_EQ(::lchown(link.c_str(), c.linkOwner, 0), 0);

        const Status written = writeFileAtomically(link, "12\r\n");
        if (c.followed) {
            ASSERT_TRUE(written);
            EXPECT_EQ(test::readBytes(victim), "12\r\n");
        } else {
            ASSERT_FALSE(written);
            EXPECT_EQ(written.problem().id, MessageId::LinkNotFollowed);
            EXPECT_EQ(written.problem().args, (std::vector<std::string>{link, link}));
            EXPECT_EQ(test::readBytes(victim), "the other user's file");
            EXPECT_EQ(std::filesystem::read_symlink(link), victim);
        }
    }
}

} // namespace
} // namespace kvistra
