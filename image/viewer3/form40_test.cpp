#include "form17.h"
#include "form40.h"
#include "image/magnifier/form13.h"
#include "platform/imaging/plugins/spihost.h"
#include "suite/settings.h"
#include "testing/harness.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

using namespace vx;

namespace {

QString stored(const char *key)
{
    return suite::GetSetting(QStringLiteral("Susie Rondix"), QString::fromLatin1(key), QStringLiteral("-"));
}

class Form40Test : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        vxtest::GuiTest::SetUp();
        folder = programDir() + QStringLiteral("/pics");
        QDir().mkpath(folder);
        for (int i = 0; i < 12; ++i)
            vxtest::writeTestImage(folder + QStringLiteral("/p%1.bmp").arg(i, 2, 10, QLatin1Char('0')),
                                   i == 2 ? 741 : 40, i == 2 ? 30 : 600);
        suite::SaveSetting(QStringLiteral("Susie Rondix"), QStringLiteral("Dir"), folder);
    }
    Form40 &viewer() { return instance<Form40>(); }
    QString folder;
};

} // namespace

TEST_F(Form40Test, LoadStoresTheBoxSizeAndSelectionShowsPositionButtonsAndRanges)
{
    Form40 &v = viewer();
    EXPECT_EQ(stored("DefWidth"), QStringLiteral("641"));
    EXPECT_EQ(stored("DefHeight"), QStringLiteral("525"));
    EXPECT_EQ(v.Caption(), QStringLiteral("Graphic Rondix  Ⅲ Version1.0"));
    ASSERT_EQ(v.File1.ListCount(), 12);
    v.File1.setListIndex(2);
    EXPECT_EQ(v.Label1.Caption(), QStringLiteral("3/12"));
    EXPECT_TRUE(v.Command9.isEnabled());
    EXPECT_TRUE(v.Command7.isEnabled());
    EXPECT_TRUE(v.Command10.isEnabled());
    EXPECT_EQ(v.HScroll1.Max(), 100); // 741 wide in a box 641 wide
    EXPECT_TRUE(v.HScroll1.isEnabled());
    EXPECT_FALSE(v.VScroll1.isEnabled()); // 30 high: negative range
    EXPECT_EQ(v.Picture1.Image().size(), QSize(741, 30));
    EXPECT_EQ(stored("Width"), QStringLiteral("641"));

    // Across to 40: the box moves left and grows; back to 0 restores it.
    v.HScroll1.setValue(40);
    EXPECT_EQ(v.Picture1.pxLeft(), -40);
    EXPECT_EQ(v.Picture1.pxWidth(), 681);
    v.HScroll1.setValue(0);
    EXPECT_EQ(v.Picture1.pxLeft(), 0);
    EXPECT_EQ(v.HScroll1.Max(), 100);

    v.File1.setListIndex(0);
    EXPECT_FALSE(v.Command9.isEnabled());
    v.File1.setListIndex(11);
    EXPECT_FALSE(v.Command7.isEnabled());
    v.Command7_Click(); // nothing follows the last file
    EXPECT_EQ(v.File1.ListIndex(), 11);
}

TEST_F(Form40Test, MissingStoredSizesEndTheScrollStepAndATinyWindowNeverFails)
{
    Form40 &v = viewer();
    v.File1.setListIndex(2);
    suite::DeleteSection(QStringLiteral("Susie Rondix"));
    v.HScroll1.setValue(30);
    EXPECT_EQ(v.Picture1.pxLeft(), -30); // set before the missing "Width"
    suite::SaveSetting(QStringLiteral("Susie Rondix"), QStringLiteral("DefWidth"), QStringLiteral("abc"));
    v.HScroll1.setValue(0);
    EXPECT_EQ(v.Picture1.pxLeft(), 0);
    v.setClientSize(600, 300);
    v.Form_Resize();
    EXPECT_EQ(v.Picture1.pxWidth(), 0);
    EXPECT_EQ(v.Picture1.pxHeight(), 0);
}

TEST_F(Form40Test, UnreadableFileKeepsThePictureAndOpenDecodesThroughPlugins)
{
    Form40 &v = viewer();
    v.File1.setListIndex(0);
    const QImage before = v.Picture1.Image();
    QFile bad(folder + QStringLiteral("/p01.bmp"));
    bad.open(QIODevice::WriteOnly | QIODevice::Truncate);
    bad.write("not a picture");
    bad.close();
    v.File1.setListIndex(1);
    EXPECT_EQ(v.Label1.Caption(), QStringLiteral("2/12"));
    EXPECT_EQ(v.Picture1.Image(), before);

    setPluginFolder(QCoreApplication::applicationDirPath() + QStringLiteral("/spi-fixtures"));
    QFile f(folder + QStringLiteral("/known.jpg"));
    f.open(QIODevice::WriteOnly);
    f.write("known");
    f.close();
    vxtest::dialogs().files.push_back(QStringList{f.fileName()});
    v.Command1_Click();
    EXPECT_EQ(v.Picture1.Image().size(), QSize(3, 2));
    EXPECT_EQ(v.Label1.Caption(), QStringLiteral("2/12"));
    // Cancel changes nothing.
    vxtest::dialogs().files.push_back(std::nullopt);
    v.Command1_Click();
    EXPECT_EQ(v.Picture1.Image().size(), QSize(3, 2));
    setPluginFolder({});
}

TEST_F(Form40Test, CopySaysSoOnlyWithAPictureAndTheCloseBoxStoresTheDrive)
{
    Form40 &v = viewer();
    v.Command8_Click();
    EXPECT_TRUE(vxtest::dialogs().messageTexts().isEmpty());
    v.File1.setListIndex(0);
    v.Command8_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{QStringLiteral("クリップボードに保存されました(^o^)")});
    v.Command5_Click();
    EXPECT_TRUE(isShown<Form13>());
    unload<Form40>();
    EXPECT_FALSE(isLoaded<Form13>());
    EXPECT_EQ(stored("Dir"), folder);
    EXPECT_EQ(stored("Drive"), vx::driveOfPath(folder));
}

TEST_F(Form40Test, SlideShowTakesForm17sSpeedAndSteps)
{
    suite::SaveSetting(QStringLiteral("Susie Rondix"), QStringLiteral("Speed"), QStringLiteral("7000"));
    Form40 &v = viewer();
    EXPECT_EQ(instance<Form17>().HScroll1.Value(), 7000);
    v.File1.setListIndex(0);
    v.Command10_Click();
    EXPECT_TRUE(v.Timer1.Enabled());
    EXPECT_EQ(v.Timer1.Interval(), 7000);
    EXPECT_EQ(v.Command10.Caption(), QStringLiteral("スライド停止"));
    v.Timer1_Timer();
    EXPECT_EQ(v.File1.ListIndex(), 1);
    instance<Form17>().HScroll1.setValue(3000);
    EXPECT_EQ(v.Timer1.Interval(), 3000);
    v.Command10_Click();
    EXPECT_FALSE(v.Timer1.Enabled());
    EXPECT_EQ(v.Command10.Caption(), QStringLiteral("スライド再開"));
}
