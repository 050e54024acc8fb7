#pragma once
// The third player's tests: console controls whose calls are recorded (with
// scripted refusals by file name), a fake mixer, a recording command
// interpreter and a playlist folder of three (empty) media files.
#include "connect.h"
#include "form12.h"
#include "form35.h"
#include "form36.h"
#include "formvx3.h"
#include "keys.h"

#include "media/player/player_fixture_test.h"
#include "platform/media/mci.h"
#include "platform/media/mediaplayer.h"
#include "platform/media/mixer.h"
#include "suite/settings.h"
#include "testing/harness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <set>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

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

class Player3Test : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        vx::setMediaPlayerDriverFactory([this](const QString &) { return std::make_unique<ScriptedClip>(refused); });
        // "one: source a.wav" (sources by file name, "" for none), "two: play".
        vx::ConsolePlayer::setCallRecorder([this](const QString &console, const QString &call) {
            QString line = call;
            if (call.startsWith(QLatin1String("source ")) && call.startsWith(QLatin1String("source ") + folder))
                line = QStringLiteral("source ") + call.mid(7 + folder.size() + 1);
            log << console + QStringLiteral(": ") + line;
        });
        auto media = std::make_unique<RecordingMedia>();
        this->media = media.get();
        vx::setMediaCommandDriver(std::move(media));
        auto mixer = std::make_unique<FakeMixer>();
        this->mixer = mixer.get();
        vx::setMixerDriver(std::move(mixer));
        player3::connect();
        folder = QDir::cleanPath(dir_.path());
        for (const char *name : {"a.wav", "b.rm", "c.png", "notes.txt"}) {
            QFile f(path(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
    }
    void TearDown() override
    {
        vx::FormRegistry::reset();
        vx::ConsolePlayer::setCallRecorder({});
        vx::setMediaPlayerDriverFactory({});
        vx::setMediaCommandDriver(nullptr);
        vx::setMixerDriver(nullptr);
        GuiTest::TearDown();
    }
    QString path(const char *name) const { return folder + QLatin1Char('/') + QLatin1String(name); }
    // The player on the test folder, its calls so far forgotten.
    FormVX3 &player()
    {
        FormVX3 &p = vx::instance<FormVX3>();
        p.Dir1.setPath(folder);
        log.clear();
        return p;
    }
    QStringList take() { return std::exchange(log, {}); }
    static void store(QLatin1StringView key, const QString &value)
    {
        suite::SaveSetting(player3::keys::Section, key, value);
    }
    static QString stored(QLatin1StringView key, QLatin1StringView section = player3::keys::Section)
    {
        return suite::GetSetting(section, key, QStringLiteral("-"));
    }
    static QStringList calls(std::initializer_list<const char *> lines)
    {
        QStringList l;
        for (const char *line : lines)
            l << QString::fromUtf8(line);
        return l;
    }

    QStringList log;
    std::set<QString> refused;
    RecordingMedia *media = nullptr;
    FakeMixer *mixer = nullptr;
    QString folder;

private:
    QTemporaryDir dir_;
};
