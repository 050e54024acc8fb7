#include "videowindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace vx::media {

VideoWindow::VideoWindow(const QString &title) : QWidget(nullptr)
{
    setWindowTitle(title);
    setAccessibleName(title);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VideoWindow::offerFrame(QImage frame)
{
    QMutexLocker lock(&mutex_);
    pending_ = std::move(frame);
    if (posted_)
        return;
    posted_ = true;
    QMetaObject::invokeMethod(this, [this] { takeFrame(); }, Qt::QueuedConnection);
}

void VideoWindow::takeFrame()
{
    {
        QMutexLocker lock(&mutex_);
        shown_ = std::move(pending_);
        pending_ = QImage();
        posted_ = false;
    }
    if (shown_.isNull() || closedByUser_)
        return;
    if (embedded_) {
        if (isHidden())
            show();
    } else if (!sized_) {
        sized_ = true;
        QSize size = shown_.size();
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            size = size.boundedTo(screen->availableSize());
        resize(size.expandedTo(QSize(16, 16)));
        show();
    }
    update();
}

void VideoWindow::embedIn(QWidget *host)
{
    embedded_ = true;
    setParent(host);
    hide();
}

void VideoWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (shown_.isNull())
        return;
    const QSize fitted = shown_.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, shown_);
}

void VideoWindow::closeEvent(QCloseEvent *e)
{
    // The sound plays on; the clip's close takes the window away.
    closedByUser_ = true;
    e->accept();
}

} // namespace vx::media
