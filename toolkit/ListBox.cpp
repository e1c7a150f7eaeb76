// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListBox.h"

#include "FocusFrame.h"
#include "words/ShownText.h"

#include <QEvent>

namespace kvistra {

ListBox::ListBox(QWidget* parent)
    : QListView(parent)
    , model_(new QStringListModel(this)) {
    setModel(model_);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void ListBox::addLines(const std::vector<std::string>& lines) {
    QStringList all = model_->stringList();
    all.reserve(all.size() + static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) {
        // A line for a control character shows its control picture.
        all.append(QString::fromStdString(shownFromProgramText(line)));
    }
    model_->setStringList(all);
}

void ListBox::clear() {
    model_->setStringList({});
}

bool ListBox::event(QEvent* event) {
    // The frame is painted here; the lines are the viewport's.
    const bool handled = QListView::event(event);
    if (event->type() == QEvent::Paint && hasFocus()) {
        paintFocusFrame(*this, frameRect(), frameWidth());
    }
    return handled;
}

QString ListBox::line(int row) const {
    return model_->index(row).data().toString();
}

} // namespace kvistra
