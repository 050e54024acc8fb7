#include "wizard.h"

#include <QApplication>

namespace repair {
int run(int argc, char **argv)
{
    QApplication app(argc, argv);
    return 0;
}
} // namespace repair
