#include "startup.h"

#include <QApplication>

namespace shell {
int run(int argc, char **argv)
{
    QApplication app(argc, argv);
    return 0;
}
} // namespace shell
