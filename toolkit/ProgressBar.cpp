// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressBar.h"

#include <algorithm>
#include <cmath>

namespace kvistra {

namespace {
constexpr int kShownSteps = 10000;
}

ProgressBar::ProgressBar(QWidget* parent)
    : QProgressBar(parent) {
    setRange(0, kShownSteps);
    setTextVisible(false);
    setProgress(progress_);
}

void ProgressBar::setProgress(const Progress& progress) {
    progress_ = progress;
    const double span = static_cast<double>(progress.max) - progress.min;
    const double fraction =
        span > 0 ? (static_cast<double>(progress.value) - progress.min) / span : 0;
    setValue(static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * kShownSteps)));
}

} // namespace kvistra
