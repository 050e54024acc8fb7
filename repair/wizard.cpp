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
    vx::installFonts(app);
    vx::setAppTitle(QStringLiteral("Velmora 2002 Helper"));
    vx::instance<Form01>().Show();
    return app.exec();
}

} // namespace repair
