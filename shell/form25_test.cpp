#include "suite/settings.h"
#include "platform/store/store.h"
#include "shell/form23.h"
#include "shell/form25.h"
#include "testing/harness.h"

namespace {

const QString kMainForm = QStringLiteral("MainForm");
const QString kMainForm2 = QStringLiteral("MainForm2");
const QString kAllForm = QStringLiteral("AllForm");

class Form25Test : public vxtest::GuiTest {
protected:
    static QString stored(const QString &section, const QString &key)
    {
        return suite::GetSetting(section, key, QStringLiteral("-"));
    }
    Form25 &open()
    {
        Form25 &f = vx::instance<Form25>();
        f.Show();
        return f;
    }
};

TEST_F(Form25Test, ButtonColourPaintsAllTwelveAtOnceAndCancelKeepsIt)
{
    suite::SaveSetting(kMainForm, QStringLiteral("Form"), QStringLiteral("Main2"));
    Form23 &main = vx::instance<Form23>();
    Form25 &f = open();
    EXPECT_EQ(f.Combo1.Text(), QStringLiteral("小さいフォーム"));
    EXPECT_EQ(f.Caption(), QStringLiteral("Velmora 2002 Setting For 小さいフォーム"));
    vxtest::dialogs().colors = {32768, std::nullopt};
    f.Command2.click();
    for (vx::CommandButton *b : main.buttons())
        EXPECT_EQ(b->BackColor(), 32768) << b->Name().toStdString();
    f.Command2.click();
    EXPECT_EQ(main.Command12.BackColor(), 32768) << "a cancel changes nothing";
    f.Command8.click();
    EXPECT_EQ(stored(kMainForm2, QStringLiteral("BottonColor")), QStringLiteral("32768"));
    EXPECT_EQ(stored(kMainForm, QStringLiteral("Form")), QStringLiteral("Main2"));
    EXPECT_EQ(stored(kAllForm, QStringLiteral("FormTemae")), QStringLiteral("0"));
    EXPECT_EQ(stored(kAllForm, QStringLiteral("Pointer")), QStringLiteral("99"));
    EXPECT_EQ(stored(kMainForm, QStringLiteral("Pointer")), QStringLiteral("99"));
}

TEST_F(Form25Test, UnchangedDefaultColourIsWrittenAsItsExactText)
{
    Form25 &f = open();
    f.Combo1.setText(QStringLiteral("大きいフォーム"));
    f.Command8.click();
    EXPECT_EQ(stored(kMainForm2, QStringLiteral("BottonColor")), QStringLiteral("-2147483638"));
    EXPECT_EQ(stored(kMainForm, QStringLiteral("Form")), QStringLiteral("Main3")) << "the closing's word";
}

TEST_F(Form25Test, ResetDeletesTheSectionThenThePointer)
{
    suite::SaveSetting(kMainForm2, QStringLiteral("BottonColor"), QStringLiteral("255"));
    suite::SaveSetting(kMainForm, QStringLiteral("Pointer"), QStringLiteral("0"));
    suite::SaveSetting(kMainForm, QStringLiteral("Form"), QStringLiteral("Main2"));
    Form25 &f = open();
    f.Command4.click();
    EXPECT_TRUE(vx::store::Keys(suite::kApp, kMainForm2).isEmpty());
    EXPECT_EQ(stored(kMainForm, QStringLiteral("Pointer")), QStringLiteral("-"));
    EXPECT_EQ(stored(kMainForm, QStringLiteral("Form")), QStringLiteral("Main2")) << "only the pointer of MainForm";
    EXPECT_EQ(vxtest::dialogs().messages.size(), 1u);
    EXPECT_FALSE(f.Visible());
    EXPECT_TRUE(vx::isLoaded<Form25>());
}

TEST_F(Form25Test, ResetWithThePointerAlreadyGoneStillCompletes)
{
    suite::SaveSetting(kMainForm2, QStringLiteral("BottonColor"), QStringLiteral("255"));
    Form25 &f = open();
    f.Command4.click();
    EXPECT_TRUE(vx::store::Keys(suite::kApp, kMainForm2).isEmpty());
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{QStringLiteral("初期化はアプリケーションを再起動したときに適用されます")});
    EXPECT_FALSE(f.Visible());
}

TEST_F(Form25Test, ResetWithoutTheSectionStopsAndKeepsThePointer)
{
    suite::SaveSetting(kMainForm, QStringLiteral("Pointer"), QStringLiteral("0"));
    Form25 &f = open();
    f.Command4.click();
    EXPECT_EQ(stored(kMainForm, QStringLiteral("Pointer")), QStringLiteral("0"));
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    EXPECT_TRUE(f.Visible());
}

} // namespace
