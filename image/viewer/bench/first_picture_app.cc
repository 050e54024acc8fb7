// The program as VX2002 starts it, driven the way a user would go to the first
// picture: the bar main window appears, its 起動 opens the first image viewer
// (its list's first item), the viewer appears on the stored folder, and its
// first file is chosen. Just before the choice it writes a byte to descriptor
// 3, so the race (first_picture_race) counts only the drawing that follows.
//   first_picture_app FOLDER
#include "image/viewer/form2.h"
#include "shell/form30.h"
#include "shell/startup.h"
#include "suite/settings.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// Runs `then` on the window thread once `w` has painted.
class AfterPaint : public QObject {
public:
    AfterPaint(QWidget *w, std::function<void()> then) : then_(std::move(then)) { w->installEventFilter(this); }
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && then_) {
            o->removeEventFilter(this);
            // After this paint is flushed to the display.
            QTimer::singleShot(0, [f = std::move(then_)] { f(); });
            then_ = nullptr;
        }
        return false;
    }

private:
    std::function<void()> then_;
};

// Every request sent so far has been carried out by the display.
void roundTrip()
{
    if (auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>())
        std::free(xcb_get_input_focus_reply(x11->connection(), xcb_get_input_focus(x11->connection()), nullptr));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: first_picture_app FOLDER\n");
        return 2;
    }
    // The folder the viewer restores (the settings folder is the race's own).
    suite::SaveSetting(QStringLiteral("Graphic Rondix"), QStringLiteral("Dir"), QString::fromLocal8Bit(argv[1]));
    shell::prepare(app);
    shell::startUp();
    Form30 &bar = vx::instance<Form30>();
    AfterPaint launched(&bar, [&bar] {
        bar.Command1_Click();
        Form2 &viewer = vx::instance<Form2>();
        static AfterPaint chosen(&viewer, [&viewer] {
            roundTrip();
            const char byte = 1;
            if (::write(3, &byte, 1) != 1)
                std::fprintf(stderr, "nobody is timing this start\n");
            viewer.File1.setListIndex(0);
        });
    });
    return app.exec();
}
