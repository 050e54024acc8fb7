#pragma once
// The console player control: parts of one player that may sit in different
// places. Each control shows one part of its design ("ImageWindow" the
// picture, "ControlPanel" or "All" the transport panel); controls with the
// same console name share one clip, so a panel drives the picture of another
// control or window. The console lives until its last control goes.
//
// The source is any text: a local file (media, a still picture, a playlist
// of ".ram", ".asx" or "wax") or a network address. A local source that
// cannot be played is a run-time error of DoPlay; an address opens in the
// background and a failure shows only in the panel's status line.
#include "platform/forms/control.h"

#include <QString>

#include <functional>
#include <memory>

namespace vx {

namespace media {
class TransportBar;
class VideoArea;
} // namespace media

struct ConsoleDesign {
    QString controls = QStringLiteral("All"); // "ImageWindow", "ControlPanel" or "All"
    QString console;                          // "" a console of its own
    QString background = QStringLiteral("#000000");
};

class ConsolePlayer : public Control<QWidget> {
    Q_OBJECT
public:
    enum State { Stopped = 0, Playing = 1, Paused = 2, Opening = 3 };

    ConsolePlayer(Form *form, const QString &name, const ConsoleDesign &design);
    ~ConsolePlayer() override;

    QString Source() const;
    // A new source closes the clip held.
    void setSource(const QString &source);
    void DoPlay();
    void DoPause();
    // Back to the start; an address still opening is given up.
    void DoStop();
    // Plays the source again from its start when it ends.
    void setRepeat(bool on);
    bool Repeat() const;
    // The picture at the clip's own size instead of fitted to the area.
    void setNativeSize(bool on);
    bool NativeSize() const;

    int PlayState() const;
    QString StatusText() const;
    // The still picture shown (null for none).
    QImage StillPicture() const;
    QString Controls() const { return design_.controls; }
    QString ConsoleName() const { return design_.console; }
    media::VideoArea *videoArea() const { return area_; }
    media::TransportBar *panel() const { return bar_; }

    // Looks at the clip now (the console does it every 50 ms while busy).
    void poll();

    // Tests: every call a window makes ("console: call argument").
    static void setCallRecorder(std::function<void(const QString &console, const QString &call)> recorder);

    struct Console;

private:
    ConsoleDesign design_;
    std::shared_ptr<Console> console_;
    media::VideoArea *area_ = nullptr;
    media::TransportBar *bar_ = nullptr;
};

} // namespace vx
