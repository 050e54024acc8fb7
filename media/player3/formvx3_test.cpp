#include "player3_fixture_test.h"

#include "platform/forms/colors.h"
#include "platform/media/transportbar.h"

using namespace vx;
namespace keys = player3::keys;

namespace {

using FormVX3Test = Player3Test;

TEST_F(FormVX3Test, LoadsWithItsDesignAndTheDefaultsOfAnEmptyStore)
{
    FormVX3 &p = instance<FormVX3>();
    EXPECT_EQ(p.Caption(), QStringLiteral("Multimedia Rondix Ⅲ Version1.7"));
    EXPECT_FALSE(p.Visible());
    EXPECT_EQ(p.Left(), 1665);
    EXPECT_EQ(p.Top(), 990);
    EXPECT_EQ(p.Drive1.Drive(), QStringLiteral("/"));
    EXPECT_EQ(p.File1.Pattern(), QStringLiteral("*.rm;*.ra;*.ram;*.mpg;*.mp3;*.rt;*.rp;*.png;*.gif;*.jpg;*.swf;"
                                                 "*.smil;*.smi;*.wav;*.aiff;*.mpeg;*.avi;*.asf;*.mid;*.midi;*.rmi"));
    EXPECT_EQ(p.Text2.Text(), QStringLiteral("http://"));
    for (int colour : {p.Drive1.BackColor(), p.Dir1.BackColor(), p.File1.BackColor(), p.Label2.BackColor(),
                       p.Text1.BackColor(), p.Text2.BackColor(), p.Label1.BackColor()})
        EXPECT_EQ(colour, 0);
    for (int colour : {p.Drive1.ForeColor(), p.Dir1.ForeColor(), p.File1.ForeColor(), p.Label2.ForeColor(),
                       p.Text1.ForeColor(), p.Text2.ForeColor(), p.Label1.ForeColor()})
        EXPECT_EQ(colour, syscolor::WindowBackground);
    EXPECT_EQ(p.MousePointer(), 99);
    EXPECT_EQ(p.Command2.ToolTipText(), QStringLiteral("Multimedia Rondix Ⅱを起動します"));
    EXPECT_EQ(p.Command3.ToolTipText(), QStringLiteral("Multimedia Rondixを起動します"));
    EXPECT_EQ(p.Command5.ToolTipText(), QStringLiteral("Minivox RP for Multimedia Rondix Ⅲを起動します"));
    EXPECT_EQ(p.Command8.ToolTipText(), QStringLiteral("ファイルの詳細がわかります"));
    EXPECT_EQ(p.Check2.ToolTipText(), QStringLiteral("動画ファイル固有の大きさで再生します"));
    EXPECT_EQ(p.Label1.Caption(), QStringLiteral(" ボリューム"));
    EXPECT_EQ(p.Text1.Text(), QStringLiteral("3,276"));
    // Picture and panel share the console "one" on black.
    EXPECT_EQ(p.RealAudio1.Controls(), QStringLiteral("ImageWindow"));
    EXPECT_EQ(p.RealAudio2.Controls(), QStringLiteral("All"));
    EXPECT_EQ(p.RealAudio1.ConsoleName(), QStringLiteral("one"));
    EXPECT_EQ(p.RealAudio2.ConsoleName(), QStringLiteral("one"));
    EXPECT_EQ(p.RealAudio1.palette().color(QPalette::Window), QColor(Qt::black));
}

TEST_F(FormVX3Test, NoMixerOrNoSkinCostsOnlyThatPartOfTheLoad)
{
    mixer->openResult = mixer::NoDriver;
    store(keys::FormLeft, QStringLiteral("2400"));
    store(keys::FormTop, QStringLiteral("junk"));
    store(keys::BackColor, QStringLiteral("255"));
    store(keys::VolFontColor, QStringLiteral("65280"));
    store(keys::Dir, folder);
    store(keys::Drive, vx::driveOfPath(folder));
    store(keys::Skin, path("no-such-skin.jpg"));
    FormVX3 &p = instance<FormVX3>();
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              QStringList{QStringLiteral("[6] 利用可能なミキサーデバイスがありません。")});
    EXPECT_EQ(p.Left(), 2400);
    EXPECT_EQ(p.Top(), 990);
    EXPECT_EQ(p.Text2.BackColor(), 255);
    EXPECT_EQ(p.Label1.ForeColor(), 65280);
    EXPECT_EQ(p.Dir1.Path(), folder);
    EXPECT_EQ(p.File1.ListCount(), 3);
    // Closing now keeps the user's place and folder.
    p.Command1_Click();
    EXPECT_EQ(stored(keys::FormLeft), QStringLiteral("2400"));
    EXPECT_EQ(stored(keys::Dir), folder);
}

TEST_F(FormVX3Test, StoredFolderIsRestoredOnlyWhenItIsAnExistingAbsolutePath)
{
    const QString start = instance<FormVX3>().Dir1.Path();
    FormRegistry::reset();
    for (const QString &dir : {QStringLiteral("C:\\Music"), QStringLiteral("music/here"), path("gone")}) {
        store(keys::Dir, dir);
        EXPECT_EQ(instance<FormVX3>().Dir1.Path(), start) << dir.toStdString();
        FormRegistry::reset();
    }
}

TEST_F(FormVX3Test, StoredFolderOnAnotherMountIsKeptWithItsDrive)
{
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/vxplayer3-XXXXXX"));
    const QString dir = QDir::cleanPath(elsewhere.path());
    if (!elsewhere.isValid() || vx::driveOfPath(dir) == QLatin1String("/"))
        GTEST_SKIP() << "no second mount to keep a folder on";
    store(keys::Dir, dir);
    store(keys::Drive, vx::driveOfPath(dir));
    FormVX3 &p = instance<FormVX3>();
    EXPECT_EQ(p.Drive1.Drive(), vx::driveOfPath(dir));
    EXPECT_EQ(p.Dir1.Path(), dir);
}

TEST_F(FormVX3Test, AnEntryPlaysAndNextAndPreviousReplayAsTheyDid)
{
    FormVX3 &p = player();
    p.File1.setListIndex(0);
    EXPECT_EQ(take(), calls({"one: source a.wav", "one: play"}));
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("1/3"));
    EXPECT_FALSE(p.Command9.isEnabled());
    EXPECT_TRUE(p.Command7.isEnabled());
    // Next to a middle entry plays it twice, the second time from a stop.
    p.Command7_Click();
    EXPECT_EQ(take(), calls({"one: source b.rm", "one: play", "one: stop", "one: source b.rm", "one: play"}));
    EXPECT_TRUE(p.Command7.isEnabled());
    EXPECT_TRUE(p.Command9.isEnabled());
    // Next to the last entry plays it once and turns next off.
    p.Command7_Click();
    EXPECT_EQ(take(), calls({"one: source c.png", "one: play"}));
    EXPECT_FALSE(p.Command7.isEnabled());
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("3/3"));
    p.Command7_Click();
    EXPECT_TRUE(take().isEmpty());
    p.Command9_Click();
    EXPECT_EQ(take(), calls({"one: source b.rm", "one: play", "one: stop", "one: source b.rm", "one: play"}));
    p.Command9_Click();
    EXPECT_EQ(take(), calls({"one: source a.wav", "one: play"}));
    EXPECT_FALSE(p.Command9.isEnabled());
    p.Command9_Click();
    EXPECT_TRUE(take().isEmpty());
}

TEST_F(FormVX3Test, PreviousWithoutAnEntryAndStepsOnAnEmptyListDoNothing)
{
    FormVX3 &p = player();
    p.Command9_Click();
    EXPECT_TRUE(take().isEmpty());
    p.Dir1.setPath(QDir(folder).filePath(QStringLiteral("..")));
    QDir(folder).mkdir(QStringLiteral("empty"));
    p.Dir1.setPath(path("empty"));
    take();
    p.Command7_Click();
    p.Command9_Click();
    EXPECT_TRUE(take().isEmpty());
    EXPECT_EQ(p.File1.ListCount(), 0);
}

TEST_F(FormVX3Test, RefusedFilesAreSilentExceptWhenDropped)
{
    refused = {"b.rm"};
    FormVX3 &p = player();
    p.File1.setListIndex(1);
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    EXPECT_EQ(p.RealAudio1.PlayState(), ConsolePlayer::Stopped);
    take();
    p.File1_OLEDragDrop({path("a.wav"), path("b.rm"), path("c.png")});
    EXPECT_EQ(take(), calls({"one: stop", "one: source a.wav", "one: play", "one: stop", "one: source b.rm", "one: play"}));
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              QStringList{QStringLiteral("対応しているメディアファイルをドロップしてください")});
    p.File1_OLEDragDrop({path("a.wav"), path("c.png")});
    EXPECT_EQ(p.RealAudio1.Source(), path("c.png")) << "the last dropped stays";
    EXPECT_EQ(p.RealAudio1.PlayState(), ConsolePlayer::Playing);
}

TEST_F(FormVX3Test, AddressBoxPlaysWhateverItHolds)
{
    FormVX3 &p = player();
    p.Text2.setText(QStringLiteral("http://127.0.0.1:9/live.rm"));
    p.Command4_Click();
    EXPECT_EQ(take(), calls({"one: stop", "one: source http://127.0.0.1:9/live.rm", "one: play"}));
    EXPECT_EQ(p.RealAudio1.PlayState(), ConsolePlayer::Opening);
    p.Text2.setText(QStringLiteral("not an address"));
    p.Command4_Click();
    EXPECT_EQ(take(), calls({"one: stop", "one: source not an address", "one: play"}));
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
}

TEST_F(FormVX3Test, RepeatReloadsTheSelectedFileAndNativeSizeSwitches)
{
    FormVX3 &p = player();
    p.File1.setListIndex(2);
    take();
    p.Check1.setValue(1);
    EXPECT_EQ(take(), calls({"one: source c.png", "one: repeat on"}));
    EXPECT_TRUE(p.RealAudio1.Repeat());
    p.Check1.setValue(0);
    EXPECT_EQ(take(), calls({"one: source c.png", "one: repeat off"}));
    p.Check2.setValue(1);
    EXPECT_EQ(take(), calls({"one: native size on"}));
    EXPECT_TRUE(p.RealAudio1.videoArea()->nativeSize());
    p.Check2.setValue(0);
    EXPECT_EQ(take(), calls({"one: native size off"}));
}

TEST_F(FormVX3Test, SwitchesStopOnlyWithASourceAndRecordThePlayerLeftFor)
{
    joinOtherPlayers({{suite::players::Player::First, "first"}, {suite::players::Player::Second, "second"}});
    FormVX3 &p = player();
    p.Show();
    p.Command2_Click();
    EXPECT_TRUE(take().isEmpty()) << "no source: no stop";
    EXPECT_FALSE(p.Visible());
    EXPECT_EQ(shownPlayers, QStringList{QStringLiteral("second")});
    EXPECT_EQ(stored(keys::FormKind, keys::KindSection), QStringLiteral("2"));
    p.Show();
    p.File1.setListIndex(0);
    take();
    p.Command3_Click();
    EXPECT_EQ(take(), calls({"one: stop"}));
    EXPECT_EQ(shownPlayers, (QStringList{QStringLiteral("second"), QStringLiteral("first")}));
    EXPECT_EQ(stored(keys::FormKind, keys::KindSection), QStringLiteral("1"));
}

TEST_F(FormVX3Test, CloseHidesAndStoresUnloadStoresToo)
{
    FormVX3 &p = player();
    p.Show();
    p.Move(3000, 2000);
    p.Command1_Click();
    EXPECT_EQ(take(), calls({"one: stop"})) << "close stops once without a source";
    EXPECT_FALSE(p.Visible());
    EXPECT_TRUE(isLoaded<FormVX3>());
    EXPECT_EQ(stored(keys::FormKind, keys::KindSection), QStringLiteral("3"));
    EXPECT_EQ(stored(keys::Dir), folder);
    EXPECT_EQ(stored(keys::Drive), p.Drive1.Drive());
    EXPECT_EQ(stored(keys::FormLeft), QStringLiteral("3000"));
    p.File1.setListIndex(0);
    take();
    p.Command1_Click();
    EXPECT_EQ(take(), calls({"one: stop", "one: stop"}));
    suite::SaveSetting(keys::KindSection, keys::FormKind, QStringLiteral("1"));
    suite::DeleteSection(keys::Section);
    ASSERT_TRUE(p.Unload());
    EXPECT_EQ(stored(keys::FormKind, keys::KindSection), QStringLiteral("3"));
    EXPECT_EQ(stored(keys::Dir), folder);
    EXPECT_EQ(mixer->openHandles, 0);
}

TEST_F(FormVX3Test, PropertiesViewerAndSettingsButtons)
{
    FormVX3 &p = player();
    p.File1.setListIndex(1);
    p.Command8_Click();
    EXPECT_EQ(vxtest::shell().properties, QStringList{path("b.rm")});
    take();
    p.Show();
    p.Command5_Click();
    EXPECT_TRUE(p.Visible());
    EXPECT_TRUE(instance<Form35>().Visible());
    EXPECT_TRUE(instance<Form36>().Visible());
    EXPECT_EQ(take(), calls({"one: stop", "two: source b.rm", "two: play"}));
    QString modal;
    vxtest::dialogs().modalScripts.push_back([&modal](Form &f) { modal = f.Name(); });
    p.Command6_Click();
    EXPECT_EQ(modal, QStringLiteral("Form12"));
}


} // namespace
