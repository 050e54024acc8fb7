#include "filelists.h"

#include "folderreads.h"
#include "listbox.h"

#include "platform/core/errors.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

#include <unistd.h>

namespace vx {

using detail::listDrives;
using detail::listing;

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kLevelRole = Qt::UserRole + 1;

bool contains(const QString &mount, const QString &path)
{
    if (mount == QLatin1String("/"))
        return true;
    return path == mount || path.startsWith(mount + QLatin1Char('/'));
}

QString deepestMount(const QList<MountedDrive> &drives, const QString &path)
{
    QString best = QStringLiteral("/");
    for (const MountedDrive &d : drives)
        if (contains(d.mount, path) && d.mount.size() > best.size())
            best = d.mount;
    return best;
}

QString driveText(const MountedDrive &d)
{
    return d.label.isEmpty() ? d.mount : d.mount + QStringLiteral("  (") + d.label + QLatin1Char(')');
}

// Absolute, clean, no trailing "/" except the root; relative paths resolve against `base`.
QString folderPath(const QString &path, const QString &base)
{
    QString p = QDir::cleanPath(QDir(base).absoluteFilePath(path));
    if (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p;
}

// Raises 76 for a missing folder and 75 for one that cannot be listed.
void checkFolder(const QString &path)
{
    if (path.isEmpty())
        vx::raise(err::PathNotFound);
    const QFileInfo fi(path);
    if (!fi.exists() || !fi.isDir())
        vx::raise(err::PathNotFound, path);
    if (!fi.isReadable() || !fi.isExecutable())
        vx::raise(err::PathFileAccess, path);
}

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

QString driveOfPath(const QString &path)
{
    if (!isQualifiedPath(path))
        return QStringLiteral("/");
    return deepestMount(listDrives(), QDir::cleanPath(path));
}

bool isQualifiedPath(const QString &path)
{
    return path.startsWith(QLatin1Char('/'));
}

// --- DriveListBox ---------------------------------------------------------------

DriveListBox::DriveListBox(Form *form, const QString &name, QWidget *container)
    : Control(form, name, container)
{
    backColor_ = syscolor::WindowBackground;
    foreColor_ = syscolor::WindowText;
    // A closed drop-down list paints with the button roles.
    setColorRoles({QPalette::Base, QPalette::Button}, {QPalette::Text, QPalette::ButtonText});
    setEditable(false);
    drive_ = driveOfPath(QDir::currentPath());
    fill(false);
    connect(this, &QComboBox::activated, this, [this](int index) {
        const QString mount = itemData(index, kPathRole).toString();
        if (mount.isEmpty() || mount == drive_)
            return;
        drive_ = mount;
        fire(Change);
    });
}

QString DriveListBox::Drive() const
{
    return drive_;
}

QString DriveListBox::List(int index) const
{
    return itemText(index);
}

void DriveListBox::Refresh()
{
    fill(true);
}

void DriveListBox::fill(bool fresh)
{
    const QSignalBlocker block(this);
    clear();
    const QList<MountedDrive> drives = listDrives(fresh);
    int current = 0;
    for (const MountedDrive &d : drives) {
        if (d.mount == drive_)
            current = count();
        addItem(style()->standardIcon(QStyle::SP_DriveHDIcon), driveText(d), d.mount);
    }
    // A drive that went away falls back to the root.
    drive_ = itemData(current, kPathRole).toString();
    setCurrentIndex(current);
}

void DriveListBox::setDrive(const QString &drive)
{
    if (!isQualifiedPath(drive))
        vx::raise(err::DeviceUnavailable, drive);
    fill(false);
    QList<MountedDrive> drives;
    for (int i = 0; i < count(); ++i)
        drives.append({itemData(i, kPathRole).toString(), QString()});
    const QString mount = deepestMount(drives, QDir::cleanPath(drive));
    if (mount == drive_)
        return;
    drive_ = mount;
    {
        const QSignalBlocker block(this);
        setCurrentIndex(findData(mount, kPathRole));
    }
    if (Change)
        Change();
}

// --- DirListBox -----------------------------------------------------------------

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

// --- FileListBox ----------------------------------------------------------------

FileListBox::FileListBox(Form *form, const QString &name, QWidget *container)
    : Control(form, name, container)
{
    backColor_ = syscolor::WindowBackground;
    foreColor_ = syscolor::WindowText;
    setColorRoles({QPalette::Base}, {QPalette::Text});
    setSelectionMode(QAbstractItemView::SingleSelection);
    // One line each, cut at the list's edge: laying out thousands of names
    // then costs nothing.
    setUniformItemSizes(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    path_ = folderPath(QDir::currentPath(), QStringLiteral("/"));
    QMetaObject::invokeMethod(this, [this] { ensureFilled(); }, Qt::QueuedConnection);
    connect(this, &QListWidget::currentRowChanged, this, [this] {
        if (settingIndex_)
            return;
        fire(Click);
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] {
        fire(DblClick);
    });
    followSelection(this);
}

void FileListBox::setPath(const QString &path)
{
    const QString p = folderPath(path, path_);
    checkFolder(p);
    const bool changed = p != path_;
    path_ = p;
    fill(false);
    if (changed && PathChange)
        PathChange();
}

void FileListBox::setPattern(const QString &pattern)
{
    pattern_ = pattern;
    // The names are known already: no need to read the folder again.
    if (!stale_)
        refilter();
}

void FileListBox::ensureFilled() const
{
    if (stale_)
        const_cast<FileListBox *>(this)->fill(false);
}

void FileListBox::showEvent(QShowEvent *e)
{
    ensureFilled();
    Control::showEvent(e);
}

int FileListBox::ListCount() const
{
    ensureFilled();
    return count();
}

void FileListBox::setExecutablesOnly(bool on)
{
    executablesOnly_ = on;
    refilter();
}

void FileListBox::setListIndex(int index)
{
    ensureFilled();
    if (index < -1 || index >= count())
        vx::raise(err::InvalidProperty);
    if (index == currentRow())
        return;
    selectRow(index);
    if (Click)
        Click();
}

void FileListBox::selectRow(int index)
{
    settingIndex_ = true;
    if (index < 0) {
        setCurrentItem(nullptr);
        clearSelection();
    } else {
        setCurrentRow(index);
    }
    settingIndex_ = false;
}

QString FileListBox::List(int index) const
{
    ensureFilled();
    const QListWidgetItem *it = item(index);
    return it ? it->text() : QString();
}

QString FileListBox::FileName() const
{
    return List(currentRow());
}

void FileListBox::Refresh()
{
    const QString selected = FileName();
    fill(true);
    if (!selected.isEmpty()) {
        const QList<QListWidgetItem *> found = findItems(selected, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (!found.isEmpty())
            selectRow(row(found.first()));
    }
}

bool FileListBox::matches(const QString &name) const
{
    for (const QString &suffix : suffixes_)
        if (name.endsWith(suffix, Qt::CaseInsensitive))
            return true;
    for (const QRegularExpression &re : filters_)
        if (re.match(name).hasMatch())
            return true;
    return false;
}

void FileListBox::fill(bool fresh)
{
    stale_ = false;
    names_ = listing(path_, fresh).files;
    refilter();
}

void FileListBox::refilter()
{
    filters_.clear();
    suffixes_.clear();
    static const QRegularExpression plainSuffix(QStringLiteral("^\\*\\.[^*?\\[\\]]+$"));
    for (QString part : pattern_.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        part = part.trimmed();
        // "*.*" means every file, also those without an extension.
        if (part == QLatin1String("*.*"))
            part = QStringLiteral("*");
        if (plainSuffix.match(part).hasMatch())
            suffixes_.append(part.mid(1));
        else if (!part.isEmpty())
            filters_.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(part),
                                               QRegularExpression::CaseInsensitiveOption));
    }
    if (filters_.isEmpty() && suffixes_.isEmpty())
        filters_.append(QRegularExpression(QStringLiteral(".*")));
    QStringList shown;
    const QString base = path_ == QLatin1String("/") ? QString() : path_;
    for (const QString &name : names_) {
        if (!matches(name))
            continue;
        // Programs: only what the user may run.
        if (executablesOnly_ && ::access(QFile::encodeName(base + QLatin1Char('/') + name).constData(), X_OK) != 0)
            continue;
        shown.append(name);
    }
    settingIndex_ = true;
    clear();
    addItems(shown);
    setCurrentItem(nullptr);
    settingIndex_ = false;
}

// Qt makes the first entry current when the list takes the focus; here the
// selection stays where it was.
void FileListBox::focusInEvent(QFocusEvent *e)
{
    const int before = currentRow();
    settingIndex_ = true;
    Control::focusInEvent(e);
    settingIndex_ = false;
    if (currentRow() != before)
        selectRow(before);
}

void FileListBox::dragEnterEvent(QDragEnterEvent *e) { acceptFileDrag(e, OLEDragDrop); }

void FileListBox::dragMoveEvent(QDragMoveEvent *e) { acceptFileDrag(e, OLEDragDrop); }

void FileListBox::dropEvent(QDropEvent *e) { deliverFileDrop(e, OLEDragDrop); }

} // namespace vx
