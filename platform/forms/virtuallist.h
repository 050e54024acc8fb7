#pragma once
// A list box for very long lists (hundreds of thousands of entries, such as
// search results): the entries live in a plain vector behind a view that
// draws only what is in sight, and they arrive in batches without stalling the
// window. Otherwise it answers as the list box does.
#include "control.h"

#include <QAbstractListModel>
#include <QListView>

#include <functional>
#include <vector>

namespace vx {

class VirtualListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    void append(QStringList items);
    void clear();
    const QString &at(int row) const { return rows_[static_cast<size_t>(row)]; }
    int size() const { return static_cast<int>(rows_.size()); }

private:
    std::vector<QString> rows_;
};

class VirtualListBox : public Control<QListView> {
    Q_OBJECT
public:
    VirtualListBox(Form *form, const QString &name, QWidget *container = nullptr);
    void AddItem(const QString &item);
    // Appends many entries at once (one update of the view).
    void AddItems(QStringList items);
    void Clear();
    int ListCount() const { return model_.size(); }
    // An index outside the list raises 381.
    QString List(int index) const;
    // Selected entry (-1: none). Setting a different index runs Click at once;
    // an index outside -1..count-1 raises 380.
    int ListIndex() const;
    void setListIndex(int index);
    // Width in pixels the entries may be scrolled through (the classic
    // horizontal extent); 0 shows only what fits.
    void setHorizontalExtent(int pixels);
    int HorizontalExtent() const { return extent_; }
    std::function<void()> Click;
    std::function<void()> DblClick;

protected:
    void focusInEvent(QFocusEvent *e) override;

private:
    VirtualListModel model_;
    int extent_ = 0;
    bool settingIndex_ = false;
};

} // namespace vx
