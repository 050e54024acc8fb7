#include "suite/settings.h"
#include "platform/store/store.h"
#include "shell/form26.h"
#include "shell/form30.h"
#include "testing/harness.h"

namespace {

const QString kMainForm = QStringLiteral("MainForm");
const QString kMainForm0 = QStringLiteral("MainForm0");
const QString kAllForm = QStringLiteral("AllForm");

class Form26Test : public vxtest::GuiTest {
protected:
    static QString stored(const QString &section, const QString &key)
    {
        return suite::GetSetting(section, key, QStringLiteral("-"));
    }
    Form26 &open()
    {
        Form26 &f = vx::instance<Form26>();
        f.Show();
        return f;
    }
};

TEST_F(Form26Test, BoxAlwaysStartsAtTheBarWindowsWord)
{
    suite::SaveSetting(kMainForm, QStringLiteral("Form"), QStringLiteral("Main2"));
    suite::SaveSetting(kAllForm, QStringLiteral("FormTemae"), QStringLiteral("1"));
    Form26 &f = open();
    EXPECT_EQ(f.Combo1.Text(), QStringLiteral("次世代フォーム（標準)"));
    EXPECT_EQ(f.Check2.Value(), 1);
    f.Command8.click();
    EXPECT_EQ(stored(kMainForm, QStringLiteral("Form")), QStringLiteral("Main0"));
}

TEST_F(Form26Test, ColoursPaintTheBarWindowAndAreStored)
{
    Form30 &main = vx::instance<Form30>();
    Form26 &f = open();
    vxtest::dialogs().colors = {255, 65280, 16711680, 8421504, std::nullopt};
    f.Command2.click();
    f.Command3.click();
    f.Command5.click();
    f.Command7.click();
    f.Command7.click();
    EXPECT_EQ(main.Command1.BackColor(), 255);
    EXPECT_EQ(main.Combo1.BackColor(), 65280);
    EXPECT_EQ(main.Combo1.ForeColor(), 16711680);
    EXPECT_EQ(main.BackColor(), 8421504) << "the cancelled second choice changes nothing";
    EXPECT_EQ(main.Picture1.BackColor(), 8421504);
    f.Command8.click();
    EXPECT_EQ(stored(kMainForm0, QStringLiteral("BottonColor")), QStringLiteral("255"));
    EXPECT_EQ(stored(kMainForm0, QStringLiteral("ComboColor")), QStringLiteral("65280"));
    EXPECT_EQ(stored(kMainForm0, QStringLiteral("ComboFontColor")), QStringLiteral("16711680"));
    EXPECT_EQ(stored(kMainForm0, QStringLiteral("FormColor")), QStringLiteral("8421504"));
}

TEST_F(Form26Test, ClosingUsesTheCloseButtonsWordsAndStoresThePointerForTheSystemTools)
{
    suite::SaveSetting(kMainForm, QStringLiteral("Form"), QStringLiteral("Main0"));
    Form26 &f = open();
    f.Check1.click();
    f.Combo1.setText(QStringLiteral("大きいフォーム"));
    f.close();
    EXPECT_EQ(stored(kMainForm, QStringLiteral("Form")), QStringLiteral("Main0")) << "not a word of this window";
    EXPECT_EQ(stored(kMainForm, QStringLiteral("Pointer")), QStringLiteral("0"));
    EXPECT_EQ(stored(kMainForm0, QStringLiteral("Pointer")), QStringLiteral("0"));
    EXPECT_EQ(stored(kAllForm, QStringLiteral("Pointer")), QStringLiteral("-"));
    EXPECT_EQ(stored(kMainForm0, QStringLiteral("ComboColor")), QStringLiteral("-2147483643"));

    Form26 &again = open();
    again.Combo1.setText(QStringLiteral("元祖フォーム"));
    again.close();
    EXPECT_EQ(stored(kMainForm, QStringLiteral("Form")), QStringLiteral("Main1"));
}

TEST_F(Form26Test, ResetDeletesTheSectionAndThePointerEvenWhenThePointerIsGone)
{
    suite::SaveSetting(kMainForm0, QStringLiteral("FormColor"), QStringLiteral("255"));
    Form26 &f = open();
    f.Command4.click();
    EXPECT_TRUE(vx::store::Keys(suite::kApp, kMainForm0).isEmpty());
    EXPECT_EQ(vxtest::dialogs().messages.size(), 1u);
    EXPECT_FALSE(f.Visible());

    suite::SaveSetting(kMainForm0, QStringLiteral("FormColor"), QStringLiteral("255"));
    suite::SaveSetting(kMainForm, QStringLiteral("Pointer"), QStringLiteral("0"));
    f.Show();
    f.Command4.click();
    EXPECT_EQ(stored(kMainForm, QStringLiteral("Pointer")), QStringLiteral("-"));
    EXPECT_EQ(vxtest::dialogs().messages.size(), 2u);

    suite::SaveSetting(kMainForm, QStringLiteral("Pointer"), QStringLiteral("0"));
    f.Show();
    f.Command4.click();
    EXPECT_EQ(stored(kMainForm, QStringLiteral("Pointer")), QStringLiteral("0")) << "no section: the reset stops";
    EXPECT_EQ(vxtest::dialogs().messages.size(), 2u);
    EXPECT_TRUE(f.Visible());
}

} // namespace
