#pragma once

#include "Message.h"
#include "NumberLocale.h"
#include "Progress.h"

#include <chrono>
#include <string>
#include <vector>

namespace kvistra {

enum class Field {
    Text1,    // input
    Text2,    // decrypted text
    Text3,    // direct data
    Text4,    // reading length
    Combo1,   // y-key
    Combo2,   // x-key
    Stepping, // shift
};

// What the encoder and decoder need of the main window. Texts are UTF-8, with
// line breaks as CR LF.
class WindowHost {
public:
    virtual ~WindowHost() = default;

    virtual std::string text(Field field) const = 0;
    // Runs the field's own check, as typing would.
    virtual void setText(Field field, const std::string& text) = 0;
    virtual bool adaptTicked() const = 0;
    virtual NumberLocale numberLocale() const = 0;

    virtual void setCaption(const std::string& caption) = 0;
    virtual void setProgress(const Progress& progress) = 0;
    // Modal; returns the answer.
    virtual int showMessage(const Message& message) = 0;

    virtual void clearList() = 0;
    virtual void appendListLines(const std::vector<std::string>& lines) = 0;
    virtual void setClockRunning(bool running) = 0;
    // A monotonic clock for how long work takes; tests give their own.
    virtual std::chrono::steady_clock::time_point now() const {
        return std::chrono::steady_clock::now();
    }
};

} // namespace kvistra
