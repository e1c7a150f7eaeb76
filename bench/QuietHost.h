#pragma once

#include "core/WindowHost.h"

#include <map>
#include <string>
#include <vector>

namespace kvistra {

// A window that answers OK and shows nothing, so that only the engine is timed.
class QuietHost final : public WindowHost {
public:
    std::map<Field, std::string> fields;
    bool adapt = false;

    std::string text(Field field) const override { return fields.at(field); }
    void setText(Field field, const std::string& text) override { fields[field] = text; }
    bool adaptTicked() const override { return adapt; }
    NumberLocale numberLocale() const override { return {}; }
    void setCaption(const std::string&) override {}
    void setProgress(const Progress&) override {}
    int showMessage(const Message&) override { return 1; }
    void clearList() override {}
    void appendListLines(const std::vector<std::string>&) override {}
    void setClockRunning(bool) override {}
};

inline QuietHost quietHostFor(const std::string& text, bool adapt, const std::string& yKey = "5",
                              const std::string& xKey = "5") {
    QuietHost host;
    host.fields = {{Field::Text1, text},
                   {Field::Combo1, yKey},
                   {Field::Combo2, xKey},
                   {Field::Stepping, "3"},
                   {Field::Text4, ""}};
    host.adapt = adapt;
    return host;
}

} // namespace kvistra
