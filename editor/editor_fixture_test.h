#pragma once
// A folder of documents for the editor tests: a.txt (UTF-8), b.txt (CP932,
// CR LF), c.rtf (bold heading), d.log (listed only with the safety filter off).
#include "form4.h"
#include "keys.h"
#include "suite/settings.h"
#include "testing/harness.h"

#include <QDir>
#include <QFile>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

class EditorTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        folder = QDir::cleanPath(docs_.path());
        write("a.txt", "alpha\nsecond line\n");
        write("b.txt", "\x93\xfa\x96\x7b\x8c\xea\r\n\x81\x60\r\n");
        write("c.rtf", "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 Gothic;}}\\f0\\b\\fs32 Title\\b0\\fs20\\par body\\par}");
        write("d.log", "log");
    }
    void write(const char *name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString &p) const
    {
        QFile f(p);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    QString path(const char *name) const { return folder + QLatin1Char('/') + QString::fromUtf8(name); }
    // The editor with its lists at the document folder.
    Form4 &editorAt()
    {
        Form4 &e = vx::instance<Form4>();
        e.Dir1.setPath(folder);
        return e;
    }
    // Types one character into the text, as the keyboard does.
    static void type(Form4 &e, const QString &ch)
    {
        QKeyEvent k(QEvent::KeyPress, 0, Qt::NoModifier, ch);
        QCoreApplication::sendEvent(&e.RichTextBox1, &k);
    }
    static void store(const QString &key, const QString &value) { suite::SaveSetting(editor::keys::kSection, key, value); }
    static QString stored(const QString &key)
    {
        return suite::GetSetting(editor::keys::kSection, key, QStringLiteral("-"));
    }

    QString folder;

private:
    QTemporaryDir docs_;
};
