#pragma once
// A desktop without helpers: the program search path holds only what a test
// puts there, and a session bus of its own has no file manager on it.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace vxtest {

class BareDesktop {
public:
    BareDesktop();
    ~BareDesktop();
    BareDesktop(const BareDesktop &) = delete;
    BareDesktop &operator=(const BareDesktop &) = delete;

    // Puts `name` on the search path: it notes its arguments in its log, waits
    // until release() (a minute at most), notes that it ended, and exits with
    // `exitCode`.
    void addProgram(const QString &name, int exitCode);
    void release();
    // The lines the programs noted: "name arg..." when started, "name ended".
    QStringList log() const;

    // Starts the bus (false when dbus-daemon is not installed) and makes it
    // the session bus of this process; call before anything uses the bus.
    bool startBus();
    QString busAddress() const { return busAddress_; }

private:
    QTemporaryDir dir_;
    QByteArray oldPath_;
    QByteArray oldBus_;
    QProcess bus_;
    QString busAddress_;
};

} // namespace vxtest
