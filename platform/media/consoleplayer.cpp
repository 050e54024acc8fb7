#include "consoleplayer.h"

#include "mci.h"
#include "mediaplayer.h"
#include "playlistfile.h"
#include "transportbar.h"

#include "platform/core/errors.h"
#include "platform/forms/program.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QPointer>
#include <QTemporaryFile>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <map>
#include <vector>

namespace vx {

namespace {

// An address that has not answered by then counts as failed.
constexpr qint64 kAddressTimeoutMs = 20000;
// A still picture larger than this is refused before it is decoded.
constexpr qint64 kMaxStillBytes = 256ll * 1024 * 1024;

std::function<void(const QString &, const QString &)> &recorder()
{
    static std::function<void(const QString &, const QString &)> r;
    return r;
}

[[noreturn]] void raiseMediaError(int error, const QString &source)
{
    const QString detail = mciGetErrorString(error) + QStringLiteral("\n") + source;
    raise(error == mci::FileNotFound ? err::FileNotFound : err::InvalidCall, detail);
}

bool isStillName(const QString &path)
{
    static const QStringList stills{QStringLiteral("png"), QStringLiteral("gif"), QStringLiteral("jpg"),
                                    QStringLiteral("jpeg"), QStringLiteral("jpe"), QStringLiteral("bmp")};
    return stills.contains(QFileInfo(path).suffix().toLower());
}

// The picture of a still file; null when it is not one (or claims too much).
QImage readStill(const QString &path)
{
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() * 4 > kMaxStillBytes)
        return QImage();
    reader.setAllocationLimit(int(kMaxStillBytes / (1024 * 1024)));
    return reader.read();
}

} // namespace

// The clip every control of one console name plays.
struct ConsolePlayer::Console {
    QString name;
    std::unique_ptr<MediaPlayerDriver> driver;
    std::vector<ConsolePlayer *> members;
    QString source;
    QStringList entries;
    int entry = -1;
    bool open = false;      // the driver holds a clip
    bool opening = false;   // an address is being opened
    bool wantPlay = false;  // play once the address is open
    QImage still;           // the entry is a still picture
    bool repeat = false;
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
        if (recorder())
            recorder()(name, call);
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
        if (open || opening)
            driver->close();
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
        if (isStillName(path)) {
            still = readStill(path);
            if (!still.isNull()) {
                showStill();
                return mci::NoError;
            }
        }
        const QString playable = media::playablePath(path, midi);
        if (playable.isEmpty())
            return mci::CannotPlay;
        if (const int e = driver->open(playable))
            return e;
        open = true;
        attachVideo();
        return mci::NoError;
    }

    // Opens the first entry from `from` on that can be opened.
    int openFrom(int from)
    {
        int error = mci::CannotPlay;
        for (int i = from; i < entries.size(); ++i) {
            error = openEntry(i);
            if (error == mci::NoError)
                return error;
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
        timer->start();
        return mci::NoError;
    }

    // 0, or the error a local source gives.
    int play()
    {
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
        if (const int e = openFrom(0)) {
            // An address fails only in the status line.
            if (!media::isStreamAddress(text))
                return e;
            note = QStringLiteral("接続できません: ") + text;
            state = Stopped;
            return mci::NoError;
        }
        if (opening) {
            wantPlay = true;
            state = Opening;
            timer->start();
            return mci::NoError;
        }
        return startPlaying();
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
    // repeat the list starts again. false when nothing more plays.
    bool advance()
    {
        if (openFrom(entry + 1) == mci::NoError)
            return true;
        if (repeat && openFrom(0) == mci::NoError)
            return true;
        return false;
    }

    void poll()
    {
        if (opening) {
            const int progress = driver->openProgress();
            if (progress == MediaPlayerDriver::kOpening && openClock.elapsed() < kAddressTimeoutMs) {
                refresh();
                return;
            }
            opening = false;
            const bool play = wantPlay;
            wantPlay = false;
            if (progress == mci::NoError) {
                open = true;
                attachVideo();
                if (!play || startPlaying() != mci::NoError)
                    state = Stopped;
            } else {
                driver->close();
                const QString failed = entries.value(entry);
                if (!advance()) {
                    state = Stopped;
                } else if (opening) {
                    wantPlay = play;
                } else if (!play || startPlaying() != mci::NoError) {
                    state = Stopped;
                }
                note = QStringLiteral("接続できません: ") + failed;
            }
        } else if (open && state == Playing && driver->takeEnded()) {
            if (entries.size() <= 1 && repeat) {
                driver->seek(0);
                driver->play();
            } else if (advance()) {
                if (!opening && startPlaying() != mci::NoError)
                    state = Stopped;
                else if (opening)
                    wantPlay = true;
            } else {
                // Played through: the next play starts the list again.
                closeClip();
                state = Stopped;
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

namespace {

std::map<QString, std::weak_ptr<ConsolePlayer::Console>> &consoles()
{
    static std::map<QString, std::weak_ptr<ConsolePlayer::Console>> c;
    return c;
}

} // namespace

void ConsolePlayer::setCallRecorder(std::function<void(const QString &, const QString &)> r)
{
    recorder() = std::move(r);
}

ConsolePlayer::ConsolePlayer(Form *form, const QString &name, const ConsoleDesign &design)
    : Control<QWidget>(form, name), design_(design)
{
    if (!design.console.isEmpty())
        console_ = consoles()[design.console].lock();
    if (!console_) {
        console_ = std::make_shared<Console>();
        console_->name = design.console;
        const QString driverName = QStringLiteral("console:")
                                 + (design.console.isEmpty() ? form->Name() + QLatin1Char('.') + name : design.console);
        console_->driver = makeMediaPlayerDriver(driverName);
        console_->timer = std::make_unique<QTimer>();
        console_->timer->setInterval(50);
        Console *c = console_.get();
        // No window code runs from here: the console has no events.
        QObject::connect(console_->timer.get(), &QTimer::timeout, [c] { c->poll(); });
        if (!design.console.isEmpty())
            consoles()[design.console] = console_;
    }
    console_->members.push_back(this);

    const QColor background(design.background);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, background.isValid() ? background : QColor(Qt::black));
    if (pal.color(QPalette::Window).lightness() < 128)
        pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    if (design.controls.compare(QLatin1String("ImageWindow"), Qt::CaseInsensitive) == 0) {
        area_ = new media::VideoArea(this, background);
        area_->setAccessibleName(QStringLiteral("映像"));
        area_->setNativeSize(console_->native);
        area_->setStill(console_->still);
        column->addWidget(area_);
        setAccessibleName(QStringLiteral("映像"));
    } else {
        bar_ = new media::TransportBar(this,
                                       {.controls = true,
                                        .positionControls = false,
                                        .tracker = true,
                                        .audioControls = true,
                                        .statusBar = true},
                                       console_->volume);
        column->addWidget(bar_);
        column->addStretch(1);
        setAccessibleName(QStringLiteral("コントロール パネル"));
        Console *c = console_.get();
        // The panel's buttons end quietly; the status line tells what failed.
        bar_->onPlay = [c] {
            dispatch([c] {
                c->record(QStringLiteral("play (panel)"));
                if (const int e = c->play()) {
                    c->note = mciGetErrorString(e);
                    c->state = Stopped;
                }
                c->refresh();
            });
        };
        bar_->onPause = [c] {
            dispatch([c] {
                c->pause();
                c->refresh();
            });
        };
        bar_->onStop = [c] {
            dispatch([c] {
                c->record(QStringLiteral("stop (panel)"));
                c->stop();
                c->refresh();
            });
        };
        bar_->onSeek = [c](qint64 ms) {
            if (c->open)
                c->driver->seek(ms);
            c->refresh();
        };
        bar_->onVolume = [c](int volume, bool muted) {
            c->volume = volume;
            c->muted = muted;
            if (c->open)
                c->driver->setVolume(muted ? 0.0 : std::pow(10.0, volume / 2000.0));
        };
    }
    console_->refresh();
}

ConsolePlayer::~ConsolePlayer()
{
    Console &c = *console_;
    std::erase(c.members, this);
    // The clip's pictures live in this control's area: the clip goes first.
    if (area_ && (c.videoHost == area_ || c.members.empty())) {
        c.closeClip();
        c.state = Stopped;
    }
    if (c.members.empty()) {
        c.timer->stop();
        c.closeClip();
    } else {
        c.refresh();
    }
}

QString ConsolePlayer::Source() const
{
    return console_->source;
}

void ConsolePlayer::setSource(const QString &source)
{
    Console &c = *console_;
    c.record(QStringLiteral("source ") + source);
    c.closeClip();
    c.entries.clear();
    c.entry = -1;
    c.note.clear();
    c.state = Stopped;
    c.source = source;
    c.refresh();
}

void ConsolePlayer::DoPlay()
{
    Console &c = *console_;
    c.record(QStringLiteral("play"));
    const int e = c.play();
    c.refresh();
    if (e) {
        c.state = Stopped;
        c.refresh();
        raiseMediaError(e, c.source);
    }
}

void ConsolePlayer::DoPause()
{
    console_->record(QStringLiteral("pause"));
    console_->pause();
    console_->refresh();
}

void ConsolePlayer::DoStop()
{
    console_->record(QStringLiteral("stop"));
    console_->stop();
    console_->refresh();
}

void ConsolePlayer::setRepeat(bool on)
{
    console_->record(on ? QStringLiteral("repeat on") : QStringLiteral("repeat off"));
    console_->repeat = on;
}

bool ConsolePlayer::Repeat() const
{
    return console_->repeat;
}

void ConsolePlayer::setNativeSize(bool on)
{
    Console &c = *console_;
    c.record(on ? QStringLiteral("native size on") : QStringLiteral("native size off"));
    c.native = on;
    for (ConsolePlayer *m : c.members)
        if (m->area_)
            m->area_->setNativeSize(on);
}

bool ConsolePlayer::NativeSize() const
{
    return console_->native;
}

int ConsolePlayer::PlayState() const
{
    return console_->state;
}

QString ConsolePlayer::StatusText() const
{
    return console_->statusText();
}

QImage ConsolePlayer::StillPicture() const
{
    return console_->still;
}

void ConsolePlayer::poll()
{
    console_->poll();
}

} // namespace vx
