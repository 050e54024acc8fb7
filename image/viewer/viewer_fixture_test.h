#pragma once
// A folder of small pictures for the viewer tests: a.bmp 40x30, b.JPG 60x20,
// c.jpeg 20x50, a corrupt d.jpg, a hidden picture and a text file.
#include "suite/settings.h"
#include "form2.h"
#include "testing/harness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class ViewerTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        folder = QDir::cleanPath(pics_.path());
        vxtest::writeTestImage(path("a.bmp"), 40, 30, Qt::red);
        vxtest::writeTestImage(path("b.JPG"), 60, 20, Qt::green);
        vxtest::writeTestImage(path("c.jpeg"), 20, 50, Qt::blue);
        vxtest::writeTestImage(path(".hidden.bmp"), 10, 10);
        for (const char *name : {"d.jpg", "notes.txt"}) {
            QFile f(path(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("not a picture");
        }
    }
    QString path(const char *name) const { return folder + QLatin1Char('/') + QLatin1String(name); }
    // The viewer with its lists at `dir` (the picture folder by default).
    Form2 &viewer(const QString &dir = QString())
    {
        Form2 &v = vx::instance<Form2>();
        v.Dir1.setPath(dir.isEmpty() ? folder : dir);
        return v;
    }
    static void store(const char *key, const QString &value)
    {
        suite::SaveSetting(QStringLiteral("Graphic Rondix"), QLatin1String(key), value);
    }
    static QString stored(const char *key, const char *section = "Graphic Rondix")
    {
        return suite::GetSetting(QLatin1String(section), QLatin1String(key), QStringLiteral("-"));
    }
    static float tw(int px) { return static_cast<float>(px * 15); } // natural size in twips

    QString folder;

private:
    QTemporaryDir pics_;
};
