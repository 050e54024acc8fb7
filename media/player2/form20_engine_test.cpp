// Form20 and Form34 on the real player control: short clips written here,
// played to a null sink when there is no sound card.
#include "connect.h"
#include "form20.h"
#include "form21.h"
#include "form34.h"

#include "platform/media/fixtures_test.h"
#include "platform/media/mixer.h"
#include "tags/editor/form31.h"
#include "testing/harness.h"
#include "testing/mediafakes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

using namespace vx;

namespace {

class Form20EngineTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        setMixerDriver(std::make_unique<FakeMixer>());
        player2::connect();
        folder = QDir::cleanPath(dir_.path());
        ASSERT_TRUE(mediatest::writeWav(path("a.wav"), 600));
        ASSERT_TRUE(mediatest::writeMp3(path("b.mp3"), 300));
        ASSERT_TRUE(mediatest::writeMidi(path("c.mid"), 300));
    }
    void TearDown() override
    {
        FormRegistry::reset();
        setMixerDriver(nullptr);
        GuiTest::TearDown();
    }
    QString path(const char *name) const { return folder + QLatin1Char('/') + QLatin1String(name); }
    Form20 &player()
    {
        Form20 &p = instance<Form20>();
        p.Dir1.setPath(folder);
        p.seedRandom(3);
        // Every end of clip counted, then handled as the window does.
        auto handle = p.MediaPlayer1.EndOfStream;
        p.MediaPlayer1.EndOfStream = [this, handle](int r) {
            ++ends;
            handle(r);
        };
        return p;
    }
    // Clips play in real time beside everything else on the machine: the
    // bound is generous.
    static bool waitFor(const std::function<bool()> &done) { return vxtest::waitUntil(done, 60000); }
    int ends = 0;
    QString folder;

private:
    QTemporaryDir dir_;
};

TEST_F(Form20EngineTest, PlainPlayWalksTheWholeListAndStops)
{
    Form20 &p = player();
    p.File1.setListIndex(0);
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("1/3"));
    EXPECT_EQ(p.Text2.Text(), QStringLiteral("a.wav"));
    EXPECT_EQ(p.MediaPlayer1.PlayState(), MediaPlayer::Playing);
    ASSERT_TRUE(waitFor([&] { return ends == 3; }));
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("3/3"));
    EXPECT_EQ(p.Text2.Text(), QStringLiteral("c.mid"));
    EXPECT_EQ(p.MediaPlayer1.PlayState(), MediaPlayer::Stopped);
    EXPECT_FALSE(p.Command7.isEnabled());
}

TEST_F(Form20EngineTest, RepeatOnceAndRandomDecideAtTheEnd)
{
    Form20 &p = player();
    p.Check1.setValue(1);
    p.File1.setListIndex(1);
    ASSERT_TRUE(waitFor([&] { return ends == 2; }));
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("2/3"));
    EXPECT_EQ(p.MediaPlayer1.PlayState(), MediaPlayer::Playing);
    p.Check1.setValue(0);
    p.Check2.setValue(1);
    ASSERT_TRUE(waitFor([&] { return ends == 3; }));
    EXPECT_EQ(p.MediaPlayer1.PlayState(), MediaPlayer::Stopped);
    p.Check2.setValue(0);
    p.Check3.setValue(1);
    p.File1.setListIndex(2);
    ASSERT_TRUE(waitFor([&] { return ends == 4; }));
    EXPECT_NE(p.File1.ListIndex(), 2);
    EXPECT_EQ(p.MediaPlayer1.PlayState(), MediaPlayer::Playing);
}

TEST_F(Form20EngineTest, NextPreviousAndDropsPlayAtOnce)
{
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("other")));
    QFile broken(path("other/broken.wav"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray(200, 'x'));
    broken.close();
    Form20 &p = player();
    p.File1.setListIndex(0);
    p.Command7_Click();
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("2/3"));
    EXPECT_EQ(p.MediaPlayer1.FileName(), path("b.mp3"));
    EXPECT_EQ(p.MediaPlayer1.PlayState(), MediaPlayer::Playing);
    p.Command9_Click();
    EXPECT_EQ(p.MediaPlayer1.FileName(), path("a.wav"));
    EXPECT_FALSE(p.Command9.isEnabled());
    p.File1_OLEDragDrop({path("c.mid"), path("other/broken.wav"), path("b.mp3")});
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              QStringList{QStringLiteral("対応しているメディアファイルをドロップしてください")});
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("1/3")) << "the list stays";
}

TEST_F(Form20EngineTest, PlaySpeedOneAndAHalfShortensTheClip)
{
    Form20 &p = player();
    p.Check2.setValue(1);
    // Timed from the moment the entry plays (opening a file costs its own time).
    p.File1.setListIndex(0);
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(waitFor([&] { return ends == 1; }));
    const qint64 plain = t.elapsed();
    instance<Form21>().Combo1.setText(QStringLiteral("1.5"));
    // Away and back: the entry starts afresh at the new speed.
    p.File1.setListIndex(1);
    p.File1.setListIndex(0);
    t.restart();
    ASSERT_TRUE(waitFor([&] { return ends == 2; }));
    const qint64 fast = t.elapsed();
    EXPECT_EQ(p.MediaPlayer1.Rate(), 1.5);
    EXPECT_LT(fast, plain - 100) << plain << " ms at 1.0";
}

TEST_F(Form20EngineTest, MiniPlayerWalksTheListWhileTheWindowsPlayerStaysStopped)
{
    Form20 &p = player();
    p.File1.setListIndex(0);
    p.Command5_Click();
    Form34 &m = instance<Form34>();
    EXPECT_EQ(m.MediaPlayer1.FileName(), path("a.wav"));
    EXPECT_EQ(m.MediaPlayer1.PlayState(), MediaPlayer::Playing);
    EXPECT_NE(p.MediaPlayer1.PlayState(), MediaPlayer::Playing);
    ASSERT_TRUE(waitFor([&] { return p.Label2.Caption() == QLatin1String("3/3"); }));
    ASSERT_TRUE(waitFor([&] { return m.MediaPlayer1.PlayState() == MediaPlayer::Stopped; }));
    EXPECT_EQ(m.MediaPlayer1.FileName(), path("c.mid"));
    EXPECT_NE(p.MediaPlayer1.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(ends, 0) << "the window's own clips never ran to their end";
    m.close();
    EXPECT_TRUE(p.MediaPlayer1.Visible());
}

TEST_F(Form20EngineTest, TagEditorFromTheTagButtonSavesThePlayingEntry)
{
    Form20 &p = player();
    p.File1.setListIndex(1);
    p.Command3_Click();
    Form31 &t = instance<Form31>();
    EXPECT_EQ(t.CurrentFile, path("b.mp3"));
    t.VersionCombo.setListIndex(3);
    t.TitleText2.setText(QStringLiteral("夜明け"));
    vxtest::dialogs().answers = {vx::vbYes}; // the encoder wrote ID3v2.4, which the editor replaces
    t.Command2_Click();
    EXPECT_FALSE(isLoaded<Form31>());
    ASSERT_EQ(vxtest::dialogs().messages.size(), 1u);
    EXPECT_TRUE(vxtest::dialogs().messageTexts().at(0).contains(QStringLiteral("ID3v2.4")));
    EXPECT_EQ(p.Label2.Caption(), QStringLiteral("3/3"));
    EXPECT_EQ(p.MediaPlayer1.FileName(), path("c.mid"));
    // The rewritten file plays with its new title.
    p.File1.setListIndex(1);
    EXPECT_EQ(p.Text2.Text(), QStringLiteral("夜明け / "));
}

} // namespace

namespace {

// A damaged MP3 (frame headers and nothing in the frames) answers a click at
// once, the first time and again on the selected entry.
TEST_F(Form20EngineTest, ADamagedMp3DoesNotHoldTheWindow)
{
    QByteArray damaged;
    for (int i = 0; i < 1200; ++i)
        damaged += QByteArray("\xff\xfb\x90\x64", 4) + QByteArray(413, '\0');
    ASSERT_TRUE(mediatest::writeFile(path("t.mp3"), damaged));
    Form20 &p = player();
    ASSERT_EQ(p.File1.List(3), QStringLiteral("t.mp3"));
    for (int round = 0; round < 2; ++round) {
        QElapsedTimer t;
        t.start();
        if (round == 0)
            p.File1.setListIndex(3);
        else
            p.File1_Click();
        EXPECT_LT(t.elapsed(), 3000) << "round " << round;
        EXPECT_EQ(p.Label2.Caption(), QStringLiteral("4/4"));
    }
}

} // namespace
