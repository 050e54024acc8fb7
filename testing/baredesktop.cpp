#include "baredesktop.h"

#include "files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace vxtest {

BareDesktop::BareDesktop()
    : oldPath_(qgetenv("PATH")), oldBus_(qgetenv("DBUS_SESSION_BUS_ADDRESS"))
{
    QDir(dir_.path()).mkdir(QStringLiteral("bin"));
    qputenv("PATH", QFile::encodeName(dir_.filePath(QStringLiteral("bin"))));
}

BareDesktop::~BareDesktop()
{
    release();
    qputenv("PATH", oldPath_);
    if (oldBus_.isNull())
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    else
        qputenv("DBUS_SESSION_BUS_ADDRESS", oldBus_);
    if (bus_.state() != QProcess::NotRunning) {
        bus_.terminate();
        bus_.waitForFinished(10000);
    }
}

void BareDesktop::addProgram(const QString &name, int exitCode)
{
    const QString gate = dir_.filePath(QStringLiteral("gate"));
    const QString log = dir_.filePath(QStringLiteral("log"));
    const QString program = dir_.filePath(QStringLiteral("bin/") + name);
    writeBytes(program, QStringLiteral("#!/bin/sh\n"
                                       "echo \"%1 $*\" >> '%2'\n"
                                       "n=0\n"
                                       "while [ ! -e '%3' ] && [ $n -lt 1200 ]; do sleep 0.05; n=$((n+1)); done\n"
                                       "echo '%1 ended' >> '%2'\n"
                                       "exit %4\n")
                            .arg(name, log, gate)
                            .arg(exitCode)
                            .toUtf8());
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void BareDesktop::release() { writeBytes(dir_.filePath(QStringLiteral("gate")), {}); }

QStringList BareDesktop::log() const
{
    return QString::fromUtf8(readBytes(dir_.filePath(QStringLiteral("log")))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool BareDesktop::startBus()
{
    // The tests' own search path holds no dbus-daemon: look where it was.
    const QString daemon =
        QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"), QString::fromLocal8Bit(oldPath_).split(QLatin1Char(':')));
    if (daemon.isEmpty())
        return false;
    const QString socket = dir_.filePath(QStringLiteral("bus"));
    const QString config = dir_.filePath(QStringLiteral("bus.conf"));
    // No service folder: nothing is started on demand.
    writeBytes(config, QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                                      " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                                      "<busconfig><type>session</type><listen>unix:path=%1</listen>"
                                      "<auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\"/><allow eavesdrop=\"true\"/>"
                                      "<allow own=\"*\"/></policy></busconfig>\n")
                           .arg(socket)
                           .toUtf8());
    bus_.setStandardErrorFile(QProcess::nullDevice());
    bus_.start(daemon, {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                        QStringLiteral("--print-address=1")});
    if (!bus_.waitForStarted(10000))
        return false;
    // The daemon prints its address once it listens.
    QElapsedTimer waited;
    waited.start();
    while (!bus_.canReadLine() && bus_.state() != QProcess::NotRunning && waited.elapsed() < 30000)
        bus_.waitForReadyRead(100);
    busAddress_ = QString::fromUtf8(bus_.readLine()).trimmed();
    if (busAddress_.isEmpty())
        return false;
    qputenv("DBUS_SESSION_BUS_ADDRESS", busAddress_.toUtf8());
    return true;
}

} // namespace vxtest
