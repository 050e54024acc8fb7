#pragma once
// The player's tests: a recording media device with scripted replies, a fake
// mixer, and a playlist folder of three (empty) media files and two pictures.
#include "form3.h"
#include "keys.h"

#include "platform/media/mci.h"
#include "platform/media/mixer.h"
#include "suite/settings.h"
#include "testing/harness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>

class RecordingMedia : public vx::MediaCommandDriver {
public:
    QStringList commands;
    // Replies by command, words in lower case ("status media mode").
    std::map<QString, QString> replies;
    int send(const QString &command, QString &reply) override
    {
        commands << command;
        const auto it = replies.find(command.trimmed().toLower());
        reply = it == replies.end() ? QString() : it->second;
        return 0;
    }
    void playing(const char *position, const char *length)
    {
        replies[QStringLiteral("status media mode")] = QStringLiteral("playing");
        replies[QStringLiteral("status media position")] = QString::fromUtf8(position);
        replies[QStringLiteral("status media length")] = QString::fromUtf8(length);
    }
    void ended() { replies[QStringLiteral("status media mode")] = QStringLiteral("stopped"); }
    QStringList take()
    {
        QStringList c = commands;
        commands.clear();
        return c;
    }
};

class FakeMixer : public vx::MixerDriver {
public:
    int openResult = 0;
    bool hasVolume = true;
    qint32 minimum = 0;
    qint32 maximum = 65535;
    quint32 value = 32769;
    std::vector<quint32> writes;
    int openHandles = 0;
    int opens = 0;

    int open(int deviceId, quint32 &handle) override
    {
        if (openResult != 0 || deviceId != 0)
            return openResult ? openResult : vx::mixer::BadDeviceId;
        handle = quint32(++opens);
        ++openHandles;
        return 0;
    }
    int close(quint32 handle) override
    {
        if (handle == 0 || int(handle) > opens)
            return vx::mixer::InvalidHandle;
        --openHandles;
        return 0;
    }
    int lineInfo(quint32 handle, quint32 type, quint32 &line) override
    {
        if (handle == 0)
            return vx::mixer::InvalidHandle;
        if (type != vx::mixer::ComponentSpeakers)
            return vx::mixer::InvalidLine;
        line = 7;
        return 0;
    }
    int lineControl(quint32 handle, quint32 line, quint32 type, vx::MixerControl &c) override
    {
        if (handle == 0)
            return vx::mixer::InvalidHandle;
        if (!hasVolume || line != 7 || type != vx::mixer::ControlVolume)
            return vx::mixer::InvalidControl;
        c = {42, type, minimum, maximum, QStringLiteral("Master")};
        return 0;
    }
    int getValue(quint32 handle, quint32 id, quint32 &v) override
    {
        if (handle == 0 || id != 42)
            return vx::mixer::InvalidHandle;
        v = value;
        return 0;
    }
    // Every write is recorded, refused or not.
    int setValue(quint32 handle, quint32 id, quint32 v) override
    {
        writes.push_back(v);
        if (handle == 0 || id != 42)
            return vx::mixer::InvalidHandle;
        value = v;
        return 0;
    }
};

class PlayerTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        auto media = std::make_unique<RecordingMedia>();
        this->media = media.get();
        vx::setMediaCommandDriver(std::move(media));
        auto mixer = std::make_unique<FakeMixer>();
        this->mixer = mixer.get();
        vx::setMixerDriver(std::move(mixer));
        folder = QDir::cleanPath(dir_.path());
        for (const char *name : {"a.wav", "b.mp3", "c.mid", "notes.txt"}) {
            QFile f(path(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        vxtest::writeTestImage(path("p.bmp"), 30, 20, Qt::blue);
        vxtest::writeTestImage(path("q.jpg"), 20, 30, Qt::green);
        QFile bad(path("r.jpg"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write("not a picture");
    }
    void TearDown() override
    {
        vx::FormRegistry::reset();
        vx::setMediaCommandDriver(nullptr);
        vx::setMixerDriver(nullptr);
        GuiTest::TearDown();
    }
    QString path(const char *name) const { return folder + QLatin1Char('/') + QLatin1String(name); }
    // The player on the test folder, its commands so far forgotten.
    Form3 &player()
    {
        Form3 &p = vx::instance<Form3>();
        p.Dir1.setPath(folder);
        p.Dir2.setPath(folder);
        p.Timer1.setEnabled(false);
        media->commands.clear();
        return p;
    }
    static void store(QLatin1StringView key, const QString &value)
    {
        suite::SaveSetting(player::keys::Section, key, value);
    }
    static QString stored(QLatin1StringView key)
    {
        return suite::GetSetting(player::keys::Section, key, QStringLiteral("-"));
    }
    QString openOf(const char *name) const { return QStringLiteral("open \"%1\" alias Media").arg(path(name)); }
    static QString playingCaption(const QString &file) { return Form3::kPlainCaption + QStringLiteral(" ★") + file + QStringLiteral("★"); }

    RecordingMedia *media = nullptr;
    FakeMixer *mixer = nullptr;
    QString folder;

private:
    QTemporaryDir dir_;
};
