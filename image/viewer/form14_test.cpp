#include "form14.h"
#include "form28.h"
#include "form32.h"
#include "viewer_fixture_test.h"

using namespace vx;

namespace {

class Form14Test : public ViewerTest {};

TEST_F(Form14Test, CloseButtonSavesAndFixedZoomTakesEffectOnlyThen)
{
    Form2 &v = viewer();
    Form14 &s = instance<Form14>();
    s.Check2.setValue(1);
    s.Combo1.setText(QStringLiteral("2.0"));
    v.File1.setListIndex(0);
    EXPECT_EQ(v.Image1.Width(), tw(40)) << "ticking alone changes nothing";
    v.setBackColor(255);
    s.HScroll1.setValue(9000);
    s.Show();
    s.Command8_Click();
    EXPECT_FALSE(s.Visible());
    EXPECT_EQ(stored("FormColor"), QStringLiteral("255"));
    EXPECT_EQ(stored("FileColor"), QStringLiteral("-2147483643"));
    EXPECT_EQ(stored("Speed"), QStringLiteral("9000"));
    EXPECT_EQ(stored("ZoomNumber"), QStringLiteral("2.0"));
    EXPECT_EQ(stored("Zoom"), QStringLiteral("1"));
    v.Command6_Click();
    EXPECT_EQ(v.Image1.Width(), 2 * tw(60));
}

TEST_F(Form14Test, TheCloseBoxStoresTheViewersLookKeyByKey)
{
    Form2 &v = viewer();
    v.setBackColor(11);
    v.Command1.setBackColor(22);
    v.File1.setBackColor(33);
    v.Label1.setBackColor(44);
    QFont font = v.File1.font();
    font.setPointSizeF(12.5);
    font.setBold(true);
    font.setItalic(false);
    v.File1.setFont(font);
    instance<Form14>().Unload();
    EXPECT_EQ(stored("FormColor"), QStringLiteral("11"));
    EXPECT_EQ(stored("BottonColor"), QStringLiteral("22"));
    EXPECT_EQ(stored("FileColor"), QStringLiteral("33"));
    EXPECT_EQ(stored("File2Color"), QStringLiteral("44"));
    EXPECT_EQ(stored("FontSize"), QStringLiteral("12.5"));
    EXPECT_EQ(stored("FontBold"), QStringLiteral("True"));
    EXPECT_EQ(stored("FontItalic"), QStringLiteral("False"));
}

TEST_F(Form14Test, LoadTakesStoredZoomAndSpeedAndTheCloseBoxKeepsThem)
{
    // From a store without "Speed": the default, and the close box stores it.
    ASSERT_EQ(stored("Speed"), QStringLiteral("-"));
    instance<Form14>().HScroll1.setValue(20000);
    instance<Form14>().Unload();
    suite::DeleteSection(QStringLiteral("Graphic Rondix"));
    EXPECT_EQ(instance<Form14>().HScroll1.Value(), 5000) << "nothing kept from the last load";
    EXPECT_EQ(instance<Form14>().Text1.Text(), QStringLiteral("5000"));
    instance<Form14>().close();
    EXPECT_EQ(stored("Speed"), QStringLiteral("5000"));

    store("Zoom", QStringLiteral("1"));
    store("Speed", QStringLiteral("15000"));
    Form14 &s = instance<Form14>();
    EXPECT_EQ(s.Check2.Value(), 1);
    EXPECT_EQ(s.Text1.Text(), QStringLiteral("15000"));
    EXPECT_EQ(s.Combo1.Text(), QStringLiteral("1.0"));
    s.close();
    EXPECT_EQ(stored("Speed"), QStringLiteral("15000"));
    for (const char *bad : {"abc", "500", "40000"}) {
        store("Speed", QString::fromLatin1(bad));
        EXPECT_EQ(instance<Form14>().HScroll1.Value(), 5000) << bad;
        instance<Form14>().Unload();
    }
}

TEST_F(Form14Test, ResetDeletesTheSectionAndSaysSoOnlyWhenItExisted)
{
    store("ZQVFormLeft", QStringLiteral("9000"));
    Form14 &s = instance<Form14>();
    s.Show();
    s.Command4_Click();
    EXPECT_EQ(stored("ZQVFormLeft"), QStringLiteral("-"));
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              QStringList{QStringLiteral("初期化はアプリケーションを再起動したときに適用されます")});
    EXPECT_FALSE(s.Visible());
    s.Show();
    s.Command4_Click();
    EXPECT_EQ(vxtest::dialogs().messages.size(), 1u);
    EXPECT_TRUE(s.Visible());
}

TEST_F(Form14Test, EnglishCaptionsSwitchBothWays)
{
    Form2 &v = viewer();
    Form14 &s = instance<Form14>();
    v.Command10_Click();
    s.Check1.setValue(1);
    EXPECT_EQ(v.Command1.Caption(), QStringLiteral("CLOSE"));
    EXPECT_EQ(v.Command10.Caption(), QStringLiteral("SLIDER")) << "whatever the slide show's state";
    EXPECT_EQ(v.Command13.Caption(), QStringLiteral("Viewer"));
    s.Check1.setValue(0);
    EXPECT_EQ(v.Command1.Caption(), QStringLiteral("閉じる"));
    EXPECT_EQ(v.Command10.Caption(), QStringLiteral("スライドショー"));
}

TEST_F(Form14Test, ScrollBarAndTextKeepTheSlideIntervalInStep)
{
    Form2 &v = viewer();
    Form14 &s = instance<Form14>();
    v.Command10_Click();
    s.HScroll1.setValue(30000);
    EXPECT_EQ(s.Text1.Text(), QStringLiteral("30000"));
    EXPECT_EQ(v.Timer1.Interval(), 30000) << "a running slide show takes it at once";
    for (const char *typed : {"2", "20", "200", "abc", "", "99999", "2000.5"}) {
        s.Text1.setText(QString::fromLatin1(typed));
        EXPECT_EQ(s.HScroll1.Value(), 30000) << typed;
    }
    s.Text1.setText(QStringLiteral("2000"));
    EXPECT_EQ(v.Timer1.Interval(), 2000);
    EXPECT_EQ(stored("Speed"), QStringLiteral("-")) << "stored only on close";
}

TEST_F(Form14Test, ColourAndSkinDialogsChangeTheViewerUnlessCancelled)
{
    Form2 &v = viewer();
    Form14 &s = instance<Form14>();
    const qint32 list = v.File1.BackColor();
    const qint32 back = v.BackColor();
    vxtest::dialogs().colors = {std::nullopt, std::nullopt, rgb(10, 20, 30), rgb(40, 50, 60)};
    s.Command3_Click();
    s.Command7_Click();
    EXPECT_EQ(v.File1.BackColor(), list);
    EXPECT_EQ(v.BackColor(), back);
    s.Command3_Click();
    EXPECT_EQ(v.Drive1.BackColor(), rgb(10, 20, 30));
    EXPECT_EQ(v.Label1.BackColor(), rgb(10, 20, 30));
    instance<Form32>().Unload();
    s.Command7_Click();
    EXPECT_EQ(v.BackColor(), rgb(40, 50, 60));
    EXPECT_EQ(instance<Form32>().BackColor(), rgb(40, 50, 60));

    vxtest::dialogs().files = {QStringList{path("a.bmp")}, std::nullopt, QStringList{path("d.jpg")}};
    for (int i = 0; i < 3; ++i)
        s.Command6_Click();
    EXPECT_EQ(v.Picture().image.size(), QSize(40, 30));
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
}

TEST_F(Form14Test, SizeDialogReadsAndSetsThePictureBoxAndIgnoresBadSizes)
{
    Form2 &v = viewer();
    v.Image1.setStretch(true);
    v.Image1.setWidth(4800);
    v.Image1.setHeight(3600);
    vxtest::dialogs().modalScripts.push_back([](Form &f) {
        auto &d = static_cast<Form28 &>(f);
        EXPECT_EQ(d.Text1.Text(), QStringLiteral("3600"));
        EXPECT_EQ(d.Text2.Text(), QStringLiteral("4800"));
        d.Text1.setText(QStringLiteral("2000"));
        d.Text2.setText(QStringLiteral("1234.5"));
        d.Command2_Click();
        d.Command1_Click();
    });
    v.IDMSizeChange_Click();
    EXPECT_FALSE(isLoaded<Form28>());
    EXPECT_EQ(v.Image1.Height(), 2000.0f);
    EXPECT_EQ(v.Image1.Width(), 1234.5f);

    Form28 &d = instance<Form28>();
    for (const char *bad : {"abc", "0", "-300", "1e30"}) {
        d.Text1.setText(QString::fromLatin1(bad));
        d.Text2.setText(QString::fromLatin1(bad));
        d.Command2_Click();
        EXPECT_EQ(v.Image1.Height(), 2000.0f) << bad;
        EXPECT_EQ(v.Image1.Width(), 1234.5f) << bad;
    }
}

} // namespace
