// Form3's playback: the play sequence, the status poll and the buttons that
// drive the clip.
#include "form3.h"

#include "keys.h"

#include "platform/core/errors.h"
#include "platform/media/mci.h"
#include "platform/system/system.h"
#include "suite/players.h"
#include "suite/settings.h"

namespace keys = player::keys;

namespace {

// Every command's result is ignored, as the window never reports one.
void send(const QString &command)
{
    vx::mciSendString(command);
}

QString ask(const QString &command)
{
    QString reply;
    vx::mciSendString(command, reply);
    return reply;
}

// The open command for a file. A name holding a quote could end the argument
// and add words of its own: such a file is given as no file, and fails.
QString openCommand(const QString &path)
{
    const QString quoted = path.contains(QLatin1Char('"')) ? QString() : path;
    return QStringLiteral("open \"%1\" alias Media").arg(quoted);
}

QString positionText(int index, int count)
{
    return QStringLiteral("%1/%2").arg(index + 1).arg(count);
}

} // namespace

void Form3::enableLists()
{
    Drive1.setEnabled(true);
    Dir1.setEnabled(true);
    File1.setEnabled(true);
}

void Form3::stopAndClose()
{
    enableLists();
    send(QStringLiteral("stop Media"));
    send(QStringLiteral("close Media"));
}

void Form3::showEntryState(int index, int count)
{
    Command9.setEnabled(index != 0);
    Command7.setEnabled(index + 1 != count);
    Label2.setCaption(positionText(index, count));
}

void Form3::File1_Click()
{
    showEntryState(File1.ListIndex(), File1.ListCount());
    stopAndClose();
    const QString path = vx::joinPath(Dir1.Path(), File1.FileName());
    // A new clip is followed by the poll, whatever paused it before.
    PauseState.clear();
    setCaption(kPlainCaption + QStringLiteral(" ★") + path + QStringLiteral("★"));
    Timer1.setEnabled(true);
    send(openCommand(path));
    send(QStringLiteral("play Media"));
}

void Form3::File1_OLEDragDrop(const QStringList &files)
{
    for (const QString &file : files) {
        send(QStringLiteral("stop Media"));
        send(QStringLiteral("close Media"));
        PauseState.clear();
        Timer1.setEnabled(true);
        send(openCommand(file));
        send(QStringLiteral("play Media"));
        setCaption(kPlainCaption + QStringLiteral(" ★") + file + QStringLiteral("★"));
    }
}

void Form3::Command7_Click()
{
    const int next = File1.ListIndex() + 1;
    if (next < File1.ListCount())
        File1.setListIndex(next);
}

void Form3::Command9_Click()
{
    const int previous = File1.ListIndex() - 1;
    if (previous >= 0)
        File1.setListIndex(previous);
}

void Form3::Command4_Click()
{
    if (PauseState.isEmpty()) {
        PauseState = QStringLiteral("stop");
        send(QStringLiteral("pause Media"));
    } else {
        PauseState.clear();
        send(QStringLiteral("play Media"));
    }
    Command4.setCaption(QStringLiteral("一時停止"));
}

void Form3::Command5_Click()
{
    PauseState = QStringLiteral("stop");
    send(QStringLiteral("stop Media "));
    send(QStringLiteral("seek Media to start"));
    PauseState.clear();
    send(QStringLiteral("play Media"));
}

void Form3::Command3_Click()
{
    stopAndClose();
    setCaption(kPlainCaption);
}

void Form3::Command10_Click()
{
    handOver(keys::KindSecondPlayer);
}

void Form3::Command2_Click()
{
    handOver(keys::KindThirdPlayer);
}

void Form3::handOver(const QLatin1StringView kind)
{
    // Stays here until there is another player to hand over to.
    if (!(kind == keys::KindSecondPlayer ? Command10 : Command2).isEnabled())
        return;
    suite::SaveSetting(keys::Section, keys::FormKind, kind);
    Command4.setCaption(QStringLiteral("一時停止"));
    PauseState = QStringLiteral("stop");
    send(QStringLiteral("stop Media"));
    send(QStringLiteral("close Media"));
    Hide();
    suite::players::show(kind == keys::KindSecondPlayer ? suite::players::Player::Second
                                                        : suite::players::Player::Third);
}

void Form3::Timer1_Timer()
{
    if (PauseState == QLatin1String("stop"))
        return;
    if (ask(QStringLiteral("status Media mode")).left(7) == QLatin1String("playing")) {
        const QString position = ask(QStringLiteral("status Media position")).section(QChar(0), 0, 0).left(254);
        const QString length = ask(QStringLiteral("status Media length")).section(QChar(0), 0, 0);
        const QString name = File1.FileName();
        Label3.setCaption(name.isEmpty() ? QStringLiteral("メディアファイル") : name);
        Label5.setCaption(QStringLiteral("再生時間：") + position + QStringLiteral(" / ") + length);
        // A reply that is no number leaves the bar; an empty clip keeps a bar of 1.
        bool okPosition = false;
        bool okLength = false;
        const double pos = position.trimmed().toDouble(&okPosition);
        const double len = length.trimmed().toDouble(&okLength);
        if (okPosition && okLength) {
            const int max = int(std::clamp(len, 1.0, 2147483647.0));
            ProgressBar1.setMax(max);
            ProgressBar1.setValue(int(std::clamp(pos, 0.0, double(max))));
        }
        return;
    }
    if (Check1.Value() == 1) {
        send(QStringLiteral("seek Media to start"));
        send(QStringLiteral("play Media"));
        return;
    }
    // An idle player never starts by itself.
    if (Caption() == kPlainCaption)
        return;
    if (Check3.Value() == 1) {
        randomStep();
        return;
    }
    if (Check2.Value() == 1) {
        stopAndClose();
        setCaption(kPlainCaption);
        return;
    }
    const int next = File1.ListIndex() + 1;
    if (next < File1.ListCount())
        File1.setListIndex(next);
}

void Form3::randomStep()
{
    const int c = File1.ListIndex();
    const int n = File1.ListCount();
    showEntryState(c, n);
    stopAndClose();
    if (c < 0 || c > 10000 || n < 1)
        return;
    // Another entry than the one just played; a single entry plays again.
    int r = c;
    if (n > 1) {
        r = std::uniform_int_distribution<int>(0, n - 2)(random_);
        if (r >= c)
            ++r;
    }
    if (r > 10000)
        return;
    if (r == c)
        File1_Click();
    else
        File1.setListIndex(r);
}
