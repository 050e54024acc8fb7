#pragma once
// The player's tests: a recording media device with scripted replies, a fake
// mixer, and a playlist folder of three (empty) media files and two pictures.
#include "form3.h"
#include "keys.h"

#include "suite/settings.h"
#include "testing/harness.h"
#include "testing/mediafakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
