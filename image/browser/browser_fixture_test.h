#pragma once
// Picture folders for the browser tests, made afresh per test, and a wait for
// the build that runs the event loop as the program would.
#include "frmsum.h"
#include "suite/settings.h"
#include "testing/harness.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>

class BrowserTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        folder = QDir::cleanPath(pics_.path());
    }
    void TearDown() override
    {
        vx::setReducedDecodeHook(nullptr);
        GuiTest::TearDown();
    }
    QString path(const QString &name) const { return folder + QLatin1Char('/') + name; }
    // `count` pictures "p00.png" ..., each `w` x `h`.
    QString makePictures(int count, int w = 20, int h = 10, const QString &sub = QString())
    {
        const QString dir = sub.isEmpty() ? folder : path(sub);
        QDir().mkpath(dir);
        for (int i = 0; i < count; ++i)
            vxtest::writeTestImage(dir + QStringLiteral("/p%1.bmp").arg(i, 2, 10, QLatin1Char('0')), w, h, Qt::red);
        return dir;
    }
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // The browser showing `dir`.
    frmSum &browserAt(const QString &dir)
    {
        frmSum &b = vx::instance<frmSum>();
        b.Dir.setPath(dir);
        return b;
    }
    static bool waitFor(const std::function<bool()> &done, int ms = 30000) { return vxtest::waitUntil(done, ms); }
    static bool build(frmSum &b)
    {
        b.cmdShow_Click();
        return waitFor([&] { return !b.building(); });
    }
    static void store(const char *key, const QString &value)
    {
        suite::SaveSetting(QStringLiteral("Graphic Rondix2"), QLatin1String(key), value);
    }
    static QString stored(const char *key, const char *section = "Graphic Rondix2")
    {
        return suite::GetSetting(QLatin1String(section), QLatin1String(key), QStringLiteral("-"));
    }
    static int visibleCells(const frmSum &b)
    {
        int n = 0;
        for (const auto &c : b.Command1)
            n += c->Visible() ? 1 : 0;
        return n;
    }

    QString folder;

private:
    QTemporaryDir pics_;
};
