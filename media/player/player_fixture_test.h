#pragma once
// The player's tests: a recording media device with scripted replies, a fake
// mixer, and a playlist folder of three (empty) media files and two pictures.
#include "form3.h"
#include "keys.h"

#include "suite/settings.h"
#include "testing/playerfixture.h"

#include <QFile>

class PlayerTest : public vxtest::MediaWindowTest {
protected:
    void SetUp() override
    {
        MediaWindowTest::SetUp();
        media = useMedia(std::make_unique<RecordingMedia>());
        for (const char *name : {"a.wav", "b.mp3", "c.mid", "notes.txt"}) {
            QFile f(path(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        writePictures("r.jpg");
    }
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
};
