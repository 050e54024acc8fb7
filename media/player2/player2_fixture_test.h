#pragma once
// The second player's tests: the players' fixture with player controls whose
// clips are recorded (with scripted tags, refusals and ends).
#include "connect.h"
#include "form20.h"
#include "form21.h"
#include "form34.h"
#include "keys.h"

#include "platform/media/mediaplayer.h"
#include "testing/playerfixture.h"

#include <QFileInfo>

#include <map>
#include <set>

struct ClipScript {
    QStringList log; // "Form20: open a.wav", "Form34: play", "Form20: rate 1.5", "Form20: stop"
    std::map<QString, std::pair<QString, QString>> tags; // file name -> title, author
    std::set<QString> refused;                           // file names that cannot play
    std::map<QString, double> volume;                    // control -> last gain
    QStringList take()
    {
        QStringList l = log;
        log.clear();
        return l;
    }
};

class RecordingClip : public vx::MediaPlayerDriver {
public:
    RecordingClip(ClipScript &script, const QString &control) : s_(script), who_(control.section(QLatin1Char('.'), 0, 0)) {}
    int open(const QString &path) override
    {
        file_ = QFileInfo(path).fileName();
        s_.log << who_ + QStringLiteral(": open ") + file_;
        open_ = !s_.refused.count(file_);
        return open_ ? vx::mci::NoError : vx::mci::CannotPlay;
    }
    void close() override { open_ = false; }
    int play() override
    {
        s_.log << who_ + QStringLiteral(": play");
        ended_ = false;
        return vx::mci::NoError;
    }
    int pause() override { return vx::mci::NoError; }
    int stop() override
    {
        s_.log << who_ + QStringLiteral(": stop");
        return vx::mci::NoError;
    }
    int seek(qint64) override { return vx::mci::NoError; }
    int setRate(double rate) override
    {
        s_.log << who_ + QStringLiteral(": rate ") + QString::number(rate);
        return vx::mci::NoError;
    }
    void setVolume(double gain) override { s_.volume[who_] = gain; }
    QString title() override { return s_.tags.count(file_) ? s_.tags[file_].first : QString(); }
    QString author() override { return s_.tags.count(file_) ? s_.tags[file_].second : QString(); }
    qint64 positionMs() override { return 0; }
    qint64 lengthMs() override { return 0; }
    bool takeEnded() override { return std::exchange(ended_, false); }
    void embedVideo(QWidget *) override {}
    void finish() { ended_ = true; }

private:
    ClipScript &s_;
    QString who_;
    QString file_;
    bool open_ = false;
    bool ended_ = false;
};

class Player2Test : public vxtest::PlaylistPlayerTest<Form20> {
protected:
    Player2Test() : PlaylistPlayerTest(player2::keys::Section, {"a.wav", "b.mp3", "c.mid", "notes.txt"}, player2::connect) {}
    void SetUp() override
    {
        vx::setMediaPlayerDriverFactory([this](const QString &name) {
            auto clip = std::make_unique<RecordingClip>(clips, name);
            clipsByControl[name.section(QLatin1Char('.'), 0, 0)] = clip.get();
            return clip;
        });
        PlaylistPlayerTest::SetUp();
    }
    // The player on the test folder, its calls so far forgotten.
    Form20 &player()
    {
        Form20 &p = showFolder();
        p.seedRandom(1);
        clips.log.clear();
        return p;
    }
    // The clip of a window's control reaches its end.
    void finish(vx::MediaPlayer &control, const QString &window)
    {
        clipsByControl.at(window)->finish();
        control.poll();
    }

    ClipScript clips;
    std::map<QString, RecordingClip *> clipsByControl;
};
