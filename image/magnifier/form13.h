#pragma once
// Magnifier: ten times a second the small screen area around the pointer,
// shown about twice as large in a bare window dragged by its picture.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/menu.h"

class Form13 : public vx::Form {
    Q_OBJECT
public:
    Form13();

    vx::Placed<vx::PictureBox> Picture2{{0, 0, 2940, 1995}, this, QStringLiteral("Picture2")};
    // Receives the raw copy; lies below the window's inner area, never seen.
    vx::Placed<vx::PictureBox> Picture1{{1680, 2040, 1350, 1000}, this, QStringLiteral("Picture1")};
    vx::Timer Timer1{this, QStringLiteral("Timer1"), 100, true};
    vx::Menu Menu{this, QStringLiteral("Menu"), QStringLiteral("メニュー"), false};
    vx::Menu end{&Menu, QStringLiteral("end"), QStringLiteral("終了")};

    // Screen area copied at the pointer position (global pixels).
    QRect copyArea(const QPoint &cursor) const;

    void Form_Load() override;
    Q_SLOT void Timer1_Timer();
    Q_SLOT void Picture2_MouseDown(int button, int shift, float x, float y);
    Q_SLOT void end_Click();
};
