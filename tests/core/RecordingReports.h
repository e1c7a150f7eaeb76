// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/DecoderRun.h"
#include "core/Encoder.h"
#include "words/MessageCatalogue.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace kvistra::test {

// Records what every run reports; captions as the window shows them.
template <class Report> class Recording : public Report {
public:
    std::vector<std::string> captions;
    std::vector<Progress> progressReports;
    std::vector<Message> messages;

    void caption(StatusCaption caption) override { captions.push_back(captionText(caption)); }
    void progress(const Progress& p) override { progressReports.push_back(p); }
    void message(const Message& message) override { messages.push_back(message); }

    std::vector<MessageId> messageIds() const {
        std::vector<MessageId> ids;
        for (const Message& m : messages) {
            ids.push_back(m.id);
        }
        return ids;
    }
};

// The encoder's report, with the fields a window would write from it.
class RecordingEncodeReport : public Recording<EncodeReport> {
public:
    std::vector<int> shiftChanges;
    std::optional<EncodeResult> written; // when the message went into the picture

    void shiftChanged(int shift) override { shiftChanges.push_back(shift); }
    void messageWritten(const EncodeResult& result) override { written = result; }
};

// The decoder's report, with the window's outputs and a clock that reads as told.
class RecordingDecodeReport : public Recording<DecodeReport> {
public:
    std::string decryptedText = "old";
    std::string directData = "old";
    std::vector<std::string> list{"old"};
    std::vector<bool> clockSwitches;
    std::vector<double> clockReadings{0.0}; // seconds on the monotonic clock
    mutable std::size_t nextReading = 0;

    void started() override {
        clockSwitches.push_back(true);
        decryptedText.clear();
        directData.clear();
        list.clear();
    }
    void decoded(const std::vector<std::string>& lines, const std::string& text) override {
        list.insert(list.end(), lines.begin(), lines.end());
        decryptedText = text;
    }
    void clockStopped() override { clockSwitches.push_back(false); }
    std::chrono::steady_clock::time_point now() const override {
        const double reading = clockReadings[std::min(nextReading, clockReadings.size() - 1)];
        ++nextReading;
        return std::chrono::steady_clock::time_point(
            std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                std::chrono::duration<double>(reading)));
    }
};

} // namespace kvistra::test
