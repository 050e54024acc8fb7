// The disc: commands, the status refresh and the buttons that drive it.
#include "form8.h"

#include "platform/dialogs/dialogs.h"
#include "platform/media/mci.h"

#include <algorithm>
#include <optional>

namespace {

// A reply as read numbers: digits only (a sign allowed), else nothing.
std::optional<qint32> number(const QString &text)
{
    bool ok = false;
    const qint32 v = text.trimmed().toInt(&ok);
    return ok ? std::optional<qint32>(v) : std::nullopt;
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

void Form8::SendCdCommand(const QString &command, bool showError, bool &ok)
{
    MciErrorCode = vx::mciSendString(command);
    if (showError && MciErrorCode != 0) {
        MciErrorText = vx::mciGetErrorString(MciErrorCode);
        vx::MsgBox(MciErrorText);
    }
    ok = MciErrorCode == 0;
}

QString Form8::query(const QString &command, int size)
{
    QString reply;
    vx::mciSendString(command, reply);
    const qsizetype nul = reply.indexOf(QChar(0));
    if (nul >= 0)
        reply.truncate(nul);
    reply.truncate(size);
    return reply;
}

void Form8::RefreshCdStatus()
{
    if (!DeviceOpen)
        return;
    bool ok = false;
    StatusReply = query(QStringLiteral("status cd media present"));
    const QString present = StatusReply.trimmed();
    // A reply that is neither answer tells nothing: everything stays.
    if (present.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        if (!MediaLoaded)
            return;
        for (vx::CommandButton *b : {&Command2, &Command4, &Command7, &Command5, &Command9, &Command8, &Command3})
            b->setEnabled(false);
        MediaLoaded = false;
        Playing = false;
        totalplay.setCaption(QString());
        tracktime.setCaption(QString());
        timeWindow.setText(QString());
        return;
    }
    if (present.compare(QLatin1String("true"), Qt::CaseInsensitive) != 0)
        return;
    // Another disc than the loaded one (no empty drive seen between them) is
    // loaded afresh; an identity not told changes nothing.
    const QString identity = query(QStringLiteral("info cd identity")).trimmed();
    if (MediaLoaded && !identity.isEmpty() && identity != DiscIdentity) {
        MediaLoaded = false;
        TrackLengths.clear();
        CurrentTrack = CurrentMinute = CurrentSecond = 0;
        totalplay.setCaption(QString());
        tracktime.setCaption(QString());
        timeWindow.setText(QString());
    }
    if (!MediaLoaded) {
        DiscIdentity = identity;
        StatusReply = query(QStringLiteral("status cd number of tracks wait"));
        // Empty, not a number or no tracks: as a one-track disc, nothing loaded.
        NumTracks = qint16(std::clamp(number(StatusReply.left(2)).value_or(1), 0, 99));
        Command10.setEnabled(true);
        if (NumTracks <= 1)
            return;
        StatusReply = query(QStringLiteral("status cd length wait"));
        totalplay.setCaption(QStringLiteral("Tracks: %1  Total time: %2").arg(NumTracks).arg(StatusReply));
        TrackLengths.clear();
        for (int i = 1; i <= NumTracks; ++i) {
            CommandString = QStringLiteral("status cd length track %1").arg(i);
            TrackLengths << query(CommandString);
        }
        for (vx::CommandButton *b : {&Command2, &Command4, &Command7, &Command5, &Command9, &Command8, &Command3})
            b->setEnabled(true);
        MediaLoaded = true;
        SendCdCommand(QStringLiteral("seek cd to 1"), true, ok);
    }
    StatusReply = query(QStringLiteral("status cd position"));
    // "tt:mm:ss:ff"; anything else leaves the displays as they were.
    const QString pos = StatusReply.trimmed();
    const auto track = number(pos.mid(0, 2));
    const auto minute = number(pos.mid(3, 2));
    const auto second = number(pos.mid(6, 2));
    if (pos.size() >= 8 && pos[2] == QLatin1Char(':') && pos[5] == QLatin1Char(':') && track && minute && second
        && *track >= 0 && *minute >= 0 && *second >= 0) {
        CurrentTrack = qint16(*track);
        CurrentMinute = qint16(*minute);
        CurrentSecond = qint16(*second);
        timeWindow.setText(QStringLiteral("[%1] %2:%3")
                               .arg(twoDigits(CurrentTrack), twoDigits(CurrentMinute), twoDigits(CurrentSecond)));
        const bool known = CurrentTrack >= 1 && CurrentTrack <= TrackLengths.size();
        tracktime.setCaption(QStringLiteral("Track time: ") + (known ? TrackLengths[CurrentTrack - 1] : QString()));
    }
    StatusReply = query(QStringLiteral("status cd mode"));
    Playing = StatusReply.left(7) == QLatin1String("playing");
}

void Form8::followDisc()
{
    if (!DeviceOpen || !MediaLoaded)
        return;
    const QString identity = query(QStringLiteral("info cd identity")).trimmed();
    if (!identity.isEmpty() && identity != DiscIdentity)
        RefreshCdStatus();
}

void Form8::Command10_Click()
{
    bool ok = false;
    // The one button opens and closes the tray.
    const bool open = query(QStringLiteral("status cd mode")).trimmed().startsWith(QLatin1String("open"));
    SendCdCommand(open ? QStringLiteral("set cd door closed") : QStringLiteral("set cd door open"), true, ok);
    RefreshCdStatus();
}

void Form8::Command2_Click()
{
    followDisc();
    bool ok = false;
    SendCdCommand(QStringLiteral("play cd"), true, ok);
    Playing = true;
}

void Form8::Command3_Click()
{
    followDisc();
    bool ok = false;
    SendCdCommand(QStringLiteral("stop cd wait"), true, ok);
    CommandString = QStringLiteral("seek cd to %1").arg(CurrentTrack);
    SendCdCommand(CommandString, true, ok);
    Playing = false;
    RefreshCdStatus();
}

void Form8::Command4_Click()
{
    bool ok = false;
    SendCdCommand(QStringLiteral("pause cd"), true, ok);
    Playing = false;
    RefreshCdStatus();
}

void Form8::skip(qint32 deltaMs)
{
    followDisc();
    bool ok = false;
    SendCdCommand(QStringLiteral("set cd time format milliseconds"), true, ok);
    // An unreadable position moves nothing.
    if (const auto position = number(query(QStringLiteral("status cd position wait"), 40))) {
        const qint64 target = qint64(*position) + deltaMs;
        CommandString = (Playing ? QStringLiteral("play cd from %1") : QStringLiteral("seek cd to %1")).arg(target);
        vx::mciSendString(CommandString);
    }
    // Back to tmsf on every path: every later refresh reads tmsf.
    SendCdCommand(QStringLiteral("set cd time format tmsf"), true, ok);
    RefreshCdStatus();
}

void Form8::Command5_Click() { skip(-SkipSeconds * 1000); }
void Form8::Command7_Click() { skip(SkipSeconds * 1000); }

void Form8::positionCommand(int target)
{
    bool ok = false;
    CommandString = (Playing ? QStringLiteral("play cd from %1") : QStringLiteral("seek cd to %1")).arg(target);
    SendCdCommand(CommandString, true, ok);
}

void Form8::Command8_Click()
{
    followDisc();
    int target = CurrentTrack;
    if (CurrentMinute == 0 && CurrentSecond == 0)
        target = CurrentTrack < 2 ? NumTracks : CurrentTrack - 1;
    positionCommand(target);
    RefreshCdStatus();
}

void Form8::Command9_Click()
{
    followDisc();
    bool ok = false;
    if (CurrentTrack < NumTracks)
        positionCommand(CurrentTrack + 1);
    else
        SendCdCommand(QStringLiteral("seek cd to 1"), true, ok);
    RefreshCdStatus();
}
