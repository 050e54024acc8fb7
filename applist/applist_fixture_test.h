#pragma once
// A folder of programs for the launcher tests: scripts that leave a mark when
// they run, a hidden one, a file that may not run and a subfolder.
#include "applist/form5.h"
#include "applist/form6.h"
#include "applist/keys.h"
#include "suite/settings.h"
#include "testing/harness.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class AppListTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        folder = QDir::cleanPath(programs_.path());
        marks = folder + QStringLiteral("/marks");
        ASSERT_TRUE(QDir().mkpath(marks));
        for (const char *name : {"alpha", "beta", ".hidden"})
            script(QString::fromUtf8(name));
        QFile plain(path("readme.txt"));
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
        plain.write("not a program\n");
        ASSERT_TRUE(QDir().mkpath(path("tools")));
    }
    void TearDown() override
    {
        applist::setStarter({});
        GuiTest::TearDown();
    }

    QString path(const QString &name) const { return folder + QLatin1Char('/') + name; }
    // A program that appends a line to marks/`mark` (its own name by default).
    QString script(const QString &name, const QString &mark = QString())
    {
        const QString file = path(name);
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        const QString target = marks + QLatin1Char('/') + (mark.isEmpty() ? name : mark);
        f.write(QStringLiteral("#!/bin/sh\necho ran >> '%1'\n").arg(target).toUtf8());
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
        return file;
    }
    // Lines the program left in marks/`mark` once it ran `times` times (waits a while).
    int runs(const QString &mark, int times = 1) const
    {
        int lines = 0;
        // Started programs run beside everything else on the machine: the
        // bound is generous.
        vxtest::waitUntil(
            [&] {
                QFile f(marks + QLatin1Char('/') + mark);
                lines = f.open(QIODevice::ReadOnly) ? f.readAll().count('\n') : 0;
                return lines >= times;
            },
            60000);
        return lines;
    }

    static void storeList(const QStringList &paths)
    {
        for (int k = 1; k <= paths.size(); ++k)
            suite::SaveSetting(applist::keys::kSection, QString::number(k), paths[k - 1]);
        suite::SaveSetting(applist::keys::kSection, applist::keys::kAppCount, QString::number(paths.size()));
    }
    static QString stored(const QString &key)
    {
        return suite::GetSetting(applist::keys::kSection, key, QStringLiteral("-"));
    }
    static QStringList listed(const Form5 &f)
    {
        QStringList l;
        for (int i = 0; i < f.List1.ListCount(); ++i)
            l << f.List1.List(i);
        return l;
    }

    QString folder;
    QString marks;

private:
    QTemporaryDir programs_;
};
