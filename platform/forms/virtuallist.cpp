#include "virtuallist.h"

#include "platform/core/errors.h"
#include "program.h"

#include <QStyledItemDelegate>

#include <algorithm>

namespace vx {

QByteArrayView EntryBatch::bytes(qsizetype i) const
{
    const qsizetype begin = i == 0 ? 0 : ends[static_cast<size_t>(i - 1)];
    return QByteArrayView(text.constData() + begin, ends[static_cast<size_t>(i)] - begin);
}

QString EntryBatch::entry(qsizetype i) const { return QString::fromLocal8Bit(bytes(i)); }

void EntryBatch::add(QByteArrayView a, QByteArrayView b)
{
    text.append(a).append(b);
    ends.push_back(text.size());
}

void EntryBatch::take(EntryBatch &&other)
{
    if (empty()) {
        *this = std::move(other);
        return;
    }
    const qsizetype base = text.size();
    text.append(other.text);
    ends.reserve(ends.size() + other.ends.size());
    for (qsizetype e : other.ends)
        ends.push_back(base + e);
    other = EntryBatch();
}

int VirtualListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : size();
}

QVariant VirtualListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole)
        return at(index.row());
    return {};
}

QString VirtualListModel::at(int row) const
{
    // The batch holding the row: the last one starting at or before it.
    const auto it = std::upper_bound(firstRows_.begin(), firstRows_.end(), static_cast<qsizetype>(row));
    const size_t b = static_cast<size_t>(it - firstRows_.begin()) - 1;
    return batches_[b].entry(row - firstRows_[b]);
}

void VirtualListModel::append(EntryBatch batch)
{
    if (batch.empty())
        return;
    const qsizetype added = batch.size();
    beginInsertRows(QModelIndex(), static_cast<int>(count_), static_cast<int>(count_ + added - 1));
    firstRows_.push_back(count_);
    batches_.push_back(std::move(batch));
    count_ += added;
    endInsertRows();
}

void VirtualListModel::clear()
{
    beginResetModel();
    batches_ = {};
    firstRows_ = {};
    count_ = 0;
    endResetModel();
}

namespace {
// Every row measures as wide as the horizontal extent (or its own text when
// wider), so the view scrolls that far; the rows are of one height, which the
// view then measures once.
class ExtentDelegate : public QStyledItemDelegate {
public:
    ExtentDelegate(const int *extent, QObject *parent) : QStyledItemDelegate(parent), extent_(extent) {}
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        if (*extent_ > 0)
            s.setWidth(*extent_);
        return s;
    }

private:
    const int *extent_;
};
} // namespace

VirtualListBox::VirtualListBox(Form *form, const QString &name, QWidget *container) : Control(form, name, container)
{
    setColorRoles({QPalette::Base}, {QPalette::Text});
    backColor_ = syscolor::WindowBackground;
    foreColor_ = syscolor::WindowText;
    setModel(&model_);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setItemDelegate(new ExtentDelegate(&extent_, this));
    setAccessibleName(name);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!settingIndex_)
            fire(Click);
    });
    connect(this, &QListView::activated, this, [this] { fire(DblClick); });
    // Assistive tools select without moving the current entry: it follows,
    // so the click does too.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = selectionModel()->selectedIndexes();
        if (selected.size() == 1 && selected.first() != currentIndex())
            selectionModel()->setCurrentIndex(selected.first(), QItemSelectionModel::NoUpdate);
    });
}

void VirtualListBox::AddItem(const QString &item)
{
    EntryBatch one;
    one.add(item.toLocal8Bit());
    model_.append(std::move(one));
}

void VirtualListBox::AddItems(EntryBatch items) { model_.append(std::move(items)); }

void VirtualListBox::Clear()
{
    settingIndex_ = true;
    model_.clear();
    settingIndex_ = false;
}

QString VirtualListBox::List(int index) const
{
    // "" outside the list, as the classic list answers.
    if (index < 0 || index >= model_.size())
        return QString();
    return model_.at(index);
}

int VirtualListBox::ListIndex() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void VirtualListBox::setListIndex(int index)
{
    if (index < -1 || index >= model_.size())
        vx::raise(err::InvalidProperty);
    if (index == ListIndex())
        return;
    settingIndex_ = true;
    if (index < 0) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
    } else {
        setCurrentIndex(model_.index(index));
    }
    settingIndex_ = false;
    fire(Click);
}

// Taking the focus selects nothing (the view would make the first entry
// current, which is a click); the arrow keys start from the top.
void VirtualListBox::focusInEvent(QFocusEvent *e)
{
    const bool hadCurrent = currentIndex().isValid();
    settingIndex_ = true;
    QListView::focusInEvent(e);
    if (!hadCurrent)
        selectionModel()->clearCurrentIndex();
    settingIndex_ = false;
}

void VirtualListBox::setHorizontalExtent(int pixels)
{
    extent_ = std::max(0, pixels);
    // The view measures rows again with the new width.
    doItemsLayout();
}

} // namespace vx
