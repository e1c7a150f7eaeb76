// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/DisplayModeSwitch.h"

#include "support/FakePlatform.h"
#include "words/MessageCatalogue.h"

#include <gtest/gtest.h>
#include <limits>

namespace kvistra {
namespace {

using test::FakeDisplayPlatform;
using test::FakeScreen;
using test::ScriptedAnswers;
using enum MessageId;

constexpr int kYes = MessageBoxAnswer::Yes;
constexpr int kNo = MessageBoxAnswer::No;

struct DisplaySwitch {
    FakeDisplayPlatform platform;
    FakeScreen screen;
    ScriptedAnswers answers;

    void confirm() { confirmDisplayModeSwitch(platform, screen, answers.show()); }
    void apply() { applyDisplayMode(platform, screen, answers.show()); }
};

TEST(DisplayModeSwitch, NoToTheWarningShowsNoSummaryAndNoToTheSummaryChangesNothing) {
    const struct {
        std::deque<int> answers;
        std::vector<MessageId> shown;
    } cases[] = {
        {{kNo}, {DisplayModeWarning}},
        {{kYes, kNo}, {DisplayModeWarning, DisplayModeSummary}},
    };
    for (const auto& c : cases) {
        DisplaySwitch run;
        run.answers.answers = c.answers;
        run.confirm();
        EXPECT_EQ(run.answers.ids(), c.shown);
        EXPECT_TRUE(run.platform.calls.empty());
    }
}

TEST(DisplayModeSwitch, YesToBothRunsTheChangeOnce) {
    DisplaySwitch run;
    run.answers.answers = {kYes, kYes};
    run.confirm();
    EXPECT_EQ(run.answers.ids(),
              (std::vector{DisplayModeWarning, DisplayModeSummary, DisplayModeChanged}));
    EXPECT_EQ(run.platform.calls,
              (std::vector<std::string>{"enum null 0", "change 4", "change 1"}));
}

TEST(DisplayModeSwitch, SummaryNamesTheScreenSizeAndBothDepths) {
    DisplaySwitch run;
    run.answers.answers = {kNo};
    run.apply();
    ASSERT_EQ(run.answers.shown.size(), 1u);
    const MessageBoxText box = describe(run.answers.shown[0]);
    EXPECT_EQ(box.text, "F\xC3\xB6ljande inst\xC3\xA4llningar kommer att tr\xC3\xA4"
                        "da i kraft:\r\n"
                        "----------------------------------------------------------------------\r\n"
                        "X: 1024\r\n"
                        "Y: 768\r\n"
                        "F\xC3\xA4rgdjup: 24, 32");
    EXPECT_EQ(box.title, "System");
    EXPECT_EQ(box.style, MessageBoxStyle::Information + MessageBoxStyle::YesNo);
}

TEST(DisplayModeSwitch, PixelsAreTwipsOverTwipsPerPixelRoundedHalfToEven) {
    const struct {
        ScreenMetrics metrics;
        std::string width;
        std::string height;
    } cases[] = {
        {{1280 * 12, 1024 * 12, 12, 12}, "1280", "1024"},
        {{1024.5 * 15, 767.5 * 15, 15, 15}, "1024", "768"},
        {{1025.5 * 15, 768.5 * 15, 15, 15}, "1026", "768"},
        {{1000, 1000, 3, 7}, "333", "143"},
    };
    for (const auto& c : cases) {
        DisplaySwitch run;
        run.screen.metrics = c.metrics;
        run.answers.answers = {kNo};
        run.apply();
        ASSERT_EQ(run.answers.shown.size(), 1u);
        EXPECT_EQ(run.answers.shown[0].args, (std::vector{c.width, c.height}));
    }
}

TEST(DisplayModeSwitch, UnmeasurableScreenIsRefusedBeforeAnySummary) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    const ScreenMetrics cases[] = {
        {1024 * 15, 768 * 15, 0, 15},
        {1024 * 15, 768 * 15, 15, 0},
        {kNaN, 768 * 15, 15, 15},
        {1e12, 768 * 15, 1, 15},
    };
    for (const ScreenMetrics& metrics : cases) {
        DisplaySwitch run;
        run.screen.metrics = metrics;
        run.apply();
        EXPECT_EQ(run.answers.ids(), std::vector{DisplayModeRefused});
        EXPECT_TRUE(run.platform.calls.empty());
    }
}

TEST(DisplayModeSwitch, OutcomeOfTheFirstChangeDecidesWhatFollows) {
    const struct {
        std::deque<std::int32_t> changeAnswers;
        std::deque<int> answers; // to the summary and what follows it
        std::vector<std::string> calls;
        std::vector<MessageId> shown;
    } cases[] = {
        {{0, 0},
         {kYes},
         {"enum null 0", "change 4", "change 1"},
         {DisplayModeSummary, DisplayModeChanged}},
        // A failed storing call still reports success: the mode has taken.
        {{0, -1},
         {kYes},
         {"enum null 0", "change 4", "change 1"},
         {DisplayModeSummary, DisplayModeChanged}},
        {{1},
         {kYes, kYes},
         {"enum null 0", "change 4", "exit 2 0"},
         {DisplayModeSummary, RestartQuestion}},
        {{1}, {kYes, kNo}, {"enum null 0", "change 4"}, {DisplayModeSummary, RestartQuestion}},
        {{-2}, {kYes}, {"enum null 0", "change 4"}, {DisplayModeSummary, DisplayModeRefused}},
        {{-1}, {kYes}, {"enum null 0", "change 4"}, {DisplayModeSummary, DisplayModeRefused}},
        {{2}, {kYes}, {"enum null 0", "change 4"}, {DisplayModeSummary, DisplayModeRefused}},
    };
    for (const auto& c : cases) {
        DisplaySwitch run;
        run.platform.changeAnswers = c.changeAnswers;
        run.answers.answers = c.answers;
        run.apply();
        EXPECT_EQ(run.platform.calls, c.calls) << c.changeAnswers.front();
        EXPECT_EQ(run.answers.ids(), c.shown) << c.changeAnswers.front();
    }
}

TEST(DisplayModeSwitch, RequestIsTheCurrentSizeAt24BitsOverWhatTheEnumerationFilledIn) {
    DisplaySwitch run;
    run.platform.enumerated.deviceName = {'D', 'I', 'S', 'P'};
    run.platform.enumerated.fields = DM_DISPLAYFREQUENCY | DM_BITSPERPEL;
    run.platform.enumerated.bitsPerPel = 16;
    run.platform.enumerated.pelsWidth = 640;
    run.platform.enumerated.pelsHeight = 480;
    run.platform.enumerated.displayFrequency = 60;
    run.answers.answers = {kYes};
    run.apply();

    DisplayModeRecord expected = run.platform.enumerated;
    expected.fields = 0x00180000 | 0x00040000;
    expected.bitsPerPel = 24;
    expected.pelsWidth = 1024;
    expected.pelsHeight = 768;
    EXPECT_EQ(run.platform.changedTo, (std::vector{expected, expected}));
}

} // namespace
} // namespace kvistra
