#pragma once
// Media commands as the media tests send them: the reply or the error number
// in one string, and playing a clip to its end in real time.
#include "testing/harness.h"

#include "platform/media/mci.h"

#include <QElapsedTimer>

namespace vxtest {

// The reply to `command`, or "error N".
inline QString mciAsk(const QString &command)
{
    QString reply;
    const int e = vx::mciSendString(command, reply);
    return e ? QStringLiteral("error %1").arg(e) : reply;
}

// Waits while the device `alias` reports "playing": the milliseconds it took,
// -1 when it still played after `limitMs`.
inline qint64 playToEnd(const QString &alias, int limitMs = 30000)
{
    QElapsedTimer t;
    t.start();
    const QString mode = QStringLiteral("status %1 mode").arg(alias);
    if (!waitUntil([&] { return mciAsk(mode) != QLatin1String("playing"); }, limitMs))
        return -1;
    return t.elapsed();
}

} // namespace vxtest
