#include "suite/settings.h"
#include "media/cd/form8.h"
#include "platform/media/cddrive.h"
#include "platform/media/mci.h"
#include "shell/frmabout.h"
#include "shell/launch.h"
#include "testing/harness.h"

using shell::CloseMode;
using shell::Launcher;
using shell::Tool;

namespace {

int g_loads = 0;

class ProbeTool : public vx::Form {
public:
    ProbeTool() : vx::Form(QStringLiteral("ProbeTool")) {}
    void Form_Load() override { ++g_loads; }
    vx::TextBox Text1{this, QStringLiteral("Text1")};
};

class LaunchTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        g_loads = 0;
    }
    const shell::ToolWindow probe = shell::toolEntry<ProbeTool>(QStringLiteral("ProbeTool"));
};

TEST_F(LaunchTest, HideModeKeepsTheWindowAndItsState)
{
    shell::toggle(probe, CloseMode::Hide);
    ASSERT_TRUE(vx::isShown<ProbeTool>());
    EXPECT_EQ(g_loads, 1);
    ProbeTool *first = &vx::instance<ProbeTool>();
    first->Text1.setText(QStringLiteral("kept"));

    shell::toggle(probe, CloseMode::Hide);
    EXPECT_TRUE(vx::isLoaded<ProbeTool>());
    EXPECT_FALSE(vx::isShown<ProbeTool>());

    shell::toggle(probe, CloseMode::Hide);
    EXPECT_TRUE(vx::isShown<ProbeTool>());
    EXPECT_EQ(&vx::instance<ProbeTool>(), first);
    EXPECT_EQ(first->Text1.Text(), QStringLiteral("kept"));
    EXPECT_EQ(g_loads, 1);
}

TEST_F(LaunchTest, UnloadModeLoadsAfreshNextTime)
{
    shell::toggle(probe, CloseMode::Unload);
    vx::instance<ProbeTool>().Text1.setText(QStringLiteral("gone"));
    shell::toggle(probe, CloseMode::Unload);
    EXPECT_FALSE(vx::isLoaded<ProbeTool>());
    shell::toggle(probe, CloseMode::Unload);
    EXPECT_TRUE(vx::isShown<ProbeTool>());
    EXPECT_EQ(g_loads, 2);
    EXPECT_TRUE(vx::instance<ProbeTool>().Text1.Text().isEmpty());
}

TEST_F(LaunchTest, LoadedButHiddenToolShowsFromAnyLauncher)
{
    shell::launch(Tool::frmAbout, Launcher::Form1);
    ASSERT_TRUE(vx::isShown<frmAbout>());
    frmAbout *about = &vx::instance<frmAbout>();
    about->Hide();
    shell::launch(Tool::frmAbout, Launcher::Form30);
    EXPECT_TRUE(vx::isShown<frmAbout>());
    EXPECT_EQ(&vx::instance<frmAbout>(), about);
    shell::launch(Tool::frmAbout, Launcher::Form23);
    EXPECT_FALSE(vx::isLoaded<frmAbout>()) << "the about window is unloaded by every launcher";
}

TEST_F(LaunchTest, EveryListTextFindsItsOwnRow)
{
    ASSERT_EQ(shell::tools().size(), 14u);
    for (const shell::ToolRow &row : shell::tools()) {
        SCOPED_TRACE(row.window.name.toStdString());
        EXPECT_EQ(shell::toolByListText(row.listText), row.id);
        EXPECT_EQ(&shell::tool(row.id), &row);
    }
    EXPECT_FALSE(shell::toolByListText(QStringLiteral("version rondix")));
}

TEST_F(LaunchTest, ImageViewerVariantFromStoredKind)
{
    const QString section = QStringLiteral("Graphic Rondix2");
    EXPECT_EQ(shell::imageViewerVariant(), Tool::Form2) << "nothing stored";
    const std::pair<const char *, Tool> cases[] = {
        {"1", Tool::Form2}, {" 1.0 ", Tool::Form2}, {"2", Tool::frmSum},
        {"0", Tool::frmSum}, {"abc", Tool::Form2}, {"", Tool::Form2},
    };
    for (const auto &[stored, expected] : cases) {
        SCOPED_TRACE(stored);
        suite::SaveSetting(section, QStringLiteral("FormKind"), QString::fromUtf8(stored));
        EXPECT_EQ(shell::imageViewerVariant(), expected);
    }
}

TEST_F(LaunchTest, MediaPlayerVariantFromStoredKind)
{
    const QString section = QStringLiteral("Multimedia Rondix");
    EXPECT_EQ(shell::mediaPlayerVariant(), Tool::Form3) << "nothing stored";
    const std::pair<const char *, std::optional<Tool>> cases[] = {
        {"1", Tool::Form3}, {"2", Tool::Form20},     {"3", Tool::FormVX3},    {"3.0", Tool::FormVX3},
        {"4", std::nullopt}, {"2.5", std::nullopt}, {"two", Tool::Form3}, {"", Tool::Form3},
    };
    for (const auto &[stored, expected] : cases) {
        SCOPED_TRACE(stored);
        suite::SaveSetting(section, QStringLiteral("FormKind"), QString::fromUtf8(stored));
        EXPECT_EQ(shell::mediaPlayerVariant(), expected);
    }
}

// The real drive layer with no drive there: the CD player says so once, opens
// anyway and is hidden (not unloaded) by the next launch.
TEST_F(LaunchTest, CdPlayerOpensWithoutADriveAndHidesFromEachLauncher)
{
    qputenv(vx::cd::kDeviceVariable, QByteArrayLiteral("/nonexistent/cdrom"));
    for (Launcher l : {Launcher::Form30, Launcher::Form1, Launcher::Form23}) {
        shell::launch(Tool::Form8, l);
        ASSERT_TRUE(vx::isShown<Form8>());
        shell::launch(Tool::Form8, l);
        EXPECT_TRUE(vx::isLoaded<Form8>());
        EXPECT_FALSE(vx::isShown<Form8>());
    }
    // Once, at the load (the mixer may add its own message where there is none).
    EXPECT_EQ(vxtest::dialogs().messageTexts().count(vx::mciGetErrorString(vx::mci::NoDrive)), 1);
    qunsetenv(vx::cd::kDeviceVariable);
}

} // namespace
