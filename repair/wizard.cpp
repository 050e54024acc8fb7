#include "wizard.h"

#include "pages.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/fonts.h"

#include <QApplication>

namespace repair {

int run(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The program ends by its own exits, not when a message box or the last
    // visible window closes while other windows stay loaded.
    QApplication::setQuitOnLastWindowClosed(false);
    vx::installFonts(app);
    vx::setAppTitle(QStringLiteral("Velmora 2002 Helper"));
    vx::instance<Form01>().Show();
    return app.exec();
}

} // namespace repair
