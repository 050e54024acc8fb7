#pragma once
// The media player control of the second player's windows: a clip display,
// tracker, transport and volume controls and a status line (each shown as its
// design switches them on), over the playback engine. Several can play at
// once. Setting FileName opens the clip and starts it; a file that cannot be
// opened raises a run-time error from FileName or Play. Playlists (".asx",
// names ending in "wax") play their entries in order as one clip; ".rmi" plays
// as MIDI. The clip's end raises EndOfStream.
#include "platform/forms/control.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QTemporaryFile;
class QTimer;

namespace vx::media {
class TransportBar;
class VideoArea;
} // namespace vx::media

namespace vx {

// One clip at a time, as the control drives it: the engine in the program, a
// recording fake in the windows' tests. Errors are the interpreter's numbers.
class MediaPlayerDriver {
public:
    virtual ~MediaPlayerDriver() = default;
    virtual int open(const QString &path) = 0;
    // A network address opens in the background: openProgress() is
    // kOpening until it is ready (0) or failed (an error).
    static constexpr int kOpening = -1;
    virtual int openAddress(const QString &uri) { (void)uri; return 307; } // cannot play
    virtual int openProgress() { return 0; }
    virtual void close() = 0;
    virtual int play() = 0;
    virtual int pause() = 0;
    // Stays at its place.
    virtual int stop() = 0;
    virtual int seek(qint64 ms) = 0;
    virtual int setRate(double rate) = 0;
    virtual void setVolume(double gain) = 0;
    virtual QString title() = 0;
    virtual QString author() = 0;
    virtual qint64 positionMs() = 0;
    virtual qint64 lengthMs() = 0;
    // True once when the playing clip reached its end (or broke off).
    virtual bool takeEnded() = 0;
    // Pictures of the clip inside `host`.
    virtual void embedVideo(QWidget *host) = 0;
};

// Makes the driver of the control named `name` ("Form20.MediaPlayer1").
using MediaPlayerDriverFactory = std::function<std::unique_ptr<MediaPlayerDriver>(const QString &name)>;
// Tests; an empty factory restores the engine.
void setMediaPlayerDriverFactory(MediaPlayerDriverFactory factory);
std::unique_ptr<MediaPlayerDriver> makeEngineMediaPlayerDriver();
// The factory's driver for `name`, else the engine's.
std::unique_ptr<MediaPlayerDriver> makeMediaPlayerDriver(const QString &name);

// The design-time switches of a control.
struct MediaPlayerDesign {
    bool autoStart = true;
    bool showControls = true;         // play, pause, stop
    bool showPositionControls = true; // back to the start, rewind, fast forward
    bool showTracker = true;
    bool showAudioControls = true;    // mute and volume
    bool showStatusBar = true;
    int volume = 0; // hundredths of a decibel, -10000..0
};

class MediaPlayer : public Control<QWidget> {
    Q_OBJECT
public:
    enum State { Stopped = 0, Paused = 1, Playing = 2, Closed = 6 };

    MediaPlayer(Form *form, const QString &name, const MediaPlayerDesign &design);
    ~MediaPlayer() override;

    QString FileName() const { return fileName_; }
    // Closes the clip held, opens `path` (any run-time error when it cannot be
    // played; "" only closes) and starts it when the design says so.
    void setFileName(const QString &path);
    double Rate() const { return rate_; }
    // Error 380 for a rate that is not above 0.
    void setRate(double rate);
    void Play();
    void Pause();
    void Stop();
    // 8 clip title, 9 clip author; "" for anything else.
    QString GetMediaInfoString(int which) const;
    int PlayState() const { return state_; }
    int Volume() const { return volume_; }
    void setVolume(int hundredthsDb);

    std::function<void(int)> EndOfStream;
    std::function<void(int, int)> PlayStateChange;

    // Looks at the clip now (the control does it every 50 ms while playing).
    void poll();

private:
    bool openEntry(int index);
    // Opens the first entry from `from` on that opens, naming those passed over.
    bool openFrom(int from);
    void closeClip();
    void setState(State s);
    void applyVolume();
    void refreshDisplay();
    void seekBy(qint64 ms);

    std::unique_ptr<MediaPlayerDriver> driver_;
    MediaPlayerDesign design_;
    QString fileName_;
    QStringList entries_;
    int entry_ = -1;
    bool open_ = false;
    // A clip being opened (the window answers meanwhile); a new file name or
    // a close meanwhile counts up `generation_`, and the older call gives way.
    bool opening_ = false;
    int generation_ = 0;
    double rate_ = 1.0;
    int volume_ = 0;
    bool muted_ = false;
    State state_ = Closed;
    QString title_;
    QString author_;
    QString note_; // the list entry passed over last, for the status line
    std::unique_ptr<QTemporaryFile> midi_;
    QTimer *timer_;
    media::VideoArea *screen_;
    media::TransportBar *bar_;
};

} // namespace vx
