#include "form15.h"
#include "formslset.h"
#include "image/viewer3/form17.h"
#include "platform/imaging/plugins/spihost.h"
#include "suite/settings.h"
#include "testing/capabilities.h"
#include "testing/files.h"
#include "testing/harness.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>

using namespace vx;

namespace {

QString stored(const char *key)
{
    return suite::GetSetting(QStringLiteral("Susie Rondix"), QString::fromLatin1(key), QStringLiteral("-"));
}

class Form15Test : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        vxtest::GuiTest::SetUp();
        setPluginFolder(QCoreApplication::applicationDirPath() + QStringLiteral("/spi-fixtures"));
        folder = programDir() + QStringLiteral("/pics");
        QDir().mkpath(folder);
        for (const char *name : {"a.jpg", "b.jpg", "c.jpg", "d.png", "e.bmp", "f.tif", "g.jpg"}) {
            QFile f(folder + QLatin1Char('/') + QString::fromLatin1(name));
            f.open(QIODevice::WriteOnly);
            f.write(name[0] == 'c' ? "wide" : "known");
        }
        suite::SaveSetting(QStringLiteral("Susie Rondix"), QStringLiteral("Dir"), folder);
    }
    void TearDown() override
    {
        setPluginFolder({});
        vxtest::GuiTest::TearDown();
    }
    Form15 &viewer() { return instance<Form15>(); }
    int indexOf(const char *name)
    {
        for (int i = 0; i < viewer().File1.ListCount(); ++i)
            if (viewer().File1.List(i) == QLatin1String(name))
                return i;
        return -1;
    }
    QString folder;
};

} // namespace

TEST_F(Form15Test, SelectionDecodesThroughThePluginAndSetsRanges)
{
    Form15 &v = viewer();
    EXPECT_EQ(v.Caption(), QStringLiteral("Susie Rondix Version4.0β"));
    ASSERT_EQ(v.File1.ListCount(), 7);
    v.File1.setListIndex(indexOf("a.jpg"));
    EXPECT_EQ(v.Label1.Caption(), QStringLiteral("1/7"));
    EXPECT_EQ(v.Picture1.Image().size(), QSize(3, 2));
    EXPECT_FALSE(v.HScroll1.isEnabled());
    EXPECT_FALSE(v.Command9.isEnabled());
    v.File1.setListIndex(indexOf("c.jpg")); // 40000 x 1
    EXPECT_EQ(v.Label1.Caption(), QStringLiteral("3/7"));
    EXPECT_EQ(v.pictureInfo().width, 3) << "the plug-in's record";
    // A file with no plug-in: empty box, disabled bars.
    v.File1.setListIndex(indexOf("e.bmp"));
    EXPECT_TRUE(v.Picture1.Image().isNull());
    EXPECT_FALSE(v.HScroll1.isEnabled());
    EXPECT_FALSE(v.VScroll1.isEnabled());
    EXPECT_TRUE(v.Picture1.Visible());
}

TEST_F(Form15Test, WithoutAnInfoPluginTheDecodedSizeServesRangesAndSave)
{
    Form15 &v = viewer();
    v.File1.setListIndex(indexOf("f.tif")); // the fixtures' iftiff.spi has no GetPictureInfo
    EXPECT_EQ(v.pictureInfo().width, 3);
    EXPECT_EQ(v.pictureInfo().height, 2);
    const QString out = folder + QStringLiteral("/out.bmp");
    vxtest::dialogs().files.push_back(QStringList{out});
    v.Command2_Click();
    EXPECT_EQ(QImageReader(out).size(), QSize(3, 2));
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{QStringLiteral("保存されました(^o^)")});
    v.Command8_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts().size(), 2);
    // Nothing shown: neither save nor copy says it succeeded.
    v.File1.setListIndex(indexOf("e.bmp"));
    vxtest::dialogs().files.push_back(QStringList{folder + QStringLiteral("/none.bmp")});
    v.Command2_Click();
    v.Command8_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts().size(), 2);
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/none.bmp")));
}

// Root writes anywhere: the check runs again without the capabilities that let it.
TEST_F(Form15Test, ASaveThatFailsSaysWhyAndLeavesTheFilesAsTheyWereAndAWritableFileIsSaved)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    const QString locked = folder + QStringLiteral("/locked");
    QDir().mkpath(locked);
    const QString kept = vxtest::writeIn(locked, QStringLiteral("kept.bmp"), "the user's own bytes");
    const QString readOnly = vxtest::writeIn(folder, QStringLiteral("read-only.bmp"), "the user's own bytes");
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner));
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    Form15 &v = viewer();
    v.File1.setListIndex(indexOf("f.tif"));
    const QString added = locked + QStringLiteral("/new.bmp");
    const struct {
        QString target;
        QString reason; // "" for a save that succeeds
    } cases[] = {
        {added, QStringLiteral("保存先のフォルダーへの書き込みが許可されていません。")},
        {readOnly, QStringLiteral("書き込みが許可されていません。")},
        // A writable file is saved wherever it lies.
        {kept, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        vxtest::dialogs().messages.clear();
        vxtest::dialogs().files.push_back(QStringList{c.target});
        v.Command2_Click();
        ASSERT_EQ(vxtest::dialogs().messages.size(), 1u);
        const vxtest::MessageRecord &said = vxtest::dialogs().messages.front();
        if (c.reason.isEmpty()) {
            EXPECT_EQ(said.text, QStringLiteral("保存されました(^o^)"));
            continue;
        }
        EXPECT_EQ(said.text, QStringLiteral("画像を保存できませんでした。\n") + c.reason + QLatin1Char('\n') + c.target);
        EXPECT_EQ(said.icon(), vx::vbExclamation);
    }
    EXPECT_FALSE(QFile::exists(added));
    EXPECT_TRUE(QImageReader(kept).canRead());
    EXPECT_EQ(vxtest::readBytes(readOnly), QByteArray("the user's own bytes"));
    EXPECT_EQ(QDir(locked).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("kept.bmp")});
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(Form15Test, ScrollingMovesAndEnlargesTheBoxOverTheWholePicture)
{
    setPluginFolder({}); // our own plug-ins
    QImage wide(741, 30, QImage::Format_RGB32);
    wide.fill(Qt::red);
    wide.setPixel(700, 10, qRgb(0, 0, 255));
    ASSERT_TRUE(wide.save(folder + QStringLiteral("/wide.png")));
    Form15 &v = viewer();
    v.File1.setListIndex(indexOf("wide.png"));
    // PNG has no information plug-in: the decoded size gives the range.
    EXPECT_EQ(v.HScroll1.Max(), 100);
    EXPECT_TRUE(v.HScroll1.isEnabled());
    EXPECT_FALSE(v.VScroll1.isEnabled());
    v.HScroll1.setValue(100);
    EXPECT_EQ(v.Picture1.pxLeft(), -100);
    EXPECT_EQ(v.Picture1.pxWidth(), 641 + 100);
    EXPECT_EQ(v.Picture1.grab().toImage().pixel(700, 10), qRgb(0, 0, 255));
    v.HScroll1.setValue(0);
    EXPECT_EQ(v.Picture1.pxLeft(), 0);
    EXPECT_EQ(v.Picture1.pxWidth(), v.visibleWidth());
    v.setClientSize(600, 300);
    v.Form_Resize(); // too small for the margins: no failure
    EXPECT_EQ(v.Picture1.pxWidth(), 0);
}

TEST_F(Form15Test, MissingPluginEndsQuietlyAndTheCloseBoxStoresDriveAndFolder)
{
    Form15 &v = viewer();
    v.File1.setListIndex(indexOf("d.png")); // no ifpng.spi among the fixtures
    EXPECT_TRUE(v.Picture1.Visible());
    EXPECT_TRUE(v.Picture1.Image().isNull());
    EXPECT_TRUE(vxtest::dialogs().messageTexts().isEmpty());
    unload<Form15>();
    EXPECT_EQ(stored("Dir"), folder);
    EXPECT_EQ(stored("Drive"), vx::driveOfPath(folder));
}

TEST_F(Form15Test, SlideShowUsesForm17AndSettingsWindowChangesThePace)
{
    suite::SaveSetting(QStringLiteral("Susie Rondix"), QStringLiteral("Speed"), QStringLiteral("8000"));
    Form15 &v = viewer();
    EXPECT_EQ(instance<Form17>().HScroll1.Value(), 8000);
    v.File1.setListIndex(0);
    v.Command10_Click();
    EXPECT_EQ(v.Timer1.Interval(), 8000);
    instance<FormSLSet>().HScroll1.setValue(2000);
    EXPECT_EQ(v.Timer1.Interval(), 2000);
    v.Timer1_Timer();
    EXPECT_EQ(v.File1.ListIndex(), 1);
    v.File1.setListIndex(6);
    v.Timer1_Timer();
    EXPECT_EQ(v.File1.ListIndex(), 6);
}
