#pragma once
// The third player's tests: the players' fixture with console controls whose
// calls are recorded (with scripted refusals by file name).
#include "connect.h"
#include "form12.h"
#include "form35.h"
#include "form36.h"
#include "formvx3.h"
#include "keys.h"

#include "platform/media/consoleplayer.h"
#include "platform/media/mediaplayer.h"
#include "testing/playerfixture.h"

#include <QFileInfo>

#include <set>

// The clip under a console: opens by file name, refusing the scripted ones.
class ScriptedClip : public vx::MediaPlayerDriver {
public:
    explicit ScriptedClip(const std::set<QString> &refused) : refused_(refused) {}
    int open(const QString &path) override
    {
        return refused_.count(QFileInfo(path).fileName()) ? vx::mci::CannotPlay : vx::mci::NoError;
    }
    int openAddress(const QString &) override { return vx::mci::NoError; }
    int openProgress() override { return kOpening; }
    void close() override {}
    int play() override { return vx::mci::NoError; }
    int pause() override { return vx::mci::NoError; }
    int stop() override { return vx::mci::NoError; }
    int seek(qint64) override { return vx::mci::NoError; }
    int setRate(double) override { return vx::mci::NoError; }
    void setVolume(double) override {}
    QString title() override { return QString(); }
    QString author() override { return QString(); }
    qint64 positionMs() override { return 0; }
    qint64 lengthMs() override { return 0; }
    bool takeEnded() override { return false; }
    void embedVideo(QWidget *) override {}

private:
    const std::set<QString> &refused_;
};

class Player3Test : public vxtest::PlaylistPlayerTest<FormVX3> {
protected:
    Player3Test() : PlaylistPlayerTest(player3::keys::Section, {"a.wav", "b.rm", "c.png", "notes.txt"}, player3::connect) {}
    void SetUp() override
    {
        vx::setMediaPlayerDriverFactory([this](const QString &) { return std::make_unique<ScriptedClip>(refused); });
        // "one: source a.wav" (sources by file name, "" for none), "two: play".
        vx::ConsolePlayer::setCallRecorder([this](const QString &console, const QString &call) {
            QString line = call;
            if (call.startsWith(QLatin1String("source ")) && call.startsWith(QLatin1String("source ") + folder))
                line = QStringLiteral("source ") + call.mid(7 + folder.size() + 1);
            log << console + QStringLiteral(": ") + line;
        });
        PlaylistPlayerTest::SetUp();
    }
    void TearDown() override
    {
        PlaylistPlayerTest::TearDown();
        vx::ConsolePlayer::setCallRecorder({});
    }
    // The player on the test folder, its calls so far forgotten.
    FormVX3 &player()
    {
        FormVX3 &p = showFolder();
        log.clear();
        return p;
    }
    QStringList take() { return std::exchange(log, {}); }

    QStringList log;
    std::set<QString> refused;
};
