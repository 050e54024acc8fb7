// The floor of the start-up race: a bare Qt window of the bar main window's
// size, nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.resize(224, 22);
    w.show();
    return app.exec();
}
