// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QDropEvent;
class QMimeData;
class QWidget;

namespace kvistra {

// Dropped files sorted as the window opens them.
struct DroppedFiles {
    std::vector<std::string> pictures;
    std::vector<std::string> keyFiles;
    std::vector<std::string> texts;
    std::vector<std::string> special; // neither file nor folder: refused by name
};

DroppedFiles sortDroppedFiles(const std::vector<std::string>& names);

// Files dropped anywhere on a window, its text boxes included, copied and never
// moved. Nothing is taken while `busy` says so.
class FileDrops final : public QObject {
public:
    using Open = std::function<void(const std::vector<std::string>& names)>;

    FileDrops(QWidget& window, std::function<bool()> busy, Open open);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the event carries files to drop; accepts it when it does.
    bool accept(QDropEvent& event) const;

    std::function<bool()> busy_;
    Open open_;
};

} // namespace kvistra
