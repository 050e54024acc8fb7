#include "form17.h"
#include "form40.h"
#include "suite/settings.h"
#include "testing/harness.h"

using namespace vx;

namespace {
QString stored(const char *key)
{
    return suite::GetSetting(QStringLiteral("Susie Rondix"), QString::fromLatin1(key), QStringLiteral("-"));
}
class Form17Test : public vxtest::GuiTest {};
} // namespace

TEST_F(Form17Test, SliderStartsAtTheStoredSpeedAndTextMovesItOnlyWithinRange)
{
    suite::SaveSetting(QStringLiteral("Susie Rondix"), QStringLiteral("Speed"), QStringLiteral("12000"));
    Form17 &s = instance<Form17>();
    // The slider's change loads Form40, whose load puts the stored speed back.
    ASSERT_EQ(instance<Form40>().Timer1.Interval(), 0);
    EXPECT_EQ(s.HScroll1.Value(), 12000);
    EXPECT_EQ(s.Text1.Text(), QStringLiteral("12000"));
    s.Text1.setText(QStringLiteral("abc"));
    EXPECT_EQ(s.HScroll1.Value(), 12000);
    s.Text1.setText(QStringLiteral("40000"));
    EXPECT_EQ(s.HScroll1.Value(), 12000);
    s.Text1.setText(QStringLiteral("2000"));
    EXPECT_EQ(s.HScroll1.Value(), 2000);
    EXPECT_EQ(instance<Form40>().Timer1.Interval(), 2000);
    s.Unload();
    EXPECT_EQ(stored("Speed"), QStringLiteral("2000"));
}

TEST_F(Form17Test, ColoursAndFontActAtOnceCancelChangesNothingAndCloseStoresTheLook)
{
    Form40 &v = instance<Form40>();
    Form17 &s = instance<Form17>();
    vxtest::dialogs().colors.push_back(255);
    s.Command2_Click();
    for (CommandButton *b : v.colouredButtons())
        EXPECT_EQ(b->BackColor(), 255);
    v.Picture1.setBackColor(123);
    vxtest::dialogs().colors.push_back(std::nullopt);
    s.Command3_Click();
    EXPECT_EQ(v.Picture1.BackColor(), 123);
    vxtest::dialogs().colors.push_back(65280);
    s.Command1_Click();
    EXPECT_EQ(v.File1.BackColor(), 65280);
    vxtest::dialogs().colors.push_back(std::nullopt);
    s.Command7_Click();
    EXPECT_EQ(v.BackColor(), 0);
    FontChoice font;
    font.size = 14;
    font.bold = true;
    vxtest::dialogs().fonts.push_back(font);
    s.Command12_Click();
    EXPECT_TRUE(v.Dir1.font().bold());
    EXPECT_EQ(v.File1.font().pointSizeF(), 14);
    s.Command8_Click();
    EXPECT_FALSE(isLoaded<Form17>());
    EXPECT_EQ(stored("BottonColor"), QStringLiteral("255"));
    EXPECT_EQ(stored("FileColor"), QStringLiteral("65280"));
    EXPECT_EQ(stored("FontBold"), QStringLiteral("True"));
    EXPECT_EQ(stored("FontSize"), QStringLiteral("14"));
    EXPECT_EQ(stored("Speed"), QStringLiteral("5000"));
}

TEST_F(Form17Test, ResetDeletesTheSectionOnceAndHides)
{
    instance<Form40>();
    Form17 &s = instance<Form17>();
    s.Show();
    s.Command4_Click();
    EXPECT_EQ(stored("DefWidth"), QStringLiteral("-"));
    EXPECT_FALSE(s.Visible());
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              QStringList{QStringLiteral("初期化はアプリケーションを再起動したときに適用されます")});
    s.Show();
    s.Command4_Click(); // nothing left to delete: no message, still shown
    EXPECT_TRUE(s.Visible());
    EXPECT_EQ(vxtest::dialogs().messageTexts().size(), 1);
}
