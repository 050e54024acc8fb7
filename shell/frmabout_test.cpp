#include "suite/settings.h"
#include "shell/frmabout.h"
#include "testing/harness.h"

namespace {

class FormAboutTest : public vxtest::GuiTest {};

TEST_F(FormAboutTest, LinksGoToTheDesktop)
{
    frmAbout &f = vx::instance<frmAbout>();
    f.Show();
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

TEST_F(FormAboutTest, SettingsButtonOpensTheWindowOfTheStoredStyleModally)
{
    frmAbout &f = vx::instance<frmAbout>();
    f.Show();
    auto &modals = vxtest::dialogs().modals;
    const std::pair<const char *, const char *> cases[] = {
        {nullptr, "Form26"}, {"Main0", "Form26"}, {"Main1", "Form19"}, {"Main2", "Form25"},
        {"Main3", nullptr},  {"main1", nullptr},  {"Main1 ", nullptr},
    };
    for (const auto &[style, window] : cases) {
        SCOPED_TRACE(style ? style : "nothing stored");
        if (style)
            suite::SaveSetting(QStringLiteral("MainForm"), QStringLiteral("Form"), QString::fromLatin1(style));
        modals.clear();
        bool aboutStayed = false;
        vxtest::dialogs().modalScripts.push_back([&](vx::Form &) { aboutStayed = f.Visible(); });
        f.cmdSysInfo.click();
        if (window) {
            EXPECT_EQ(modals, QStringList{QString::fromLatin1(window)});
            EXPECT_TRUE(aboutStayed);
        } else {
            EXPECT_TRUE(modals.isEmpty());
            vxtest::dialogs().modalScripts.clear();
        }
    }
    EXPECT_TRUE(vx::isShown<frmAbout>());
}

} // namespace
