#pragma once
// The browser's full-screen picture: one picture centred on a window that
// covers the screen; Left and Right step the browser's file list, a click or
// a character key closes it.
#include "platform/forms/form.h"
#include "platform/imaging/imagebox.h"

class frmFullScreen : public vx::Form {
    Q_OBJECT
public:
    frmFullScreen();

    vx::Placed<vx::ImageBox> Picture1{{0, 0, 720, 675}, this, QStringLiteral("Picture1")};

    // Moves the picture box to the middle of the window (negative Left and
    // Top for a picture larger than the screen).
    void centrePicture();

    void Form_Load() override;
    void Form_Click();
    Q_SLOT void Picture1_Click() { Form_Click(); }
    void Picture1_KeyPress(int keyAscii);
    void Picture1_KeyUp(int keyCode);

    // Beeps given so far (for tests).
    static int beeps();

protected:
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
};
