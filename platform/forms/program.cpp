#include "program.h"

#include "platform/core/errors.h"
#include "platform/core/syserror.h"
#include "platform/dialogs/dialogs.h"
#include "platform/system/system.h"

#include <QPointer>

#include <cstdio>
#include <new>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace vx {

namespace {
bool g_endThrows = false;
bool g_ended = false;
// Handlers on the stack, and windows unloaded meanwhile: a window is deleted
// only once no handler runs, since one of its own may still wait in a message
// box or a modal window whose event loop saw the unload.
int g_handlerDepth = 0;
std::vector<QPointer<QObject>> g_unloaded;

void deleteUnloaded()
{
    auto forms = std::move(g_unloaded);
    g_unloaded.clear();
    for (const QPointer<QObject> &f : forms)
        if (f)
            f->deleteLater();
}

} // namespace

void End()
{
    g_ended = true;
    if (g_endThrows)
        throw ProgramEnded();
    releaseInstanceLock();
    std::fflush(nullptr);
    ::_exit(0);
}

bool programEnded() { return g_ended; }
void setEndThrows(bool throws)
{
    g_endThrows = throws;
    g_ended = false;
}

void dispatch(const std::function<void()> &handler)
{
    if (g_ended)
        return;
    struct Depth {
        Depth() { ++g_handlerDepth; }
        ~Depth()
        {
            if (--g_handlerDepth == 0)
                deleteUnloaded();
        }
    } depth;
    try {
        handler();
    } catch (const ProgramEnded &) {
        // The end was recorded; nothing more runs.
    } catch (const RuntimeError &e) {
        MsgBox(e.description().isEmpty() ? QStringLiteral("実行時エラー %1").arg(e.number()) : e.description(),
               vbCritical);
    } catch (const std::bad_alloc &) {
        MsgBox(errorText(err::OutOfMemory), vbCritical);
    } catch (const std::exception &e) {
        // A system error's own text (strerror) would speak English.
        const auto *sys = dynamic_cast<const std::system_error *>(&e);
        const bool errnoCode = sys && (sys->code().category() == std::generic_category() ||
                                       sys->code().category() == std::system_category());
        MsgBox(QStringLiteral("実行時エラーです。\n%1")
                   .arg(errnoCode ? systemReason(sys->code().value()) : QString::fromLocal8Bit(e.what())),
               vbCritical);
    }
}

void fire(const std::function<void()> &handler)
{
    if (!handler)
        return;
    const std::function<void()> run = handler;
    dispatch(run);
}

void deleteWhenHandlersReturn(QObject *object)
{
    if (g_handlerDepth > 0)
        g_unloaded.emplace_back(object);
    else
        object->deleteLater();
}

} // namespace vx
