#include "pointer.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QPixmap>

namespace vx {

namespace {
// Our own pointer image: a plain arrow with a light-blue fill.
const QCursor &customCursor()
{
    static const QCursor cursor = [] {
        QPixmap pm(32, 32);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const QPointF arrow[] = {{1, 1}, {1, 21}, {6, 16}, {10, 25}, {13, 24}, {9, 15}, {16, 15}};
        p.setPen(QPen(Qt::black, 1.2));
        p.setBrush(QColor(0x7F, 0xC8, 0xF8));
        p.drawPolygon(arrow, 7);
        p.end();
        return QCursor(pm, 1, 1);
    }();
    return cursor;
}
} // namespace

void applyMousePointer(QWidget *w, int pointer)
{
    switch (pointer) {
    case 0: w->unsetCursor(); break;
    case 1: w->setCursor(Qt::ArrowCursor); break;
    case 2: w->setCursor(Qt::CrossCursor); break;
    case 3: w->setCursor(Qt::IBeamCursor); break;
    case 11: w->setCursor(Qt::WaitCursor); break;
    case 99:
        if (qobject_cast<QApplication *>(QCoreApplication::instance()))
            w->setCursor(customCursor());
        break;
    default: w->unsetCursor(); break;
    }
}

} // namespace vx
