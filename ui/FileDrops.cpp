// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileDrops.h"

#include "KeyFields.h"
#include "io/DroppedFile.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace kvistra {

namespace {

// Local files only: a remote one would have to be fetched first.
std::vector<std::string> droppedFileNames(const QMimeData* data) {
    std::vector<std::string> names;
    if (!data || !data->hasUrls()) {
        return names;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            names.push_back(url.toLocalFile().toStdString());
        }
    }
    return names;
}

} // namespace

DroppedFiles sortDroppedFiles(const std::vector<std::string>& names) {
    DroppedFiles sorted;
    for (const std::string& name : names) {
        switch (classifyDroppedFile(name, userNumberLocale())) {
        case DroppedFileKind::Picture:
            sorted.pictures.push_back(name);
            break;
        case DroppedFileKind::KeyFile:
            sorted.keyFiles.push_back(name);
            break;
        case DroppedFileKind::Text:
            sorted.texts.push_back(name);
            break;
        case DroppedFileKind::Special:
            sorted.special.push_back(name);
            break;
        }
    }
    return sorted;
}

FileDrops::FileDrops(QWidget& window, std::function<bool()> busy, Open open)
    : QObject(&window)
    , busy_(std::move(busy))
    , open_(std::move(open)) {
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    // The text boxes take drops themselves; files dropped on them come here.
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (child->acceptDrops()) {
            child->installEventFilter(this);
        }
    }
}

bool FileDrops::accept(QDropEvent& event) const {
    if (busy_() || !(event.possibleActions() & Qt::CopyAction) ||
        droppedFileNames(event.mimeData()).empty()) {
        return false;
    }
    // Always a copy: a move would let the source remove the user's file.
    event.setDropAction(Qt::CopyAction);
    event.accept();
    return true;
}

bool FileDrops::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        if (accept(*static_cast<QDragMoveEvent*>(event))) {
            return true;
        }
        break;
    case QEvent::Drop:
        if (accept(*static_cast<QDropEvent*>(event))) {
            open_(droppedFileNames(static_cast<QDropEvent*>(event)->mimeData()));
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kvistra
