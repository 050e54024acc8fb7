#pragma once
// A list box for very long lists (hundreds of thousands of entries, such as
// search results): the entries arrive in batches of 8-bit text as the file
// system spells names, kept packed and turned into text only when shown or
// asked for, behind a view that draws only what is in sight. Otherwise it
// answers as the list box does.
#include "control.h"

#include <QAbstractListModel>
#include <QListView>

#include <functional>
#include <vector>

namespace vx {

// Entries packed end to end in the local 8-bit encoding (UTF-8 here).
struct EntryBatch {
    QByteArray text;
    std::vector<qsizetype> ends; // where each entry ends in `text`
    qsizetype size() const { return static_cast<qsizetype>(ends.size()); }
    bool empty() const { return ends.empty(); }
    QByteArrayView bytes(qsizetype i) const;
    QString entry(qsizetype i) const;
    void add(QByteArrayView a, QByteArrayView b = {});
    // Moves the other batch's entries onto the end of this one.
    void take(EntryBatch &&other);
};

class VirtualListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    void append(EntryBatch batch);
    void clear();
    QString at(int row) const;
    int size() const { return static_cast<int>(count_); }

private:
    std::vector<EntryBatch> batches_;
    std::vector<qsizetype> firstRows_; // the row of each batch's first entry
    qsizetype count_ = 0;
};

class VirtualListBox : public Control<QListView> {
    Q_OBJECT
public:
    VirtualListBox(Form *form, const QString &name, QWidget *container = nullptr);
    void AddItem(const QString &item);
    // Appends many entries at once (one update of the view).
    void AddItems(EntryBatch items);
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
