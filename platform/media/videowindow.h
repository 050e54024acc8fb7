#pragma once
// The window a video clip shows its pictures in, as a media device without a
// parent window does: it appears with the first picture at the clip's size and
// closes with the clip. Closed by the user, it stays closed for that clip.
#include <QImage>
#include <QMutex>
#include <QWidget>

namespace vx::media {

class VideoWindow : public QWidget {
public:
    explicit VideoWindow(const QString &title);
    // From GStreamer's streaming thread: keeps the newest picture and asks the
    // window thread to show it (one request at a time, so a busy window
    // thread never piles pictures up).
    void offerFrame(QImage frame);
    const QImage &frame() const { return shown_; }
    // Shown inside `host` from the first picture on, at the size the host gives.
    void embedIn(QWidget *host);

protected:
    void paintEvent(QPaintEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void takeFrame();
    QMutex mutex_;
    QImage pending_;
    bool posted_ = false;
    QImage shown_;
    bool sized_ = false;
    bool closedByUser_ = false;
    bool embedded_ = false;
};

} // namespace vx::media
