// Form8 over the fake drive (through the real interpreter, with a command log
// that can garble replies and fail commands), and one test with the real
// interpreter playing a clip beside it.
#include "cd_fixture_test.h"

#include "platform/media/cdimages_test.h"
#include "platform/media/fixtures_test.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QThread>

#include <cstdio>

using namespace vx;
namespace keys = cdplayer::keys;

namespace {

using Form8Test = CdTest;

QStringList lengthsOf(int n)
{
    QStringList l;
    for (int i = 1; i <= n; ++i)
        l << QStringLiteral("status cd length track %1").arg(i);
    return l;
}

// Fake drive: the load opens the device in tmsf and refreshes nothing; the
// first refresh loads a twelve-track disc, enables the buttons and seeks to 1.
TEST_F(Form8Test, LoadOpensTheDeviceAndTheFirstRefreshLoadsATwelveTrackDisc)
{
    std::vector<std::pair<qint32, bool>> tracks;
    for (int i = 1; i <= 12; ++i)
        tracks.push_back({75 * 60 + i, true});
    disc->insert(tracks);
    Form8 &p = instance<Form8>();
    EXPECT_EQ(log->take(), (QStringList{QStringLiteral("open cdaudio alias cd wait shareable"),
                                        QStringLiteral("set cd time format tmsf wait")}));
    EXPECT_EQ(p.Caption(), QStringLiteral("AudioCD Rondix Version3.0β"));
    EXPECT_EQ(p.SkipSeconds, 5);
    EXPECT_FALSE(p.MediaLoaded);
    for (CommandButton *b : p.discButtons())
        EXPECT_TRUE(b->isEnabled()) << b->Name().toStdString();
    EXPECT_TRUE(p.timeWindow.Text().isEmpty());
    EXPECT_TRUE(p.totalplay.Caption().isEmpty());
    EXPECT_TRUE(messages().isEmpty());

    p.Command4_Click();
    QStringList expected{QStringLiteral("pause cd"), QStringLiteral("status cd media present"), identity(),
                         QStringLiteral("status cd number of tracks wait"), QStringLiteral("status cd length wait")};
    expected << lengthsOf(12) << QStringLiteral("seek cd to 1") << QStringLiteral("status cd position")
             << QStringLiteral("status cd mode");
    EXPECT_EQ(log->take(), expected);
    EXPECT_TRUE(p.MediaLoaded);
    EXPECT_EQ(p.NumTracks, 12);
    EXPECT_EQ(p.totalplay.Caption(), QStringLiteral("Tracks: 12  Total time: 12:01:03"));
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[01] 00:00"));
    EXPECT_EQ(p.tracktime.Caption(), QStringLiteral("Track time: 01:00:01"));
    EXPECT_EQ(p.TrackLengths.value(11), QStringLiteral("01:00:12"));

    // Next while stopped seeks; the displays follow at the refresh.
    p.Command9_Click();
    EXPECT_EQ(log->take(), (QStringList{identity(), QStringLiteral("seek cd to 2")} + refresh()));
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[02] 00:00"));
    EXPECT_EQ(p.tracktime.Caption(), QStringLiteral("Track time: 01:00:02"));
    EXPECT_TRUE(messages().isEmpty());

    // Assistive technology reads the two displays as what they show.
    for (Label *display : {&p.totalplay, &p.tracktime}) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(display);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(QAccessible::Name), display->Caption());
        EXPECT_FALSE(a->text(QAccessible::Description).isEmpty()) << "what it shows is described";
    }
}

// Fake drive: play does not refresh; previous at 00:00 of track 1 wraps to the
// last track; next on the last track seeks to 1 and stops even while playing.
TEST_F(Form8Test, PlayPreviousAndNextWrapAsTheButtonsSay)
{
    disc->insertAudio(3, 2);
    Form8 &p = player();
    p.Command3_Click(); // loads the disc
    ASSERT_TRUE(p.MediaLoaded);
    log->take();
    p.Command2_Click();
    EXPECT_EQ(log->take(), (QStringList{identity(), QStringLiteral("play cd")}));
    EXPECT_TRUE(p.Playing);
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[01] 00:00")) << "play does not refresh";

    p.Command8_Click(); // at 00:00 of track 1 (as last refreshed)
    EXPECT_EQ(log->take(), (QStringList{identity(), QStringLiteral("play cd from 3")} + refresh()));
    EXPECT_EQ(p.CurrentTrack, 3);
    EXPECT_TRUE(p.Playing);
    ASSERT_TRUE(vxtest::waitUntil([&] { return position() >= QLatin1String("03:00:01:00"); }));
    p.Command4_Click(); // pause, a second or more into track 3
    EXPECT_FALSE(p.Playing);
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[03] ") + position().mid(3, 5)) << "where it paused";
    log->take();
    p.Command8_Click(); // within the track: back to its start
    EXPECT_EQ(log->take(), (QStringList{identity(), QStringLiteral("seek cd to 3")} + refresh()));
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[03] 00:00"));
    p.Command2_Click();
    p.Command9_Click(); // on the last track
    EXPECT_EQ(log->take(), (QStringList{identity(), QStringLiteral("play cd"), identity(), QStringLiteral("seek cd to 1")}
                            + refresh()));
    EXPECT_FALSE(p.Playing) << "stopped at track 1";
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[01] 00:00"));
    p.Command8_Click();
    EXPECT_EQ(log->take().value(1), QStringLiteral("seek cd to 3"));

    // Stop goes back to the start of the current track.
    p.Command9_Click();
    p.Command2_Click();
    log->take();
    p.Command3_Click();
    EXPECT_EQ(log->take(),
              (QStringList{identity(), QStringLiteral("stop cd wait"), QStringLiteral("seek cd to 1")} + refresh()));
    EXPECT_FALSE(p.Playing);
    EXPECT_TRUE(messages().isEmpty());
}

// Fake drive: the skips go through milliseconds and back to tmsf on every path;
// a target before the disc is refused with no message.
TEST_F(Form8Test, SkipsMoveFiveSecondsAndAlwaysSetTmsfBack)
{
    disc->insertAudio(2, 20);
    Form8 &p = player();
    p.Command3_Click();
    log->take();
    p.Command7_Click();
    EXPECT_EQ(log->take(), (QStringList{identity(), QStringLiteral("set cd time format milliseconds"),
                                        QStringLiteral("status cd position wait"), QStringLiteral("seek cd to 5000"),
                                        QStringLiteral("set cd time format tmsf")}
                            + refresh()));
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[01] 00:05"));
    p.Command5_Click();
    p.Command5_Click(); // before the start: refused
    EXPECT_EQ(log->take().mid(0, 5), (QStringList{identity(), QStringLiteral("set cd time format milliseconds"),
                                                  QStringLiteral("status cd position wait"),
                                                  QStringLiteral("seek cd to 0"),
                                                  QStringLiteral("set cd time format tmsf")}));
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[01] 00:00"));
    EXPECT_TRUE(messages().isEmpty());

    // A position that is no number moves nothing, and tmsf still comes back.
    log->replies[QStringLiteral("status cd position wait")] = QStringLiteral("garbage");
    p.Command7_Click();
    EXPECT_EQ(log->take(), (QStringList{identity(), QStringLiteral("set cd time format milliseconds"),
                                        QStringLiteral("status cd position wait"),
                                        QStringLiteral("set cd time format tmsf")}
                            + refresh()));
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[01] 00:00"));
    QString reply;
    mciSendString(QStringLiteral("status cd position"), reply);
    EXPECT_EQ(reply, QStringLiteral("01:00:00:00")) << "the device is back in tmsf";

    // Forward while playing plays from the target.
    log->replies.clear();
    p.Command2_Click();
    log->take();
    p.Command7_Click();
    EXPECT_TRUE(log->take().value(3).startsWith(QLatin1String("play cd from 5")));
    EXPECT_TRUE(p.Playing);
}

// Fake drive: no disc, one track, a disc of 0 tracks and garbage counts load
// nothing; the refresh never disables the tray button.
TEST_F(Form8Test, NoDiscOneTrackAndGarbageCountsLoadNothing)
{
    Form8 &p = player();
    p.Command3_Click();
    EXPECT_FALSE(p.MediaLoaded);
    EXPECT_TRUE(p.Command10.isEnabled());
    EXPECT_TRUE(p.Command2.isEnabled()) << "no disc was loaded: the buttons stay";
    EXPECT_EQ(messages(), QStringList{mciGetErrorString(mci::NoDisc)} + QStringList{mciGetErrorString(mci::NoDisc)})
        << "stop and seek on an empty drive";
    vxtest::dialogs().messages.clear();

    disc->insertAudio(1, 3);
    log->take();
    p.Command4_Click();
    EXPECT_EQ(log->take(), (QStringList{QStringLiteral("pause cd"), QStringLiteral("status cd media present"),
                                        identity(), QStringLiteral("status cd number of tracks wait")}));
    EXPECT_EQ(p.NumTracks, 1);
    EXPECT_FALSE(p.MediaLoaded);
    EXPECT_TRUE(p.timeWindow.Text().isEmpty());

    for (const char *count : {"", "x7", "0", "-3"}) {
        log->replies[QStringLiteral("status cd number of tracks wait")] = QString::fromUtf8(count);
        p.Command4_Click();
        EXPECT_FALSE(p.MediaLoaded) << count;
        EXPECT_LE(p.NumTracks, 1) << count;
    }
    // Media present that is neither answer: nothing changes.
    log->replies.clear();
    log->replies[QStringLiteral("status cd media present")] = QStringLiteral("???");
    log->take();
    p.Command4_Click();
    EXPECT_EQ(log->take(), (QStringList{QStringLiteral("pause cd"), QStringLiteral("status cd media present")}));
}

// Fake drive: the tray button opens and closes; the empty drive unloads the
// disc; the next disc loads afresh, also when no refresh saw the drive empty.
TEST_F(Form8Test, DoorOpensAndClosesAndTheNextDiscLoads)
{
    disc->insertAudio(3, 2);
    Form8 &p = player();
    p.Command3_Click();
    ASSERT_TRUE(p.MediaLoaded);
    p.Command2_Click();
    log->take();
    p.Command10_Click();
    EXPECT_EQ(log->take(), (QStringList{QStringLiteral("status cd mode"), QStringLiteral("set cd door open"),
                                        QStringLiteral("status cd media present")}));
    EXPECT_TRUE(disc->trayIsOpen);
    EXPECT_FALSE(p.MediaLoaded);
    EXPECT_FALSE(p.Playing);
    for (CommandButton *b : {&p.Command2, &p.Command3, &p.Command4, &p.Command5, &p.Command7, &p.Command8, &p.Command9})
        EXPECT_FALSE(b->isEnabled()) << b->Name().toStdString();
    EXPECT_TRUE(p.Command10.isEnabled());
    EXPECT_TRUE(p.timeWindow.Text().isEmpty());
    EXPECT_TRUE(p.totalplay.Caption().isEmpty());
    EXPECT_TRUE(p.tracktime.Caption().isEmpty());

    disc->insertAudio(5, 1);
    p.Command10_Click();
    EXPECT_EQ(log->take().mid(0, 2), (QStringList{QStringLiteral("status cd mode"), QStringLiteral("set cd door closed")}));
    EXPECT_TRUE(p.MediaLoaded);
    EXPECT_EQ(p.NumTracks, 5);
    EXPECT_TRUE(p.Command2.isEnabled());
    EXPECT_EQ(p.totalplay.Caption(), QStringLiteral("Tracks: 5  Total time: 00:05:00"));

    disc->insertAudio(2, 7);
    p.Command3_Click();
    EXPECT_EQ(p.NumTracks, 2) << "another disc, another table";
    EXPECT_EQ(p.tracktime.Caption(), QStringLiteral("Track time: 00:07:00"));
    EXPECT_TRUE(messages().isEmpty());

    // A door that does not move: its error, and the refresh still runs.
    disc->doorResult = mci::NoDoor;
    log->take();
    p.Command10_Click();
    EXPECT_EQ(messages(), QStringList{mciGetErrorString(mci::NoDoor)});
    EXPECT_EQ(log->take().mid(2), refresh());
}

// Fake drive: a failing command shows its error and the handler goes on; a
// malformed position leaves the displays; a track outside the table shows no length.
TEST_F(Form8Test, FailingCommandsAndGarbagePositions)
{
    disc->insertAudio(3, 2);
    Form8 &p = player();
    p.Command3_Click();
    log->errors[QStringLiteral("pause cd")] = mci::DeviceFailed;
    log->take();
    p.Command4_Click();
    EXPECT_EQ(messages(), QStringList{mciGetErrorString(mci::DeviceFailed)});
    EXPECT_EQ(p.MciErrorCode, mci::DeviceFailed);
    EXPECT_EQ(log->take(), QStringList{QStringLiteral("pause cd")} + refresh());

    for (const char *garbage : {"", "xx:yy:zz:ff", "1", "01-00-03-00", "01:0"}) {
        log->replies[QStringLiteral("status cd position")] = QString::fromUtf8(garbage);
        p.Command4_Click();
        EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[01] 00:00")) << garbage;
        EXPECT_EQ(p.tracktime.Caption(), QStringLiteral("Track time: 00:02:00")) << garbage;
    }
    log->replies[QStringLiteral("status cd position")] = QStringLiteral("09:01:07:00\0junk");
    p.Command4_Click();
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[09] 01:07"));
    EXPECT_EQ(p.tracktime.Caption(), QStringLiteral("Track time: ")) << "no such track in the table";
    log->replies[QStringLiteral("status cd mode")] = QStringLiteral("playing and more");
    p.Command4_Click();
    EXPECT_TRUE(p.Playing) << "the first seven characters";
}

// Fake drive that cannot be opened: one error box, the load goes on without
// the device, nothing ends the program; opening the window again tries again.
TEST_F(Form8Test, NoDriveAtLoadDisablesTheDiscButtonsOnly)
{
    drive->openResult = mci::NoDrive;
    store(keys::VolColor, QStringLiteral("255"));
    store(keys::BackColor, QString::number(rgb(0, 0, 128)));
    vxtest::writeTestImage(path("skin.bmp"), 40, 30, Qt::yellow);
    store(keys::Skin, path("skin.bmp"));
    Form8 *f = nullptr;
    EXPECT_FALSE(vxtest::ends([&] { f = &instance<Form8>(); }));
    Form8 &p = *f;
    EXPECT_EQ(messages(), QStringList{QStringLiteral("CDドライブが見つかりません。")});
    EXPECT_EQ(vxtest::dialogs().messages[0].icon(), 0);
    EXPECT_EQ(log->take(), QStringList{QStringLiteral("open cdaudio alias cd wait shareable")});
    for (CommandButton *b : p.discButtons())
        EXPECT_FALSE(b->isEnabled()) << b->Name().toStdString();
    EXPECT_TRUE(p.Command1.isEnabled());
    EXPECT_TRUE(p.Command6.isEnabled());
    EXPECT_TRUE(p.Volume.UpDownWindow) << "the volume box is set up";
    EXPECT_EQ(p.Label1.BackColor(), 255);
    EXPECT_EQ(p.File2.BackColor(), rgb(0, 0, 128));
    EXPECT_FALSE(p.Image2.Picture().isNull());
    p.RefreshCdStatus();
    EXPECT_TRUE(log->take().isEmpty());
    p.Unload();
    EXPECT_TRUE(log->take().isEmpty()) << "nothing to close";

    drive->openResult = 0;
    disc->insertAudio(2, 1);
    Form8 &again = instance<Form8>();
    EXPECT_TRUE(again.Command2.isEnabled());
    again.Command3_Click();
    EXPECT_TRUE(again.MediaLoaded);
    EXPECT_EQ(messages().size(), 1);
}

// Fake drive and mixer: the close button stops the disc and keeps the alias;
// the volume box writes nothing until the label is clicked; unload closes only "cd".
TEST_F(Form8Test, CloseButtonStopsKeepsTheAliasAndUnloadClosesOnlyCd)
{
    disc->insertAudio(3, 2);
    Form8 &p = player();
    p.Show();
    p.Command3_Click();
    p.Command2_Click();
    log->take();
    mixer->writes.clear(); // the set-up's own
    p.Text1.setText(QStringLiteral("100"));
    EXPECT_EQ(mixer->writes, std::vector<quint32>{1000});
    p.Command1_Click();
    EXPECT_EQ(log->take(), QStringList{QStringLiteral("stop cd")});
    EXPECT_FALSE(p.Visible());
    EXPECT_EQ(mixer->openHandles, 0);
    QString mode;
    mciSendString(QStringLiteral("status cd mode"), mode);
    EXPECT_EQ(mode, QStringLiteral("stopped"));

    p.Show();
    EXPECT_TRUE(p.MediaLoaded);
    EXPECT_EQ(p.totalplay.Caption(), QStringLiteral("Tracks: 3  Total time: 00:06:00"));
    p.Text1.setText(QStringLiteral("200"));
    EXPECT_EQ(mixer->writes.size(), 1u) << "no volume until the label is clicked";
    p.Label1_Click();
    EXPECT_EQ(p.Text1.Width(), 855 - kUpDownWidthTwips);
    p.Text1.setText(QStringLiteral("300"));
    EXPECT_EQ(mixer->writes.back(), 3000u);
    p.Command4_Click();
    EXPECT_TRUE(messages().isEmpty());
    log->take();
    p.Unload();
    EXPECT_EQ(log->take(), QStringList{QStringLiteral("close cd")});
    EXPECT_EQ(mixer->openHandles, 0);
    // The threads of the last calls let go of it a moment after they answered.
    EXPECT_TRUE(vxtest::waitUntil([&] { return disc.use_count() == 2; })) << "the drive is released";
}

// Real interpreter: a clip playing under another alias plays on while the CD
// window unloads.
TEST_F(Form8Test, AnotherPlayerPlaysOnWhileTheCdWindowUnloads)
{
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("a.wav"));
    ASSERT_TRUE(mediatest::writeWav(wav, 3000));
    disc->insertAudio(2, 2);
    ASSERT_EQ(mciSendString(QStringLiteral("open \"%1\" alias Media").arg(wav)), 0);
    ASSERT_EQ(mciSendString(QStringLiteral("play Media")), 0);
    Form8 &p = player();
    p.Command3_Click();
    p.Command2_Click();
    p.Unload();
    QString mode;
    EXPECT_EQ(mciSendString(QStringLiteral("status Media mode"), mode), 0);
    EXPECT_EQ(mode, QStringLiteral("playing"));
    EXPECT_EQ(mciSendString(QStringLiteral("status cd mode")), mci::NotOpen);
    mciSendString(QStringLiteral("close Media"));
}

// Settings at load: a skin that is gone and a mixer that cannot open leave
// only their own part out; an undecodable pane picture leaves the pane.
TEST_F(Form8Test, MissingSkinAndMixerSkipOnlyTheirPartAndThePaneKeepsItsPicture)
{
    mixer->openResult = mixer::NoDriver;
    store(keys::Skin, path("gone.jpg"));
    store(keys::VolFontColor, QStringLiteral("65280"));
    store(keys::FontColor, QStringLiteral("not a number"));
    suite::SaveSetting(QStringLiteral("AllForm"), QStringLiteral("Pointer"), QStringLiteral("11"));
    Form8 &p = player();
    EXPECT_EQ(messages(), QStringList{QStringLiteral("[6] 利用可能なミキサーデバイスがありません。")});
    EXPECT_FALSE(p.Volume.UpDownWindow);
    EXPECT_TRUE(p.Image2.Picture().isNull());
    EXPECT_EQ(p.Label1.ForeColor(), 65280);
    EXPECT_EQ(p.Label1.BackColor(), 0);
    EXPECT_EQ(p.Text1.ForeColor(), syscolor::WindowBackground) << "not a number: the default";
    EXPECT_EQ(p.Label4.BackColor(), 0);
    EXPECT_EQ(p.MousePointer(), 11);
    p.Text1.setText(QStringLiteral("10"));
    EXPECT_TRUE(mixer->writes.empty());

    p.Dir2.setPath(folder);
    ASSERT_EQ(p.File2.ListCount(), 3);
    p.File2.setListIndex(0);
    EXPECT_EQ(p.Label4.Caption(), QStringLiteral("1/3"));
    EXPECT_EQ(p.Image1.Picture().image.width(), 30);
    p.File2.setListIndex(2); // r.gif is no picture
    EXPECT_EQ(p.Label4.Caption(), QStringLiteral("3/3"));
    EXPECT_EQ(p.Image1.Picture().image.width(), 30) << "the pane keeps what it showed";
    vxtest::writeTestImage(path("s.bmp"), 10, 10);
    p.Label4_Click();
    EXPECT_EQ(p.File2.ListCount(), 4);
}

// Real drive layer on a CUE/BIN image with a data track first: the buttons
// read the disc, play, skip and move between tracks in real time.
TEST_F(Form8Test, RealImageWithADataTrackFirst)
{
    QTemporaryDir dir;
    const QString cue = dir.filePath(QStringLiteral("disc.cue"));
    ASSERT_TRUE(cdtest::writeImage(cue, {{150, false}, {600}, {450}}));
    cd::setCdDriveSystem(nullptr);
    qputenv(cd::kDeviceVariable, QFile::encodeName(cue));
    Form8 &p = player();
    p.Command3_Click();
    qunsetenv(cd::kDeviceVariable);
    ASSERT_TRUE(p.MediaLoaded);
    EXPECT_EQ(p.totalplay.Caption(), QStringLiteral("Tracks: 3  Total time: 00:16:00"));
    EXPECT_EQ(p.TrackLengths, (QStringList{QStringLiteral("00:02:00"), QStringLiteral("00:08:00"),
                                           QStringLiteral("00:06:00")}));
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[01] 00:00"));
    p.Command2_Click(); // from the data track: the music of track 2
    p.Command7_Click(); // five seconds on, playing
    EXPECT_TRUE(p.Playing);
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[02] 00:05"));
    ASSERT_TRUE(vxtest::waitUntil([&] { return position() >= QLatin1String("02:00:06:00"); }));
    p.Command4_Click();
    ASSERT_LT(position(), QLatin1String("03")) << "paused within track 2";
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[02] ") + position().mid(3, 5));
    EXPECT_FALSE(p.Playing);
    p.Command9_Click();
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[03] 00:00"));
    EXPECT_EQ(p.tracktime.Caption(), QStringLiteral("Track time: 00:06:00"));
    p.Command5_Click(); // back over the track boundary
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[02] 00:03"));
    p.Command10_Click(); // an image has no tray
    EXPECT_EQ(messages(), QStringList{mciGetErrorString(mci::NoDoor)});
    EXPECT_TRUE(p.Command10.isEnabled());
    EXPECT_TRUE(p.MediaLoaded);
}

// Real drive layer on sheets as rippers write them: the player shows the
// tracks of the BIN the FILE line names, never more time than the data holds,
// and says why when a sheet makes no disc.
class Form8SheetTest : public Form8Test {
protected:
    void SetUp() override
    {
        Form8Test::SetUp();
        cd::setCdDriveSystem(nullptr);
    }
    void TearDown() override
    {
        qunsetenv(cd::kDeviceVariable);
        Form8Test::TearDown();
    }
    QString at(const char *name) const { return dir_.filePath(QString::fromUtf8(name)); }
    // The player loaded afresh on `sheet`, after its first refresh.
    Form8 &playerOn(const char *sheet, const QByteArray &text)
    {
        if (isLoaded<Form8>())
            instance<Form8>().Unload();
        EXPECT_TRUE(cdtest::writeBytes(at(sheet), text));
        qputenv(cd::kDeviceVariable, QFile::encodeName(at(sheet)));
        Form8 &p = player();
        p.Command3_Click();
        return p;
    }
    static QByteArray tracksAt(const char *file, std::initializer_list<const char *> starts)
    {
        QByteArray sheet = QByteArray("FILE \"") + file + "\" BINARY\r\n";
        int n = 0;
        for (const char *start : starts)
            sheet += QByteArray("  TRACK 0") + QByteArray::number(++n) + " AUDIO\r\n    INDEX 01 " + start + "\r\n";
        return sheet;
    }

private:
    QTemporaryDir dir_;
};

TEST_F(Form8SheetTest, TheBinTheSheetNamesPlaysWhateverItsName)
{
    ASSERT_TRUE(cdtest::writeBytes(at("Album Disc.bin"), cdtest::audioSectors(900)));
    ASSERT_TRUE(cdtest::writeBytes(at("Album.bin"), cdtest::audioSectors(450)));
    QByteArray sheet = "\xEF\xBB\xBF"
                       + tracksAt("Album Disc.bin", {"00:00:00", "00:02:00", "00:06:00"})
                             .replace("FILE", "file")
                             .replace("TRACK", "Track")
                             .replace("AUDIO", "audio")
                             .replace("INDEX", "index")
                       + "REM DATE 2002\r\nPERFORMER \"\xE6\xAD\x8C\"\r\n";
    Form8 &p = playerOn("Album.cue", sheet);
    ASSERT_TRUE(p.MediaLoaded);
    EXPECT_EQ(p.totalplay.Caption(), QStringLiteral("Tracks: 3  Total time: 00:12:00"));
    EXPECT_EQ(p.TrackLengths, (QStringList{QStringLiteral("00:02:00"), QStringLiteral("00:04:00"),
                                           QStringLiteral("00:06:00")}));
    EXPECT_TRUE(messages().isEmpty());

    // Two FILE lines play one after the other.
    ASSERT_TRUE(cdtest::writeBytes(at("b.bin"), cdtest::audioSectors(450)));
    sheet = tracksAt("Album Disc.bin", {"00:00:00", "00:04:00"}) + tracksAt("b.bin", {"00:00:00"}).replace("TRACK 01", "TRACK 03");
    Form8 &two = playerOn("two.cue", sheet);
    EXPECT_EQ(two.totalplay.Caption(), QStringLiteral("Tracks: 3  Total time: 00:18:00"));
    EXPECT_EQ(two.TrackLengths.value(2), QStringLiteral("00:06:00"));
    two.Command9_Click();
    two.Command9_Click();
    EXPECT_EQ(two.timeWindow.Text(), QStringLiteral("[03] 00:00"));
    EXPECT_EQ(two.tracktime.Caption(), QStringLiteral("Track time: 00:06:00"));
    two.Command2_Click();
    ASSERT_TRUE(vxtest::waitUntil([&] { return position() >= QLatin1String("03:00:00:30"); }))
        << "the second file plays";
    two.Command4_Click();
    EXPECT_TRUE(messages().isEmpty());

    // A sheet that makes no disc says why at the first button.
    Form8 &none = playerOn("gone.cue", tracksAt("Gone Disc.bin", {"00:00:00", "00:02:00"}));
    EXPECT_FALSE(none.MediaLoaded);
    EXPECT_TRUE(none.totalplay.Caption().isEmpty());
    const QString why = QStringLiteral("CUEシートが指すファイル「Gone Disc.bin」が見つかりません。");
    EXPECT_EQ(messages(), (QStringList{why, why})) << "stop and seek each say it";
}

TEST_F(Form8SheetTest, TimesAndSkipsNeverPassTheData)
{
    ASSERT_TRUE(cdtest::writeBytes(at("short.bin"), cdtest::audioSectors(900)));
    Form8 &p = playerOn("short.cue", tracksAt("short.bin", {"00:00:00", "00:04:00", "10:00:00"}));
    ASSERT_TRUE(p.MediaLoaded);
    EXPECT_EQ(p.totalplay.Caption(), QStringLiteral("Tracks: 2  Total time: 00:12:00"));
    p.Command9_Click();
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[02] 00:00"));
    EXPECT_EQ(p.tracktime.Caption(), QStringLiteral("Track time: 00:08:00"));
    p.Command7_Click();
    p.Command7_Click(); // 10 s into an 8 s track: refused, nothing moves
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[02] 00:05"));
    p.Command9_Click(); // after the last track: back to track 1
    EXPECT_EQ(p.timeWindow.Text(), QStringLiteral("[01] 00:00"));
    EXPECT_TRUE(messages().isEmpty());

    // Two tracks at one place: the empty one goes, the sound after it stays.
    Form8 &same = playerOn("same.cue", tracksAt("short.bin", {"00:00:00", "00:04:00", "00:04:00"}));
    EXPECT_EQ(same.totalplay.Caption(), QStringLiteral("Tracks: 2  Total time: 00:12:00"));
    EXPECT_EQ(same.TrackLengths.value(1), QStringLiteral("00:08:00"));
    EXPECT_TRUE(messages().isEmpty());
}

// A sheet edited while the window is open: the next button or refresh reads
// the disc it now makes; the table, the displays and the track buttons follow.
TEST_F(Form8SheetTest, AnEditedSheetIsAnotherDiscAtTheNextButton)
{
    ASSERT_TRUE(cdtest::writeBytes(at("e.bin"), cdtest::audioSectors(900)));
    const struct {
        const char *what;
        QByteArray edited;
        void (Form8::*button)();
        int tracks;
        const char *total;
        const char *shows; // after the button
        int nexts;         // then next this many times
        const char *lands;
        bool newBin = false; // the BIN put in anew beside the sheet
    } cases[] = {
        {"three tracks to two, then stop", tracksAt("e.bin", {"00:00:00", "00:06:00"}), &Form8::Command3_Click, 2,
         "Tracks: 2  Total time: 00:12:00", "[01] 00:00", 1, "[02] 00:00"},
        // One track is no table: the place within the old one goes with it.
        {"three tracks to one, then stop", tracksAt("e.bin", {"00:00:00"}), &Form8::Command3_Click, 1, "", "", 0, ""},
        {"three tracks to two, then pause", tracksAt("e.bin", {"00:00:00", "00:06:00"}), &Form8::Command4_Click, 2,
         "Tracks: 2  Total time: 00:12:00", "[01] 00:00", 1, "[02] 00:00"},
        {"three tracks to five, then next",
         tracksAt("e.bin", {"00:00:00", "00:02:00", "00:04:00", "00:06:00", "00:08:00"}), &Form8::Command9_Click, 5,
         "Tracks: 5  Total time: 00:12:00", "[02] 00:00", 3, "[05] 00:00"},
        {"three tracks to two, then five seconds on", tracksAt("e.bin", {"00:00:00", "00:06:00"}),
         &Form8::Command7_Click, 2, "Tracks: 2  Total time: 00:12:00", "[01] 00:05", 1, "[02] 00:00"},
        {"three tracks to five, then play", tracksAt("e.bin", {"00:00:00", "00:02:00", "00:04:00", "00:06:00", "00:08:00"}),
         &Form8::Command2_Click, 5, "Tracks: 5  Total time: 00:12:00", "[01] 00:00", 0, "[01] 00:00"},
        {"a time moved, the sheet's size the same, then next", tracksAt("e.bin", {"00:00:00", "00:05:00", "00:08:00"}),
         &Form8::Command9_Click, 3, "Tracks: 3  Total time: 00:12:00", "[02] 00:00", 0, "[02] 00:00"},
        {"the sheet as it was, its BIN put in anew, then next", tracksAt("e.bin", {"00:00:00", "00:04:00", "00:08:00"}),
         &Form8::Command9_Click, 3, "Tracks: 3  Total time: 00:12:00", "[02] 00:00", 0, "[02] 00:00", true},
        {"three tracks to five, then previous",
         tracksAt("e.bin", {"00:00:00", "00:02:00", "00:04:00", "00:06:00", "00:08:00"}), &Form8::Command8_Click, 5,
         "Tracks: 5  Total time: 00:12:00", "[05] 00:00", 0, "[05] 00:00"},
    };
    for (const auto &c : cases) {
        Form8 &p = playerOn("e.cue", tracksAt("e.bin", {"00:00:00", "00:04:00", "00:08:00"}));
        ASSERT_EQ(p.NumTracks, 3) << c.what;
        p.Command9_Click();
        p.Command9_Click();
        ASSERT_EQ(p.timeWindow.Text(), QStringLiteral("[03] 00:00")) << c.what;
        ASSERT_TRUE(cdtest::writeBytes(at("e.cue"), c.edited)) << c.what;
        if (c.newBin) {
            ASSERT_TRUE(cdtest::writeBytes(at("n.bin"), cdtest::audioSectors(900)));
            ASSERT_EQ(::rename(QFile::encodeName(at("n.bin")).constData(), QFile::encodeName(at("e.bin")).constData()), 0);
        }
        (p.*c.button)();
        EXPECT_EQ(messages(), QStringList()) << c.what;
        EXPECT_EQ(p.NumTracks, c.tracks) << c.what;
        EXPECT_EQ(p.TrackLengths.size(), c.tracks > 1 ? c.tracks : 0) << c.what;
        EXPECT_EQ(p.totalplay.Caption(), QString::fromUtf8(c.total)) << c.what;
        EXPECT_EQ(p.timeWindow.Text(), QString::fromUtf8(c.shows)) << c.what;
        for (int i = 0; i < c.nexts; ++i)
            p.Command9_Click();
        EXPECT_EQ(p.timeWindow.Text(), QString::fromUtf8(c.lands)) << c.what;
        EXPECT_EQ(messages(), QStringList()) << c.what;
    }
}

} // namespace
