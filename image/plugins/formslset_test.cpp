#include "form15.h"
#include "formslset.h"
#include "suite/settings.h"
#include "testing/harness.h"

using namespace vx;

namespace {
QString stored(const char *key)
{
    return suite::GetSetting(QStringLiteral("Susie Rondix"), QString::fromLatin1(key), QStringLiteral("-"));
}
class FormSLSetTest : public vxtest::GuiTest {};
} // namespace

TEST_F(FormSLSetTest, StoredSpeedSurvivesAnUntouchedCloseAndTheCloseBoxStoresFourKeys)
{
    suite::SaveSetting(QStringLiteral("Susie Rondix"), QStringLiteral("Speed"), QStringLiteral("9000"));
    Form15 &v = instance<Form15>();
    FormSLSet &s = instance<FormSLSet>();
    EXPECT_EQ(s.Caption(), QStringLiteral("Susie Rondix Setting"));
    EXPECT_EQ(s.HScroll1.Value(), 9000);
    vxtest::dialogs().colors.push_back(255);
    s.Command5_Click();
    EXPECT_EQ(v.Label1.BackColor(), 255);
    vxtest::dialogs().colors.push_back(123);
    s.Command2_Click();
    EXPECT_EQ(v.Command2.BackColor(), 123);
    EXPECT_EQ(v.Command10.BackColor(), 123);
    s.close();
    EXPECT_EQ(stored("Speed"), QStringLiteral("9000"));
    EXPECT_EQ(stored("BottonColor"), QStringLiteral("123"));
    EXPECT_EQ(stored("File2Color"), QStringLiteral("-")) << "only the closing button stores the label colour";
}

TEST_F(FormSLSetTest, SkinPictureAndItsCancel)
{
    Form15 &v = instance<Form15>();
    FormSLSet &s = instance<FormSLSet>();
    const QString skin = programDir() + QStringLiteral("/skin.bmp");
    vxtest::writeTestImage(skin, 20, 10);
    vxtest::dialogs().files.push_back(QStringList{skin});
    s.Command6_Click();
    EXPECT_EQ(v.Picture().image.size(), QSize(20, 10));
    vxtest::dialogs().files.push_back(std::nullopt);
    s.Command6_Click();
    EXPECT_EQ(v.Picture().image.size(), QSize(20, 10));
    vxtest::dialogs().colors.push_back(std::nullopt);
    s.Command7_Click();
    EXPECT_FALSE(v.Picture().isNull());
    vxtest::dialogs().colors.push_back(255);
    s.Command7_Click();
    EXPECT_TRUE(v.Picture().isNull());
    EXPECT_EQ(v.BackColor(), 255);
}
