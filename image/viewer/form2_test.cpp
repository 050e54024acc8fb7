#include "image/magnifier/form13.h"
#include "form14.h"
#include "form32.h"
#include "platform/imaging/picture.h"
#include "viewer_fixture_test.h"
#include "platform/core/errors.h"
#include "testing/capabilities.h"
#include "testing/files.h"
#include "testing/smalldisk.h"

#include <QClipboard>
#include <QDir>
#include <QCoreApplication>
#include <QGuiApplication>

#include <unistd.h>

using namespace vx;

namespace {

class Form2Test : public ViewerTest {};

TEST_F(Form2Test, ListWalkDisplaysNaturalSizesAndNeverWraps)
{
    Form2 &v = viewer();
    ASSERT_EQ(v.File1.ListCount(), 4) << "hidden and text files left out, upper-case extension kept";
    v.File1.setListIndex(0);
    EXPECT_EQ(v.Label1.Caption(), QStringLiteral("1/4"));
    EXPECT_FALSE(v.Command9.Enabled());
    EXPECT_TRUE(v.Command6.Enabled());
    EXPECT_EQ(v.Image1.Height(), tw(30));
    v.Command9_Click();
    EXPECT_EQ(v.File1.ListIndex(), 0);
    v.Command6_Click();
    EXPECT_EQ(v.Label1.Caption(), QStringLiteral("2/4"));
    EXPECT_TRUE(v.Command9.Enabled());
    EXPECT_EQ(v.Image1.Width(), tw(60));
    v.Command6_Click();
    v.Command6_Click(); // the corrupt d.jpg: position moves, picture stays
    EXPECT_EQ(v.Label1.Caption(), QStringLiteral("4/4"));
    EXPECT_FALSE(v.Command6.Enabled());
    EXPECT_EQ(v.Image1.Width(), tw(20));
    v.Command6_Click();
    EXPECT_EQ(v.File1.ListIndex(), 3);
    EXPECT_TRUE(vxtest::dialogs().messages.empty());

    QDir(folder).mkdir(QStringLiteral("one"));
    QFile::copy(path("c.jpeg"), path("one/c.jpeg"));
    viewer(path("one")).File1.setListIndex(0);
    EXPECT_EQ(v.Label1.Caption(), QStringLiteral("1/1"));
    EXPECT_FALSE(v.Command9.Enabled());
    EXPECT_FALSE(v.Command6.Enabled());
}

TEST_F(Form2Test, SlideShowSwitchesAndItsStepWrapsToTheFirstFile)
{
    Form2 &v = viewer();
    instance<Form14>().HScroll1.setValue(7000);
    v.Command10_Click();
    EXPECT_TRUE(v.Timer1.Enabled());
    EXPECT_EQ(v.Timer1.Interval(), 7000);
    EXPECT_EQ(v.Command10.Caption(), QStringLiteral("スライド停止"));
    v.File1.setListIndex(3);
    v.Timer1_Timer();
    EXPECT_EQ(v.File1.ListIndex(), 0);
    EXPECT_EQ(v.Image1.Width(), tw(40));
    v.IDMSRIDE_Click();
    EXPECT_FALSE(v.Timer1.Enabled());
    EXPECT_EQ(v.Command10.Caption(), QStringLiteral("スライド再開"));
    EXPECT_EQ(v.Command10.ToolTipText(), QStringLiteral("スライドショーを再開します"));
}

TEST_F(Form2Test, SlideStepInAOneFileFolderShowsTheFileAgain)
{
    QTemporaryDir one;
    vxtest::writeTestImage(one.path() + QStringLiteral("/only.bmp"), 40, 30);
    Form2 &v = viewer(one.path());
    v.File1.setListIndex(0);
    v.Command2_Click();
    ASSERT_NE(v.Image1.Width(), tw(40));
    v.Timer1_Timer();
    EXPECT_EQ(v.File1.ListIndex(), 0);
    EXPECT_EQ(v.Image1.Width(), tw(40)) << "shown again at its natural size";
}

TEST_F(Form2Test, ZoomedDisplayIsTheNaturalSizeTimesTheRatioOnce)
{
    store("Zoom", QStringLiteral("1"));
    Form2 &v = viewer();
    instance<Form14>().Combo1.setText(QStringLiteral("2.0"));
    v.File1.setListIndex(0);
    EXPECT_TRUE(v.Image1.Stretch());
    EXPECT_EQ(v.Image1.Width(), 2 * tw(40));
    v.Command6_Click();
    EXPECT_EQ(v.Image1.Width(), 2 * tw(60));
    EXPECT_EQ(v.Image1.Height(), 2 * tw(20));
    v.Timer1_Timer();
    EXPECT_EQ(v.Image1.Height(), 2 * tw(50));
    store("Zoom", QStringLiteral("x")); // not a number: "0"
    v.Command9_Click();
    EXPECT_FALSE(v.Image1.Stretch());
    EXPECT_EQ(v.Image1.Width(), tw(60));
}

TEST_F(Form2Test, EnlargeShrinkAndReset)
{
    Form2 &v = viewer();
    v.File1.setListIndex(0);
    v.Command2_Click();
    EXPECT_TRUE(v.Image1.Stretch());
    EXPECT_FLOAT_EQ(v.Image1.Width(), tw(40) * 1.05f);
    instance<Form14>().Combo1.setText(QStringLiteral("2.0"));
    v.Command3_Click();
    EXPECT_FLOAT_EQ(v.Image1.Height(), tw(30) * 1.05f * 1.9f);
    v.Command4_Click();
    EXPECT_FALSE(v.Image1.Stretch());
    EXPECT_EQ(v.Image1.Width(), tw(40));

    instance<Form14>().Combo1.setText(QStringLiteral("5.0"));
    float before = 0;
    for (int i = 0; i < 20 && before != v.Image1.Width(); ++i) {
        before = v.Image1.Width();
        v.Command2_Click();
    }
    EXPECT_EQ(v.Image1.Width(), before) << "a size beyond the box is refused, quietly";
    EXPECT_GT(v.Image1.Width() * 5.25f, ImageBox::kMaxTwips);
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
}

TEST_F(Form2Test, DroppedFilesShowTheLastAndABadOneStopsWithAMessage)
{
    Form2 &v = viewer();
    v.File1_OLEDragDrop({path("b.JPG"), path("a.bmp"), path("c.jpeg")});
    EXPECT_EQ(v.Image1.Width(), tw(20));
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    v.File1_OLEDragDrop({path("a.bmp"), path("d.jpg"), path("b.JPG")});
    EXPECT_EQ(v.Image1.Width(), tw(40));
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              QStringList{QStringLiteral("対応している画像ファイルをドロップしてください")});
}

TEST_F(Form2Test, FileMenuOpensAndSavesAndCancelChangesNothing)
{
    Form2 &v = viewer();
    auto &d = vxtest::dialogs();
    // Cancelled before anything was opened: the start-up picture stays.
    d.files = {std::nullopt};
    v.IDMOPEN_Click();
    EXPECT_EQ(v.Image1.Picture().image.size(), QSize(636, 519));
    d.files = {QStringList{path("b.JPG")}, std::nullopt, QStringList{path("d.jpg")}};
    for (int i = 0; i < 3; ++i)
        v.IDMOPEN_Click();
    EXPECT_EQ(v.Image1.Picture().image.size(), QSize(60, 20));
    v.Command2_Click();
    const float width = v.Image1.Width();

    const QString out = path("saved.bmp");
    d.files = {std::nullopt, QStringList{out}};
    v.IDMSave_Click();
    EXPECT_EQ(d.fileRequests.back().fileName, QStringLiteral("noname.bmp"));
    EXPECT_FALSE(QFile::exists(QStringLiteral("noname.bmp")));
    EXPECT_TRUE(d.messages.empty());
    v.IDMSave_Click();
    EXPECT_EQ(LoadPicture(out).format, QStringLiteral("bmp"));
    EXPECT_EQ(LoadPicture(out).image.size(), QSize(60, 20));
    EXPECT_EQ(d.messageTexts(), QStringList{QStringLiteral("保存されました(^o^)")});
    EXPECT_EQ(v.Image1.Width(), width) << "the box keeps its size";

    QFile::remove(out);
    v.Image1.setPicture(Picture{});
    d.files = {QStringList{out}};
    v.IDMSave_Click();
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(d.messages.size(), 1u);
}

// A failed save says which file and why, writes nothing and claims no
// success; a writable file is saved wherever it lies, with every name of it.
// Root writes anywhere: the check runs again without the powers that let it.
TEST_F(Form2Test, SaveSaysWhyItFailedAndSavesAWritableFileWhereverItLies)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    // Without a file system of its own to fill, the full disk is left out.
    vxtest::SmallDisk disk(512 * 1024);
    Form2 &v = viewer();
    v.File1.setListIndex(0);
    auto &d = vxtest::dialogs();
    const QString sealed = path("sealed");
    ASSERT_TRUE(QDir().mkdir(sealed));
    const QString inSealed = vxtest::writeIn(sealed, QStringLiteral("in.bmp"), "the user's own bytes");
    ASSERT_TRUE(QFile::setPermissions(sealed, QFile::ReadOwner | QFile::ExeOwner));
    const QString locked = vxtest::writeIn(folder, QStringLiteral("locked.bmp"), "the user's own bytes");
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner));
    const QString linked = vxtest::writeIn(folder, QStringLiteral("linked.bmp"), "the user's own bytes");
    ASSERT_EQ(::link(QFile::encodeName(linked).constData(), QFile::encodeName(path("other-name.bmp")).constData()), 0);
    const QString onDisk =
        disk.ok() ? vxtest::writeIn(disk.path(), QStringLiteral("full.bmp"), "the user's own bytes") : QString();

    const struct {
        const char *what;
        QString target;
        QString reason; // "" for a save that succeeds
        QString alsoNamed;
    } cases[] = {
        {"a new file in a read-only folder", sealed + "/new.bmp", "保存先のフォルダーへの書き込みが許可されていません。", {}},
        {"a missing folder", path("gone/new.bmp"), "保存先のフォルダーが見つかりません。", {}},
        {"over a read-only file", locked, "書き込みが許可されていません。", {}},
        {"a full disk", onDisk, "ディスクの空き容量が不足しています。", {}},
        {"a writable file in a read-only folder", inSealed, {}, {}},
        {"a file with a second name", linked, {}, path("other-name.bmp")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.target.isEmpty())
            continue;
        ASSERT_TRUE(!disk.ok() || disk.leaveFree(0));
        d.messages.clear();
        d.files = {QStringList{c.target}};
        v.IDMSave_Click();
        ASSERT_EQ(d.messages.size(), 1u);
        if (c.reason.isEmpty()) {
            EXPECT_EQ(d.messages.front().text, QStringLiteral("保存されました(^o^)"));
            EXPECT_EQ(LoadPicture(c.target).image.size(), QSize(40, 30));
            if (!c.alsoNamed.isEmpty()) {
                EXPECT_EQ(LoadPicture(c.alsoNamed).image.size(), QSize(40, 30));
            }
            continue;
        }
        EXPECT_EQ(d.messages.front().text, QStringLiteral("画像を保存できませんでした。\n") + c.reason + "\n" + c.target);
        EXPECT_EQ(d.messages.front().icon(), vbExclamation);
        if (QFileInfo(c.target).exists()) {
            EXPECT_EQ(vxtest::readBytes(c.target), QByteArray("the user's own bytes"));
        }
    }
    EXPECT_FALSE(QFile::exists(sealed + "/new.bmp"));
    EXPECT_EQ(QDir(sealed).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("in.bmp")});
    if (disk.ok()) {
        EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("full.bmp")})
            << "no temporary file left";
    }
    QFile::setPermissions(sealed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(Form2Test, CopyAndPrintWorkOnTheShownPictureOnly)
{
    Form2 &v = viewer();
    const QString pdf = path("print.pdf");
    setPrintToFile(pdf);
    QGuiApplication::clipboard()->clear();
    v.File1.setListIndex(2);
    v.IDMPrint_Click();
    EXPECT_GT(QFileInfo(pdf).size(), 0) << "printed although the clipboard is empty";
    v.Command7_Click();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(20, 50));
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{QStringLiteral("クリップボードに保存されました(^o^)")});

    QFile::remove(pdf);
    v.Image1.setPicture(Picture{});
    v.IDMCOPY_Click();
    v.IDMPrint_Click();
    EXPECT_FALSE(QFile::exists(pdf));
    ASSERT_EQ(vxtest::dialogs().messages.size(), 2u) << "no copy message; one for the print";
    setPrintToFile(QString());
}

TEST_F(Form2Test, PropertiesFromButtonAndPopUpMenu)
{
    Form2 &v = viewer();
    v.File1.setListIndex(1);
    v.Command11_Click();
    v.Image1_MouseDown(1, 0, 10, 10);
    vxtest::dialogs().popupScripts.push_back([](Menu &m) { m.findChild<Menu *>(QStringLiteral("IDMPRO"))->click(); });
    v.Image1_MouseDown(2, 0, 10, 10);
    EXPECT_EQ(vxtest::dialogs().popups, QStringList{QStringLiteral("Form2.IDMFile")});
    EXPECT_EQ(vxtest::shell().properties, QStringList({path("b.JPG"), path("b.JPG")}));
    EXPECT_TRUE(vxtest::dialogs().messages.empty()) << "nobody answering shows nothing";
}

TEST_F(Form2Test, LoadRestoresLookSpeedAndFolder)
{
    store("FormColor", QStringLiteral("255"));
    store("BottonColor", QStringLiteral("16711680"));
    store("FormLeft", QStringLiteral("3000"));
    store("FormTop", QStringLiteral("abc"));
    store("Speed", QStringLiteral("12000"));
    store("Dir", folder);
    Form2 &v = instance<Form2>();
    EXPECT_EQ(v.BackColor(), 255);
    EXPECT_EQ(instance<Form32>().BackColor(), 255);
    EXPECT_EQ(v.Left(), 3000);
    EXPECT_EQ(v.Top(), 1500);
    EXPECT_EQ(v.Timer1.Interval(), 12000);
    EXPECT_EQ(v.File1.Path(), folder);
    EXPECT_EQ(v.Drive1.Drive(), driveOfPath(folder));
    v.BottonColor_Click();
    EXPECT_EQ(v.Command13.BackColor(), 16711680);
}

TEST_F(Form2Test, StoredFolderFromElsewhereLeavesTheListsAtTheStartUpFolder)
{
    const QString start = QDir::cleanPath(QDir::currentPath());
    for (const QString &dir : {QStringLiteral("C:\\Pictures"), path("gone")}) {
        store("Dir", dir);
        store("Drive", QStringLiteral("c:"));
        Form2 &v = instance<Form2>();
        EXPECT_EQ(v.File1.Path(), start) << dir.toStdString();
        EXPECT_TRUE(vxtest::dialogs().messages.empty());
        v.Unload();
    }
}

TEST_F(Form2Test, CloseHidesAndSavesUnloadDoesTheSameAndTheBrowserSwitchIsOff)
{
    Form2 &v = viewer();
    v.Show();
    v.Move(2400, 1800);
    v.Command12_Click();
    EXPECT_TRUE(v.Visible());
    EXPECT_EQ(stored("FormKind", "Graphic Rondix2"), QStringLiteral("-"));
    v.Command5_Click();
    v.Command10_Click();
    v.Command1_Click();
    EXPECT_FALSE(v.Visible());
    EXPECT_FALSE(v.Timer1.Enabled());
    EXPECT_FALSE(isLoaded<Form13>());
    EXPECT_FALSE(isLoaded<Form32>());
    EXPECT_EQ(stored("FormKind", "Graphic Rondix2"), QStringLiteral("1"));
    EXPECT_EQ(stored("Dir"), folder);
    EXPECT_EQ(stored("Drive"), driveOfPath(folder));
    EXPECT_EQ(stored("FormLeft"), QStringLiteral("2400"));
    EXPECT_EQ(stored("FormTop"), QStringLiteral("1800"));

    suite::DeleteSection(QStringLiteral("Graphic Rondix"));
    v.Show();
    v.close();
    EXPECT_FALSE(isLoaded<Form2>());
    EXPECT_EQ(stored("Dir"), folder);
}

TEST_F(Form2Test, StartUpPictureFillsItsBox)
{
    Form2 &v = instance<Form2>();
    EXPECT_EQ(v.Image1.Left(), 2640);
    EXPECT_EQ(v.Image1.Top(), 600);
    EXPECT_EQ(v.Image1.Width(), 9540);
    EXPECT_EQ(v.Image1.Height(), 7785);
    EXPECT_EQ(v.Image1.Picture().image.size(), QSize(636, 519));
    EXPECT_FALSE(v.Image1.Stretch()) << "at its natural size, which is the box's";
}

TEST_F(Form2Test, OpeningTheViewerReadsItsFolderOnceAndTheMountTableOnce)
{
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("many")));
    for (int i = 0; i < 50; ++i)
        vxtest::writeTestImage(path("many") + QStringLiteral("/p%1.bmp").arg(i), 2, 2);
    store("Dir", path("many"));
    QCoreApplication::processEvents(); // what was read before is forgotten
    listReads() = {};
    Form2 &v = instance<Form2>();
    v.Show();
    QCoreApplication::processEvents();
    EXPECT_EQ(v.File1.ListCount(), 50);
    EXPECT_EQ(v.Dir1.Path(), path("many"));
    EXPECT_EQ(listReads().folders.count(path("many")), 1) << qPrintable(listReads().folders.join(u' '));
    // The start-up folder once at most: loading the picture window on the
    // way (for its colour) counts the list before the stored folder is set.
    EXPECT_LE(listReads().folders.count(QDir::currentPath()), 1) << qPrintable(listReads().folders.join(u' '));
    EXPECT_LE(listReads().folders.size(), 3);
    EXPECT_EQ(listReads().mountTable, 1);
}

TEST_F(Form2Test, HidingOrUnloadingTheViewerGivesBackTheSpareMemory)
{
    // 2100 x 2100 pictures are large enough for their memory to be kept.
    QDir(folder).mkdir(QStringLiteral("big"));
    QImage img(2100, 2100, QImage::Format_RGB32);
    for (const char *name : {"big/1.jpg", "big/2.jpg", "big/3.jpg"}) {
        img.fill(Qt::darkGreen);
        ASSERT_TRUE(img.save(path(name)));
    }
    Form2 &v = viewer(path("big"));
    v.Show();
    for (int i = 0; i < 3; ++i)
        v.File1.setListIndex(i);
    EXPECT_GT(SparePictureMemory(), 0);
    v.Command1_Click();
    EXPECT_EQ(SparePictureMemory(), 0);
    EXPECT_EQ(v.Image1.Picture().image.size(), QSize(2100, 2100)) << "the hidden viewer keeps its picture";

    v.Show();
    v.File1.setListIndex(0);
    EXPECT_GT(SparePictureMemory(), 0);
    unload<Form2>();
    EXPECT_EQ(SparePictureMemory(), 0) << "nor is the picture it held kept";
}

TEST_F(Form2Test, MagnifierToggledByTheViewerAndClosedFromItsMenu)
{
    Form2 &v = viewer();
    v.Command5_Click();
    EXPECT_TRUE(isShown<Form13>());
    v.IDMZOOM_Click();
    EXPECT_FALSE(isLoaded<Form13>());

    v.Command5_Click();
    Form13 &m = instance<Form13>();
    m.Picture2_MouseDown(1, 0, 0, 0);
    EXPECT_TRUE(vxtest::dialogs().popups.isEmpty()) << "the left button drags";
    vxtest::dialogs().popupScripts.push_back([](Menu &menu) { menu.findChild<Menu *>(QStringLiteral("end"))->click(); });
    m.Picture2_MouseDown(2, 0, 0, 0);
    EXPECT_EQ(vxtest::dialogs().popups, QStringList{QStringLiteral("Form13.Menu")});
    EXPECT_FALSE(isLoaded<Form13>());
}

} // namespace
