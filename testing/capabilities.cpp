#include "capabilities.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <unistd.h>

namespace vxtest {

bool rerunWithoutCapabilities(const QStringList &caps)
{
    if (::geteuid() != 0 || !qEnvironmentVariableIsEmpty("VX_CAPS_DROPPED"))
        return false;
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString name = QString::fromUtf8(test->test_suite_name()) + QLatin1Char('.') + QString::fromUtf8(test->name());
    QStringList dropped;
    for (const QString &c : caps)
        dropped << QLatin1Char('-') + c;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VX_CAPS_DROPPED"), QStringLiteral("1"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("setpriv"), {QStringLiteral("--inh-caps=") + dropped.join(QLatin1Char(',')),
                                        QStringLiteral("--bounding-set=") + dropped.join(QLatin1Char(',')),
                                        QStringLiteral("--"), QCoreApplication::applicationFilePath(),
                                        QStringLiteral("--gtest_filter=") + name});
    EXPECT_TRUE(p.waitForFinished(60000)) << name.toStdString();
    const QByteArray out = p.readAll();
    EXPECT_EQ(p.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
    return true;
}

} // namespace vxtest
