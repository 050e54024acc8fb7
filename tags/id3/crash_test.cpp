// Saves killed at random moments: the file's name always holds the old file or
// the new one, complete.
#include "fixture_test.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <csignal>
#include <functional>

#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ID3Module;
using namespace id3test;

namespace {

class CrashTest : public Files {};

// Runs the save in a child process; kills it after `delayUs` unless negative.
// Returns true when the child finished on its own.
bool runChild(const std::function<void()> &save, qint64 delayUs)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        int rc = 0;
        try {
            save();
        } catch (...) {
            rc = 1;
        }
        ::_exit(rc);
    }
    if (delayUs >= 0) {
        // The delay is the input: each run kills the save at another point.
        ::usleep(static_cast<useconds_t>(delayUs));
        ::kill(pid, SIGKILL);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(CrashTest, AKilledSaveLeavesTheOldFileOrTheNewOneWhole)
{
    const QByteArray tag = tagV2(3, 0, frame23("TIT2", latin("old")) + QByteArray(256, '\0'));
    const QByteArray old = tag + mpegFrames(24000) + v1Block("old", "", 1, 1); // about 10 MB
    const qint64 start = tag.size() + 1;
    ID3v2TagRecord v2;
    v2.MajorVersion = 3;
    v2.Title = QStringLiteral("new");
    ID3v1TagRecord v1;
    v1.Title = QStringLiteral("new");
    const QString p = path("big.mp3");
    const std::function<void()> saves[] = {
        [&] { WriteID3v2Tag(p, p, v2, start); },
        [&] { WriteID3v1Tag(p, p, true, KindV23, v1, start); },
        [&] { RemoveTag(p, p, start); },
    };
    QRandomGenerator rng(42);
    int killedMidway = 0;
    for (const auto &save : saves) {
        put("big.mp3", old);
        QElapsedTimer timer;
        timer.start();
        ASSERT_TRUE(runChild(save, -1));
        const qint64 duration = timer.nsecsElapsed() / 1000;
        const QByteArray renewed = content(p);
        ASSERT_NE(renewed, old);
        for (int i = 0; i < 8; ++i) {
            for (const QString &n : names())
                QFile::remove(path(n));
            put("big.mp3", old);
            const bool finished = runChild(save, qint64(rng.bounded(double(duration) * 1.2)));
            const QByteArray now = content(p);
            ASSERT_TRUE(now == old || now == renewed) << "kill " << i << ": " << now.size() << " bytes";
            if (!finished && now == old)
                ++killedMidway;
        }
    }
    EXPECT_GT(killedMidway, 0) << "no kill landed before the rename";

    // What the kills left goes at the next save, once it is older than the
    // saving process (here: made to look an hour old).
    put("big.mp3", old);
    for (int i = 0; i < 6; ++i)
        runChild(saves[0], qint64(rng.bounded(20000.0)));
    struct timeval tv[2];
    ::gettimeofday(&tv[0], nullptr);
    tv[0].tv_sec -= 3600;
    tv[1] = tv[0];
    for (const QString &n : names())
        ::lutimes(QFile::encodeName(path(n)).constData(), tv);
    ASSERT_TRUE(runChild(saves[2], -1));
    EXPECT_EQ(names(), QStringList{QStringLiteral("big.mp3")});
}

} // namespace
