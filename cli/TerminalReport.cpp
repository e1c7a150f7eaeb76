// SPDX-License-Identifier: GPL-3.0-or-later
#include "TerminalReport.h"

#include "words/MessageCatalogue.h"

#include <cmath>

namespace kvistra::cli {

namespace {
constexpr auto kQuietStart = std::chrono::milliseconds(300);
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
constexpr int kBarWidth = 40;
} // namespace

std::string terminalText(const Message& message) {
    const std::string text = describe(message).text;
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        plain += text[i];
    }
    return plain;
}

TerminalProgress::TerminalProgress(std::ostream& err, bool progressBar)
    : err_(err)
    , progressBar_(progressBar) {}

TerminalProgress::~TerminalProgress() {
    end();
}

void TerminalProgress::show(const Progress& progress) {
    if (!progressBar_ || progress.max <= progress.min) {
        return;
    }
    const Clock::time_point now = Clock::now();
    if (now - started_ < kQuietStart || now - lastDrawn_ < kRedrawEvery) {
        return;
    }
    lastDrawn_ = now;
    const double fraction = (progress.value - progress.min) / (progress.max - progress.min);
    const int filled = static_cast<int>(std::lround(fraction * kBarWidth));
    err_ << '\r' << '[' << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') << "] "
         << std::lround(fraction * 100) << " %" << std::flush;
    barShown_ = true;
}

void TerminalProgress::end() {
    if (barShown_) {
        err_ << "\r\033[K" << std::flush;
        barShown_ = false;
    }
}

void TerminalProgress::notice(const Message& message) {
    end();
    err_ << terminalText(message) << '\n';
}

void HideReport::message(const Message& message) {
    if (message.id == MessageId::EncryptionFinished) {
        finished = true;
        return;
    }
    terminal.notice(message);
}

void RevealReport::message(const Message& message) {
    if (message.id != MessageId::DecodeFinished) {
        terminal.notice(message);
    }
}

} // namespace kvistra::cli
