#include "watched.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

#include <memory>
#include <utility>

namespace vx {

void tellLater(const Outcome &done, bool ok)
{
    if (done)
        QMetaObject::invokeMethod(QCoreApplication::instance(), [done, ok] { done(ok); }, Qt::QueuedConnection);
}

QProcess *startWatched(const QString &program, const QStringList &args, QObject *owner, Outcome done)
{
    auto *p = new QProcess(owner);
    p->setProgram(program);
    p->setArguments(args);
    p->setStandardInputFile(QProcess::nullDevice());
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
    auto told = std::make_shared<bool>(false);
    auto tell = [told, done = std::move(done)](bool ok) {
        if (!std::exchange(*told, true))
            tellLater(done, ok);
    };
    QObject::connect(p, &QProcess::errorOccurred, p, [p, tell](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            tell(false);
            p->deleteLater();
        }
    });
    QObject::connect(p, &QProcess::finished, p, [p, tell](int code, QProcess::ExitStatus status) {
        tell(status == QProcess::NormalExit && code == 0);
        p->deleteLater();
    });
    QTimer::singleShot(kSettleMs, p, [tell] { tell(true); });
    p->start();
    return p;
}

namespace {
void attemptFrom(int index, int count, const std::function<void(int, Outcome)> &attempt, const Outcome &done)
{
    if (index >= count) {
        tellLater(done, false);
        return;
    }
    attempt(index, [index, count, attempt, done](bool ok) {
        if (ok) {
            if (done)
                done(true);
        } else {
            attemptFrom(index + 1, count, attempt, done);
        }
    });
}
} // namespace

void tryInTurn(int count, std::function<void(int index, Outcome next)> attempt, Outcome done)
{
    attemptFrom(0, count, attempt, done);
}

} // namespace vx
