#include "suite/settings.h"
#include "shell/form1.h"
#include "shell/form19.h"
#include "platform/store/store.h"
#include "testing/harness.h"

namespace {

const QString kMainForm = QStringLiteral("MainForm");
const QString kAllForm = QStringLiteral("AllForm");

class Form19Test : public vxtest::GuiTest {
protected:
    static QString stored(const QString &section, const QString &key)
    {
        return suite::GetSetting(section, key, QStringLiteral("-"));
    }
    static void store(const QString &section, const QString &key, const char *value)
    {
        suite::SaveSetting(section, key, QString::fromUtf8(value));
    }
    // Opened as the about window opens it.
    Form19 &open()
    {
        Form19 &f = vx::instance<Form19>();
        f.Show();
        return f;
    }
};

TEST_F(Form19Test, LoadShowsTheStoredStyleAndChoices)
{
    {
        Form19 &f = vx::instance<Form19>();
        EXPECT_EQ(f.ScaleWidth(), 6840);
        EXPECT_EQ(f.ScaleHeight(), 3225);
        EXPECT_EQ(f.Combo1.Text(), QStringLiteral("元祖フォーム")) << "nothing stored reads as Main1 here";
        EXPECT_EQ(f.Combo1.ListCount(), 3);
        EXPECT_EQ(f.Check1.Value(), 0);
        EXPECT_EQ(f.Check2.Value(), 0);
        EXPECT_EQ(f.MousePointer(), vx::kPointerCustom);
        vx::FormRegistry::reset();
    }
    store(kMainForm, QStringLiteral("Form"), "Main2");
    store(kAllForm, QStringLiteral("FormTemae"), "1");
    store(kAllForm, QStringLiteral("Pointer"), "0");
    {
        Form19 &f = vx::instance<Form19>();
        EXPECT_EQ(f.Combo1.Text(), QStringLiteral("小さいフォーム"));
        EXPECT_EQ(f.Check1.Value(), 1);
        EXPECT_EQ(f.Check2.Value(), 1);
        EXPECT_EQ(f.MousePointer(), vx::kPointerDefault);
        vx::FormRegistry::reset();
    }
    store(kMainForm, QStringLiteral("Form"), "Main3");
    store(kAllForm, QStringLiteral("FormTemae"), "yes");
    EXPECT_EQ(vx::instance<Form19>().Combo1.Text(), QStringLiteral("次世代フォーム（標準)")) << "a style without a word";
    EXPECT_EQ(vx::instance<Form19>().Check2.Value(), 0);
}

TEST_F(Form19Test, ColoursPaintTheLiveMainWindowAndAreStoredExactly)
{
    Form1 &main = vx::instance<Form1>();
    main.Show();
    Form19 &f = open();
    auto &colours = vxtest::dialogs().colors;
    colours = {255, 65280, 16711680, 8421504, 12632256};
    f.Command1.click();
    f.Command2.click();
    f.Command3.click();
    f.Command5.click();
    f.Command7.click();
    EXPECT_EQ(main.Label1.ForeColor(), 255);
    EXPECT_EQ(main.Label2.ForeColor(), 255);
    for (vx::CommandButton *b : main.buttons())
        EXPECT_EQ(b->BackColor(), 65280) << b->Name().toStdString();
    EXPECT_EQ(main.Text1.BackColor(), 16711680);
    EXPECT_EQ(main.Text1.ForeColor(), 8421504);
    EXPECT_EQ(main.BackColor(), 12632256);
    for (vx::PictureBox *p : main.pictures())
        EXPECT_EQ(p->BackColor(), 12632256) << p->Name().toStdString();

    f.Command8.click();
    EXPECT_FALSE(vx::isLoaded<Form19>());
    EXPECT_EQ(stored(kMainForm, QStringLiteral("LabelColor")), QStringLiteral("255"));
    EXPECT_EQ(stored(kMainForm, QStringLiteral("BottonColor")), QStringLiteral("65280"));
    EXPECT_EQ(stored(kMainForm, QStringLiteral("TextColor")), QStringLiteral("16711680"));
    EXPECT_EQ(stored(kMainForm, QStringLiteral("TextFontColor")), QStringLiteral("8421504"));
    EXPECT_EQ(stored(kMainForm, QStringLiteral("FormColor")), QStringLiteral("12632256"));
}

TEST_F(Form19Test, CancelledColourDialogChangesNothing)
{
    Form1 &main = vx::instance<Form1>();
    Form19 &f = open();
    vxtest::dialogs().colors = {std::nullopt, std::nullopt, 255, std::nullopt};
    f.Command7.click();
    f.Command2.click();
    EXPECT_EQ(main.BackColor(), -2147483638) << "a cancel paints nothing black";
    EXPECT_EQ(main.Command1.BackColor(), -2147483638);
    f.Command1.click();
    f.Command1.click();
    EXPECT_EQ(main.Label1.ForeColor(), 255) << "a cancel after a choice keeps the choice";
    f.Command8.click();
    EXPECT_EQ(stored(kMainForm, QStringLiteral("FormColor")), QStringLiteral("-2147483638"));
    EXPECT_EQ(stored(kMainForm, QStringLiteral("BottonColor")), QStringLiteral("-2147483638"));
    EXPECT_EQ(stored(kMainForm, QStringLiteral("TextColor")), QStringLiteral("-2147483643"));
    EXPECT_EQ(stored(kMainForm, QStringLiteral("LabelColor")), QStringLiteral("255"));
}

TEST_F(Form19Test, StyleWordsOfTheCloseButtonAndOfTheClosing)
{
    struct Case {
        const char *word;
        const char *before;
        const char *after;
    };
    const Case cases[] = {
        {"小さいフォーム", "Main0", "Main2"},
        {"元祖フォーム", "Main0", "Main1"},
        {"次世代フォーム（標準)", "Main1", "Main0"},
        {"デフォルトのフォーム（標準)", "Main0", "Main1"}, // the closing's word
        {"大きいフォーム", "Main0", "Main3"},               // the closing's word
        {"元祖", "Main2", "Main2"},                       // no table knows it
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.word);
        store(kMainForm, QStringLiteral("Form"), c.before);
        Form19 &f = open();
        f.Combo1.setText(QString::fromUtf8(c.word));
        f.Command8.click();
        EXPECT_EQ(stored(kMainForm, QStringLiteral("Form")), QString::fromUtf8(c.after));
    }
}

TEST_F(Form19Test, PointerPreviewStaysOnTheSettingsWindowUntilClosed)
{
    Form1 &main = vx::instance<Form1>();
    Form19 &f = open();
    f.Check1.click();
    EXPECT_EQ(f.MousePointer(), vx::kPointerDefault);
    EXPECT_EQ(main.MousePointer(), vx::kPointerCustom);
    EXPECT_EQ(stored(kAllForm, QStringLiteral("Pointer")), QStringLiteral("-"));
    f.Check2.click();
    f.Command8.click();
    EXPECT_EQ(stored(kAllForm, QStringLiteral("Pointer")), QStringLiteral("0"));
    EXPECT_EQ(stored(kMainForm, QStringLiteral("Pointer")), QStringLiteral("0"));
    EXPECT_EQ(stored(kAllForm, QStringLiteral("FormTemae")), QStringLiteral("1"));

    Form19 &again = open();
    EXPECT_EQ(again.Check1.Value(), 1);
    again.Check1.click();
    EXPECT_EQ(again.MousePointer(), vx::kPointerCustom);
}

TEST_F(Form19Test, TitleBarCloseRunsOnlyTheClosingWrites)
{
    Form19 &f = open();
    f.Check1.click();
    f.Check2.click();
    f.Combo1.setText(QStringLiteral("小さいフォーム"));
    f.close();
    EXPECT_FALSE(vx::isLoaded<Form19>());
    EXPECT_EQ(stored(kMainForm, QStringLiteral("Form")), QStringLiteral("Main2"));
    EXPECT_EQ(stored(kMainForm, QStringLiteral("Pointer")), QStringLiteral("0"));
    EXPECT_EQ(stored(kMainForm, QStringLiteral("FormColor")), QStringLiteral("-2147483638"));
    EXPECT_EQ(stored(kAllForm, QStringLiteral("Pointer")), QStringLiteral("-"));
    EXPECT_EQ(stored(kAllForm, QStringLiteral("FormTemae")), QStringLiteral("-"));
}

TEST_F(Form19Test, ResetDeletesTheSectionSaysSoAndHides)
{
    store(kMainForm, QStringLiteral("Form"), "Main1");
    store(kMainForm, QStringLiteral("FormColor"), "255");
    store(kAllForm, QStringLiteral("Pointer"), "0");
    vx::instance<Form1>().Show(); // the running main window keeps its colours
    Form19 &f = open();
    f.Command4.click();
    EXPECT_TRUE(vx::store::Keys(suite::kApp, kMainForm).isEmpty());
    EXPECT_EQ(stored(kAllForm, QStringLiteral("Pointer")), QStringLiteral("0")) << "AllForm is never reset";
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{QStringLiteral("初期化はアプリケーションを再起動したときに適用されます")});
    EXPECT_EQ(vxtest::dialogs().messages[0].icon(), 0);
    EXPECT_TRUE(vx::isLoaded<Form19>());
    EXPECT_FALSE(f.Visible());

    // Nothing left to reset: no message, the window stays.
    f.Show();
    f.Command4.click();
    EXPECT_EQ(vxtest::dialogs().messages.size(), 1u);
    EXPECT_TRUE(f.Visible());

    // Closing again writes everything back from the current state.
    f.Command8.click();
    EXPECT_EQ(stored(kMainForm, QStringLiteral("Form")), QStringLiteral("Main1"));
    EXPECT_EQ(stored(kMainForm, QStringLiteral("FormColor")), QStringLiteral("255"));
}

} // namespace
