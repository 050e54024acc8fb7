#include "filelists.h"

#include "folderreads.h"
#include "listbox.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace vx {

using detail::checkFolder;
using detail::folderPath;
using detail::listing;

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kLevelRole = Qt::UserRole + 1;

// Indents each entry of the folder list by its depth in the tree.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem o(option);
        const int shift = index.data(kLevelRole).toInt() * kIndent;
        o.rect.adjust(shift, 0, 0, 0);
        QStyledItemDelegate::paint(painter, o, index);
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.rwidth() += index.data(kLevelRole).toInt() * kIndent;
        return s;
    }
    static constexpr int kIndent = 12;
};

} // namespace

DirListBox::DirListBox(Form *form, const QString &name, QWidget *container)
    : Control(form, name, container)
{
    backColor_ = syscolor::WindowBackground;
    foreColor_ = syscolor::WindowText;
    setColorRoles({QPalette::Base}, {QPalette::Text});
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    path_ = folderPath(QDir::currentPath(), QStringLiteral("/"));
    QMetaObject::invokeMethod(this, [this] { ensureFilled(); }, Qt::QueuedConnection);
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) { open(item); });
    followSelection(this);
}

void DirListBox::open(QListWidgetItem *item)
{
    if (!item)
        return;
    const QString target = item->data(kPathRole).toString();
    dispatch([this, target] { setPath(target); });
}

void DirListBox::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        open(currentItem());
        return;
    }
    Control::keyPressEvent(e);
}

void DirListBox::setPath(const QString &path)
{
    const QString p = folderPath(path, path_);
    checkFolder(p);
    if (p == path_) {
        fill(false);
        return;
    }
    path_ = p;
    fill(false);
    if (Change)
        Change();
}

void DirListBox::Refresh()
{
    fill(true);
}

void DirListBox::ensureFilled() const
{
    if (stale_)
        const_cast<DirListBox *>(this)->fill(false);
}

void DirListBox::showEvent(QShowEvent *e)
{
    ensureFilled();
    Control::showEvent(e);
}

int DirListBox::ListCount() const
{
    ensureFilled();
    return static_cast<int>(subfolders_.size());
}

QString DirListBox::List(int index) const
{
    ensureFilled();
    if (index >= 0)
        return index < subfolders_.size() ? subfolders_.at(index) : QString();
    // -1 the folder itself, -2 its parent, and so on up to the root.
    QString p = path_;
    for (int i = -1; i > index; --i) {
        if (p == QLatin1String("/"))
            return QString();
        p = QFileInfo(p).path();
    }
    return p;
}

void DirListBox::fill(bool fresh)
{
    stale_ = false;
    const QSignalBlocker block(this);
    clear();
    subfolders_.clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    auto add = [this](const QIcon &icon, const QString &text, const QString &full, int level) {
        auto *item = new QListWidgetItem(icon, text, this);
        item->setData(kPathRole, full);
        item->setData(kLevelRole, level);
    };
    add(open, QStringLiteral("/"), QStringLiteral("/"), 0);
    QString full;
    const QStringList parts = path_.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (int i = 0; i < parts.size(); ++i) {
        full += QLatin1Char('/') + parts.at(i);
        add(open, parts.at(i), full, i + 1);
    }
    setCurrentRow(count() - 1);
    const QString base = path_ == QLatin1String("/") ? QString() : path_;
    for (const QString &name : listing(path_, fresh).folders) {
        subfolders_.append(base + QLatin1Char('/') + name);
        add(closed, name, subfolders_.last(), static_cast<int>(parts.size()) + 1);
    }
}

} // namespace vx
