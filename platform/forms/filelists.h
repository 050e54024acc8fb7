#pragma once
// The file chooser chain: drive list, folder list and file list.
// Linux has no drive letters: the drive list shows the mounted file systems
// ("/" first) and a drive is its mount point. Setting a drive, path, pattern or
// index from code runs the matching handler at once.
#include "control.h"

#include <QComboBox>
#include <QListWidget>
#include <QRegularExpression>

#include <functional>

namespace vx {

// A mounted file system as the drive list shows it.
struct MountedDrive {
    QString mount; // "/", "/home", "/media/user/CARD"
    QString label; // volume label, else device name, else file system type
};
// The file systems a user would pick from: "/" first, then by mount point;
// kernel and runtime file systems (proc, sysfs, tmpfs, ...) are left out.
QList<MountedDrive> mountedDrives();
// Replaces the mounted file systems (for tests); an empty list restores the real ones.
void setMountedDrivesOverride(const QList<MountedDrive> &drives);

// How often the lists read a folder and the mount table (for tests).
struct ListReads {
    QStringList folders; // each folder read, in order
    int mountTable = 0;
};
ListReads &listReads();

// Mount point that holds `path` ("/" for relative or unknown paths).
QString driveOfPath(const QString &path);
// True when `path` is absolute (the stand-in for a drive-qualified "X:" path).
bool isQualifiedPath(const QString &path);

class DriveListBox : public Control<QComboBox> {
    Q_OBJECT
public:
    DriveListBox(Form *form, const QString &name, QWidget *container = nullptr);
    // The current drive: its mount point ("/", "/home", "/media/cd").
    QString Drive() const;
    // Accepts a mount point or any absolute path inside one (the drive holding
    // it is chosen). Anything else (a stored "c:") raises error 68. Runs Change
    // when the drive changes.
    void setDrive(const QString &drive);
    int ListCount() const { return count(); }
    QString List(int index) const;
    int ListIndex() const { return currentIndex(); }
    // Reads the mount table again.
    void Refresh();
    std::function<void()> Change;

private:
    void fill(bool fresh);
    QString drive_;
};

class DirListBox : public Control<QListWidget> {
    Q_OBJECT
public:
    DirListBox(Form *form, const QString &name, QWidget *container = nullptr);
    // Current folder (absolute, no trailing "/" except the root).
    QString Path() const { return path_; }
    // Raises 76 when the folder does not exist, 75 when it cannot be read
    // (nothing changes then). Runs Change when the path changes.
    void setPath(const QString &path);
    void Refresh();
    // Subfolders 0..ListCount()-1; -1 the folder itself, -2 its parent, up to the root.
    QString List(int index) const;
    int ListCount() const;
    std::function<void()> Change;

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    // The start-up folder is read only if nothing else is set first.
    void ensureFilled() const;
    void fill(bool fresh);
    void open(QListWidgetItem *item);
    QString path_;
    QStringList subfolders_;
    bool stale_ = true;
};

class FileListBox : public Control<QListWidget> {
    Q_OBJECT
public:
    FileListBox(Form *form, const QString &name, QWidget *container = nullptr);
    QString Path() const { return path_; }
    // Lists the folder's files matching the pattern; raises 76 when the folder
    // does not exist. Selection is cleared. Runs PathChange.
    void setPath(const QString &path);
    // "*.bmp;*.jpg": matched case-insensitively; hidden files are left out.
    QString Pattern() const { return pattern_; }
    void setPattern(const QString &pattern);
    // Only the files the user may run (programs), still by the pattern.
    bool ExecutablesOnly() const { return executablesOnly_; }
    void setExecutablesOnly(bool on);
    // Selected entry (-1: none). Setting a different index runs Click at once;
    // an index outside the list raises 380. Every click on an entry (mouse,
    // Space or Enter, an assistive tool selecting it) runs Click, also on the
    // entry already selected.
    int ListIndex() const { return currentRow(); }
    void setListIndex(int index);
    int ListCount() const;
    QString List(int index) const;
    // Name of the selected entry ("" when none).
    QString FileName() const;
    // Reads the folder again.
    void Refresh();
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void()> PathChange;
    // Files dropped on the list (local paths, in the order given).
    std::function<void(const QStringList &)> OLEDragDrop;

protected:
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dropEvent(QDropEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void ensureFilled() const;
    void fill(bool fresh);
    void refilter();
    void selectRow(int index);
    bool matches(const QString &name) const;
    QString path_;
    QString pattern_ = QStringLiteral("*.*");
    bool executablesOnly_ = false;
    QList<QRegularExpression> filters_;
    QStringList suffixes_; // "*.ext" parts, matched without a regular expression
    QStringList names_;    // every file of the folder
    bool settingIndex_ = false;
    bool inInput_ = false; // a press is being handled: it raises its own click
    bool stale_ = true;
};

} // namespace vx
