#pragma once
// The parts every player control is built from: the clip's display and the
// transport bar below it (tracker, play, pause, stop, position buttons, mute,
// volume and a status line). The bar only reports what the user did; its
// owner drives the clip and tells the bar what to show.
#include <QImage>
#include <QWidget>

#include <functional>

class QLabel;
class QSlider;
class QToolButton;

namespace vx::media {

// The clip's pictures: its video window fitted inside (sides kept), or shown
// at the picture's own size, centred; a still picture painted the same way.
class VideoArea : public QWidget {
public:
    explicit VideoArea(QWidget *parent, const QColor &background = Qt::black);
    void setNativeSize(bool on);
    bool nativeSize() const { return native_; }
    void setStill(const QImage &picture);
    const QImage &still() const { return still_; }
    // Places the video window again (its picture size may have changed).
    void fitChildren();

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    QRect placed(QSize picture) const;
    bool native_ = false;
    QImage still_;
};

struct TransportDesign {
    bool controls = true;         // play, pause, stop
    bool positionControls = true; // back to the start, rewind, fast forward
    bool tracker = true;
    bool audioControls = true;    // mute and volume
    bool statusBar = true;
};

class TransportBar : public QWidget {
public:
    // `volume` in hundredths of a decibel, -10000..0.
    TransportBar(QWidget *parent, const TransportDesign &design, int volume);

    std::function<void()> onPlay;
    std::function<void()> onPause;
    std::function<void()> onStop;
    std::function<void(qint64 ms)> onSeek;   // to a place
    std::function<void(qint64 ms)> onSeekBy; // by an amount
    // Hundredths of a decibel (-10000 below the slider's range) and mute.
    std::function<void(int volume, bool muted)> onVolume;

    // What the clip is doing: `open` a clip is held, `canPlay` play would start one.
    void showState(bool open, bool canPlay, qint64 positionMs, qint64 lengthMs, const QString &status);
    QString statusText() const;
    // Empty when the design leaves every row out.
    bool isEmpty() const { return empty_; }

private:
    QSlider *tracker_;
    QToolButton *play_;
    QToolButton *pause_;
    QToolButton *stop_;
    QToolButton *toStart_;
    QToolButton *rewind_;
    QToolButton *forward_;
    QToolButton *mute_;
    QSlider *volumeSlider_;
    QLabel *status_;
    int volume_;
    bool muted_ = false;
    bool empty_ = false;
};

// mm:ss of a clip's time.
QString clockText(qint64 ms);

} // namespace vx::media
