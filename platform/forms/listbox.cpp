#include "listbox.h"

#include "platform/core/errors.h"
#include "program.h"

#include <QStyledItemDelegate>

namespace vx {

int ListBoxModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : size();
}

QVariant ListBoxModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole)
        return at(index.row());
    return {};
}

void ListBoxModel::append(QStringList items)
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

void ListBoxModel::clear()
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

ListBox::ListBox(Form *form, const QString &name, QWidget *container) : Control(form, name, container)
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
}

void ListBox::AddItem(const QString &item) { model_.append({item}); }

void ListBox::AddItems(QStringList items) { model_.append(std::move(items)); }

void ListBox::Clear()
{
    settingIndex_ = true;
    model_.clear();
    settingIndex_ = false;
}

QString ListBox::List(int index) const
{
    if (index < 0 || index >= model_.size())
        vx::raise(err::InvalidProperty);
    return model_.at(index);
}

int ListBox::ListIndex() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void ListBox::setListIndex(int index)
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

void ListBox::setHorizontalExtent(int pixels)
{
    extent_ = std::max(0, pixels);
    // The view measures rows again with the new width.
    doItemsLayout();
}

} // namespace vx
