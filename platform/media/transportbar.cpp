#include "transportbar.h"

#include "videowindow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace vx::media {

QString clockText(qint64 ms)
{
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2").arg(s / 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
}

VideoArea::VideoArea(QWidget *parent, const QColor &background) : QWidget(parent)
{
    setObjectName(QStringLiteral("Display"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, background.isValid() ? background : QColor(Qt::black));
    setPalette(pal);
}

void VideoArea::setNativeSize(bool on)
{
    native_ = on;
    fitChildren();
    update();
}

void VideoArea::setStill(const QImage &picture)
{
    still_ = picture;
    update();
}

QRect VideoArea::placed(QSize picture) const
{
    if (picture.isEmpty())
        return rect();
    const QSize size = native_ ? picture.boundedTo(this->size()) : picture.scaled(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void VideoArea::fitChildren()
{
    for (QObject *child : children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w)
            continue;
        // Fitted, the video window letterboxes itself; at its own size it
        // sits in the middle.
        const auto *video = dynamic_cast<VideoWindow *>(w);
        const QRect target = native_ && video ? placed(video->frame().size()) : rect();
        if (w->geometry() != target)
            w->setGeometry(target);
    }
}

bool VideoArea::event(QEvent *e)
{
    const bool handled = QWidget::event(e);
    if (e->type() == QEvent::Resize || e->type() == QEvent::ChildAdded || e->type() == QEvent::ChildPolished)
        fitChildren();
    return handled;
}

void VideoArea::paintEvent(QPaintEvent *)
{
    if (still_.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect target = placed(still_.size());
    // At its own size a picture larger than the area shows its middle.
    if (native_)
        p.drawImage(target, still_, QRect(QPoint((still_.width() - target.width()) / 2,
                                                 (still_.height() - target.height()) / 2), target.size()));
    else
        p.drawImage(target, still_);
}

TransportBar::TransportBar(QWidget *parent, const TransportDesign &design, int volume)
    : QWidget(parent), volume_(std::clamp(volume, -10000, 0))
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);

    tracker_ = new QSlider(Qt::Horizontal, this);
    tracker_->setAccessibleName(QStringLiteral("再生位置"));
    tracker_->setToolTip(tracker_->accessibleName());
    tracker_->setRange(0, 0);
    tracker_->setPageStep(5000);
    tracker_->setSingleStep(1000);
    connect(tracker_, &QSlider::actionTriggered, this, [this](int) {
        QTimer::singleShot(0, this, [this] {
            if (onSeek)
                onSeek(tracker_->value());
        });
    });
    tracker_->setVisible(design.tracker);
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
        b->setVisible(design.controls);
    for (QToolButton *b : {toStart_, rewind_, forward_})
        b->setVisible(design.controls && design.positionControls);
    auto call = [](const std::function<void()> &f) {
        if (f)
            f();
    };
    connect(play_, &QToolButton::clicked, this, [this, call] { call(onPlay); });
    connect(pause_, &QToolButton::clicked, this, [this, call] { call(onPause); });
    connect(stop_, &QToolButton::clicked, this, [this, call] { call(onStop); });
    connect(toStart_, &QToolButton::clicked, this, [this] {
        if (onSeek)
            onSeek(0);
    });
    connect(rewind_, &QToolButton::clicked, this, [this] {
        if (onSeekBy)
            onSeekBy(-5000);
    });
    connect(forward_, &QToolButton::clicked, this, [this] {
        if (onSeekBy)
            onSeekBy(5000);
    });
    row->addStretch(1);
    mute_ = button(QStyle::SP_MediaVolume, QStringLiteral("消音"));
    mute_->setCheckable(true);
    connect(mute_, &QToolButton::toggled, this, [this](bool on) {
        muted_ = on;
        mute_->setIcon(style()->standardIcon(on ? QStyle::SP_MediaVolumeMuted : QStyle::SP_MediaVolume));
        if (onVolume)
            onVolume(volume_, muted_);
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
        if (onVolume)
            onVolume(volume_, muted_);
    });
    row->addWidget(volumeSlider_);
    mute_->setVisible(design.audioControls);
    volumeSlider_->setVisible(design.audioControls);
    if (design.controls || design.audioControls)
        column->addLayout(row);
    else
        delete row;

    status_ = new QLabel(this);
    // Read as what it shows; what it is goes in the description.
    status_->setAccessibleDescription(QStringLiteral("状態"));
    status_->setFrameShape(QFrame::StyledPanel);
    status_->setVisible(design.statusBar);
    column->addWidget(status_);
    empty_ = !design.tracker && !design.controls && !design.audioControls && !design.statusBar;
}

void TransportBar::showState(bool open, bool canPlay, qint64 position, qint64 length, const QString &status)
{
    if (!tracker_->isSliderDown()) {
        tracker_->setRange(0, int(std::min<qint64>(open ? length : 0, INT_MAX)));
        tracker_->setValue(int(std::min<qint64>(open ? position : 0, INT_MAX)));
    }
    tracker_->setEnabled(open);
    for (QToolButton *b : {play_, pause_, stop_, toStart_, rewind_, forward_})
        b->setEnabled(open || (b == play_ && canPlay));
    status_->setText(status);
}

QString TransportBar::statusText() const
{
    return status_->text();
}

} // namespace vx::media
