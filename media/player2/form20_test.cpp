#include "player2_fixture_test.h"

#include "tags/editor/form31.h"
#include "tags/id3/fixture_test.h"
#include "platform/forms/colors.h"

using namespace vx;
namespace keys = player2::keys;

namespace {

using Form20Test = Player2Test;

TEST_F(Form20Test, LoadsWithItsDesignAndTheDefaultsOfAnEmptyStore)
{
    Form20 &p = instance<Form20>();
    EXPECT_EQ(p.Caption(), QStringLiteral("Multimedia Rondix Ⅱ Version3.5"));
    EXPECT_FALSE(p.Visible());
    EXPECT_EQ(p.Left(), 1500);
    EXPECT_EQ(p.Top(), 1500);
    for (auto *c : {static_cast<QWidget *>(&p.Drive1), static_cast<QWidget *>(&p.Dir1), static_cast<QWidget *>(&p.File1)})
        EXPECT_EQ(c->palette().color(QPalette::Base).isValid(), true);
    EXPECT_EQ(p.File1.BackColor(), 0);
    EXPECT_EQ(p.Drive1.ForeColor(), syscolor::WindowBackground);
    EXPECT_EQ(p.Label2.BackColor(), 0);
    EXPECT_EQ(p.Label2.ForeColor(), syscolor::WindowBackground);
    EXPECT_EQ(p.Label1.BackColor(), syscolor::WindowBackground);
    EXPECT_EQ(p.Label1.ForeColor(), 0);
    EXPECT_EQ(p.Text2.BackColor(), 0);
    EXPECT_EQ(p.Text2.ForeColor(), syscolor::WindowBackground);
    EXPECT_EQ(p.MousePointer(), 99);
    EXPECT_EQ(p.File1.Pattern(), QStringLiteral("*.mid;*.wav;*.wma;*wax;*.avi;*.asf;*.asx;*.rmi;*.mp3;*.mpg;*.mpe;"
                                                 "*.mpeg;*.qt;*.mpa;*.mp2;*.m1v;*.snd;*.au;*.aifc;*.aiff;*.aif;*.mov;"
                                                 "*.dat;*.cda;*.vod"));
    EXPECT_FALSE(p.Command7.isEnabled());
    EXPECT_FALSE(p.Command9.isEnabled());
    EXPECT_FALSE(p.Command2.isEnabled()) << "no third player yet";
    EXPECT_EQ(p.Command5.ToolTipText(), QStringLiteral("Minivox WMP for Multimedia Rondix Ⅱを起動します"));
    EXPECT_EQ(p.Label1.ToolTipText(), QStringLiteral("ボリュームをリフレッシュ！"));
    EXPECT_EQ(p.Check2.ToolTipText(), QStringLiteral("1回再生したら停止します"));
    EXPECT_EQ(p.Command1.ToolTipText(), QStringLiteral("Multimedia Rondix Ⅱを終わります"));
    // The stored speed goes into the settings window, loaded hidden.
    ASSERT_TRUE(isLoaded<Form21>());
    EXPECT_FALSE(instance<Form21>().Visible());
    EXPECT_EQ(instance<Form21>().Combo1.Text(), QStringLiteral("1"));
    // Volume 32769 of 0..65535: the box counts tenths.
    EXPECT_EQ(p.Text1.Text(), QStringLiteral("3,276"));
}

TEST_F(Form20Test, NoMixerOrNoSkinCostsOnlyThatPartOfTheLoad)
{
    mixer->openResult = mixer::NoDriver;
    store(keys::FormLeft, QStringLiteral("2400"));
    store(keys::BackColor, QStringLiteral("255"));
    store(keys::PlaySpeed, QStringLiteral("1.5"));
    store(keys::Dir, folder);
    store(keys::Drive, QStringLiteral("/"));
    store(keys::Skin, path("no-such-skin.jpg"));
    Form20 &p = instance<Form20>();
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              QStringList{QStringLiteral("[6] 利用可能なミキサーデバイスがありません。")});
    EXPECT_EQ(vxtest::dialogs().messages[0].icon(), vbExclamation);
    EXPECT_EQ(p.Left(), 2400);
    EXPECT_EQ(p.File1.BackColor(), 255);
    EXPECT_EQ(instance<Form21>().Combo1.Text(), QStringLiteral("1.5"));
    EXPECT_EQ(p.Dir1.Path(), folder);
    EXPECT_EQ(p.File1.ListCount(), 3);
    // Closing now keeps the user's place and folder.
    p.Command1_Click();
    EXPECT_EQ(stored(keys::FormLeft), QStringLiteral("2400"));
    EXPECT_EQ(stored(keys::Dir), folder);
}

TEST_F(Form20Test, StoredFolderIsRestoredOnlyWhenItIsAnExistingAbsolutePath)
{
    const QString start = instance<Form20>().Dir1.Path();
    FormRegistry::reset();
    for (const QString &dir : {QStringLiteral("C:\\Music"), QStringLiteral("music/here"), path("gone")}) {
        store(keys::Dir, dir);
        EXPECT_EQ(instance<Form20>().Dir1.Path(), start) << dir.toStdString();
        FormRegistry::reset();
    }
    store(keys::Dir, folder);
    store(keys::Drive, QStringLiteral("c:"));
    EXPECT_EQ(instance<Form20>().Dir1.Path(), folder) << "a stored drive of another system fails quietly";
}

TEST_F(Form20Test, CloseHidesStoresAndStopsOnlyAClipThatWasLoaded)
{
    Form20 &p = player();
    p.Show();
    p.Move(3000, 2100);
    p.Command1_Click();
    EXPECT_FALSE(p.Visible());
    EXPECT_TRUE(clips.take().isEmpty()) << "nothing loaded, nothing stopped";
    EXPECT_EQ(stored(keys::FormKind, keys::KindSection), QStringLiteral("2"));
    EXPECT_EQ(stored(keys::Dir), folder);
    EXPECT_EQ(stored(keys::Drive), p.Drive1.Drive());
    EXPECT_EQ(stored(keys::FormLeft), QStringLiteral("3000"));
    EXPECT_EQ(stored(keys::FormTop), QStringLiteral("2100"));
    p.File1.setListIndex(0);
    p.Show();
    p.Command5_Click();
    ASSERT_TRUE(isShown<Form34>());
    clips.log.clear();
    p.Command1_Click();
    EXPECT_EQ(clips.take(), calls({"Form20: stop"}));
    EXPECT_FALSE(isLoaded<Form34>()) << "the mini player closes with it";
    EXPECT_TRUE(p.MediaPlayer1.Visible());
}

TEST_F(Form20Test, SwitchToTheFirstPlayerHidesShowsItAndRecordsTheChoice)
{
    joinOtherPlayers({{suite::players::Player::First, "first"}});
    Form20 &p = player();
    p.Show();
    p.Command4_Click();
    EXPECT_FALSE(p.Visible());
    EXPECT_EQ(shownPlayers, QStringList{QStringLiteral("first")});
    EXPECT_TRUE(clips.take().isEmpty());
    EXPECT_EQ(stored(keys::FormKind, keys::KindSection), QStringLiteral("1"));
    EXPECT_EQ(stored(keys::Dir), QStringLiteral("-")) << "the switch stores no folder";
    // And back through the players' table, as the other players' buttons come.
    suite::players::show(suite::players::Player::Second);
    EXPECT_TRUE(p.Visible());
}

TEST_F(Form20Test, UnloadStopsClosesTheMiniPlayerAndStores)
{
    Form20 &p = player();
    p.File1.setListIndex(1);
    p.Command5_Click();
    clips.log.clear();
    ASSERT_TRUE(p.Unload());
    EXPECT_EQ(clips.take(), calls({"Form20: stop"}));
    EXPECT_FALSE(isLoaded<Form34>());
    EXPECT_EQ(mixer->openHandles, 0);
    EXPECT_EQ(stored(keys::FormKind, keys::KindSection), QStringLiteral("2"));
    EXPECT_EQ(stored(keys::Dir), folder);
}

TEST_F(Form20Test, ChoosingAnEntryPlaysItAndShowsTitleAndAuthorOrTheName)
{
    clips.tags[QStringLiteral("a.wav")] = {QStringLiteral("Song"), QStringLiteral("Singer")};
    clips.tags[QStringLiteral("b.mp3")] = {QString(), QStringLiteral("Singer")};
    Form20 &p = player();
    p.File1.setListIndex(0);
    EXPECT_EQ(clips.take(), calls({"Form20: open a.wav", "Form20: play", "Form20: play"}));
    EXPECT_EQ(p.Text2.Text(), QStringLiteral("Song / Singer"));
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("1/3"));
    EXPECT_FALSE(p.Command9.isEnabled());
    EXPECT_TRUE(p.Command7.isEnabled());
    p.File1.setListIndex(1);
    EXPECT_EQ(p.Text2.Text(), QStringLiteral(" / Singer"));
    EXPECT_TRUE(p.Command9.isEnabled());
    p.File1.setListIndex(2);
    EXPECT_EQ(p.Text2.Text(), QStringLiteral("c.mid"));
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("3/3"));
    EXPECT_FALSE(p.Command7.isEnabled());
    // A file the player refuses: silence, the box stays empty.
    clips.refused.insert(QStringLiteral("a.wav"));
    clips.log.clear();
    p.File1.setListIndex(0);
    EXPECT_EQ(clips.take(), calls({"Form20: open a.wav"}));
    EXPECT_EQ(p.Text2.Text(), QString());
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
}

TEST_F(Form20Test, PlaySpeedIsTheSettingsBoxAtEachUseWithAFallbackToNormal)
{
    Form20 &p = player();
    Form21 &s = instance<Form21>();
    s.Combo1.setText(QStringLiteral("1.5"));
    p.File1.setListIndex(0);
    EXPECT_EQ(clips.take(), calls({"Form20: open a.wav", "Form20: rate 1.5", "Form20: play", "Form20: play"}));
    EXPECT_EQ(p.MediaPlayer1.Rate(), 1.5);
    // Each state change applies the box again.
    s.Combo1.setText(QStringLiteral("0.5"));
    p.MediaPlayer1.Stop();
    EXPECT_EQ(clips.take(), calls({"Form20: stop", "Form20: rate 0.5"}));
    for (const char *text : {"fast", "0", "-2", "5.1", "0.09", ""}) {
        s.Combo1.setText(QStringLiteral("2"));
        p.MediaPlayer1.Play();
        s.Combo1.setText(QString::fromUtf8(text));
        p.MediaPlayer1.Stop();
        EXPECT_EQ(p.MediaPlayer1.Rate(), 1.0) << text;
    }
    for (const char *text : {"0.1", "5.0", "5"}) {
        s.Combo1.setText(QString::fromUtf8(text));
        EXPECT_EQ(player2::PlaySpeed(), QString::fromUtf8(text).toDouble()) << text;
    }
}

TEST_F(Form20Test, NextAndPreviousStepAndReloadAndDoNothingOutsideTheList)
{
    Form20 &p = player();
    p.File1.setListIndex(0);
    clips.log.clear();
    p.Command7_Click();
    EXPECT_EQ(clips.take(), calls({"Form20: open b.mp3", "Form20: play", "Form20: play", "Form20: stop",
                                   "Form20: open b.mp3", "Form20: play", "Form20: play"}));
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("2/3"));
    EXPECT_TRUE(p.Command7.isEnabled());
    p.Command7_Click();
    EXPECT_EQ(clips.take(), calls({"Form20: open c.mid", "Form20: play", "Form20: play"}));
    EXPECT_FALSE(p.Command7.isEnabled());
    p.Command9_Click();
    EXPECT_EQ(clips.take().size(), 7);
    EXPECT_TRUE(p.Command9.isEnabled());
    p.Command9_Click();
    EXPECT_EQ(clips.take(), calls({"Form20: open a.wav", "Form20: play", "Form20: play"}));
    EXPECT_FALSE(p.Command9.isEnabled());
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("1/3"));
    // Buttons left enabled from a folder that had entries.
    QDir(folder).mkdir(QStringLiteral("empty"));
    p.Command9.setEnabled(true);
    p.Command7.setEnabled(true);
    p.Dir1.setPath(folder + QStringLiteral("/empty"));
    p.Command9_Click();
    p.Command7_Click();
    EXPECT_TRUE(clips.take().isEmpty());
    EXPECT_EQ(p.File1.ListIndex(), -1);
}

TEST_F(Form20Test, DroppedFilesPlayInTurnAndAFailureSkipsTheRest)
{
    Form20 &p = player();
    p.File1_OLEDragDrop({path("a.wav"), path("b.mp3"), path("c.mid")});
    // Nothing was loaded to stop before the first.
    EXPECT_EQ(clips.take(), calls({"Form20: open a.wav", "Form20: play", "Form20: play",
                                   "Form20: stop", "Form20: open b.mp3", "Form20: play", "Form20: play",
                                   "Form20: stop", "Form20: open c.mid", "Form20: play", "Form20: play"}));
    EXPECT_EQ(p.Text2.Text(), QStringLiteral("c.mid"));
    EXPECT_EQ(p.File1.ListIndex(), -1) << "the list stays";
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    p.File1_OLEDragDrop({path("a.wav"), path("missing.wav"), path("c.mid")});
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              QStringList{QStringLiteral("対応しているメディアファイルをドロップしてください")});
    EXPECT_FALSE(clips.take().contains(QStringLiteral("Form20: open c.mid")));
}

TEST_F(Form20Test, ModeBoxesExcludeEachOther)
{
    Form20 &p = player();
    p.Check2.setValue(1);
    EXPECT_FALSE(p.Check1.isEnabled());
    EXPECT_FALSE(p.Check3.isEnabled());
    p.Check2.setValue(0);
    EXPECT_TRUE(p.Check1.isEnabled());
    EXPECT_TRUE(p.Check3.isEnabled());
    p.Check3.setValue(1);
    EXPECT_FALSE(p.Check1.isEnabled());
    EXPECT_FALSE(p.Check2.isEnabled());
}

TEST_F(Form20Test, EndOfClipWalksTheListThenStops)
{
    Form20 &p = player();
    p.File1.setListIndex(0);
    clips.log.clear();
    finish(p.MediaPlayer1, QStringLiteral("Form20"));
    EXPECT_EQ(clips.take(), calls({"Form20: open b.mp3", "Form20: play", "Form20: play", "Form20: open b.mp3",
                                   "Form20: play", "Form20: play"}));
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("2/3"));
    finish(p.MediaPlayer1, QStringLiteral("Form20"));
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("3/3"));
    EXPECT_FALSE(p.Command7.isEnabled());
    clips.log.clear();
    finish(p.MediaPlayer1, QStringLiteral("Form20"));
    EXPECT_TRUE(clips.take().isEmpty()) << "the last clip ended: nothing more";
    EXPECT_EQ(p.MediaPlayer1.PlayState(), MediaPlayer::Stopped);
}

TEST_F(Form20Test, RepeatReplaysTheListEntryAndOnceStops)
{
    Form20 &p = player();
    p.File1.setListIndex(1);
    p.Check1.setValue(1);
    // A dropped file in between: repeat goes back to the list's entry.
    p.File1_OLEDragDrop({path("c.mid")});
    clips.log.clear();
    finish(p.MediaPlayer1, QStringLiteral("Form20"));
    EXPECT_EQ(clips.take(), calls({"Form20: open b.mp3", "Form20: play", "Form20: play"}));
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("2/3"));
    p.Check1.setValue(0);
    p.Check2.setValue(1);
    finish(p.MediaPlayer1, QStringLiteral("Form20"));
    EXPECT_EQ(clips.take(), calls({"Form20: stop"}));
}

TEST_F(Form20Test, RandomDrawsAnotherEntryAndReplaysAnOnlyOne)
{
    Form20 &p = player();
    p.Check3.setValue(1);
    p.File1.setListIndex(0);
    QList<int> drawn;
    for (int i = 0; i < 12; ++i) {
        const int before = p.File1.ListIndex();
        finish(p.MediaPlayer1, QStringLiteral("Form20"));
        EXPECT_NE(p.File1.ListIndex(), before);
        drawn << p.File1.ListIndex();
    }
    EXPECT_TRUE(drawn.contains(0) && drawn.contains(1) && drawn.contains(2));
    // A folder of one entry: that entry plays again, and the step ends.
    QDir(folder).mkdir(QStringLiteral("one"));
    QFile one(folder + QStringLiteral("/one/x.wav"));
    ASSERT_TRUE(one.open(QIODevice::WriteOnly));
    one.close();
    p.Dir1.setPath(folder + QStringLiteral("/one"));
    p.File1.setListIndex(0);
    clips.log.clear();
    finish(p.MediaPlayer1, QStringLiteral("Form20"));
    EXPECT_EQ(clips.take(), calls({"Form20: open x.wav", "Form20: play", "Form20: play"}));
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("1/1"));
    // An empty folder: nothing to draw.
    QDir(folder).mkdir(QStringLiteral("none"));
    p.Dir1.setPath(folder + QStringLiteral("/none"));
    finish(p.MediaPlayer1, QStringLiteral("Form20"));
    EXPECT_TRUE(clips.take().isEmpty());
    EXPECT_EQ(p.drawOther(-1, 3) >= 0, true);
    EXPECT_EQ(p.drawOther(0, 1), 0);
    EXPECT_EQ(p.drawOther(-1, 0), -1);
}

TEST_F(Form20Test, ButtonsOpenSettingsPropertiesAndRefreshTheLists)
{
    Form20 &p = player();
    p.File1.setListIndex(1);
    p.Command8_Click();
    EXPECT_EQ(vxtest::shell().properties, QStringList{path("b.mp3")});
    bool shownModal = false;
    vxtest::dialogs().modalScripts.push_back([&shownModal](Form &f) { shownModal = f.Name() == QLatin1String("Form21"); });
    p.Command6_Click();
    EXPECT_TRUE(shownModal);
    QFile added(path("d.wav"));
    ASSERT_TRUE(added.open(QIODevice::WriteOnly));
    added.close();
    p.Label2_Click();
    EXPECT_EQ(p.File1.ListCount(), 4);
    p.Label1_Click();
    EXPECT_EQ(mixer->openHandles, 1) << "the handle held before is given back";
    p.Text1.setText(QStringLiteral("2000"));
    EXPECT_EQ(mixer->writes.back(), 20000u);
    const size_t writes = mixer->writes.size();
    p.Text1.setText(QStringLiteral("loud"));
    EXPECT_EQ(mixer->writes.size(), writes);
}

TEST_F(Form20Test, TagButtonOpensTheEditorOnTheEntryWhoseSaveMovesTheListOn)
{
    {
        QFile f(path("b.mp3"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(id3test::mpegFrames(6));
    }
    Form20 &p = player();
    p.File1.setListIndex(1);
    p.Command3_Click();
    ASSERT_TRUE(isShown<Form31>());
    Form31 &t = instance<Form31>();
    EXPECT_EQ(t.CurrentFile, path("b.mp3"));
    t.VersionCombo.setListIndex(0);
    t.TitleText.setText(QStringLiteral("New"));
    clips.log.clear();
    t.Command2_Click();
    EXPECT_FALSE(isLoaded<Form31>());
    EXPECT_EQ(p.File1.ListIndex(), 2);
    EXPECT_FALSE(p.Command7.isEnabled()) << "the last entry";
    EXPECT_EQ(clips.take(), calls({"Form20: open c.mid", "Form20: play", "Form20: play"}));
    QFile f(path("b.mp3"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("New"));
}

} // namespace
