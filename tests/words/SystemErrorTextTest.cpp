// SPDX-License-Identifier: GPL-3.0-or-later
#include "words/MessageCatalogue.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <set>

namespace kvistra {
namespace {

TEST(SystemErrorText, TheCommonErrorsHaveSwedishWords) {
    const struct {
        int error;
        const char* text;
    } cases[] = {
        {ENOENT, "filen eller mappen finns inte"},
        {EACCES, "åtkomst nekas"},
        {EISDIR, "det är en mapp"},
        {ENOSPC, "disken är full"},
        {EFBIG, "filen blir för stor"},
        {EROFS, "filsystemet är skrivskyddat"},
        {0, "okänt systemfel (felkod 0)"},
        {99999, "okänt systemfel (felkod 99999)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(systemErrorText(c.error), c.text) << c.error;
    }
}

TEST(SystemErrorText, NoCommonErrorFallsBackOrSharesItsWords) {
    const int common[] = {ENOENT, EACCES,       EPERM,   EISDIR, ENOTDIR,  ENOSPC, EDQUOT,
                          EROFS,  EEXIST,       EMFILE,  ENFILE, ELOOP,    EIO,    ENOMEM,
                          EFBIG,  ENAMETOOLONG, ETXTBSY, EBUSY,  EXDEV,    EINVAL, EAGAIN,
                          EINTR,  EBADF,        EPIPE,   ESTALE, ENOTEMPTY};
    std::set<std::string> seen;
    for (const int error : common) {
        const std::string text = systemErrorText(error);
        EXPECT_EQ(text.find("okänt"), std::string::npos) << error;
        EXPECT_NE(text, std::strerror(error)) << error;
        EXPECT_TRUE(seen.insert(text).second) << error << ": " << text;
    }
}

} // namespace
} // namespace kvistra
