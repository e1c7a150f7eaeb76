#include "ListBox.h"

#include "core/ShownText.h"

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

QString ListBox::line(int row) const {
    return model_->index(row).data().toString();
}

} // namespace kvistra
