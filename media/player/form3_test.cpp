#include "form3.h"
#include "player_fixture_test.h"

#include "platform/forms/colors.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QTest>

using namespace vx;
namespace keys = player::keys;

namespace {

using Form3Test = PlayerTest;

const QString kStop = QStringLiteral("stop Media");
const QString kClose = QStringLiteral("close Media");
const QString kPlay = QStringLiteral("play Media");

TEST_F(Form3Test, FirstStartShowsTheDesignLookAndTheVolume)
{
    Form3 &p = instance<Form3>();
    EXPECT_EQ(p.Caption(), QStringLiteral("Multimedia Rondix Version5.3"));
    EXPECT_EQ(p.Left(), 1500);
    EXPECT_EQ(p.Top(), 1500);
    EXPECT_EQ(p.File1.BackColor(), 0);
    EXPECT_EQ(p.File1.ForeColor(), syscolor::WindowBackground);
    EXPECT_EQ(p.Text1.BackColor(), 0);
    EXPECT_EQ(p.Label3.BackColor(), 0);
    EXPECT_EQ(p.Label5.ForeColor(), syscolor::WindowBackground);
    EXPECT_EQ(p.Label1.BackColor(), syscolor::WindowBackground);
    EXPECT_EQ(p.Label1.ForeColor(), 0);
    EXPECT_EQ(p.Label1.Caption(), QStringLiteral(" ボリューム"));
    EXPECT_EQ(p.ProgressBar1.BarColor(), rgb(0, 255, 0));
    EXPECT_EQ(p.ProgressBar1.BarBackColor(), 0);
    EXPECT_EQ(p.ProgressBar1.Scrolling(), 1);
    EXPECT_EQ(p.File1.Pattern(), QStringLiteral("*.mid;*.wav;*.mp3;*.wma;*.avi;*.cda;*.mpg;*.mov;*.mpe;*.mpeg"));
    EXPECT_FALSE(p.Command10.isEnabled()) << "the second player is not joined here";
    EXPECT_FALSE(p.Command2.isEnabled());
    EXPECT_FALSE(p.Command7.isEnabled());
    EXPECT_TRUE(p.Timer1.Enabled());
    EXPECT_EQ(p.Timer1.Interval(), 1000);
    // Volume 32769 of 0..65535: the box counts tenths.
    ASSERT_TRUE(p.Volume.UpDownWindow);
    EXPECT_EQ(p.Volume.UpDownWindow->Max(), 6553);
    EXPECT_EQ(p.Volume.UpDownWindow->Min(), 0);
    EXPECT_EQ(p.Text1.Text(), QStringLiteral("3,276"));
    EXPECT_EQ(p.Text1.Width(), 735 - kUpDownWidthTwips);
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
}

// Without a mixer, or with a skin that is gone, only that part is left out:
// the closing would otherwise save design values over the user's.
TEST_F(Form3Test, NoMixerAndNoSkinSkipOnlyTheirOwnPart)
{
    mixer->openResult = mixer::NoDriver;
    store(keys::Skin, path("gone.jpg"));
    store(keys::CrystalColor, QStringLiteral("255"));
    store(keys::BackColor, QStringLiteral("not a number"));
    store(keys::ProgressKind, QStringLiteral("0"));
    store(keys::FormLeft, QStringLiteral("3000"));
    store(keys::Dir, folder);
    Form3 &p = instance<Form3>();
    ASSERT_EQ(vxtest::dialogs().messages.size(), 1u);
    EXPECT_EQ(vxtest::dialogs().messages[0].text, QStringLiteral("[6] 利用可能なミキサーデバイスがありません。"));
    EXPECT_EQ(vxtest::dialogs().messages[0].icon(), vbExclamation);
    EXPECT_FALSE(p.Volume.UpDownWindow);
    EXPECT_EQ(p.Label3.BackColor(), 255);
    EXPECT_EQ(p.File1.BackColor(), 0) << "a stored text that is no number falls back";
    EXPECT_EQ(p.ProgressBar1.Scrolling(), 0);
    EXPECT_EQ(p.Left(), 3000);
    EXPECT_EQ(p.Dir1.Path(), folder);
    EXPECT_TRUE(p.Image2.Picture().isNull());
    p.Text1.setText(QStringLiteral("100"));
    EXPECT_TRUE(mixer->writes.empty()) << "no volume control: the box writes nothing";
}

TEST_F(Form3Test, AnEntrySendsTheOpenAndPlayOfItsQuotedFullPath)
{
    Form3 &p = player();
    ASSERT_EQ(p.File1.ListCount(), 3);
    p.File1.setListIndex(1);
    EXPECT_EQ(media->take(), (QStringList{kStop, kClose, openOf("b.mp3"), kPlay}));
    EXPECT_EQ(p.Caption(), playingCaption(path("b.mp3")));
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("2/3"));
    EXPECT_TRUE(p.Command9.isEnabled());
    EXPECT_TRUE(p.Command7.isEnabled());
    p.Command7_Click();
    EXPECT_EQ(p.File1.ListIndex(), 2);
    EXPECT_FALSE(p.Command7.isEnabled());
    EXPECT_EQ(media->take(), (QStringList{kStop, kClose, openOf("c.mid"), kPlay}));
    p.Command7_Click();
    EXPECT_TRUE(media->take().isEmpty()) << "nothing after the last entry";
    p.Command9_Click();
    p.Command9_Click();
    EXPECT_EQ(p.File1.ListIndex(), 0);
    EXPECT_FALSE(p.Command9.isEnabled());
    media->take();
    p.Command9_Click();
    EXPECT_TRUE(media->take().isEmpty());
}

TEST_F(Form3Test, NextWithNothingSelectedPlaysTheFirstAndAQuoteInANameOpensNothing)
{
    Form3 &p = player();
    p.Command9_Click();
    EXPECT_TRUE(media->take().isEmpty());
    p.Command7_Click();
    EXPECT_EQ(p.File1.ListIndex(), 0);
    QFile quoted(path("say \"hi\".wav"));
    ASSERT_TRUE(quoted.open(QIODevice::WriteOnly));
    p.Label2_Click();
    media->take();
    p.File1_OLEDragDrop({path("say \"hi\".wav")});
    EXPECT_TRUE(media->take().contains(QStringLiteral("open \"\" alias Media")))
        << "a quote in a name can never add words to the command";
}

TEST_F(Form3Test, ThePollShowsPositionAndLengthAndSurvivesOddReplies)
{
    Form3 &p = player();
    p.File1.setListIndex(0);
    media->playing("1500", "3000");
    media->take();
    p.Timer1_Timer();
    EXPECT_EQ(media->take(), (QStringList{QStringLiteral("status Media mode"), QStringLiteral("status Media position"),
                                          QStringLiteral("status Media length")}));
    EXPECT_EQ(p.Label3.Caption(), QStringLiteral("a.wav"));
    EXPECT_EQ(p.Label5.Caption(), QStringLiteral("再生時間：1500 / 3000"));
    EXPECT_EQ(p.ProgressBar1.Max(), 3000);
    EXPECT_EQ(p.ProgressBar1.Value(), 1500);
    const std::pair<const char *, const char *> odd[] = {{"", ""}, {"abc", "3000"}, {"10", "0"}, {"5000", "3000"}};
    for (const auto &[position, length] : odd) {
        SCOPED_TRACE(std::string(position) + " / " + length);
        media->playing(position, length);
        p.Timer1_Timer();
        EXPECT_GE(p.ProgressBar1.Max(), 1);
        EXPECT_LE(p.ProgressBar1.Value(), p.ProgressBar1.Max());
    }
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    p.File1_OLEDragDrop({path("c.mid")});
    p.File1.setListIndex(-1);
    media->playing("1", "2");
    p.Timer1_Timer();
    EXPECT_EQ(p.Label3.Caption(), QStringLiteral("メディアファイル"));
}

TEST_F(Form3Test, AtTheEndTheNextEntryPlaysUntilTheLast)
{
    Form3 &p = player();
    p.File1.setListIndex(1);
    media->ended();
    media->take();
    p.Timer1_Timer();
    EXPECT_EQ(p.File1.ListIndex(), 2);
    EXPECT_TRUE(media->take().contains(openOf("c.mid")));
    p.Timer1_Timer();
    EXPECT_EQ(media->take(), QStringList{QStringLiteral("status Media mode")}) << "after the last, nothing";
    EXPECT_EQ(p.Caption(), playingCaption(path("c.mid")));
}

TEST_F(Form3Test, RepeatRestartsAndOnceCloses)
{
    Form3 &p = player();
    p.File1.setListIndex(0);
    media->ended();
    p.Check1.setValue(1);
    EXPECT_FALSE(p.Check2.isEnabled());
    EXPECT_FALSE(p.Check3.isEnabled());
    media->take();
    p.Timer1_Timer();
    EXPECT_EQ(media->take(), (QStringList{QStringLiteral("status Media mode"), QStringLiteral("seek Media to start"), kPlay}));
    p.Check1.setValue(0);
    EXPECT_TRUE(p.Check2.isEnabled());
    p.Check2.setValue(1);
    EXPECT_FALSE(p.Check1.isEnabled());
    p.Timer1_Timer();
    EXPECT_EQ(media->take(), (QStringList{QStringLiteral("status Media mode"), kStop, kClose}));
    EXPECT_EQ(p.Caption(), Form3::kPlainCaption);
}

TEST_F(Form3Test, RandomPlaysAnotherEntryAndAnIdlePlayerNeverStartsByItself)
{
    Form3 &p = player();
    p.Check3.setValue(1);
    media->ended();
    p.Timer1_Timer();
    EXPECT_EQ(media->take(), QStringList{QStringLiteral("status Media mode")}) << "idle: nothing plays";
    for (quint32 seed = 0; seed < 20; ++seed) {
        p.seedRandom(seed);
        p.File1.setListIndex(1);
        p.Timer1_Timer();
        EXPECT_NE(p.File1.ListIndex(), 1) << seed;
    }
    p.Command1_Click();
    media->take();
    p.Timer1_Timer();
    p.Timer1_Timer();
    EXPECT_EQ(media->take().size(), 2) << "closed with random ticked: only the polls";
    EXPECT_EQ(p.Caption(), Form3::kPlainCaption);
}

TEST_F(Form3Test, RandomWithOneEntryPlaysItAgain)
{
    QDir(folder).remove(QStringLiteral("b.mp3"));
    QDir(folder).remove(QStringLiteral("c.mid"));
    Form3 &p = player();
    ASSERT_EQ(p.File1.ListCount(), 1);
    p.File1.setListIndex(0);
    p.Check3.setValue(1);
    media->ended();
    media->take();
    p.Timer1_Timer();
    EXPECT_EQ(media->take(), (QStringList{QStringLiteral("status Media mode"), kStop, kClose, kStop, kClose,
                                          openOf("a.wav"), kPlay}));
}

TEST_F(Form3Test, PauseResumeRestartAndStop)
{
    Form3 &p = player();
    p.File1.setListIndex(0);
    media->take();
    p.Command4.setCaption(QStringLiteral("PAUSE"));
    p.Command4_Click();
    EXPECT_EQ(p.PauseState, QStringLiteral("stop"));
    EXPECT_EQ(p.Command4.Caption(), QStringLiteral("一時停止"));
    p.Timer1_Timer();
    EXPECT_EQ(media->take(), QStringList{QStringLiteral("pause Media")}) << "no poll while paused";
    p.Command4_Click();
    EXPECT_EQ(p.PauseState, QString());
    p.Command5_Click();
    EXPECT_EQ(media->take(), (QStringList{kPlay, QStringLiteral("stop Media "), QStringLiteral("seek Media to start"), kPlay}));
    EXPECT_EQ(p.PauseState, QString());
    // Pause, stop, then an entry: the new clip is followed by the poll.
    p.Command4_Click();
    p.Command3_Click();
    EXPECT_EQ(p.Caption(), Form3::kPlainCaption);
    EXPECT_EQ(p.PauseState, QStringLiteral("stop"));
    p.File1.setListIndex(2);
    EXPECT_EQ(p.PauseState, QString());
    media->take();
    media->playing("10", "20");
    p.Timer1_Timer();
    EXPECT_EQ(p.Label5.Caption(), QStringLiteral("再生時間：10 / 20"));
}

// Pause twice, stop, then a click on the entry still selected: it plays, by
// the mouse as by an assistive tool.
TEST_F(Form3Test, AClickOnTheSelectedEntryPlaysItAfterAStop)
{
    Form3 &p = player();
    p.Show();
    const QPoint first = p.File1.visualItemRect(p.File1.item(0)).center();
    QTest::mouseClick(p.File1.viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(media->take(), (QStringList{kStop, kClose, openOf("a.wav"), kPlay}));
    p.Command4_Click();
    p.Command4_Click();
    p.Command3_Click();
    media->take();
    EXPECT_EQ(p.Caption(), Form3::kPlainCaption);
    EXPECT_EQ(p.File1.ListIndex(), 0);
    QTest::mouseClick(p.File1.viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(media->take(), (QStringList{kStop, kClose, openOf("a.wav"), kPlay}));
    EXPECT_EQ(p.Caption(), playingCaption(path("a.wav")));
    p.Command3_Click();
    media->take();
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(&p.File1);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->tableInterface(), nullptr);
    list->tableInterface()->selectRow(0);
    EXPECT_EQ(media->take(), (QStringList{kStop, kClose, openOf("a.wav"), kPlay}));
    EXPECT_EQ(p.Caption(), playingCaption(path("a.wav")));
}

TEST_F(Form3Test, DroppedFilesPlayInTurnAndTheLastStays)
{
    Form3 &p = player();
    p.Command4_Click();
    media->take();
    p.File1_OLEDragDrop({path("a.wav"), path("b.mp3"), path("c.mid")});
    const QStringList c = media->take();
    EXPECT_EQ(c.size(), 12);
    EXPECT_EQ(c.mid(8), (QStringList{kStop, kClose, openOf("c.mid"), kPlay}));
    EXPECT_EQ(p.Caption(), playingCaption(path("c.mid")));
    EXPECT_EQ(p.Label2.Caption(), QString()) << "the list's state does not change";
    EXPECT_EQ(p.File1.ListIndex(), -1);
    EXPECT_EQ(p.PauseState, QString());
    media->ended();
    p.Timer1_Timer();
    EXPECT_EQ(p.File1.ListIndex(), 0) << "then the first entry";
}

TEST_F(Form3Test, CloseHidesAndSavesAndTheCloseBoxAlsoGivesTheMixerBack)
{
    Form3 &p = player();
    p.Show();
    p.Move(4500, 3000);
    p.File1.setListIndex(0);
    media->take();
    p.Command1_Click();
    EXPECT_FALSE(p.Visible());
    EXPECT_EQ(media->take(), (QStringList{kStop, kClose}));
    EXPECT_EQ(stored(keys::FormKind), QStringLiteral("1"));
    EXPECT_EQ(stored(keys::Dir), folder);
    EXPECT_EQ(stored(keys::Drive), p.Drive1.Drive());
    EXPECT_EQ(stored(keys::FormLeft), QStringLiteral("4500"));
    EXPECT_EQ(stored(keys::FormTop), QStringLiteral("3000"));
    suite::DeleteSection(keys::Section);
    EXPECT_EQ(mixer->openHandles, 1);
    p.Unload();
    EXPECT_EQ(mixer->openHandles, 0);
    EXPECT_EQ(stored(keys::FormKind), QStringLiteral("1"));
    EXPECT_EQ(stored(keys::Dir), folder);
}

TEST_F(Form3Test, VolumeBoxWritesTenTimesItsNumberWithinTheRange)
{
    Form3 &p = player();
    mixer->writes.clear();
    const std::pair<const char *, std::vector<quint32>> cases[] = {
        {"3276", {32760}}, {"12.5", {120}}, {"13.5", {140}}, {"6,553", {65530}}, {"letters", {}},
        {"-1", {}},        {"6554", {}},    {"99999999999", {}}, {"", {}},
    };
    for (const auto &[text, writes] : cases) {
        SCOPED_TRACE(text);
        p.Text1.setText(QString::fromUtf8(text));
        EXPECT_EQ(mixer->writes, writes);
        mixer->writes.clear();
    }
}

TEST_F(Form3Test, VolumeRefreshReopensTheMixerAndWidensTheBoxFirst)
{
    Form3 &p = player();
    EXPECT_EQ(p.Text1.Width(), 735 - kUpDownWidthTwips);
    for (int i = 0; i < 2; ++i) {
        p.Label1_Click();
        EXPECT_EQ(p.Text1.Width(), 855 - kUpDownWidthTwips);
        EXPECT_EQ(mixer->openHandles, 1) << "the old handle is given back";
        ASSERT_TRUE(p.Volume.UpDownWindow);
    }
    EXPECT_EQ(p.findChildren<UpDown *>().size(), 1);
    mixer->openResult = mixer::Allocated;
    p.Label1_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts().last(), QStringLiteral("[4] 指定リソースはすでに割り当て済みです。"));
    EXPECT_FALSE(p.Volume.UpDownWindow);
    EXPECT_EQ(mixer->openHandles, 0);
    mixer->writes.clear();
    p.Text1.setText(QStringLiteral("5"));
    EXPECT_TRUE(mixer->writes.empty());
}

TEST_F(Form3Test, VolumePanelStartsAnInstalledProgramWithoutAShell)
{
    Form3 &p = player();
    p.Label1_DblClick();
    EXPECT_TRUE(vxtest::shell().started.isEmpty()) << "none installed: nothing happens";
    vxtest::shell().programs[QStringLiteral("gnome-control-center")] = QStringLiteral("/usr/bin/gnome-control-center");
    p.Label1_DblClick();
    EXPECT_EQ(vxtest::shell().started, QStringList{QStringLiteral("/usr/bin/gnome-control-center sound")});
}

TEST_F(Form3Test, PicturePaneShowsChosenAndDroppedPictures)
{
    Form3 &p = player();
    ASSERT_EQ(p.File2.ListCount(), 3);
    p.File2.setListIndex(0);
    EXPECT_EQ(p.Label4.Caption(), QStringLiteral("1/3"));
    EXPECT_EQ(p.Image1.Picture().image.size(), QSize(30, 20));
    p.File2.setListIndex(2);
    EXPECT_EQ(p.Label4.Caption(), QStringLiteral("3/3"));
    EXPECT_EQ(p.Image1.Picture().image.size(), QSize(30, 20)) << "not a picture: the pane keeps its own";
    p.File2_OLEDragDrop({path("q.jpg"), path("a.wav"), path("p.bmp")});
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{QStringLiteral("対応しているメディアファイルをドロップしてください")});
    EXPECT_EQ(p.Image1.Picture().image.size(), QSize(20, 30)) << "the rest of the drop is skipped";
    p.Command8_Click();
    EXPECT_EQ(vxtest::shell().properties, QStringList{folder + QLatin1Char('/')}) << "the folder's own with no entry";
}

} // namespace
