#pragma once

#include "core/MessageCatalogue.h"
#include "core/RandomSource.h"
#include "core/WindowHost.h"

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace kvistra::testing {

// Records everything the engine tells the window; field texts live in a map.
class FakeHost : public WindowHost {
public:
    std::map<Field, std::string> fields{
        {Field::Text1, ""},   {Field::Text2, ""},   {Field::Text3, ""},    {Field::Text4, ""},
        {Field::Combo1, "5"}, {Field::Combo2, "5"}, {Field::Stepping, "0"}};
    bool adapt = false;
    NumberLocale locale = NumberLocale::c();
    std::vector<std::string> captions;
    std::vector<Progress> progress;
    std::vector<Message> messages;
    std::vector<std::pair<Field, std::string>> fieldWrites;
    std::vector<std::string> list;
    std::vector<bool> clockSwitches;
    std::vector<double> clockReadings{0.0}; // seconds on the monotonic clock
    mutable std::size_t nextReading = 0;

    std::string text(Field field) const override { return fields.at(field); }
    void setText(Field field, const std::string& text) override {
        fields[field] = text;
        fieldWrites.emplace_back(field, text);
    }
    bool adaptTicked() const override { return adapt; }
    NumberLocale numberLocale() const override { return locale; }
    void setCaption(const std::string& caption) override { captions.push_back(caption); }
    void setProgress(const Progress& p) override { progress.push_back(p); }
    int showMessage(const Message& message) override {
        messages.push_back(message);
        return 1;
    }
    void clearList() override { list.clear(); }
    void appendListLines(const std::vector<std::string>& lines) override {
        list.insert(list.end(), lines.begin(), lines.end());
    }
    void setClockRunning(bool running) override { clockSwitches.push_back(running); }
    std::chrono::steady_clock::time_point now() const override {
        const double reading = clockReadings[std::min(nextReading, clockReadings.size() - 1)];
        ++nextReading;
        return std::chrono::steady_clock::time_point(
            std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                std::chrono::duration<double>(reading)));
    }

    std::vector<MessageId> messageIds() const {
        std::vector<MessageId> ids;
        for (const Message& m : messages) {
            ids.push_back(m.id);
        }
        return ids;
    }
};

// Draws a fixed cycle of numbers and counts reseeds, so tests know every channel.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> cycle = {0.0f})
        : cycle_(std::move(cycle)) {}
    float next() override { return cycle_[draws++ % cycle_.size()]; }
    void reseedFromClock() override { ++reseeds; }

    std::size_t draws = 0;
    std::size_t reseeds = 0;

private:
    std::vector<float> cycle_;
};

} // namespace kvistra::testing
