#include "consoleplayer.h"

#include "consoleclip.h"

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

[[noreturn]] void raiseMediaError(int error, const QString &source)
{
    const QString detail = mciGetErrorString(error) + QStringLiteral("\n") + source;
    raise(error == mci::FileNotFound ? err::FileNotFound : err::InvalidCall, detail);
}

} // namespace

namespace {

std::map<QString, std::weak_ptr<ConsolePlayer::Console>> &consoles()
{
    static std::map<QString, std::weak_ptr<ConsolePlayer::Console>> c;
    return c;
}

} // namespace

void ConsolePlayer::setCallRecorder(std::function<void(const QString &, const QString &)> r)
{
    console::recorder() = std::move(r);
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
                    if (c->note.isEmpty())
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
