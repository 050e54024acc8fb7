#include "platform/core/errors.h"
#include "platform/forms/filelists.h"
#include "platform/forms/listbox.h"
#include "testing/harness.h"
#include "testing/errors.h"
#include "testing/capabilities.h"

#include <QDir>
#include <QFile>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QTest>

#include <algorithm>

#include <unistd.h>

using vxtest::errorOf;

using namespace vx;

namespace {

class Host : public Form {
public:
    Host() : Form(QStringLiteral("Host")) { setClientSize(6000, 6000); }
    DriveListBox Drive1{this, QStringLiteral("Drive1")};
    DirListBox Dir1{this, QStringLiteral("Dir1")};
    FileListBox File1{this, QStringLiteral("File1")};
};

void touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write("x");
}

QStringList entries(const FileListBox &list)
{
    QStringList out;
    for (int i = 0; i < list.ListCount(); ++i)
        out << list.List(i);
    return out;
}

class FileChain : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        ASSERT_TRUE(tmp.isValid());
        root = tmp.path();
        for (const char *name : {"b.BMP", "a.jpg", "C.Jpg", ".hidden.jpg", "notes.txt", "README", "x.jpeg"})
            touch(root + QLatin1Char('/') + QLatin1String(name));
        for (const char *name : {"zeta", "Alpha", "beta", ".git", "pics.jpg"})
            ASSERT_TRUE(QDir(root).mkdir(QLatin1String(name)));
    }
    void TearDown() override
    {
        setMountedDrivesOverride({});
        GuiTest::TearDown();
    }
    QTemporaryDir tmp;
    QString root;
};

TEST_F(FileChain, FileListMatchesPatternCaseInsensitivelyAndSortsByName)
{
    Host h;
    h.File1.setPath(root);
    h.File1.setPattern(QStringLiteral("*.bmp;*.jpg"));
    EXPECT_EQ(entries(h.File1), (QStringList{"a.jpg", "b.BMP", "C.Jpg"}))
        << "upper-case extensions match, hidden files and folders named like pictures do not";
    h.File1.setPattern(QStringLiteral("*.*"));
    EXPECT_EQ(entries(h.File1), (QStringList{"a.jpg", "b.BMP", "C.Jpg", "notes.txt", "README", "x.jpeg"}))
        << "*.* lists files without an extension too";
    h.File1.setPattern(QStringLiteral(" *.JPEG ; *.txt"));
    EXPECT_EQ(entries(h.File1), (QStringList{"notes.txt", "x.jpeg"}));
}

TEST_F(FileChain, ListIndexRunsClickOncePerChange)
{
    Host h;
    h.File1.setPath(root);
    h.File1.setPattern(QStringLiteral("*.jpg"));
    int clicks = 0;
    QString seen;
    h.File1.Click = [&] { ++clicks; seen = h.File1.FileName(); };
    EXPECT_EQ(h.File1.ListIndex(), -1);
    EXPECT_EQ(h.File1.FileName(), QString());

    h.File1.setListIndex(1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(seen, QStringLiteral("C.Jpg")) << "the selection is in place when Click runs";
    h.File1.setListIndex(1);
    EXPECT_EQ(clicks, 1) << "the same index again is no change";
    h.File1.setListIndex(-1);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(h.File1.FileName(), QString());

    EXPECT_EQ(errorOf([&] { h.File1.setListIndex(2); }), err::InvalidProperty);
    EXPECT_EQ(errorOf([&] { h.File1.setListIndex(-2); }), err::InvalidProperty);
    EXPECT_EQ(h.File1.ListIndex(), -1);
    EXPECT_EQ(clicks, 2);

    // The user moving the selection runs Click too.
    h.File1.setCurrentRow(0);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(seen, QStringLiteral("a.jpg"));

    // Tabbing into the list moves no selection.
    h.File1.setListIndex(-1);
    clicks = 0;
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&h.File1, &focus);
    EXPECT_EQ(h.File1.ListIndex(), -1);
    EXPECT_EQ(clicks, 0);

    int dbl = 0;
    h.File1.DblClick = [&] { ++dbl; };
    emit h.File1.itemDoubleClicked(h.File1.item(0));
    EXPECT_EQ(dbl, 1);
}

// Each way a user clicks an entry of `list`, counted by `clicks`: the mouse,
// Space and Enter, an assistive tool selecting it. The entry selected
// already is clicked as any other.
void clickEveryWay(QListWidget &list, const int &clicks, const int &doubles)
{
    const auto at = [&list](int row) { return list.visualItemRect(list.item(row)).center(); };
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at(1));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list.currentRow(), 1);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at(1));
    EXPECT_EQ(clicks, 2) << "a click on the selected entry";
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, at(1));
    EXPECT_EQ(clicks, 2) << "the right button is no click";
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at(1));
    EXPECT_EQ(doubles, 1);
    const int beforeKeys = clicks;
    QTest::keyClick(&list, Qt::Key_Space);
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(clicks, beforeKeys + 2) << "Space and Enter on the selected entry";
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(clicks, beforeKeys + 3) << "moving to another entry";
    EXPECT_EQ(list.currentRow(), 0);
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(&list);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(a->tableInterface(), nullptr);
    a->tableInterface()->selectRow(0);
    EXPECT_EQ(clicks, beforeKeys + 4) << "an assistive tool selecting the selected entry";
    a->tableInterface()->selectRow(1);
    EXPECT_EQ(clicks, beforeKeys + 5);
    EXPECT_EQ(list.currentRow(), 1);
}

TEST_F(FileChain, EveryClickOnAnEntryIsAClickSelectedOrNot)
{
    Host h;
    ListBox List1{&h, QStringLiteral("List1")};
    h.File1.setPath(root);
    h.File1.setPattern(QStringLiteral("*.jpg"));
    for (const char *line : {"one", "two", "three"})
        List1.AddItem(QLatin1String(line));
    h.File1.Move(0, 0, 3000, 2000);
    List1.Move(3000, 0, 3000, 2000);
    h.Show();
    int files = 0, fileDoubles = 0, lines = 0, lineDoubles = 0;
    h.File1.Click = [&] { ++files; };
    h.File1.DblClick = [&] { ++fileDoubles; };
    List1.Click = [&] { ++lines; };
    List1.DblClick = [&] { ++lineDoubles; };
    {
        SCOPED_TRACE("file list");
        clickEveryWay(h.File1, files, fileDoubles);
    }
    {
        SCOPED_TRACE("list box");
        clickEveryWay(List1, lines, lineDoubles);
    }
    EXPECT_EQ(files - fileDoubles, lines - lineDoubles);

    // Removing the selected line leaves none selected, as the list shows.
    List1.RemoveItem(1);
    EXPECT_EQ(List1.ListIndex(), -1);
    EXPECT_TRUE(List1.selectedItems().isEmpty());
    List1.setListIndex(1);
    List1.RemoveItem(0);
    EXPECT_EQ(List1.ListIndex(), 0) << "the selected line moved up, still selected";
    EXPECT_EQ(List1.Text(), QStringLiteral("three"));
}

TEST_F(FileChain, MissingFolderLeavesFileListUnchanged)
{
    Host h;
    int pathChanges = 0;
    h.File1.PathChange = [&] { ++pathChanges; };
    h.File1.setPath(root);
    EXPECT_EQ(pathChanges, 1);
    h.File1.setListIndex(0);
    const QStringList before = entries(h.File1);

    for (const QString &bad : {root + "/gone", root + "/notes.txt", QStringLiteral("C:\\Pictures")})
        EXPECT_EQ(errorOf([&] { h.File1.setPath(bad); }), err::PathNotFound) << bad.toStdString();
    EXPECT_EQ(h.File1.Path(), root);
    EXPECT_EQ(entries(h.File1), before);
    EXPECT_EQ(h.File1.ListIndex(), 0);
    EXPECT_EQ(pathChanges, 1);

    h.File1.setPath(root + QStringLiteral("/zeta/"));
    EXPECT_EQ(h.File1.Path(), root + QStringLiteral("/zeta")) << "no trailing slash";
    EXPECT_EQ(h.File1.ListCount(), 0);
    EXPECT_EQ(h.File1.ListIndex(), -1);
    EXPECT_EQ(pathChanges, 2);
}

TEST_F(FileChain, DroppedFilesReachTheHandlerInOrder)
{
    Host h;
    QStringList got;
    h.File1.OLEDragDrop = [&](const QStringList &files) { got = files; };
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(root + "/b.BMP"), QUrl(QStringLiteral("https://example.org/x.jpg")),
                  QUrl::fromLocalFile(root + "/a.jpg")});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(h.File1.viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(h.File1.viewport(), &drop);
    EXPECT_EQ(got, (QStringList{root + "/b.BMP", root + "/a.jpg"}));
}

TEST_F(FileChain, FolderListShowsAncestorsThenVisibleSubfolders)
{
    Host h;
    int changes = 0;
    h.Dir1.Change = [&] { ++changes; };
    h.Dir1.setPath(root);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(h.Dir1.Path(), root);
    EXPECT_EQ(h.Dir1.List(-1), root);
    EXPECT_EQ(h.Dir1.List(-2), QFileInfo(root).path());
    ASSERT_EQ(h.Dir1.ListCount(), 4) << "hidden folders are left out";
    EXPECT_EQ(h.Dir1.List(0), root + "/Alpha");
    EXPECT_EQ(h.Dir1.List(1), root + "/beta");
    EXPECT_EQ(h.Dir1.List(2), root + "/pics.jpg");
    EXPECT_EQ(h.Dir1.List(3), root + "/zeta");

    // Shown rows: "/" and each ancestor, the folder itself (selected), then the subfolders.
    const int depth = static_cast<int>(root.split('/', Qt::SkipEmptyParts).size());
    ASSERT_EQ(h.Dir1.count(), depth + 1 + 4);
    EXPECT_EQ(h.Dir1.item(0)->text(), QStringLiteral("/"));
    EXPECT_EQ(h.Dir1.currentRow(), depth);
    EXPECT_EQ(h.Dir1.item(depth)->text(), QFileInfo(root).fileName());
    EXPECT_EQ(h.Dir1.item(depth + 1)->text(), QStringLiteral("Alpha"));

    h.Dir1.setPath(root);
    EXPECT_EQ(changes, 1) << "the same folder is no change";

    // Double-clicking a subfolder opens it; double-clicking an ancestor goes up.
    emit h.Dir1.itemDoubleClicked(h.Dir1.item(depth + 4));
    EXPECT_EQ(h.Dir1.Path(), root + "/zeta");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(h.Dir1.ListCount(), 0);
    emit h.Dir1.itemDoubleClicked(h.Dir1.item(0));
    EXPECT_EQ(h.Dir1.Path(), QStringLiteral("/"));
    EXPECT_EQ(h.Dir1.List(-2), QString());
    EXPECT_EQ(changes, 3);
}

TEST_F(FileChain, FolderListRefusesMissingAndUnreadableFolders)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    Host h;
    h.Dir1.setPath(root);
    int changes = 0;
    h.Dir1.Change = [&] { ++changes; };
    EXPECT_EQ(errorOf([&] { h.Dir1.setPath(root + "/gone"); }), err::PathNotFound);
    EXPECT_EQ(errorOf([&] { h.Dir1.setPath(QStringLiteral("c:")); }), err::PathNotFound);
    EXPECT_EQ(h.Dir1.Path(), root);
    EXPECT_EQ(h.Dir1.ListCount(), 4);
    EXPECT_EQ(changes, 0);

    h.Dir1.setPath(QStringLiteral("beta"));
    EXPECT_EQ(h.Dir1.Path(), root + "/beta") << "a relative path is taken from the current folder";

    const QString locked = root + "/zeta";
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    EXPECT_EQ(errorOf([&] { h.Dir1.setPath(locked); }), err::PathFileAccess);
    EXPECT_EQ(h.Dir1.Path(), root + "/beta");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(FileChain, DriveOfPathIsTheDeepestMountHoldingIt)
{
    setMountedDrivesOverride({{"/", "disk"}, {root, "data"}, {root + "/zeta", "card"}});
    EXPECT_EQ(driveOfPath(root + "/zeta/x/y.jpg"), root + "/zeta");
    EXPECT_EQ(driveOfPath(root + "/zeta"), root + "/zeta");
    EXPECT_EQ(driveOfPath(root + "/zetaX"), root) << "a name that merely starts like a mount point";
    EXPECT_EQ(driveOfPath(root + "/../other"), QStringLiteral("/"));
    EXPECT_EQ(driveOfPath(QStringLiteral("c:\\x")), QStringLiteral("/"));
    EXPECT_FALSE(isQualifiedPath(QStringLiteral("C:\\Pictures")));
}

TEST_F(FileChain, DriveListSetsDriveFromAnyPathAndRefusesLetters)
{
    setMountedDrivesOverride({{"/", "disk"}, {root, "data"}});
    Host h;
    h.Drive1.setDrive(QStringLiteral("/"));
    ASSERT_EQ(h.Drive1.ListCount(), 2);
    EXPECT_EQ(h.Drive1.List(0), QStringLiteral("/  (disk)"));
    EXPECT_EQ(h.Drive1.List(1), root + "  (data)");

    int changes = 0;
    h.Drive1.Change = [&] { ++changes; };
    h.Drive1.setDrive(root + "/beta/deeper");
    EXPECT_EQ(h.Drive1.Drive(), root);
    EXPECT_EQ(h.Drive1.ListIndex(), 1);
    EXPECT_EQ(changes, 1);
    h.Drive1.setDrive(root);
    EXPECT_EQ(changes, 1) << "the same drive is no change";

    EXPECT_EQ(errorOf([&] { h.Drive1.setDrive(QStringLiteral("c:")); }), err::DeviceUnavailable);
    EXPECT_EQ(h.Drive1.Drive(), root);
    EXPECT_EQ(changes, 1);

    // The user picking a drive.
    emit h.Drive1.activated(0);
    EXPECT_EQ(h.Drive1.Drive(), QStringLiteral("/"));
    EXPECT_EQ(changes, 2);
}

TEST_F(FileChain, RealDriveListStartsAtRootWithoutSystemFileSystems)
{
    const QList<MountedDrive> drives = mountedDrives();
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_EQ(drives.first().mount, QStringLiteral("/"));
    for (const MountedDrive &d : drives) {
        EXPECT_FALSE(d.mount.startsWith("/proc") || d.mount.startsWith("/sys") || d.mount.startsWith("/dev"))
            << d.mount.toStdString();
        const auto same = [&](const MountedDrive &o) { return o.mount == d.mount; };
        EXPECT_EQ(std::count_if(drives.begin(), drives.end(), same), 1) << d.mount.toStdString();
    }
}

TEST_F(FileChain, AFolderIsReadOncePerChangeAndAgainOnRefreshOrAtTheNextEvent)
{
    QApplication::processEvents();
    listReads() = {};
    Host h;
    h.Dir1.setPath(root);
    h.File1.setPath(root);
    EXPECT_EQ(entries(h.File1).size(), 7 - 1) << "hidden file left out";
    EXPECT_EQ(h.Dir1.ListCount(), 4);
    h.File1.setPattern(QStringLiteral("*.jpg"));
    EXPECT_EQ(entries(h.File1), QStringList({QStringLiteral("a.jpg"), QStringLiteral("C.Jpg")}));
    QApplication::processEvents(); // the start-up folder, never shown, is not read either
    EXPECT_EQ(listReads().folders, QStringList{root}) << "folder list, file list and pattern share one read";
    EXPECT_EQ(listReads().mountTable, 1);

    touch(root + QStringLiteral("/new.jpg"));
    h.File1.Refresh();
    EXPECT_EQ(h.File1.ListCount(), 3);
    touch(root + QStringLiteral("/later.jpg"));
    QApplication::processEvents();
    h.File1.setPath(root);
    EXPECT_EQ(h.File1.ListCount(), 4) << "a later event sees the disk again";
    EXPECT_EQ(listReads().folders.size(), 3);

    // One read of the mount table serves a handler's drive steps; Refresh reads it again.
    h.Drive1.setDrive(root);
    EXPECT_EQ(driveOfPath(root), driveOfPath(root + QStringLiteral("/zeta")));
    h.Drive1.setDrive(QStringLiteral("/"));
    EXPECT_EQ(listReads().mountTable, 2);
    h.Drive1.Refresh();
    EXPECT_EQ(listReads().mountTable, 3);
}

} // namespace
