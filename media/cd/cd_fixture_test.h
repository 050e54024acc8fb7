#pragma once
// The CD player's tests: the real command interpreter over the fake drive,
// behind a log that records every command and can put in garbage replies or
// failures; the players' fake mixer; a folder with pictures.
#include "form16.h"
#include "form8.h"
#include "keys.h"

#include "platform/media/cdaudio.h"
#include "platform/media/cdfake.h"
#include "suite/settings.h"
#include "testing/harness.h"
#include "testing/mediafakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class CdLog : public vx::MediaCommandDriver {
public:
    std::unique_ptr<vx::MediaCommandDriver> real = vx::makeMediaCommandInterpreter();
    QStringList commands;
    // Put in by command, words in lower case.
    std::map<QString, QString> replies;
    std::map<QString, int> errors;
    int send(const QString &command, QString &reply) override
    {
        commands << command;
        const QString key = command.trimmed().toLower();
        if (const auto e = errors.find(key); e != errors.end()) {
            reply.clear();
            return e->second;
        }
        const int r = real->send(command, reply);
        if (const auto it = replies.find(key); it != replies.end())
            reply = it->second;
        return r;
    }
    QStringList take()
    {
        QStringList c = commands;
        commands.clear();
        return c;
    }
};

class CdTest : public vxtest::GuiTest {
protected:
    static constexpr int kGenerousCallMs = 120000;
    void SetUp() override
    {
        GuiTest::SetUp();
        auto system = std::make_unique<vx::cd::FakeCdSystem>();
        drive = system.get();
        disc = system->medium;
        vx::cd::setCdDriveSystem(std::move(system));
        // The fake drive answers at once: only a starved machine could make a
        // call outlast the drive's usual bound, and its timeout message would
        // then stand among the window's own.
        usualCallMs_ = vx::cd::CdAudioDevice::callTimeout();
        vx::cd::CdAudioDevice::setCallTimeout(kGenerousCallMs);
        auto log = std::make_unique<CdLog>();
        this->log = log.get();
        vx::setMediaCommandDriver(std::move(log));
        auto mixer = std::make_unique<FakeMixer>();
        this->mixer = mixer.get();
        vx::setMixerDriver(std::move(mixer));
        folder = QDir::cleanPath(dir_.path());
        vxtest::writeTestImage(path("p.bmp"), 30, 20, Qt::blue);
        vxtest::writeTestImage(path("q.jpg"), 20, 30, Qt::green);
        QFile bad(path("r.gif"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write("not a picture");
    }
    void TearDown() override
    {
        vx::FormRegistry::reset();
        vx::setMediaCommandDriver(nullptr);
        vx::setMixerDriver(nullptr);
        vx::cd::setCdDriveSystem(nullptr);
        vx::cd::CdAudioDevice::setCallTimeout(usualCallMs_);
        GuiTest::TearDown();
    }
    QString path(const char *name) const { return folder + QLatin1Char('/') + QLatin1String(name); }
    // The player loaded, its load's commands forgotten.
    Form8 &player()
    {
        Form8 &p = vx::instance<Form8>();
        log->commands.clear();
        return p;
    }
    static void store(QLatin1StringView key, const QString &value)
    {
        suite::SaveSetting(cdplayer::keys::Section, key, value);
    }
    static QString stored(QLatin1StringView key)
    {
        return suite::GetSetting(cdplayer::keys::Section, key, QStringLiteral("-"));
    }
    static QStringList messages() { return vxtest::dialogs().messageTexts(); }
    // The device's position ("TT:MM:SS:FF" in tracks), asked past the log.
    QString position() const
    {
        QString reply;
        log->real->send(QStringLiteral("status cd position"), reply);
        return reply;
    }
    // The commands of a refresh that finds the loaded disc.
    static QStringList refresh()
    {
        return {QStringLiteral("status cd media present"), QStringLiteral("status cd position"),
                QStringLiteral("status cd mode")};
    }

    vx::cd::FakeCdSystem *drive = nullptr;
    std::shared_ptr<vx::cd::FakeCdMedium> disc;
    CdLog *log = nullptr;
    FakeMixer *mixer = nullptr;
    QString folder;

private:
    QTemporaryDir dir_;
    int usualCallMs_ = 0;
};
