#include "cdaudio.h"

#include "audiosink.h"

#include "cdstream.h"
#include "mci.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <thread>

namespace vx::cd {

namespace {

std::atomic<int> timeoutMs{5000};

bool is(const QString &word, const char *keyword)
{
    return word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

// Runs `job` on a thread of its own and waits for it a bounded time: a drive
// that hangs leaves the thread behind, never the window.
int runBounded(std::function<int()> job)
{
    struct Pending {
        std::mutex m;
        std::condition_variable cv;
        bool done = false;
        int result = mci::NoError;
    };
    auto pending = std::make_shared<Pending>();
    try {
        std::thread([pending, job = std::move(job)] {
            const int r = job();
            std::lock_guard guard(pending->m);
            pending->result = r;
            pending->done = true;
            pending->cv.notify_all();
        }).detach();
    } catch (const std::system_error &) {
        return mci::DeviceFailed;
    }
    std::unique_lock guard(pending->m);
    if (!pending->cv.wait_for(guard, std::chrono::milliseconds(timeoutMs.load()), [&] { return pending->done; }))
        return mci::Timeout;
    return pending->result;
}

QString twoDigits(qint64 n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString msf(qint64 sectors)
{
    const qint64 seconds = sectors / kSectorsPerSecond;
    return twoDigits(seconds / 60) + QLatin1Char(':') + twoDigits(seconds % 60) + QLatin1Char(':')
           + twoDigits(sectors % kSectorsPerSecond);
}

qint64 toMs(qint64 sectors) { return sectors * 1000 / kSectorsPerSecond; }

} // namespace

void CdAudioDevice::setCallTimeout(int ms) { timeoutMs = ms; }
int CdAudioDevice::callTimeout() { return timeoutMs; }

std::unique_ptr<CdAudioDevice> CdAudioDevice::open(int &error)
{
    auto medium = std::make_shared<std::shared_ptr<CdMedium>>();
    const QString path = devicePath();
    error = runBounded([medium, path] { return cdDriveSystem().open(path, *medium); });
    if (error != mci::NoError)
        return nullptr; // a late answer is released by the thread that got it
    std::unique_ptr<CdAudioDevice> device(new CdAudioDevice());
    device->medium_ = *medium;
    media::prepareAudioOutput();
    return device;
}

CdAudioDevice::~CdAudioDevice()
{
    stopStream();
}

int CdAudioDevice::call(std::function<int(CdMedium &)> job)
{
    std::shared_ptr<CdMedium> medium = medium_;
    return runBounded([medium, job = std::move(job)] {
        std::unique_lock guard(medium->lock, std::chrono::milliseconds(timeoutMs.load()));
        if (!guard.owns_lock())
            return mci::Timeout;
        return job(*medium);
    });
}

// The output is taken down on a thread of its own: a drive stuck inside a
// sector read holds that thread, not the window.
void CdAudioDevice::stopStream()
{
    if (!stream_)
        return;
    pos_ = stream_->position();
    std::shared_ptr<CdStream> stream(std::move(stream_));
    runBounded([stream = std::move(stream)]() mutable {
        stream.reset();
        return mci::NoError;
    });
}

// A stream that ended leaves the disc stopped where it ended.
void CdAudioDevice::settle()
{
    if (stream_ && stream_->ended()) {
        stopStream();
        mode_ = Mode::Stopped;
    }
}

qint32 CdAudioDevice::position()
{
    settle();
    return stream_ ? stream_->position() : pos_;
}

// The disc now in; another disc than before starts stopped at its beginning.
int CdAudioDevice::readDisc()
{
    auto toc = std::make_shared<Toc>();
    if (const int r = call([toc](CdMedium &m) { return m.readToc(*toc); }))
        return r;
    if (toc->refused)
        setCdErrorText(toc->refused, toc->refusal);
    if (*toc != toc_) {
        stopStream();
        mode_ = Mode::Stopped;
        toc_ = *toc;
        pos_ = toc_.present() ? toc_.tracks.front().start : 0;
    }
    return mci::NoError;
}

int CdAudioDevice::needDisc()
{
    if (const int r = readDisc())
        return r;
    return toc_.present() ? mci::NoError : noDisc();
}

QString CdAudioDevice::lengthText(qint64 sectors) const
{
    return milliseconds_ ? QString::number(toMs(sectors)) : msf(sectors);
}

int CdAudioDevice::command(const QString &verb, const QStringList &args, QString &reply)
{
    reply.clear();
    if (is(verb, "status"))
        return status(args, reply);
    if (is(verb, "set")) {
        if (args.size() == 3 && is(args[0], "time") && is(args[1], "format")) {
            if (is(args[2], "tmsf"))
                milliseconds_ = false;
            else if (is(args[2], "milliseconds") || is(args[2], "ms"))
                milliseconds_ = true;
            else
                return mci::BadArguments;
            return mci::NoError;
        }
        if (args.size() == 2 && is(args[0], "door") && (is(args[1], "open") || is(args[1], "closed")))
            return door(is(args[1], "open"));
        return mci::BadArguments;
    }
    if (is(verb, "info"))
        return info(args, reply);
    if (is(verb, "seek"))
        return seek(args);
    if (is(verb, "play"))
        return play(args);
    if (!is(verb, "stop") && !is(verb, "pause"))
        return mci::UnknownCommand;
    if (!args.isEmpty())
        return mci::BadArguments;
    if (const int r = needDisc())
        return r;
    settle();
    if (is(verb, "stop")) {
        stopStream();
        mode_ = Mode::Stopped;
        return mci::NoError;
    }
    if (mode_ != Mode::Playing)
        return mci::NoError;
    if (const int r = stream_->pause())
        return r;
    mode_ = Mode::Paused;
    return mci::NoError;
}

int CdAudioDevice::status(const QStringList &args, QString &reply)
{
    const QString item = args.join(QLatin1Char(' ')).toLower();
    const bool lengthOfTrack = args.size() == 3 && item.startsWith(QLatin1String("length track "));
    static const QStringList items{QStringLiteral("media present"), QStringLiteral("number of tracks"),
                                   QStringLiteral("length"), QStringLiteral("position"), QStringLiteral("mode")};
    if (!lengthOfTrack && !items.contains(item))
        return mci::BadArguments;
    if (const int r = readDisc())
        return r;
    if (item == QLatin1String("media present")) {
        reply = toc_.present() ? QStringLiteral("true") : QStringLiteral("false");
        return mci::NoError;
    }
    if (item == QLatin1String("mode")) {
        auto open = std::make_shared<bool>(false);
        if (const int r = call([open](CdMedium &m) { return m.trayOpen(*open); }))
            return r;
        settle();
        if (*open)
            reply = QStringLiteral("open");
        else if (mode_ == Mode::Playing)
            reply = QStringLiteral("playing");
        else if (mode_ == Mode::Paused)
            reply = QStringLiteral("paused");
        else
            reply = QStringLiteral("stopped");
        return mci::NoError;
    }
    if (!toc_.present())
        return noDisc();
    const auto &tracks = toc_.tracks;
    if (item == QLatin1String("number of tracks")) {
        reply = QString::number(tracks.size());
    } else if (item == QLatin1String("length")) {
        reply = lengthText(discEnd() - tracks.front().start);
    } else if (lengthOfTrack) {
        bool ok = false;
        const qint64 n = args[2].toLongLong(&ok);
        if (!ok)
            return mci::BadArguments;
        if (n < 1 || n > qint64(tracks.size()))
            return mci::OutOfRange;
        const Track &t = tracks[size_t(n - 1)];
        reply = lengthText(t.end - t.start);
    } else {
        const qint32 lsn = position();
        if (milliseconds_) {
            reply = QString::number(toMs(std::max<qint64>(0, lsn - tracks.front().start)));
        } else {
            size_t i = 0;
            while (i + 1 < tracks.size() && lsn >= tracks[i].end)
                ++i;
            reply = twoDigits(qint64(i + 1)) + QLatin1Char(':') + msf(std::max<qint64>(0, lsn - tracks[i].start));
        }
    }
    return mci::NoError;
}

// "identity": a number of the disc's own, from its table of contents (and,
// for an image, from which reading of it this is); another disc has another.
int CdAudioDevice::info(const QStringList &args, QString &reply)
{
    if (args.size() != 1 || !is(args[0], "identity"))
        return mci::BadArguments;
    if (const int r = needDisc())
        return r;
    quint64 hash = 14695981039346656037ULL;
    const auto mix = [&hash](quint64 value) {
        for (int i = 0; i < 8; ++i) {
            hash ^= (value >> (8 * i)) & 0xFF;
            hash *= 1099511628211ULL;
        }
    };
    for (const Track &t : toc_.tracks) {
        mix(quint64(t.start));
        mix(quint64(t.end));
        mix(t.audio);
    }
    mix(toc_.disc);
    reply = QString::number(hash);
    return mci::NoError;
}

// The sector a number names in the time format now set.
int CdAudioDevice::target(const QString &text, qint32 &lsn) const
{
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok)
        return mci::BadArguments;
    const auto &tracks = toc_.tracks;
    if (milliseconds_) {
        if (n < 0 || n > toMs(discEnd() - tracks.front().start))
            return mci::OutOfRange;
        lsn = qint32(tracks.front().start + n * kSectorsPerSecond / 1000);
        return mci::NoError;
    }
    if (n < 0 || n > qint64(tracks.size()))
        return mci::OutOfRange;
    lsn = tracks[size_t(std::max<qint64>(n, 1) - 1)].start;
    return mci::NoError;
}

int CdAudioDevice::seek(const QStringList &args)
{
    if (args.size() != 2 || !is(args[0], "to"))
        return mci::BadArguments;
    if (const int r = needDisc())
        return r;
    qint32 lsn = 0;
    if (is(args[1], "start"))
        lsn = toc_.tracks.front().start;
    else if (const int r = target(args[1], lsn))
        return r; // refused: nothing moves
    stopStream();
    pos_ = lsn;
    mode_ = Mode::Stopped;
    return mci::NoError;
}

int CdAudioDevice::play(const QStringList &args)
{
    const bool from = args.size() == 2 && is(args[0], "from");
    if (!args.isEmpty() && !from)
        return mci::BadArguments;
    if (const int r = needDisc())
        return r;
    settle();
    qint32 start = 0;
    if (from) {
        if (const int r = target(args[1], start))
            return r;
    } else if (mode_ == Mode::Paused) {
        if (const int r = stream_->resume())
            return r;
        mode_ = Mode::Playing;
        return mci::NoError;
    } else {
        start = position();
    }
    // The music from there to the end of the disc, data tracks left out.
    std::vector<Run> runs;
    for (const Track &t : toc_.tracks)
        if (t.audio && t.end > start)
            runs.push_back({std::max(t.start, start), t.end});
    if (start >= discEnd()) {
        stopStream();
        pos_ = discEnd();
        mode_ = Mode::Stopped; // nothing left: stopped at once
        return mci::NoError;
    }
    if (runs.empty())
        return mci::NoAudioTrack;
    stopStream();
    int error = mci::NoError;
    stream_ = CdStream::start(medium_, std::move(runs), error);
    if (!stream_) {
        mode_ = Mode::Stopped;
        return error;
    }
    mode_ = Mode::Playing;
    return mci::NoError;
}

// Playback stops before the tray moves.
int CdAudioDevice::door(bool open)
{
    if (open) {
        stopStream();
        mode_ = Mode::Stopped;
    }
    return call([open](CdMedium &m) { return m.setDoor(open); });
}

CdAudioDevices::CdAudioDevices() = default;
CdAudioDevices::~CdAudioDevices() = default;

bool CdAudioDevices::hasAlias(const QString &name) const { return devices_.count(name.toLower()) > 0; }

bool CdAudioDevices::handles(const QStringList &words, QString &reply, int &result,
                             const std::function<bool(const QString &)> &aliasTaken)
{
    if (words.size() < 2)
        return false;
    const bool opening = is(words[0], "open") && is(words[1], "cdaudio");
    const auto it = devices_.find(words[1].toLower());
    if (!opening && it == devices_.end())
        return false;
    // "wait" is how every command runs here; "shareable" is how every open does.
    QStringList args;
    for (qsizetype i = 2; i < words.size(); ++i)
        if (!is(words[i], "wait") && !(opening && is(words[i], "shareable")))
            args << words[i];
    reply.clear();
    if (opening) {
        QString name = QStringLiteral("cdaudio");
        if (args.size() == 2 && is(args[0], "alias") && !args[1].isEmpty())
            name = args[1].toLower();
        else if (!args.isEmpty()) {
            result = mci::BadArguments;
            return true;
        }
        if (devices_.count(name) || aliasTaken(name)) {
            result = mci::AliasInUse;
            return true;
        }
        auto device = CdAudioDevice::open(result);
        if (device)
            devices_.emplace(name, std::move(device));
        return true;
    }
    if (is(words[0], "close")) {
        result = args.isEmpty() ? mci::NoError : mci::BadArguments;
        if (args.isEmpty())
            devices_.erase(it); // the drive is released here
        return true;
    }
    result = it->second->command(words[0], args, reply);
    return true;
}

} // namespace vx::cd
