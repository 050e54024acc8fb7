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
#include "testing/playerfixture.h"

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

class CdTest : public vxtest::MediaWindowTest {
protected:
    static constexpr int kGenerousCallMs = 120000;
    void SetUp() override
    {
        MediaWindowTest::SetUp();
        auto system = std::make_unique<vx::cd::FakeCdSystem>();
        drive = system.get();
        disc = system->medium;
        vx::cd::setCdDriveSystem(std::move(system));
        // The fake drive answers at once: only a starved machine could make a
        // call outlast the drive's usual bound, and its timeout message would
        // then stand among the window's own.
        usualCallMs_ = vx::cd::CdAudioDevice::callTimeout();
        vx::cd::CdAudioDevice::setCallTimeout(kGenerousCallMs);
        log = useMedia(std::make_unique<CdLog>());
        writePictures("r.gif");
    }
    void TearDown() override
    {
        // The windows and the interpreter go before the drive they use.
        vx::FormRegistry::reset();
        vx::setMediaCommandDriver(nullptr);
        vx::cd::setCdDriveSystem(nullptr);
        vx::cd::CdAudioDevice::setCallTimeout(usualCallMs_);
        MediaWindowTest::TearDown();
    }
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
    // The query that tells one disc from another.
    static QString identity() { return QStringLiteral("info cd identity"); }
    // The commands of a refresh that finds the loaded disc.
    static QStringList refresh()
    {
        return {QStringLiteral("status cd media present"), identity(), QStringLiteral("status cd position"),
                QStringLiteral("status cd mode")};
    }

    vx::cd::FakeCdSystem *drive = nullptr;
    std::shared_ptr<vx::cd::FakeCdMedium> disc;
    CdLog *log = nullptr;

private:
    int usualCallMs_ = 0;
};
