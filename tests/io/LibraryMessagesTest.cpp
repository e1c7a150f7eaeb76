// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/LibraryMessages.h"

#include <QtGlobal>
#include <gtest/gtest.h>

namespace kvistra {
namespace {

// libpng's "libpng error: Write Error" reaches standard error as a Qt warning.
TEST(LibraryMessages, QtAndLibraryLinesStayOffStandardError) {
    keepLibraryMessagesQuiet();
    ::testing::internal::CaptureStderr();
    qWarning("libpng error: %s", "Write Error");
    qCritical("QImageWriter: something");
    qInfo("info");
    qDebug("debug");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    qInstallMessageHandler(nullptr);
}

} // namespace
} // namespace kvistra
