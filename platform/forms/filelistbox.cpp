#include "filelists.h"

#include "folderreads.h"
#include "listbox.h"

#include "platform/core/errors.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>

#include <unistd.h>

namespace vx {

using detail::checkFolder;
using detail::folderPath;
using detail::listing;

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
    followSelection(this, [this] {
        if (!settingIndex_ && !inInput_)
            fire(Click);
    });
}

void FileListBox::mousePressEvent(QMouseEvent *e)
{
    if (pressKeepsEntry(this, e, inInput_, [&] { Control::mousePressEvent(e); }))
        fire(Click);
}

void FileListBox::keyPressEvent(QKeyEvent *e)
{
    if (keyClicksEntry(this, e, inInput_, [&] { Control::keyPressEvent(e); }))
        fire(Click);
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
