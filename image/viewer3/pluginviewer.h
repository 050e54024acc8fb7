#pragma once
// What the two plug-in viewers (the plug-in viewer and the third viewer) share:
// the window's background picture, the layout of the picture area, the lists
// and the button row, the look they read at load, the folder and place they
// store, and the file list's steps. Each window keeps what only it does: how
// a picture is read and measured, and its own buttons.
#include "keys.h"
#include "listlook.h"
#include "scrollrange.h"

#include "image/magnifier/form13.h"
#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/events.h"
#include "platform/forms/form.h"
#include "platform/imaging/picture.h"
#include "platform/system/system.h"
#include "suite/folders.h"
#include "suite/settings.h"

#include <QPaintEvent>
#include <QPainter>

#include <initializer_list>

namespace viewer3 {

// A window with a background picture drawn under its controls (set from the
// settings window, never stored).
class BackdropForm : public vx::Form {
public:
    using vx::Form::Form;
    void setPicture(const vx::Picture &p)
    {
        picture_ = p;
        update();
    }
    const vx::Picture &Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent *e) override
    {
        vx::Form::paintEvent(e);
        if (picture_.isNull())
            return;
        QPainter p(this);
        p.drawImage(client()->geometry().topLeft(), picture_.image);
    }

private:
    vx::Picture picture_;
};

// Margins of the layout in pixels: the column right of the picture area and
// the button row below it.
inline constexpr int kColumn = 175;
inline constexpr int kRow = 40;

// The picture area, its scroll bars, the column of lists and the row of
// `row` buttons (each `buttonWidth` wide), the buttons every viewer has
// disabled until a file is shown, and their handlers.
template <class V>
void layOut(V &v, std::initializer_list<vx::CommandButton *> row, int buttonWidth)
{
    v.setClientSize(12465, 8715);
    v.Picture1.Move(0, 0, 9615, 7875);
    v.VScroll1.Move(9600, 0, 255, 7815);
    v.HScroll1.Move(0, 7815, 9615, 255);
    v.Drive1.Move(10080, 120, 2295, 300);
    v.Dir1.Move(10080, 480, 2295, 3030);
    v.File1.Move(10080, 3600, 2295, 4050);
    v.Label1.Move(10080, 7800, 2295, 255);
    v.Command3.Move(10080, 8160, 2295, 375);
    int left = 120;
    for (vx::CommandButton *b : row) {
        b->Move(left, 8280, buttonWidth, 375);
        left += buttonWidth;
    }
    v.Command9.setToolTipText(QStringLiteral("前の画像へ戻ります"));
    v.Command7.setToolTipText(QStringLiteral("次の画像を表示します"));
    v.Command1.setToolTipText(QStringLiteral("画像を選びます"));
    v.Command8.setToolTipText(QStringLiteral("グリップボードにコピーします"));
    v.Command10.setToolTipText(QStringLiteral("スライドショーを開始します"));
    v.Command4.setToolTipText(QStringLiteral("ファイル情報が見れます"));
    v.Command9.setEnabled(false);
    v.Command7.setEnabled(false);
    v.Command10.setEnabled(false);

    vx::bindEvents(v);
}

// The look stored in the viewers' section, the slide show's speed and the
// window's place.
template <class V, class Settings>
void loadLook(V &v, Settings &settings)
{
    suite::applyPointer(v);
    v.setBackColor(suite::GetColor(keys::Section, keys::FormColor, keys::FormColorDefault));
    const auto buttons = v.colouredButtons();
    suite::applyButtonColor(keys::Section, buttons);
    applyListFont(v.Drive1, v.Dir1, v.File1);
    v.Label1.setBackColor(suite::GetColor(keys::Section, keys::File2Color, keys::ListColorDefault));
    const qint32 listColor = suite::GetColor(keys::Section, keys::FileColor, keys::ListColorDefault);
    v.Drive1.setBackColor(listColor);
    v.Dir1.setBackColor(listColor);
    v.File1.setBackColor(listColor);
    v.Picture1.setBackColor(suite::GetColor(keys::Section, keys::PicColor, keys::PicColorDefault));
    settings.HScroll1.setValue(storedSpeed());
    suite::restorePosition(v, keys::Section, keys::PositionDefault);
}

// Closing: hides the viewer and the magnifier and stores the folder, the
// drive and the place.
template <class V>
void storeFolderAndPlace(V &v)
{
    try {
        suite::SaveSetting(keys::Section, keys::Dir, v.Dir1.Path());
        // The close box stores the drive too: a new folder with the old drive
        // would move the lists to that drive at the next start.
        suite::SaveSetting(keys::Section, keys::Drive, v.Drive1.Drive());
        suite::savePosition(v, keys::Section);
    } catch (const vx::RuntimeError &) {
    }
}

// The drive list moves the folder list to the drive's root.
template <class V>
void followDrive(V &v)
{
    try {
        v.Dir1.setPath(v.Drive1.Drive());
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(e.description());
    }
}

// What a file selection shows before the picture: the picture area in its
// colour, the slide show button, the position and the next/previous buttons.
template <class V>
void showSelection(V &v)
{
    v.Picture1.setVisible(true);
    v.Picture1.setBackColor(suite::GetColor(keys::Section, keys::PicColor, keys::PicColorDefault));
    v.Command10.setEnabled(true);
    const int index = v.File1.ListIndex();
    const int count = v.File1.ListCount();
    v.Label1.setCaption(positionText(index, count));
    v.Command9.setEnabled(index != 0);
    v.Command7.setEnabled(index + 1 != count);
}

// The magnifier opens, or closes when it is shown.
inline void toggleMagnifier()
{
    if (!vx::isShown<Form13>())
        vx::instance<Form13>().Show();
    else
        vx::unload<Form13>();
}

// After a resize: the column of lists beside the picture area and the `row`
// of buttons below it.
template <class V>
void placeColumnAndRow(V &v, std::initializer_list<QWidget *> row)
{
    const int columnLeft = v.VScroll1.x() + 30;
    for (QWidget *w : std::initializer_list<QWidget *>{&v.Drive1, &v.Dir1, &v.File1, &v.Label1, &v.Command3})
        w->move(columnLeft, w->y());
    const int rowTop = v.HScroll1.y() + 30;
    for (QWidget *w : row)
        w->move(w->x(), rowTop);
}

} // namespace viewer3
