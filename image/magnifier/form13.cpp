#include "image/magnifier/form13.h"
#include "platform/forms/events.h"

#include "suite/settings.h"
#include "platform/imaging/picture.h"

#include <QCursor>

namespace {
// Where the pointer lies inside the copied area.
constexpr int kCursorX = 42;
constexpr int kCursorY = 35;
} // namespace

Form13::Form13() : vx::Form(QStringLiteral("Form13"))
{
    setCaption(QString());
    setBorderless(true);
    setClientSize(2940, 1995);
    Picture2.setBorderStyle(0);
    Picture1.setBorderStyle(0);

    vx::bindEvents(*this);
}

void Form13::Form_Load()
{
    suite::applyPointer(*this);
}

QRect Form13::copyArea(const QPoint &cursor) const
{
    return {cursor.x() - kCursorX, cursor.y() - kCursorY, Picture1.width(), Picture1.height()};
}

// Only the small area around the pointer is copied, never the whole screen.
void Form13::Timer1_Timer()
{
    const QImage raw = vx::GrabScreenArea(copyArea(QCursor::pos()));
    Picture1.setPicture(QPixmap::fromImage(raw));
    // Filled edge to edge, pixels kept sharp, as a magnifier shows them.
    Picture2.setPicture(Picture1.Picture().scaled(Picture2.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
    Picture1.setPicture(QPixmap());
}

void Form13::Picture2_MouseDown(int button, int shift, float x, float y)
{
    (void)shift;
    (void)x;
    (void)y;
    if (button == 1)
        beginDragMove();
    else
        PopupMenu(Menu);
}

void Form13::end_Click()
{
    Unload();
}
