#include "mci.h"

#include "cdaudio.h"
#include "engine.h"
#include "midiports.h"

#include <QCoreApplication>
#include <QStringList>

#include <map>

namespace vx {

QString mciGetErrorString(int error)
{
    switch (error) {
    case mci::UnknownCommand: return QStringLiteral("認識できないコマンドです。");
    case mci::BadArguments: return QStringLiteral("コマンドの指定が正しくありません。");
    case mci::NoClosingQuote: return QStringLiteral("引用符が閉じられていません。");
    case mci::NotOpen: return QStringLiteral("指定された名前のデバイスは開かれていません。");
    case mci::AliasInUse: return QStringLiteral("この名前はすでに使われています。");
    case mci::FileNotFound: return QStringLiteral("ファイルが見つかりません。");
    case mci::CannotPlay: return QStringLiteral("このファイルは再生できません。形式に対応していないか、ファイルが壊れています。");
    case mci::Timeout: return QStringLiteral("デバイスが時間内に応答しませんでした。");
    case mci::NoEngine: return QStringLiteral("再生エンジンを準備できません。");
    case mci::DeviceFailed: return QStringLiteral("デバイスがこの操作を実行できませんでした。");
    default: return cdErrorString(error);
    }
}

namespace {

// Words split at blanks; a double-quoted argument is one word without its
// quotes, and `quoted` tells which words were.
int splitWords(const QString &command, QStringList &words, QList<bool> &quoted)
{
    int i = 0;
    const int n = int(command.size());
    while (i < n) {
        if (command[i].isSpace()) {
            ++i;
            continue;
        }
        if (command[i] == QLatin1Char('"')) {
            const int close = int(command.indexOf(QLatin1Char('"'), i + 1));
            if (close < 0)
                return mci::NoClosingQuote;
            words << command.mid(i + 1, close - i - 1);
            quoted << true;
            i = close + 1;
            // A quoted word ends at its quote: `"a"b` is not one word.
            if (i < n && !command[i].isSpace())
                return mci::BadArguments;
            continue;
        }
        int end = i;
        while (end < n && !command[end].isSpace() && command[end] != QLatin1Char('"'))
            ++end;
        if (end < n && command[end] == QLatin1Char('"'))
            return mci::BadArguments;
        words << command.mid(i, end - i);
        quoted << false;
        i = end;
    }
    return mci::NoError;
}

bool is(const QString &word, const char *keyword)
{
    return word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

class Interpreter : public MediaCommandDriver {
public:
    Interpreter() = default;
    Interpreter(const Interpreter &) = delete;
    Interpreter &operator=(const Interpreter &) = delete;
    ~Interpreter() override
    {
        // An open still waiting (further up the stack) gives up.
        *alive_ = false;
        for (const auto &[name, cancel] : opening_)
            *cancel = true;
    }

    int send(const QString &command, QString &reply) override
    {
        reply.clear();
        QStringList w;
        QList<bool> quoted;
        if (const int e = splitWords(command, w, quoted))
            return e;
        if (w.isEmpty())
            return mci::UnknownCommand;
        // Only a file is quoted, and a file always is: an unquoted path, or a
        // quoted verb, name or keyword, is not a shape this interpreter takes.
        const bool opensFile = is(w[0], "open") && !(w.size() > 1 && !quoted[1] && is(w[1], "cdaudio"));
        for (int i = 0; i < w.size(); ++i)
            if (quoted[i] != (opensFile && i == 1))
                return mci::BadArguments;
        int cdResult = mci::NoError;
        if (cd_.handles(w, reply, cdResult,
                        [this](const QString &name) { return devices_.count(name) > 0 || opening_.count(name) > 0; }))
            return cdResult;
        const QString verb = w[0].toLower();
        if (verb == QLatin1String("open"))
            return open(w);
        if (verb == QLatin1String("set") && w.size() > 1 && is(w[1], "midi"))
            return setMidiPort(w);
        static const QStringList known{QStringLiteral("play"), QStringLiteral("pause"), QStringLiteral("stop"),
                                       QStringLiteral("close"), QStringLiteral("seek"), QStringLiteral("status")};
        if (!known.contains(verb))
            return mci::UnknownCommand;
        if (w.size() < 2)
            return mci::BadArguments;
        // A handler run while the device opens may close it: the open gives
        // up. Any other command finds it not open yet.
        if (const auto pending = opening_.find(w[1].toLower()); pending != opening_.end()) {
            if (verb != QLatin1String("close"))
                return mci::NotOpen;
            if (w.size() != 2)
                return mci::BadArguments;
            *pending->second = true;
            opening_.erase(pending);
            return mci::NoError;
        }
        const auto it = devices_.find(w[1].toLower());
        if (it == devices_.end())
            return mci::NotOpen;
        media::PlaybackEngine &device = *it->second;
        if (verb == QLatin1String("seek")) {
            if (w.size() != 4 || !is(w[2], "to") || !is(w[3], "start"))
                return mci::BadArguments;
            return device.seekToStart();
        }
        if (verb == QLatin1String("status")) {
            if (w.size() != 3)
                return mci::BadArguments;
            if (is(w[2], "mode")) {
                switch (device.mode()) {
                case media::PlayMode::Playing: reply = QStringLiteral("playing"); break;
                case media::PlayMode::Paused: reply = QStringLiteral("paused"); break;
                case media::PlayMode::Stopped: reply = QStringLiteral("stopped"); break;
                }
                return mci::NoError;
            }
            if (is(w[2], "position")) {
                reply = QString::number(device.positionMs());
                return mci::NoError;
            }
            if (is(w[2], "length")) {
                reply = QString::number(device.lengthMs());
                return mci::NoError;
            }
            return mci::BadArguments;
        }
        if (w.size() != 2)
            return mci::BadArguments;
        if (verb == QLatin1String("play"))
            return device.play();
        if (verb == QLatin1String("pause"))
            return device.pause();
        if (verb == QLatin1String("stop"))
            return device.stop();
        devices_.erase(it); // close
        return mci::NoError;
    }

private:
    // set midi port <n>: n must name a listed output device.
    static int setMidiPort(const QStringList &w)
    {
        bool ok = false;
        const int n = w.size() == 4 && is(w[2], "port") ? w[3].toInt(&ok) : -1;
        if (!ok)
            return mci::BadArguments;
        if (n < 0 || n >= midiOutGetNumDevs())
            return mci::DeviceFailed;
        setMidiOutputPort(n);
        return mci::NoError;
    }

    // open <file> alias <name>: the device follows the file's contents.
    int open(const QStringList &w)
    {
        if (w.size() != 4 || !is(w[2], "alias") || w[3].isEmpty())
            return mci::BadArguments;
        const QString name = w[3].toLower();
        if (devices_.count(name) || opening_.count(name) || cd_.hasAlias(name))
            return mci::AliasInUse;
        int error = mci::NoError;
        const auto cancel = std::make_shared<bool>(false);
        opening_.emplace(name, cancel);
        const auto alive = alive_;
        auto device = media::PlaybackEngine::open(w[1], error, cancel);
        // Closed while it opened, or the interpreter itself went meanwhile:
        // the name may already be another device's.
        if (!*alive || *cancel)
            return mci::NotOpen;
        opening_.erase(name);
        if (!device)
            return error;
        devices_.emplace(name, std::move(device));
        return mci::NoError;
    }

    std::map<QString, std::unique_ptr<media::PlaybackEngine>> devices_;
    // Names being opened, each with its open's cancel flag.
    std::map<QString, std::shared_ptr<bool>> opening_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    cd::CdAudioDevices cd_; // devices of the type "cdaudio"
};

std::unique_ptr<MediaCommandDriver> &current()
{
    static std::unique_ptr<MediaCommandDriver> driver;
    // Open devices own windows: they go before the application does.
    static const bool hooked = [] {
        qAddPostRoutine([] { current().reset(); });
        return true;
    }();
    (void)hooked;
    return driver;
}

} // namespace

std::unique_ptr<MediaCommandDriver> makeMediaCommandInterpreter()
{
    return std::make_unique<Interpreter>();
}

MediaCommandDriver &mediaCommandDriver()
{
    auto &d = current();
    if (!d)
        d = makeMediaCommandInterpreter();
    return *d;
}

void setMediaCommandDriver(std::unique_ptr<MediaCommandDriver> driver)
{
    current() = std::move(driver);
}

int mciSendString(const QString &command, QString &reply)
{
    return mediaCommandDriver().send(command, reply);
}

int mciSendString(const QString &command)
{
    QString reply;
    return mediaCommandDriver().send(command, reply);
}

} // namespace vx
