#pragma once
// The clip one console's controls share: its source, list entries, state,
// still picture and the driver that plays it. Only the console control
// includes this.
#include "consoleplayer.h"
#include "mci.h"
#include "mediaplayer.h"
#include "playlistfile.h"
#include "transportbar.h"

#include "platform/core/userfileqt.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QPointer>
#include <QTemporaryFile>
#include <QTimer>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace vx {

namespace console {

// An address that has not answered by then counts as failed.
constexpr qint64 kAddressTimeoutMs = 20000;
// A still picture larger than this is refused before it is decoded.
constexpr qint64 kMaxStillBytes = 256ll * 1024 * 1024;

inline std::function<void(const QString &, const QString &)> &recorder()
{
    static std::function<void(const QString &, const QString &)> r;
    return r;
}

inline bool isStillName(const QString &path)
{
    static const QStringList stills{QStringLiteral("png"), QStringLiteral("gif"), QStringLiteral("jpg"),
                                    QStringLiteral("jpeg"), QStringLiteral("jpe"), QStringLiteral("bmp")};
    return stills.contains(QFileInfo(path).suffix().toLower());
}

// The picture of a still file; null when it is not one (or claims too much).
inline QImage readStill(const QString &path)
{
    QFile file;
    if (openUserFile(file, path, kMaxStillBytes) != UserFileStatus::Ok)
        return QImage();
    QImageReader reader(&file);
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() * 4 > kMaxStillBytes)
        return QImage();
    reader.setAllocationLimit(int(kMaxStillBytes / (1024 * 1024)));
    return reader.read();
}

} // namespace console

// The clip every control of one console name plays.
struct ConsolePlayer::Console {
    // openEntry: a newer call took the console while the file opened.
    static constexpr int kGaveWay = -2;

    QString name;
    std::unique_ptr<MediaPlayerDriver> driver;
    std::vector<ConsolePlayer *> members;
    QString source;
    QStringList entries;
    int entry = -1;
    bool open = false;      // the driver holds a clip
    bool opening = false;   // an address is being opened
    bool wantPlay = false;  // play once the address is open
    // A file being opened (the window answers meanwhile); a close meanwhile
    // counts up `closes`, and the open gives way.
    bool fileOpening = false;
    int closes = 0;
    QImage still;           // the entry is a still picture
    bool repeat = false;
    bool playedInPass = false; // an entry played since the list (re)started
    bool native = false;
    State state = Stopped;
    QString note;           // why the last play failed, for the status line
    int volume = 0;
    bool muted = false;
    QElapsedTimer openClock;
    std::unique_ptr<QTemporaryFile> midi;
    std::unique_ptr<QTimer> timer;
    QPointer<media::VideoArea> videoHost;

    void record(const QString &call)
    {
        if (console::recorder())
            console::recorder()(name, call);
    }

    media::VideoArea *area() const
    {
        for (ConsolePlayer *m : members)
            if (m->area_)
                return m->area_;
        return nullptr;
    }

    void closeClip()
    {
        ++closes;
        if (open || opening || fileOpening)
            driver->close();
        fileOpening = false;
        open = false;
        opening = false;
        wantPlay = false;
        videoHost.clear();
        midi.reset();
        if (!still.isNull()) {
            still = QImage();
            showStill();
        }
    }

    void showStill()
    {
        for (ConsolePlayer *m : members)
            if (m->area_)
                m->area_->setStill(still);
    }

    void attachVideo()
    {
        if (media::VideoArea *host = area()) {
            driver->embedVideo(host);
            videoHost = host;
        }
        driver->setVolume(muted ? 0.0 : std::pow(10.0, volume / 2000.0));
    }

    // Opens entry `index`: 0 when it is open (or an address is on its way).
    int openEntry(int index)
    {
        closeClip();
        entry = index;
        const QString path = entries.value(index);
        if (media::isStreamAddress(path)) {
            if (const int e = driver->openAddress(path.trimmed()))
                return e;
            opening = true;
            openClock.start();
            return mci::NoError;
        }
        if (console::isStillName(path)) {
            still = console::readStill(path);
            if (!still.isNull()) {
                showStill();
                return mci::NoError;
            }
        }
        const QString playable = media::playablePath(path, midi);
        if (playable.isEmpty())
            return mci::CannotPlay;
        const int mine = closes;
        fileOpening = true;
        const int e = driver->open(playable);
        // Another source or a stop took the console meanwhile.
        if (mine != closes)
            return kGaveWay;
        fileOpening = false;
        if (e)
            return e;
        open = true;
        attachVideo();
        return mci::NoError;
    }

    // What the status line says of an entry that failed.
    QString failureNote(int index) const
    {
        const QString failed = entries.value(index);
        return (media::isStreamAddress(failed) ? QStringLiteral("接続できません: ")
                                               : QStringLiteral("再生できません: "))
             + failed;
    }

    // Opens the first entry from `from` on that can be opened; each one
    // passed over is named in the status line.
    int openFrom(int from)
    {
        int error = mci::CannotPlay;
        for (int i = from; i < entries.size(); ++i) {
            error = openEntry(i);
            if (error == mci::NoError || error == kGaveWay)
                return error;
            note = failureNote(i);
        }
        entry = -1;
        return error;
    }

    int startPlaying()
    {
        if (open) {
            if (const int e = driver->play())
                return e;
        }
        state = Playing;
        playedInPass = true;
        timer->start();
        return mci::NoError;
    }

    // The entry just opened plays (or its address goes on opening); one that
    // will not play is passed over for the next. 0 while something plays or
    // opens, else the last entry's error.
    int go(bool play)
    {
        for (;;) {
            if (opening) {
                wantPlay = play;
                state = Opening;
                timer->start();
                return mci::NoError;
            }
            if (!play) {
                state = Stopped;
                return mci::NoError;
            }
            const int e = startPlaying();
            if (e == mci::NoError)
                return e;
            note = failureNote(entry);
            const Next next = advance();
            if (next == Next::GaveWay)
                return mci::NoError;
            if (next == Next::Ended) {
                closeClip();
                state = Stopped;
                return e;
            }
        }
    }

    // 0, or the error a local source gives.
    int play()
    {
        // The file being opened plays, or not, as its opener says.
        if (fileOpening)
            return mci::NoError;
        note.clear();
        if (opening) {
            wantPlay = true;
            return mci::NoError;
        }
        if (open || !still.isNull()) {
            if (state == Playing)
                return mci::NoError;
            return startPlaying();
        }
        const QString text = source.trimmed();
        if (media::isStreamAddress(text)) {
            entries = {text};
        } else if (!QFileInfo(text).isFile()) {
            return mci::FileNotFound;
        } else if (media::isRamListName(text)) {
            entries = media::readRamList(text);
        } else if (media::isPlaylistName(text)) {
            entries = media::readPlaylist(text);
        } else {
            entries = {text};
        }
        playedInPass = false;
        int e = openFrom(0);
        if (e == kGaveWay)
            return mci::NoError;
        if (e == mci::NoError)
            e = go(true);
        if (e != mci::NoError) {
            state = Stopped;
            // An address fails only in the status line.
            if (media::isStreamAddress(text))
                return mci::NoError;
            return e;
        }
        return mci::NoError;
    }

    void stop()
    {
        if (opening)
            closeClip();
        if (open) {
            driver->stop();
            driver->seek(0);
        }
        state = Stopped;
    }

    void pause()
    {
        if (!open || state != Playing)
            return;
        driver->pause();
        state = Paused;
    }

    // The next entry of the list after the one that ended or failed; with
    // repeat the list starts again, unless a whole pass played nothing (it
    // would only fail again). false when nothing more plays.
    enum class Next { Opened, Ended, GaveWay };
    Next advance()
    {
        int e = openFrom(entry + 1);
        if (e == mci::NoError)
            return Next::Opened;
        if (e != kGaveWay && repeat && playedInPass) {
            playedInPass = false;
            e = openFrom(0);
        }
        return e == mci::NoError ? Next::Opened : e == kGaveWay ? Next::GaveWay : Next::Ended;
    }

    void poll()
    {
        if (opening) {
            const int progress = driver->openProgress();
            if (progress == MediaPlayerDriver::kOpening && openClock.elapsed() < console::kAddressTimeoutMs) {
                refresh();
                return;
            }
            opening = false;
            const bool play = wantPlay;
            wantPlay = false;
            if (progress == mci::NoError) {
                open = true;
                attachVideo();
                go(play);
            } else {
                // Refused, not found or no answer in time: the next entry.
                driver->close();
                note = failureNote(entry);
                const Next next = advance();
                if (next == Next::Opened) {
                    go(play);
                } else if (next == Next::Ended) {
                    closeClip();
                    state = Stopped;
                }
            }
        } else if (open && state == Playing && driver->takeEnded()) {
            if (entries.size() <= 1 && repeat) {
                driver->seek(0);
                driver->play();
            } else {
                // An entry that played through clears what failed before it.
                note.clear();
                const Next next = advance();
                if (next == Next::Ended || (next == Next::Opened && go(true) != mci::NoError)) {
                    // Played through: the next play starts the list again.
                    closeClip();
                    state = Stopped;
                }
            }
        }
        if (videoHost && native)
            videoHost->fitChildren();
        if (state == Stopped || state == Paused)
            timer->stop();
        refresh();
    }

    QString statusText() const
    {
        if (!note.isEmpty() && state == Stopped)
            return note;
        // What failed before the entry now playing stays in view beside it.
        const QString failed = note.isEmpty() ? QString() : QStringLiteral("  (") + note + QLatin1Char(')');
        return statusOfEntry() + failed;
    }

    QString statusOfEntry() const
    {
        switch (state) {
        case Opening: return QStringLiteral("接続中: ") + entries.value(entry);
        case Playing: break;
        case Paused: return QStringLiteral("一時停止");
        case Stopped: return open || !still.isNull() ? QStringLiteral("停止") : QStringLiteral("準備完了");
        }
        if (opening)
            return QStringLiteral("接続中: ") + entries.value(entry);
        if (!still.isNull())
            return QStringLiteral("静止画");
        const qint64 length = driver->lengthMs();
        const qint64 position = driver->positionMs();
        return QStringLiteral("再生中  %1 / %2").arg(media::clockText(position), media::clockText(length));
    }

    void refresh()
    {
        const QString status = statusText();
        const qint64 length = open ? driver->lengthMs() : 0;
        const qint64 position = open ? driver->positionMs() : 0;
        for (ConsolePlayer *m : members)
            if (m->bar_)
                m->bar_->showState(open || !still.isNull(), !source.trimmed().isEmpty(), position, length, status);
    }
};

} // namespace vx
