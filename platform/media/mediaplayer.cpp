#include "mediaplayer.h"

#include "mci.h"
#include "playlistfile.h"

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

QString clock(qint64 ms)
{
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2").arg(s / 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

void setMediaPlayerDriverFactory(MediaPlayerDriverFactory f)
{
    factory() = std::move(f);
}

MediaPlayer::MediaPlayer(Form *form, const QString &name, const MediaPlayerDesign &design)
    : Control<QWidget>(form, name), design_(design), volume_(std::clamp(design.volume, -10000, 0))
{
    const QString fullName = form->Name() + QLatin1Char('.') + name;
    driver_ = factory() ? factory()(fullName) : makeEngineMediaPlayerDriver();
    setAccessibleName(QStringLiteral("メディア プレーヤー"));

    timer_ = new QTimer(this);
    timer_->setInterval(50);
    // The clip's events run as handlers the user started do.
    connect(timer_, &QTimer::timeout, this, [this] { dispatch([this] { poll(); }); });

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    screen_ = new QWidget(this);
    screen_->setObjectName(QStringLiteral("Display"));
    screen_->setAutoFillBackground(true);
    QPalette black = screen_->palette();
    black.setColor(QPalette::Window, Qt::black);
    screen_->setPalette(black);
    screen_->installEventFilter(this);
    column->addWidget(screen_, 1);

    tracker_ = new QSlider(Qt::Horizontal, this);
    tracker_->setAccessibleName(QStringLiteral("再生位置"));
    tracker_->setToolTip(tracker_->accessibleName());
    tracker_->setRange(0, 0);
    tracker_->setPageStep(5000);
    tracker_->setSingleStep(1000);
    connect(tracker_, &QSlider::actionTriggered, this, [this](int) {
        QTimer::singleShot(0, this, [this] {
            if (open_)
                driver_->seek(tracker_->value());
        });
    });
    tracker_->setVisible(design.showTracker);
    column->addWidget(tracker_);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(1);
    auto button = [this, row](QStyle::StandardPixmap icon, const QString &text) {
        auto *b = new QToolButton(this);
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(text);
        b->setAccessibleName(text);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::StrongFocus);
        row->addWidget(b);
        return b;
    };
    play_ = button(QStyle::SP_MediaPlay, QStringLiteral("再生"));
    pause_ = button(QStyle::SP_MediaPause, QStringLiteral("一時停止"));
    stop_ = button(QStyle::SP_MediaStop, QStringLiteral("停止"));
    toStart_ = button(QStyle::SP_MediaSkipBackward, QStringLiteral("先頭へ"));
    rewind_ = button(QStyle::SP_MediaSeekBackward, QStringLiteral("巻き戻し"));
    forward_ = button(QStyle::SP_MediaSeekForward, QStringLiteral("早送り"));
    for (QToolButton *b : {play_, pause_, stop_})
        b->setVisible(design.showControls);
    for (QToolButton *b : {toStart_, rewind_, forward_})
        b->setVisible(design.showControls && design.showPositionControls);
    // The buttons act as the methods do; a clip that cannot play says nothing here.
    auto quietly = [](const std::function<void()> &f) {
        try {
            f();
        } catch (const RuntimeError &) {
        }
    };
    connect(play_, &QToolButton::clicked, this, [this, quietly] { dispatch([this, quietly] { quietly([this] { Play(); }); }); });
    connect(pause_, &QToolButton::clicked, this, [this] { dispatch([this] { Pause(); }); });
    connect(stop_, &QToolButton::clicked, this, [this] { dispatch([this] { Stop(); }); });
    connect(toStart_, &QToolButton::clicked, this, [this] {
        if (open_)
            driver_->seek(0);
        refreshDisplay();
    });
    connect(rewind_, &QToolButton::clicked, this, [this] { seekBy(-5000); });
    connect(forward_, &QToolButton::clicked, this, [this] { seekBy(5000); });
    row->addStretch(1);
    mute_ = button(QStyle::SP_MediaVolume, QStringLiteral("消音"));
    mute_->setCheckable(true);
    connect(mute_, &QToolButton::toggled, this, [this](bool on) {
        muted_ = on;
        mute_->setIcon(style()->standardIcon(on ? QStyle::SP_MediaVolumeMuted : QStyle::SP_MediaVolume));
        applyVolume();
    });
    volumeSlider_ = new QSlider(Qt::Horizontal, this);
    volumeSlider_->setAccessibleName(QStringLiteral("音量"));
    volumeSlider_->setToolTip(volumeSlider_->accessibleName());
    volumeSlider_->setRange(-4000, 0);
    volumeSlider_->setSingleStep(100);
    volumeSlider_->setPageStep(500);
    volumeSlider_->setValue(std::max(volume_, -4000));
    volumeSlider_->setFixedWidth(70);
    connect(volumeSlider_, &QSlider::valueChanged, this, [this](int v) {
        // Below the slider's range counts as silence.
        volume_ = v <= -4000 ? -10000 : v;
        applyVolume();
    });
    row->addWidget(volumeSlider_);
    mute_->setVisible(design.showAudioControls);
    volumeSlider_->setVisible(design.showAudioControls);
    if (design.showControls || design.showAudioControls)
        column->addLayout(row);
    else
        delete row;

    status_ = new QLabel(this);
    status_->setAccessibleName(QStringLiteral("状態"));
    status_->setFrameShape(QFrame::StyledPanel);
    status_->setVisible(design.showStatusBar);
    column->addWidget(status_);
    refreshDisplay();
}

MediaPlayer::~MediaPlayer()
{
    // The clip's pictures live in this control: the clip goes first.
    timer_->stop();
    driver_.reset();
}

bool MediaPlayer::eventFilter(QObject *watched, QEvent *event)
{
    // The clip's pictures fill the display (fitted to it, sides kept).
    if (watched == screen_ && (event->type() == QEvent::Resize || event->type() == QEvent::ChildAdded
                               || event->type() == QEvent::ChildPolished)) {
        for (QObject *child : screen_->children())
            if (auto *w = qobject_cast<QWidget *>(child))
                w->setGeometry(screen_->rect());
    }
    return Control<QWidget>::eventFilter(watched, event);
}

void MediaPlayer::closeClip()
{
    timer_->stop();
    if (open_)
        driver_->close();
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
    QString path = entries_.value(index);
    // MIDI wrapped in RIFF plays from a plain copy of its data.
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray head = f.read(12);
        if (head.size() == 12 && head.startsWith("RIFF") && head.mid(8) == "RMID") {
            f.seek(0);
            const QByteArray midiData = media::rmidMidiData(f.readAll());
            if (midiData.isEmpty())
                return false;
            midi_ = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/vxrmi-XXXXXX.mid"));
            if (!midi_->open() || midi_->write(midiData) != midiData.size() || !midi_->flush())
                return false;
            path = midi_->fileName();
        }
    }
    if (driver_->open(path) != mci::NoError)
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

void MediaPlayer::setFileName(const QString &path)
{
    closeClip();
    fileName_ = path;
    entries_.clear();
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
        error = mci::CannotPlay;
        for (int i = 0; i < entries_.size(); ++i) {
            if (openEntry(i)) {
                error = mci::NoError;
                break;
            }
        }
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
    if (!open_) {
        // A playlist that ran out starts again at its first entry.
        bool reopened = false;
        for (int i = 0; i < entries_.size() && !reopened; ++i)
            reopened = openEntry(i);
        if (!reopened)
            raiseMediaError(fileName_.isEmpty() ? mci::FileNotFound : mci::CannotPlay, fileName_);
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
    // The next entry of a playlist goes on as part of the same clip.
    for (int i = entry_ + 1; i < entries_.size(); ++i) {
        if (openEntry(i) && driver_->play() == mci::NoError) {
            refreshDisplay();
            return;
        }
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
    if (!tracker_->isSliderDown()) {
        tracker_->setRange(0, int(std::min<qint64>(length, INT_MAX)));
        tracker_->setValue(int(std::min<qint64>(position, INT_MAX)));
    }
    tracker_->setEnabled(open_);
    for (QToolButton *b : {play_, pause_, stop_, toStart_, rewind_, forward_})
        b->setEnabled(open_ || (b == play_ && !entries_.isEmpty()));
    QString text;
    switch (state_) {
    case Playing: text = QStringLiteral("再生中"); break;
    case Paused: text = QStringLiteral("一時停止"); break;
    case Stopped: text = QStringLiteral("停止"); break;
    case Closed: text = QStringLiteral("準備完了"); break;
    }
    if (open_)
        text += QStringLiteral("  %1 / %2").arg(clock(position), clock(length));
    status_->setText(text);
}

} // namespace vx
