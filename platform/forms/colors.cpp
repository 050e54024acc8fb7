#include "colors.h"

#include <QApplication>
#include <QPalette>

namespace vx {

QColor toQColor(qint32 value)
{
    const quint32 v = static_cast<quint32>(value);
    if (v & 0x80000000u) {
        const QPalette pal = QApplication::palette();
        switch (v & 0xFFu) {
        case 0: return pal.color(QPalette::Button);            // scroll bar
        case 1: return QColor(0x3A, 0x6E, 0xA5);               // desktop
        case 2: return pal.color(QPalette::Highlight);         // active caption
        case 3: return QColor(0x80, 0x80, 0x80);               // inactive caption
        case 4: return pal.color(QPalette::Window);            // menu
        case 5: return pal.color(QPalette::Base);              // window background
        case 6: return pal.color(QPalette::Shadow);            // window frame
        case 7: return pal.color(QPalette::WindowText);        // menu text
        case 8: return pal.color(QPalette::Text);              // window text
        case 9: return pal.color(QPalette::HighlightedText);   // caption text
        case 10: return pal.color(QPalette::Button);           // active border
        case 11: return pal.color(QPalette::Button);           // inactive border
        case 12: return pal.color(QPalette::Mid);              // application workspace
        case 13: return pal.color(QPalette::Highlight);
        case 14: return pal.color(QPalette::HighlightedText);
        case 15: return pal.color(QPalette::Button);           // button face
        case 16: return pal.color(QPalette::Dark);             // button shadow
        case 17: return pal.color(QPalette::Disabled, QPalette::Text);
        case 18: return pal.color(QPalette::ButtonText);
        case 19: return pal.color(QPalette::Disabled, QPalette::WindowText);
        case 20: return pal.color(QPalette::Light);
        case 21: return pal.color(QPalette::Shadow);
        case 22: return pal.color(QPalette::Midlight);
        case 23: return pal.color(QPalette::ToolTipText);
        case 24: return pal.color(QPalette::ToolTipBase);
        default: return pal.color(QPalette::Window);
        }
    }
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

qint32 fromQColor(const QColor &c)
{
    return rgb(c.red(), c.green(), c.blue());
}

} // namespace vx
