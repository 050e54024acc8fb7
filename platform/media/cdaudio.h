#pragma once
// The "cdaudio" device of the media command strings: the disc in the drive
// named by cd::devicePath(), opened under an alias and driven by commands such
// as `status cd position` or `play cd from 3`. Times read and write in tmsf
// (a number is a track, 0 the start of the disc; lengths "mm:ss:ff",
// positions "tt:mm:ss:ff") or in milliseconds from the start of track 1;
// `info cd identity` tells one disc from another.
// Every call to the drive waits a bounded time.
#include "cddrive.h"

#include <QStringList>

#include <functional>
#include <map>
#include <memory>

namespace vx::cd {

class CdStream;

class CdAudioDevice {
public:
    // Needs a drive, not a disc.
    static std::unique_ptr<CdAudioDevice> open(int &error);
    ~CdAudioDevice();
    CdAudioDevice(const CdAudioDevice &) = delete;
    CdAudioDevice &operator=(const CdAudioDevice &) = delete;

    // One command: the verb and the words after the device's name, "wait" left out.
    int command(const QString &verb, const QStringList &args, QString &reply);

    // Longest wait for the drive to answer one call (tests shorten it).
    static void setCallTimeout(int ms);
    static int callTimeout();

private:
    enum class Mode { Stopped, Playing, Paused };
    CdAudioDevice() = default;
    int call(std::function<int(CdMedium &)> job);
    int readDisc();
    // readDisc, and the error of a command that needs a disc when there is none.
    int needDisc();
    int status(const QStringList &args, QString &reply);
    int info(const QStringList &args, QString &reply);
    int target(const QString &text, qint32 &lsn) const;
    int seek(const QStringList &args);
    int play(const QStringList &args);
    int door(bool open);
    void settle();
    void stopStream();
    qint32 position();
    // The error of a command that needs a disc when there is none.
    int noDisc() const { return toc_.refused ? toc_.refused : mci::NoDisc; }
    qint32 discEnd() const { return toc_.tracks.back().end; }
    QString lengthText(qint64 sectors) const;

    std::shared_ptr<CdMedium> medium_;
    std::unique_ptr<CdStream> stream_;
    Toc toc_;
    qint32 pos_ = 0;
    Mode mode_ = Mode::Stopped;
    bool milliseconds_ = false;
};

// The interpreter's cdaudio devices, by alias.
class CdAudioDevices {
public:
    CdAudioDevices();
    ~CdAudioDevices();
    // True when the command is theirs to answer (an open of the device type
    // "cdaudio" or a command to one of their aliases); `result` and `reply` then
    // hold its answer. `aliasTaken` tells whether another device holds a name.
    bool handles(const QStringList &words, QString &reply, int &result,
                 const std::function<bool(const QString &)> &aliasTaken);
    bool hasAlias(const QString &name) const;

private:
    std::map<QString, std::unique_ptr<CdAudioDevice>> devices_;
};

} // namespace vx::cd
