#include "suite/settings.h"
#include "archive/form9.h"
#include "archive/launcher.h"
#include "shell/form1.h"
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

} // namespace

TEST_F(LaunchTest, ArchiveWindowOpensAndUnloadsAndItsOwnerIsTheLauncher)
{
    shell::launch(Tool::Form9, Launcher::Form23);
    ASSERT_TRUE(vx::isShown<Form9>());
    EXPECT_FALSE(vx::isLoaded<Form1>());
    // The launcher's handle, read for some archiver calls, loads it hidden.
    EXPECT_NE(archive::launcherHandle(), 0u);
    EXPECT_TRUE(vx::isLoaded<Form1>());
    EXPECT_FALSE(vx::isShown<Form1>());
    shell::launch(Tool::Form9, Launcher::Form1);
    EXPECT_FALSE(vx::isLoaded<Form9>());
}
