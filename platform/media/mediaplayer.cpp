#include "mediaplayer.h"

#include "platform/forms/events.h"

#include "mci.h"
#include "playlistfile.h"
#include "transportbar.h"

#include "platform/core/errors.h"
#include "platform/forms/program.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QTemporaryFile>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <climits>
#include <cmath>

namespace vx {

namespace {

MediaPlayerDriverFactory &factory()
{
    static MediaPlayerDriverFactory f;
    return f;
}

[[noreturn]] void raiseMediaError(int error, const QString &path)
{
    const QString detail = mciGetErrorString(error) + QStringLiteral("\n") + path;
    raise(error == mci::FileNotFound ? err::FileNotFound : err::InvalidCall, detail);
}

} // namespace

void setMediaPlayerDriverFactory(MediaPlayerDriverFactory f)
{
    factory() = std::move(f);
}

std::unique_ptr<MediaPlayerDriver> makeMediaPlayerDriver(const QString &name)
{
    return factory() ? factory()(name) : makeEngineMediaPlayerDriver();
}

MediaPlayer::MediaPlayer(Form *form, const QString &name, const MediaPlayerDesign &design)
    : Control<QWidget>(form, name), design_(design), volume_(std::clamp(design.volume, -10000, 0))
{
    static const ControlEvent kEvents[] = {
        {"EndOfStream", eventOf<&MediaPlayer::EndOfStream>},
        {"PlayStateChange", eventOf<&MediaPlayer::PlayStateChange>},
    };
    addControlEvents(kEvents);
    const QString fullName = form->Name() + QLatin1Char('.') + name;
    driver_ = makeMediaPlayerDriver(fullName);
    setAccessibleName(QStringLiteral("メディア プレーヤー"));

    timer_ = new QTimer(this);
    timer_->setInterval(50);
    // The clip's events run as handlers the user started do.
    connect(timer_, &QTimer::timeout, this, [this] { dispatch([this] { poll(); }); });

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    screen_ = new media::VideoArea(this);
    column->addWidget(screen_, 1);
    bar_ = new media::TransportBar(this,
                                   {.controls = design.showControls,
                                    .positionControls = design.showPositionControls,
                                    .tracker = design.showTracker,
                                    .audioControls = design.showAudioControls,
                                    .statusBar = design.showStatusBar},
                                   volume_);
    column->addWidget(bar_);
    bar_->onSeek = [this](qint64 ms) {
        if (open_)
            driver_->seek(ms);
        refreshDisplay();
    };
    bar_->onSeekBy = [this](qint64 ms) { seekBy(ms); };
    // The buttons act as the methods do; a clip that cannot play says nothing here.
    bar_->onPlay = [this] {
        dispatch([this] {
            try {
                Play();
            } catch (const RuntimeError &) {
            }
        });
    };
    bar_->onPause = [this] { dispatch([this] { Pause(); }); };
    bar_->onStop = [this] { dispatch([this] { Stop(); }); };
    bar_->onVolume = [this](int volume, bool muted) {
        volume_ = volume;
        muted_ = muted;
        applyVolume();
    };
    refreshDisplay();
}

MediaPlayer::~MediaPlayer()
{
    // The clip's pictures live in this control: the clip goes first.
    timer_->stop();
    driver_.reset();
}

void MediaPlayer::closeClip()
{
    ++generation_;
    timer_->stop();
    if (open_ || opening_)
        driver_->close();
    opening_ = false;
    open_ = false;
    entry_ = -1;
    title_.clear();
    author_.clear();
    midi_.reset();
}

bool MediaPlayer::openEntry(int index)
{
    if (open_)
        driver_->close();
    open_ = false;
    midi_.reset();
    const QString path = media::playablePath(entries_.value(index), midi_);
    if (path.isEmpty())
        return false;
    const int generation = generation_;
    opening_ = true;
    const int error = driver_->open(path);
    if (generation != generation_)
        return false;
    opening_ = false;
    if (error != mci::NoError)
        return false;
    open_ = true;
    entry_ = index;
    driver_->embedVideo(screen_);
    if (rate_ != 1.0)
        driver_->setRate(rate_);
    applyVolume();
    title_ = driver_->title();
    author_ = driver_->author();
    return true;
}

bool MediaPlayer::openFrom(int from)
{
    const int generation = generation_;
    for (int i = from; i < entries_.size(); ++i) {
        if (openEntry(i))
            return true;
        if (generation != generation_)
            return false;
        note_ = QStringLiteral("再生できません: ") + entries_.at(i);
    }
    return false;
}

void MediaPlayer::setFileName(const QString &path)
{
    closeClip();
    fileName_ = path;
    entries_.clear();
    note_.clear();
    setState(Closed);
    if (path.isEmpty()) {
        refreshDisplay();
        return;
    }
    int error = mci::NoError;
    if (!QFileInfo(path).isFile()) {
        error = mci::FileNotFound;
    } else {
        entries_ = media::isPlaylistName(path) ? media::readPlaylist(path) : QStringList{path};
        const int generation = generation_;
        error = openFrom(0) ? mci::NoError : mci::CannotPlay;
        // Another file name took the control while this one opened.
        if (generation != generation_)
            return;
    }
    if (error != mci::NoError) {
        closeClip();
        refreshDisplay();
        raiseMediaError(error, path);
    }
    setState(Stopped);
    refreshDisplay();
    if (design_.autoStart)
        Play();
}

void MediaPlayer::setRate(double rate)
{
    if (!(rate > 0) || !std::isfinite(rate))
        vx::raise(err::InvalidProperty);
    const bool changed = rate != rate_;
    rate_ = rate;
    if (open_ && changed)
        driver_->setRate(rate);
}

void MediaPlayer::Play()
{
    // The clip being opened is the one to play (or not, as its opener says).
    if (opening_)
        return;
    if (!open_) {
        // A playlist that ran out starts again at its first entry.
        note_.clear();
        const int generation = generation_;
        if (!openFrom(0)) {
            if (generation != generation_)
                return;
            raiseMediaError(fileName_.isEmpty() ? mci::FileNotFound : mci::CannotPlay, fileName_);
        }
    }
    if (state_ == Stopped && driver_->lengthMs() > 0 && driver_->positionMs() >= driver_->lengthMs())
        driver_->seek(0);
    if (const int e = driver_->play())
        raiseMediaError(e, fileName_);
    timer_->start();
    setState(Playing);
    refreshDisplay();
}

void MediaPlayer::Pause()
{
    if (!open_ || state_ != Playing)
        return;
    driver_->pause();
    timer_->stop();
    setState(Paused);
    refreshDisplay();
}

void MediaPlayer::Stop()
{
    timer_->stop();
    if (open_)
        driver_->stop();
    if (state_ != Closed)
        setState(Stopped);
    refreshDisplay();
}

QString MediaPlayer::GetMediaInfoString(int which) const
{
    switch (which) {
    case 8: return title_;
    case 9: return author_;
    default: return QString();
    }
}

void MediaPlayer::setVolume(int hundredthsDb)
{
    volume_ = std::clamp(hundredthsDb, -10000, 0);
    applyVolume();
}

void MediaPlayer::applyVolume()
{
    if (open_)
        driver_->setVolume(muted_ ? 0.0 : std::pow(10.0, volume_ / 2000.0));
}

void MediaPlayer::setState(State s)
{
    if (s == state_)
        return;
    const State old = state_;
    state_ = s;
    if (PlayStateChange)
        PlayStateChange(old, s);
}

void MediaPlayer::seekBy(qint64 ms)
{
    if (open_)
        driver_->seek(std::max<qint64>(0, driver_->positionMs() + ms));
    refreshDisplay();
}

void MediaPlayer::poll()
{
    if (!open_ || state_ != Playing) {
        timer_->stop();
        return;
    }
    if (!driver_->takeEnded()) {
        refreshDisplay();
        return;
    }
    // The next entry of a playlist goes on as part of the same clip; one
    // that played through clears what failed before it.
    note_.clear();
    const int generation = generation_;
    for (int i = entry_ + 1; i < entries_.size(); ++i) {
        if (openEntry(i) && driver_->play() == mci::NoError) {
            refreshDisplay();
            return;
        }
        if (generation != generation_)
            return;
        note_ = QStringLiteral("再生できません: ") + entries_.at(i);
    }
    timer_->stop();
    if (entries_.size() > 1) {
        // Played through: the list starts again from its first entry on Play.
        closeClip();
    }
    setState(Stopped);
    refreshDisplay();
    if (EndOfStream)
        EndOfStream(0);
}

void MediaPlayer::refreshDisplay()
{
    const qint64 length = open_ ? driver_->lengthMs() : 0;
    const qint64 position = open_ ? driver_->positionMs() : 0;
    QString text;
    switch (state_) {
    case Playing: text = QStringLiteral("再生中"); break;
    case Paused: text = QStringLiteral("一時停止"); break;
    case Stopped: text = QStringLiteral("停止"); break;
    case Closed: text = QStringLiteral("準備完了"); break;
    }
    if (open_)
        text += QStringLiteral("  %1 / %2").arg(media::clockText(position), media::clockText(length));
    if (!note_.isEmpty())
        text += QStringLiteral("  (") + note_ + QLatin1Char(')');
    bar_->showState(open_, !entries_.isEmpty(), position, length, text);
}

} // namespace vx
