#include "media/player/form3.h"
#include "media/player2/form20.h"
#include "suite/settings.h"
#include "applist/form5.h"
#include "image/browser/frmsum.h"
#include "image/viewer/form2.h"
#include "shell/form1.h"
#include "shell/form23.h"
#include "shell/form30.h"
#include "media/cd/form8.h"
#include "platform/media/cddrive.h"
#include "platform/media/mci.h"
#include "archive/form9.h"
#include "archive/launcher.h"
#include "shell/form1.h"
#include "shell/frmabout.h"
#include "shell/launch.h"
#include "shell/mainform.h"
#include "shell/form30.h"
#include "editor/form4.h"
#include "tags/editor/form31.h"
#include "tags/editor/player.h"
#include "testing/harness.h"

#include <QTest>

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

// Each launch control, pressed as the user presses it, must reach exactly
// its own tool with its own closing mode.
class LaunchWiringTest : public vxtest::GuiTest {
protected:
    using Launch = std::pair<Tool, CloseMode>;
    void SetUp() override
    {
        GuiTest::SetUp();
        shell::setLaunchProbe([this](Tool t, CloseMode m) { launches.emplace_back(t, m); });
    }
    void TearDown() override
    {
        shell::setLaunchProbe({});
        GuiTest::TearDown();
    }
    // What one press launched (nothing when it launched nothing).
    std::vector<Launch> press(const std::function<void()> &pressIt)
    {
        launches.clear();
        pressIt();
        return launches;
    }
    static std::function<void()> button(vx::CommandButton &b)
    {
        return [&b] { b.click(); };
    }
    static std::function<void()> picture(vx::PictureBox &p)
    {
        return [&p] { QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(4, 4)); };
    }
    std::vector<Launch> launches;
};

using enum CloseMode;

TEST_F(LaunchWiringTest, BarWindowListNamesEachToolWithItsMode)
{
    const std::pair<const char *, Launch> expected[] = {
        {"Graphic Rondix", {Tool::Form2, Hide}},        {"Graphic Rondix Ⅱ", {Tool::frmSum, Hide}},
        {"Graphic Rondix Ⅲ", {Tool::Form40, Unload}},   {"Susie Rondix", {Tool::Form15, Unload}},
        {"Multimedia Rondix", {Tool::Form3, Hide}},     {"Multimedia Rondix Ⅱ", {Tool::Form20, Hide}},
        {"Multimedia Rondix Ⅲ", {Tool::FormVX3, Hide}}, {"Scrivolt", {Tool::Form4, Hide}},
        {"Kinvoke", {Tool::Form5, Unload}},             {"AudioCD Rondix", {Tool::Form8, Hide}},
        {"Probix", {Tool::Form10, Unload}},             {"Snapvane", {Tool::Form11, Unload}},
        {"Cramlet＆Loosel", {Tool::Form9, Unload}},      {"Version Rondix", {Tool::frmAbout, Unload}},
    };
    Form30 &f = vx::instance<Form30>();
    ASSERT_EQ(f.Combo1.ListCount(), 14);
    for (int i = 0; i < 14; ++i) {
        const QString text = QString::fromUtf8(expected[i].first);
        SCOPED_TRACE(expected[i].first);
        EXPECT_EQ(f.Combo1.List(i), text) << "list order";
        f.Combo1.setText(text);
        EXPECT_EQ(press(button(f.Command1)), std::vector<Launch>{expected[i].second});
    }
}

TEST_F(LaunchWiringTest, ButtonWindowControlsReachTheirToolsWithTheirModes)
{
    Form1 &f = vx::instance<Form1>();
    f.Show();
    const std::tuple<const char *, std::function<void()>, Launch> expected[] = {
        {"Command1", button(f.Command1), {Tool::Form2, Hide}},
        {"Picture1", picture(f.Picture1), {Tool::Form2, Hide}},
        {"Command2", button(f.Command2), {Tool::Form3, Hide}},
        {"Picture2", picture(f.Picture2), {Tool::Form3, Hide}},
        {"Command3", button(f.Command3), {Tool::Form4, Hide}},
        {"Picture3", picture(f.Picture3), {Tool::Form4, Unload}},
        {"Command4", button(f.Command4), {Tool::Form9, Unload}},
        {"Picture4", picture(f.Picture4), {Tool::Form9, Unload}},
        {"Command5", button(f.Command5), {Tool::Form5, Unload}},
        {"Picture5", picture(f.Picture5), {Tool::Form5, Unload}},
        {"Command6", button(f.Command6), {Tool::frmAbout, Unload}},
        {"Picture8", picture(f.Picture8), {Tool::frmAbout, Unload}},
        {"Command7", button(f.Command7), {Tool::Form8, Hide}},
        {"Picture6", picture(f.Picture6), {Tool::Form8, Hide}},
        {"Command9", button(f.Command9), {Tool::Form15, Unload}},
        {"Picture11", picture(f.Picture11), {Tool::Form15, Unload}},
        {"Command10", button(f.Command10), {Tool::Form10, Unload}},
        {"Picture10", picture(f.Picture10), {Tool::Form10, Unload}},
        {"Command11", button(f.Command11), {Tool::Form11, Unload}},
        {"Picture9", picture(f.Picture9), {Tool::Form11, Unload}},
    };
    for (const auto &[name, pressIt, launch] : expected) {
        SCOPED_TRACE(name);
        EXPECT_EQ(press(pressIt), std::vector<Launch>{launch});
    }
    EXPECT_TRUE(press(button(f.Command8)).empty()) << "the memo button launches nothing";

    // The variant controls follow the stored variants at each press.
    suite::SaveSetting(QStringLiteral("Graphic Rondix2"), QStringLiteral("FormKind"), QStringLiteral("2"));
    suite::SaveSetting(QStringLiteral("Multimedia Rondix"), QStringLiteral("FormKind"), QStringLiteral("3"));
    EXPECT_EQ(press(picture(f.Picture1)), (std::vector<Launch>{{Tool::frmSum, Hide}}));
    EXPECT_EQ(press(button(f.Command2)), (std::vector<Launch>{{Tool::FormVX3, Hide}}));
    suite::SaveSetting(QStringLiteral("Multimedia Rondix"), QStringLiteral("FormKind"), QStringLiteral("4"));
    EXPECT_TRUE(press(picture(f.Picture2)).empty());
}

TEST_F(LaunchWiringTest, SmallWindowButtonsReachTheirToolsWithTheirModes)
{
    suite::SaveSetting(QStringLiteral("Multimedia Rondix"), QStringLiteral("FormKind"), QStringLiteral("2"));
    Form23 &f = vx::instance<Form23>();
    const std::pair<vx::CommandButton *, Launch> expected[] = {
        {&f.Command1, {Tool::Form2, Hide}},     {&f.Command2, {Tool::Form20, Hide}},
        {&f.Command3, {Tool::Form8, Hide}},     {&f.Command4, {Tool::Form15, Unload}},
        {&f.Command5, {Tool::Form4, Hide}},     {&f.Command6, {Tool::Form5, Unload}},
        {&f.Command7, {Tool::Form9, Unload}},   {&f.Command8, {Tool::Form10, Unload}},
        {&f.Command9, {Tool::frmAbout, Unload}}, {&f.Command12, {Tool::Form11, Unload}},
    };
    for (const auto &[b, launch] : expected) {
        SCOPED_TRACE(b->Name().toStdString());
        EXPECT_EQ(press(button(*b)), std::vector<Launch>{launch});
    }
}

TEST_F(LaunchTest, ApplicationListOpensAndUnloadsFromTheLaunchers)
{
    suite::SaveSetting(QStringLiteral("Kinvoke"), QStringLiteral("AppCount"), QStringLiteral("1"));
    suite::SaveSetting(QStringLiteral("Kinvoke"), QStringLiteral("1"), QStringLiteral("/opt/tool"));
    shell::launch(Tool::Form5, Launcher::Form30);
    ASSERT_TRUE(vx::isShown<Form5>());
    EXPECT_EQ(vx::instance<Form5>().List1.ListCount(), 1);
    shell::launch(Tool::Form5, Launcher::Form23);
    EXPECT_FALSE(vx::isLoaded<Form5>());
}

TEST_F(LaunchTest, BrowserOpensFromTheLaunchersAndSwitchesWithTheFirstViewer)
{
    suite::SaveSetting(QStringLiteral("Graphic Rondix2"), QStringLiteral("FormKind"), QStringLiteral("2"));
    shell::launchImageViewer(Launcher::Form1);
    ASSERT_TRUE(vx::isShown<frmSum>());
    shell::launchImageViewer(Launcher::Form23);
    EXPECT_FALSE(vx::isShown<frmSum>());
    EXPECT_TRUE(vx::isLoaded<frmSum>()) << "hidden, not unloaded";
    shell::launch(Tool::frmSum, Launcher::Form30);
    frmSum &browser = vx::instance<frmSum>();
    ASSERT_TRUE(browser.Visible());
    browser.Command3.click();
    Form2 &viewer = vx::instance<Form2>();
    ASSERT_TRUE(viewer.Visible());
    ASSERT_TRUE(viewer.Command12.Enabled()) << "the program gives the first viewer its switch";
    viewer.Command12.click();
    EXPECT_TRUE(browser.Visible());
    EXPECT_FALSE(viewer.Visible());
}

TEST_F(LaunchTest, EditorTogglesFromTheTableAndKeepsItsText)
{
    EXPECT_EQ(shell::toolByListText(QStringLiteral("Scrivolt")), Tool::Form4);
    shell::launch(Tool::Form4, Launcher::Form1);
    ASSERT_TRUE(vx::isShown<Form4>());
    vx::instance<Form4>().RichTextBox1.setText(QStringLiteral("kept"));
    shell::launch(Tool::Form4, Launcher::Form23);
    EXPECT_FALSE(vx::isShown<Form4>());
    shell::launch(Tool::Form4, Launcher::Form30);
    EXPECT_EQ(vx::instance<Form4>().RichTextBox1.Text(), QStringLiteral("kept"));
    shell::launch(Tool::Form4, CloseMode::Unload); // Form1's picture
    EXPECT_FALSE(vx::isLoaded<Form4>());
}

TEST_F(LaunchTest, EndingWithUnsavedEditorTextAsksFirst)
{
    int saved = 0;
    auto end = [&] { shell::endFromMainWindow([&] { ++saved; }, false); };
    EXPECT_TRUE(vxtest::ends(end)) << "no editor: the end asks nothing";
    vx::setEndThrows(true);
    Form4 &e = vx::instance<Form4>();
    e.setCaption(editor::kModifiedCaption);
    // Yes, but the save does not happen (no file chosen): the program goes on.
    vxtest::dialogs().answers.push_back(vx::vbYes);
    vxtest::dialogs().files.push_back(std::nullopt);
    EXPECT_FALSE(vxtest::ends(end));
    EXPECT_EQ(saved, 1) << "only the first end stored the main window";
    // Yes with a file: saved, then the end.
    vx::setEndThrows(true);
    const QString file = programDir() + QStringLiteral("/saved.txt");
    vxtest::dialogs().answers.push_back(vx::vbYes);
    vxtest::dialogs().files.push_back(QStringList{file});
    EXPECT_TRUE(vxtest::ends(end));
    EXPECT_TRUE(QFile::exists(file));
    // No: the end at once.
    vx::setEndThrows(true);
    e.setCaption(editor::kModifiedCaption);
    vxtest::dialogs().answers.push_back(vx::vbNo);
    EXPECT_TRUE(vxtest::ends(end));
    EXPECT_EQ(vxtest::dialogs().messageTexts().count(QStringLiteral("変更を保存しますか?")), 3);
}

TEST_F(LaunchTest, EndingAsksEveryToolThatHoldsUnsavedWork)
{
    shell::tools(); // the players' hooks, then none: the tag editor stands alone
    tags::setPlayerSource(nullptr);
    Form4 &e = vx::instance<Form4>();
    Form31 &t = vx::instance<Form31>();
    const QString song = programDir() + QStringLiteral("/song.mp3");
    {
        QFile f(song);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(2000, 'a'));
    }
    t.CurrentFile = song;
    t.TitleText.setText(QStringLiteral("tagged"));
    e.setCaption(editor::kModifiedCaption);
    const QString ask = QStringLiteral("変更を保存しますか?");
    int saved = 0;
    auto end = [&] {
        vx::setEndThrows(true);
        return vxtest::ends([&] { shell::endFromMainWindow([&] { ++saved; }, false); });
    };
    // The editor let go, the tag editor cancelled: the program goes on.
    vxtest::dialogs().answers = {vx::vbNo, vx::vbCancel};
    EXPECT_FALSE(end());
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList({ask, ask}));
    // Yes at the tag editor: its save, then the end.
    vxtest::dialogs().answers = {vx::vbNo, vx::vbYes};
    EXPECT_TRUE(end());
    QFile f(song);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().right(128).mid(3, 6), QByteArray("tagged"));
    EXPECT_EQ(vxtest::dialogs().messageTexts().count(ask), 4);
}

TEST_F(LaunchTest, AMainWindowClosedWhileTheEndIsRefusedStays)
{
    vx::Form &main = vx::instance<Form30>();
    main.Show();
    vx::instance<Form4>().setCaption(editor::kModifiedCaption);
    vxtest::dialogs().answers.push_back(vx::vbYes);
    vxtest::dialogs().files.push_back(std::nullopt);
    main.close(); // the close box runs as an event: the end is recorded, not thrown
    EXPECT_FALSE(vx::programEnded());
    EXPECT_TRUE(vx::isLoaded<Form30>());
    vxtest::dialogs().answers.push_back(vx::vbNo);
    main.close();
    EXPECT_TRUE(vx::programEnded());
}

TEST_F(LaunchTest, SecondPlayerOpensFromItsKindAndFromTheFirstPlayer)
{
    suite::SaveSetting(QStringLiteral("Multimedia Rondix"), QStringLiteral("FormKind"), QStringLiteral("2"));
    shell::launchMediaPlayer(Launcher::Form1);
    ASSERT_TRUE(vx::isShown<Form20>());
    shell::launchMediaPlayer(Launcher::Form23);
    EXPECT_FALSE(vx::isShown<Form20>());
    EXPECT_TRUE(vx::isLoaded<Form20>());
    shell::launch(Tool::Form3, Launcher::Form30);
    Form3 &first = vx::instance<Form3>();
    ASSERT_TRUE(first.Command10.isEnabled());
    first.Command10_Click();
    EXPECT_FALSE(first.Visible());
    EXPECT_TRUE(vx::isShown<Form20>());
    vx::FormRegistry::reset();
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
