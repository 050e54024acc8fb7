#include "filedialog.h"

#include "dialogs.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMessageBox>

namespace vx {

namespace {
// The name box's text as one path, resolved as the dialog resolves a name
// without quotes: relative to the shown folder, "~" as the home folder unless
// the folder holds an entry of that name.
QString typedPath(const QFileDialog &dlg, const QString &text)
{
    if (text.isEmpty())
        return QString();
    const QDir here = dlg.directory();
    QString name = text;
    if ((text == QLatin1String("~") || text.startsWith(QLatin1String("~/"))) && !QFileInfo::exists(here.filePath(text)))
        name = QDir::homePath() + text.mid(1);
    return QFileInfo(name).isAbsolute() ? name : here.filePath(name);
}
} // namespace

FileDialog::FileDialog(QWidget *owner) : QFileDialog(owner)
{
    setOption(QFileDialog::DontUseNativeDialog, true);
    setOption(QFileDialog::DontConfirmOverwrite, true);
    setOption(QFileDialog::HideNameFilterDetails, true);
}

void FileDialog::acceptTypedFiles()
{
    auto *box = findChild<QDialogButtonBox *>();
    name_ = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    list_ = findChild<QListView *>(QStringLiteral("listView"));
    button_ = box ? box->button(QDialogButtonBox::Open) : nullptr;
    if (!button_ && box)
        button_ = box->button(QDialogButtonBox::Save);
    if (!button_ || !name_)
        return;
    // Qt decides on each edit (after us: our handler runs last) and on
    // its own events (then the button's state changes).
    button_->installEventFilter(this);
    // Qt marks in the list each name it reads between quotes, and a box
    // without the focus (text set by assistive technology) then takes
    // the marked file's name. With one file to choose, we ask Qt to mark
    // only names without quotes.
    autoComplete_ = oneFile() && disconnect(name_, SIGNAL(textChanged(QString)), this,
                                            SLOT(_q_autoCompleteFileName(QString)));
    connect(name_, &QLineEdit::textChanged, this, [this] { nameEdited(true); });
    nameEdited(false);
}

void FileDialog::accept()
{
    if (typedNameDecides()) {
        const QString path = typedPath(*this, name_->text());
        const QFileInfo info(path);
        if (info.isDir()) {
            setDirectory(info.absoluteFilePath());
            name_->clear();
            return;
        }
        if (acceptMode() == AcceptOpen && !info.exists()) {
            QMessageBox::warning(this, boxTitle(),
                                 QFileDialog::tr("%1\nFile not found.\nPlease verify the "
                                                 "correct file name was given.")
                                     .arg(info.fileName()));
            return;
        }
        if (acceptMode() == AcceptSave && info.exists() && !replaceConfirmed(info))
            return;
        chosen_ = QStringList{path};
        emit fileSelected(path);
        emit filesSelected(chosen_);
        QDialog::accept();
        return;
    }
    if (acceptMode() == AcceptSave) {
        const QStringList files = selectedFiles();
        const QFileInfo info(files.isEmpty() ? QString() : files.first());
        if (!files.isEmpty() && info.exists() && !info.isDir() && !replaceConfirmed(info))
            return;
    }
    QFileDialog::accept();
}

bool FileDialog::eventFilter(QObject *watched, QEvent *event)
{
    // Qt enables Open only for files the type list shows; a typed name
    // of an existing regular file is enough here.
    if (watched == button_ && event->type() == QEvent::EnabledChange)
        updateButton();
    return QFileDialog::eventFilter(watched, event);
}

QString FileDialog::boxTitle() const { return appTitle().isEmpty() ? windowTitle() : appTitle(); }

bool FileDialog::replaceConfirmed(const QFileInfo &info)
{
    QMessageBox box(QMessageBox::Warning, boxTitle(), replaceQuestion(info.fileName()),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QStringList FileDialog::listSelection() const
{
    QStringList out;
    if (list_ && list_->selectionModel())
        for (const QModelIndex &row : list_->selectionModel()->selectedRows())
            out << row.data(QFileSystemModel::FilePathRole).toString();
    return out;
}

// A quoted name decides, unless a folder was picked in the list after
// it was typed (Qt then opens the folder).
bool FileDialog::typedNameDecides() const
{
    if (!quoted())
        return false;
    const QStringList rows = listSelection();
    return !(rows.size() == 1 && QFileInfo(rows.first()).isDir());
}

void FileDialog::nameEdited(bool edited)
{
    // A mark in the list answers for the name box: a quoted name is the
    // only one, so nothing is marked.
    if (quoted() && list_ && list_->selectionModel())
        list_->selectionModel()->clearSelection();
    else if (autoComplete_ && edited)
        QMetaObject::invokeMethod(this, "_q_autoCompleteFileName", Q_ARG(QString, name_->text()));
    updateButton();
}

void FileDialog::updateButton()
{
    if (!button_ || !name_)
        return;
    if (quoted()) {
        const QFileInfo info(typedPath(*this, name_->text()));
        if (acceptMode() == AcceptSave) {
            button_->setText(info.isDir() ? QFileDialog::tr("&Open") : QFileDialog::tr("&Save"));
            button_->setEnabled(true);
        } else {
            button_->setEnabled(info.exists());
        }
        return;
    }
    // Several names in quotes are Qt's to read.
    if (button_->isEnabled() || acceptMode() != AcceptOpen || name_->text().contains(QLatin1Char('"')))
        return;
    const QString path = typedPath(*this, name_->text());
    if (!path.isEmpty() && QFileInfo(path).isFile())
        button_->setEnabled(true);
}

} // namespace vx
