// The player control's clip on the playback engine.
#include "engine.h"
#include "mci.h"
#include "mediaplayer.h"

namespace vx {

namespace {

class EngineDriver : public MediaPlayerDriver {
public:
    EngineDriver() = default;
    EngineDriver(const EngineDriver &) = delete;
    EngineDriver &operator=(const EngineDriver &) = delete;
    ~EngineDriver() override
    {
        *alive_ = false;
        if (cancel_)
            *cancel_ = true;
    }

    int open(const QString &path) override
    {
        // One clip at a time: a second open while the first waits is refused.
        if (cancel_)
            return mci::DeviceFailed;
        close();
        int error = mci::NoError;
        const auto cancel = std::make_shared<bool>(false);
        cancel_ = cancel;
        const auto alive = alive_;
        auto engine = media::PlaybackEngine::open(path, error, cancel);
        // Closed while it opened (another clip may be open since), or the
        // driver itself went meanwhile.
        if (!*alive || *cancel)
            return mci::NotOpen;
        cancel_.reset();
        engine_ = std::move(engine);
        return engine_ ? mci::NoError : error;
    }
    int openAddress(const QString &uri) override
    {
        if (cancel_)
            return mci::DeviceFailed;
        close();
        int error = mci::NoError;
        engine_ = media::PlaybackEngine::openAddress(uri, error);
        return engine_ ? mci::NoError : error;
    }
    int openProgress() override
    {
        if (!engine_)
            return mci::NotOpen;
        const int state = engine_->openProgress();
        return state == media::PlaybackEngine::kPending ? kOpening : state;
    }
    void close() override
    {
        // A clip still opening gives up.
        if (cancel_)
            *cancel_ = true;
        cancel_.reset();
        engine_.reset();
        playing_ = false;
    }
    int play() override
    {
        if (!engine_)
            return mci::NotOpen;
        const int e = engine_->play();
        playing_ = e == mci::NoError;
        return e;
    }
    int pause() override
    {
        playing_ = false;
        return engine_ ? engine_->pause() : mci::NotOpen;
    }
    int stop() override
    {
        playing_ = false;
        return engine_ ? engine_->stop() : mci::NotOpen;
    }
    int seek(qint64 ms) override { return engine_ ? engine_->seekTo(ms) : mci::NotOpen; }
    int setRate(double rate) override { return engine_ ? engine_->setRate(rate) : mci::NotOpen; }
    void setVolume(double gain) override
    {
        if (engine_)
            engine_->setVolume(gain);
    }
    QString title() override { return engine_ ? engine_->title() : QString(); }
    QString author() override { return engine_ ? engine_->artist() : QString(); }
    qint64 positionMs() override { return engine_ ? engine_->positionMs() : 0; }
    qint64 lengthMs() override { return engine_ ? engine_->lengthMs() : 0; }
    bool takeEnded() override
    {
        if (!engine_ || !playing_ || engine_->mode() != media::PlayMode::Stopped)
            return false;
        playing_ = false;
        return true;
    }
    void embedVideo(QWidget *host) override
    {
        if (engine_)
            engine_->embedVideo(host);
    }

private:
    std::unique_ptr<media::PlaybackEngine> engine_;
    bool playing_ = false;
    std::shared_ptr<bool> cancel_; // of the open that waits
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace

std::unique_ptr<MediaPlayerDriver> makeEngineMediaPlayerDriver()
{
    return std::make_unique<EngineDriver>();
}

} // namespace vx
