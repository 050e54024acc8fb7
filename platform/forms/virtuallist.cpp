#include "virtuallist.h"

#include "platform/core/errors.h"
#include "program.h"

#include <QStyledItemDelegate>

namespace vx {

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

void VirtualListModel::append(QStringList items)
{
    if (items.isEmpty())
        return;
    const int first = size();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(items.size()) - 1);
    rows_.reserve(rows_.size() + static_cast<size_t>(items.size()));
    for (QString &s : items)
        rows_.push_back(std::move(s));
    endInsertRows();
}

void VirtualListModel::clear()
{
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
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

void VirtualListBox::AddItem(const QString &item) { model_.append({item}); }

void VirtualListBox::AddItems(QStringList items) { model_.append(std::move(items)); }

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
