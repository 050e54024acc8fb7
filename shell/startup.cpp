#include "startup.h"

#include "platform/dialogs/dialogs.h"
#include "platform/forms/fonts.h"
#include "platform/forms/form.h"
#include "media/player/connect.h"
#include "media/player2/connect.h"
#include "shell/form24.h"

#include <QApplication>

#include <fontconfig/fontconfig.h>

#include <thread>

namespace shell {

void startUp()
{
    player::connect();
    player2::connect();
    vx::instance<Form24>();
    if (vx::isLoaded<Form24>())
        vx::instance<Form24>().Show();
}

void prepare(QApplication &app)
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The program ends by its own exits, not when a message box or the last
    // visible window closes while other windows stay loaded.
    QApplication::setQuitOnLastWindowClosed(false);
    vx::installFonts(app);
    vx::setAppTitle(QStringLiteral("Velmora 2002"));
}

int run(int argc, char **argv)
{
    // Fontconfig reads its configuration (dozens of files) before the first
    // text can be laid out: let it do so while Qt connects to the display.
    std::thread fontconfig([] { FcInit(); });
    QApplication app(argc, argv);
    fontconfig.join();
    prepare(app);
    startUp();
    return app.exec();
}

} // namespace shell
