// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Progress.h"

#include <QProgressBar>

namespace kvistra {

// A progress bar whose Min, Max and Value are single-precision numbers; the
// bar shows their ratio.
class ProgressBar : public QProgressBar {
    Q_OBJECT

public:
    explicit ProgressBar(QWidget* parent = nullptr);

    const Progress& progress() const { return progress_; }
    void setProgress(const Progress& progress);

private:
    Progress progress_;
};

} // namespace kvistra
