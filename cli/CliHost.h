#pragma once

#include "core/WindowHost.h"

#include <chrono>
#include <map>
#include <ostream>
#include <set>

namespace kvistra::cli {

// The window as a terminal sees it: fields in a map, message boxes on standard
// error, and a progress bar there when it is a terminal and the work is long.
class CliHost final : public WindowHost {
public:
    CliHost(std::ostream& err, bool progressBar);
    ~CliHost() override;
    CliHost(const CliHost&) = delete;
    CliHost& operator=(const CliHost&) = delete;

    std::map<Field, std::string> fields;
    bool adapt = false;
    std::set<MessageId> silent; // messages a script does not need to see
    std::vector<Message> shown;

    std::string text(Field field) const override;
    void setText(Field field, const std::string& text) override;
    bool adaptTicked() const override { return adapt; }
    NumberLocale numberLocale() const override { return NumberLocale::commandLine(); }
    void setCaption(const std::string&) override {}
    void setProgress(const Progress& progress) override;
    int showMessage(const Message& message) override;
    void clearList() override {}
    void appendListLines(const std::vector<std::string>&) override {}
    void setClockRunning(bool) override {}

    void endProgress();

private:
    using Clock = std::chrono::steady_clock;

    std::ostream& err_;
    bool progressBar_;
    bool barShown_ = false;
    Clock::time_point started_ = Clock::now();
    Clock::time_point lastDrawn_{};
};

// A message box's text for a terminal: CR LF becomes a plain line end.
std::string terminalText(const Message& message);

} // namespace kvistra::cli
