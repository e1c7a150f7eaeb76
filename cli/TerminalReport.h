// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/DecoderRun.h"
#include "core/Encoder.h"

#include <chrono>
#include <ostream>
#include <string>

namespace kvistra::cli {

// Notices on standard error, and a progress bar there when it is a terminal and
// the work is long.
class TerminalProgress {
public:
    TerminalProgress(std::ostream& err, bool progressBar);
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void show(const Progress& progress);
    void notice(const Message& message);
    void end();

private:
    using Clock = std::chrono::steady_clock;

    std::ostream& err_;
    bool progressBar_;
    bool barShown_ = false;
    Clock::time_point started_ = Clock::now();
    Clock::time_point lastDrawn_{};
};

// A run on a terminal: no captions, the progress bar, and notices as they come.
template <class Report> class TerminalRunReport : public Report {
public:
    TerminalRunReport(std::ostream& err, bool progressBar)
        : terminal(err, progressBar) {}

    void caption(StatusCaption) override {}
    void progress(const Progress& progress) override { terminal.show(progress); }

    TerminalProgress terminal;
};

// The encoder's run. Finished is told only once the picture is saved.
class HideReport final : public TerminalRunReport<EncodeReport> {
public:
    using TerminalRunReport::TerminalRunReport;

    void message(const Message& message) override;
    void shiftChanged(int) override {}
    void messageWritten(const EncodeResult&) override {}

    bool finished = false;
};

// The decoder's run: the time it took is of no use to a script.
class RevealReport final : public TerminalRunReport<DecodeReport> {
public:
    using TerminalRunReport::TerminalRunReport;

    void message(const Message& message) override;
    void started() override {}
    void decoded(const std::vector<std::string>&, const std::string&) override {}
    void clockStopped() override {}
};

// A message box's text for a terminal: CR LF becomes a plain line end.
std::string terminalText(const Message& message);

} // namespace kvistra::cli
