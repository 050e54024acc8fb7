#pragma once
// One media clip played through a GStreamer playbin. Every call is
// synchronous and returns an error number of the command interpreter; the
// clip plays on in GStreamer's own threads between calls. Audio goes to the
// desktop's sound server or ALSA device, or to a null sink that keeps time
// when there is none; video to a window of the clip's own.
#include <QString>

#include <memory>

class QWidget;

namespace vx::media {

enum class PlayMode { Stopped, Playing, Paused };

class PlaybackEngine {
public:
    // Opens `path` and waits until it is ready to play (at most
    // kReadyWaitMs) and its length is known (at most kLengthWaitMs more; then
    // an estimate from its bytes and bit rate, else 0 until it tells). A file
    // the engine cannot read fails as soon as the engine says so. nullptr and
    // `error` set on failure.
    // Called on the window thread, the window keeps painting and answering
    // assistive technology while the open waits; user input waits, and so do
    // timer ticks and buttons pressed meanwhile. Whatever else runs meanwhile
    // may set *cancel: the open then fails with mci::NotOpen.
    static std::unique_ptr<PlaybackEngine> open(const QString &path, int &error,
                                                const std::shared_ptr<bool> &cancel = {});
    // Starts opening a network address and returns at once; openProgress()
    // tells when it is ready or failed. nullptr and `error` set when no
    // stream can be made for it.
    static std::unique_ptr<PlaybackEngine> openAddress(const QString &uri, int &error);
    // Of an address being opened: kPending, or 0 once ready, or the error.
    static constexpr int kPending = -1;
    int openProgress();
    ~PlaybackEngine();
    PlaybackEngine(const PlaybackEngine &) = delete;
    PlaybackEngine &operator=(const PlaybackEngine &) = delete;

    int play();
    int pause();
    int stop();
    int seekToStart();
    // "playing" from an accepted play until the clip ends or fails.
    PlayMode mode();
    qint64 positionMs();
    qint64 lengthMs();
    // The video window (nullptr before the first picture and for sound only).
    QWidget *videoWindow() const;

    // Playback speed (> 0); kept across seeks. Set after open.
    int setRate(double rate);
    int seekTo(qint64 ms);
    // Linear gain, 0..1.
    void setVolume(double gain);
    // Title and artist of the clip's tags ("" when it has none).
    QString title();
    QString artist();
    // Pictures go into `host` (fitted to it by whoever sizes it) instead of a
    // window of their own.
    void embedVideo(QWidget *host);

    // The longest waits of an open.
    static constexpr int kReadyWaitMs = 8000;
    static constexpr int kLengthWaitMs = 500;

private:
    PlaybackEngine();
    static std::unique_ptr<PlaybackEngine> create(const QByteArray &uri, const QString &title, int &error);
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace vx::media
