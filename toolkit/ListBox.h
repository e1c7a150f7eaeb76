// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListView>
#include <QStringListModel>
#include <string>
#include <vector>

namespace kvistra {

// A list box over a model, so that tens of thousands of lines go in at once. Its
// frame shows when it has the keyboard focus.
class ListBox : public QListView {
    Q_OBJECT

public:
    explicit ListBox(QWidget* parent = nullptr);

    void addLines(const std::vector<std::string>& lines);
    void clear();
    int count() const { return model_->rowCount(); }
    QString line(int row) const;

protected:
    bool event(QEvent* event) override;

private:
    QStringListModel* model_;
};

} // namespace kvistra
