// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/MessageBoxStyle.h"
#include "system/DisplayPlatform.h"
#include "system/ProgramStarter.h"
#include "system/Registry.h"
#include "system/ScreenMetrics.h"
#include "system/ShowMessage.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kvistra::test {

// Records every message and answers from a script (OK when it runs dry).
class ScriptedAnswers {
public:
    std::vector<Message> shown;
    std::deque<int> answers;

    ShowMessage show() {
        return [this](const Message& message) {
            shown.push_back(message);
            if (answers.empty()) {
                return MessageBoxAnswer::Ok;
            }
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        };
    }

    std::vector<MessageId> ids() const {
        std::vector<MessageId> all;
        for (const Message& message : shown) {
            all.push_back(message.id);
        }
        return all;
    }
};

// A screen of fixed measurements; 1024 x 768 pixels at 15 twips each by default.
class FakeScreen final : public ScreenMetricsSource {
public:
    ScreenMetrics metrics{1024 * 15, 768 * 15, 15, 15};

    ScreenMetrics screenMetrics() const override { return metrics; }
};

// Records every call in order ("enum", "change 4", "change 1", "exit 2 0"); mode changes
// answer from a script (success when it runs dry).
class FakeDisplayPlatform final : public DisplayPlatform {
public:
    DisplayModeRecord enumerated; // what the enumeration fills in
    std::deque<std::int32_t> changeAnswers;
    std::vector<std::string> calls;
    std::vector<DisplayModeRecord> changedTo;

    bool enumDisplaySettings(const char* deviceName, std::uint32_t modeNumber,
                             DisplayModeRecord& record) override {
        calls.push_back(std::string("enum ") + (deviceName ? deviceName : "null") + " " +
                        std::to_string(modeNumber));
        record = enumerated;
        return true;
    }
    std::int32_t changeDisplaySettings(const DisplayModeRecord& record,
                                       std::uint32_t flags) override {
        calls.push_back("change " + std::to_string(flags));
        changedTo.push_back(record);
        if (changeAnswers.empty()) {
            return DISP_CHANGE_SUCCESSFUL;
        }
        const std::int32_t answer = changeAnswers.front();
        changeAnswers.pop_front();
        return answer;
    }
    bool exitWindows(std::uint32_t flags, std::uint32_t reserved) override {
        calls.push_back("exit " + std::to_string(flags) + " " + std::to_string(reserved));
        return false;
    }
};

// Keys by path, each with its values; records every call in order ("open PATH",
// "query NAME", "close"). Handles count from 1.
class FakeRegistry final : public Registry {
public:
    struct Value {
        std::uint32_t type;
        std::string bytes;
    };

    std::map<std::string, std::map<std::string, Value>> keys;
    std::vector<std::string> calls;
    std::vector<RegistryHandle> roots;
    std::vector<std::uint32_t> accessMasks;

    // A string value as the platform stores it, with its terminating zero.
    void setString(const std::string& keyPath, const std::string& name, const std::string& text) {
        keys[keyPath][name] = {REG_SZ, text + '\0'};
    }

    std::size_t openHandles() const { return open_.size(); }

    std::int32_t openKey(RegistryHandle root, const std::string& keyPath, std::uint32_t,
                         std::uint32_t access, RegistryHandle& key) override {
        calls.push_back("open " + keyPath);
        roots.push_back(root);
        accessMasks.push_back(access);
        if (!keys.contains(keyPath)) {
            return ERROR_FILE_NOT_FOUND;
        }
        key = nextHandle_++;
        open_[key] = keyPath;
        return ERROR_SUCCESS;
    }

    std::int32_t queryValue(RegistryHandle key, const std::string& valueName, std::uint32_t& type,
                            std::span<char> buffer, std::uint32_t& size) override {
        calls.push_back("query " + valueName);
        const auto open = open_.find(key);
        if (open == open_.end()) {
            return ERROR_INVALID_HANDLE;
        }
        const auto& values = keys.at(open->second);
        const auto value = values.find(valueName);
        if (value == values.end()) {
            return ERROR_FILE_NOT_FOUND;
        }
        type = value->second.type;
        const std::string& bytes = value->second.bytes;
        const std::size_t room = std::min<std::size_t>(size, buffer.size());
        size = static_cast<std::uint32_t>(bytes.size());
        if (bytes.size() > room) {
            return ERROR_MORE_DATA;
        }
        std::memcpy(buffer.data(), bytes.data(), bytes.size());
        return ERROR_SUCCESS;
    }

    std::int32_t closeKey(RegistryHandle key) override {
        calls.push_back("close");
        return open_.erase(key) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
    }

private:
    std::map<RegistryHandle, std::string> open_;
    RegistryHandle nextHandle_ = 1;
};

// Files that exist by path; records every start, which succeeds unless told otherwise.
class FakeProgramStarter final : public ProgramStarter {
public:
    std::set<std::string> files;
    bool startSucceeds = true;
    std::vector<std::string> started; // every attempt, also failed ones

    bool fileExists(const std::string& path) const override { return files.contains(path); }
    bool start(const std::string& path) override {
        started.push_back(path);
        return startSucceeds;
    }
};

} // namespace kvistra::test
