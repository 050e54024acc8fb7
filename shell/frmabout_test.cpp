#include "suite/settings.h"
#include "shell/frmabout.h"
#include "testing/harness.h"

namespace {

class FormAboutTest : public vxtest::GuiTest {};

TEST_F(FormAboutTest, LinksGoToTheDesktopAndFailuresStaySilent)
{
    frmAbout &f = vx::instance<frmAbout>();
    f.Show();
    vxtest::shell().openResult = false;
    f.Image2_Click();
    f.Label2_Click();
    EXPECT_EQ(vxtest::shell().opened,
              (QStringList{QStringLiteral("https://velmora.example/"), QStringLiteral("mailto:support@velmora.example")}));
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    EXPECT_TRUE(f.Label2.Caption().startsWith(QStringLiteral("E-mail：")));
}

TEST_F(FormAboutTest, PointerFromTheStoreAndCloseButtonUnloads)
{
    suite::SaveSetting(QStringLiteral("AllForm"), QStringLiteral("Pointer"), QStringLiteral("0"));
    frmAbout &f = vx::instance<frmAbout>();
    EXPECT_EQ(f.MousePointer(), vx::kPointerDefault);
    f.Show();
    f.cmdOK.click();
    EXPECT_FALSE(vx::isLoaded<frmAbout>());

    suite::SaveSetting(QStringLiteral("AllForm"), QStringLiteral("Pointer"), QStringLiteral("arrow"));
    EXPECT_EQ(vx::instance<frmAbout>().MousePointer(), vx::kPointerCustom);
}

} // namespace
