#include "mainform.h"

#include "launch.h"

#include "suite/settings.h"
#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/form.h"
#include "platform/system/system.h"

namespace shell {

void showHelp() { vx::HelpDisplayContents(suite::helpFilePath()); }

void endFromMainWindow(const std::function<void()> &save, bool closeHelp)
{
    if (!toolsAgreeToEnd())
        return;
    try {
        save();
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(e.description(), vx::vbExclamation);
    }
    if (closeHelp)
        vx::HelpCloseAll();
    vx::End();
}

} // namespace shell
