// What every tool window shares through the window layer: each opens within
// reach of the screen whatever place was stored, keeping what is stored, and
// each properties button says when no file manager shows the sheet.
#include "editor/form4.h"
#include "image/browser/form33.h"
#include "image/browser/frmsum.h"
#include "image/plugins/form15.h"
#include "image/viewer/form2.h"
#include "image/viewer/form32.h"
#include "image/viewer3/form40.h"
#include "media/player/form3.h"
#include "media/player2/form20.h"
#include "media/player3/formvx3.h"
#include "platform/forms/reach.h"
#include "shell/form1.h"
#include "shell/form23.h"
#include "shell/form30.h"
#include "shell/frmabout.h"
#include "sysinfo/form10.h"
#include "suite/settings.h"
#include "testing/harness.h"

#include <functional>

namespace {

class WindowPlacesTest : public vxtest::GuiTest {
protected:
    void TearDown() override
    {
        vx::FormRegistry::reset();
        vx::setScreenAreas({});
        GuiTest::TearDown();
    }
};

struct Place {
    const char *window;
    QString section;
    QString leftKey;
    QString topKey;
    std::function<vx::Form &()> open;
    std::function<void()> close; // stores the place
};

template <class T>
Place tool(const char *window, const char *section, const char *left = "FormLeft", const char *top = "FormTop")
{
    return {window, QString::fromUtf8(section), QString::fromLatin1(left), QString::fromLatin1(top),
            []() -> vx::Form & {
                T &f = vx::instance<T>();
                f.Show();
                return f;
            },
            [] { vx::unload<T>(); }};
}

// A launcher stores its place on its way out of the program.
template <class T>
Place launcher(const char *window, const char *section, void (T::*exit)())
{
    return {window, QString::fromUtf8(section), QStringLiteral("FormLeft"), QStringLiteral("FormTop"),
            []() -> vx::Form & {
                T &f = vx::instance<T>();
                f.Show();
                return f;
            },
            [exit] {
                EXPECT_TRUE(vxtest::ends([&] { (vx::instance<T>().*exit)(); }));
                vx::FormRegistry::reset();
                vx::setEndThrows(true);
            }};
}

TEST_F(WindowPlacesTest, EveryWindowOpensWithinReachAndKeepsWhatIsStored)
{
    const QRect laptop(0, 0, 1280, 800);
    vx::setScreenAreas({laptop});
    const Place places[] = {
        launcher<Form30>("Form30", "MainForm0", &Form30::Picture1_DblClick),
        launcher<Form1>("Form1", "MainForm", &Form1::Picture12_Click),
        launcher<Form23>("Form23", "MainForm2", &Form23::Command10_Click),
        tool<Form2>("Form2", "Graphic Rondix"),
        tool<Form32>("Form32", "Graphic Rondix", "ZQVFormLeft", "ZQVFormTop"),
        tool<frmSum>("frmSum", "Graphic Rondix2"),
        tool<Form33>("Form33", "Graphic Rondix2", "ZQV2FormLeft", "ZQV2FormTop"),
        tool<Form15>("Form15", "Susie Rondix"),
        tool<Form40>("Form40", "Susie Rondix"),
        tool<Form3>("Form3", "Multimedia Rondix"),
        tool<Form20>("Form20", "Multimedia Rondix2"),
        tool<FormVX3>("FormVX3", "Multimedia Rondix3"),
        tool<Form4>("Form4", "Scrivolt"),
    };
    // Stored on a larger screen; above the screen; on it.
    const std::pair<QString, QString> stored[] = {{"24000", "15000"}, {"360", "-600"}, {"1500", "900"}};
    for (const Place &p : places) {
        for (const auto &[left, top] : stored) {
            SCOPED_TRACE(std::string(p.window) + " at " + left.toStdString() + ", " + top.toStdString());
            suite::SaveSetting(p.section, p.leftKey, left);
            suite::SaveSetting(p.section, p.topKey, top);
            vx::Form &f = p.open();
            const QRect frame(f.pos(), f.frameGeometry().size());
            EXPECT_TRUE(vx::withinReach(frame, {laptop}));
            if (frame.width() <= laptop.width() && frame.height() <= laptop.height())
                EXPECT_TRUE(laptop.contains(frame)) << "fully on the screen";
            if (left == QLatin1String("1500"))
                EXPECT_EQ(f.pos(), QPoint(100, 60)) << "a place on the screen is kept exactly";
            p.close();
            EXPECT_EQ(suite::GetSetting(p.section, p.leftKey, {}), left) << "not moved by the user: kept";
            EXPECT_EQ(suite::GetSetting(p.section, p.topKey, {}), top);
        }
    }
}

struct Button {
    const char *window;
    std::function<void()> load; // a media window says at its load that no mixer is there
    std::function<void()> click;
};

template <class T>
Button button(const char *window, void (T::*click)())
{
    return {window, [] { vx::instance<T>(); }, [click] { (vx::instance<T>().*click)(); }};
}

TEST_F(WindowPlacesTest, EveryPropertiesButtonSaysWhenNoSheetIsShown)
{
    vxtest::shell().propertiesResult = false;
    const Button buttons[] = {
        button("Form2", &Form2::Command11_Click),     button("frmSum", &frmSum::Command4_Click),
        button("Form15", &Form15::Command4_Click),    button("Form40", &Form40::Command4_Click),
        button("Form3", &Form3::Command8_Click),      button("Form20", &Form20::Command8_Click),
        button("FormVX3", &FormVX3::Command8_Click), button("Form4", &Form4::Command23_Click),
    };
    for (const Button &b : buttons) {
        SCOPED_TRACE(b.window);
        b.load();
        vxtest::dialogs().messages.clear();
        vxtest::shell().properties.clear();
        b.click();
        ASSERT_EQ(vxtest::shell().properties.size(), 1);
        EXPECT_TRUE(vxtest::dialogs().messages.empty()) << "said once the desktop has answered";
        ASSERT_TRUE(vxtest::waitUntil([] { return !vxtest::dialogs().messages.empty(); }));
        EXPECT_EQ(vxtest::dialogs().messageTexts(),
                  QStringList{QStringLiteral("プロパティを表示できませんでした。\n") + vxtest::shell().properties[0]});
    }
}

TEST_F(WindowPlacesTest, EveryAddressDocumentAndPanelSaysWhenNothingShowsIt)
{
    vxtest::shell().openResult = false;
    vxtest::shell().startResult = false;
    const QString notOpened = QStringLiteral("開くことができませんでした。\n");
    const QString noVolume = QStringLiteral("音量を調節するプログラムが見つかりません。");
    struct Row {
        Button button;
        QString said;
        QString handedTo; // the address or document the desktop was given
    };
    const Row rows[] = {
        {button("frmAbout page", &frmAbout::Image2_Click), notOpened + frmAbout::kWebAddress, frmAbout::kWebAddress},
        {button("frmAbout mail", &frmAbout::Label2_Click), notOpened + "mailto:" + frmAbout::kMailAddress,
         "mailto:" + frmAbout::kMailAddress},
        {button("Form4", &Form4::Command2_Click), notOpened + vx::joinPath(programDir(), "IEで起動.htm"),
         vx::joinPath(programDir(), "IEで起動.htm")},
        {{"Form10",
          [] {
              Form10 &f = vx::instance<Form10>();
              f.List2.AddItem(QStringLiteral("/found/a.txt"));
              f.List2.setListIndex(0);
          },
          [] { vx::instance<Form10>().Command17_Click(); }},
         notOpened + "/found/a.txt", "/found/a.txt"},
        {button("Form3", &Form3::Label1_DblClick), noVolume, {}},
        {button("Form20", &Form20::Label1_DblClick), noVolume, {}},
        {button("FormVX3", &FormVX3::Label1_DblClick), noVolume, {}},
    };
    for (const bool installed : {false, true}) {
        if (installed)
            vxtest::shell().programs.insert(QStringLiteral("pavucontrol"), QStringLiteral("/usr/bin/pavucontrol"));
        for (const Row &r : rows) {
            SCOPED_TRACE(std::string(r.button.window) + (installed ? ", a panel that fails" : ", no panel"));
            r.button.load();
            vxtest::dialogs().messages.clear();
            vxtest::shell().opened.clear();
            vxtest::shell().started.clear();
            r.button.click();
            EXPECT_TRUE(vxtest::dialogs().messages.empty()) << "said once the desktop has answered";
            EXPECT_TRUE(vxtest::waitUntil([] { return !vxtest::dialogs().messages.empty(); }));
            EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{r.said});
            EXPECT_EQ(vxtest::shell().opened, r.handedTo.isEmpty() ? QStringList{} : QStringList{r.handedTo});
            if (r.handedTo.isEmpty()) {
                EXPECT_EQ(vxtest::shell().started,
                          installed ? QStringList{QStringLiteral("/usr/bin/pavucontrol")} : QStringList{});
            }
        }
    }
}

} // namespace
