#include "icons.h"

#include <QBrush>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace shell::icons {

namespace {

QPixmap blank(int w, int h)
{
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

// Glyphs are drawn on a 24-unit square and scaled to the asked size.
void begin(QPainter &p, int size)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 24.0, size / 24.0);
}

QPen outline(const QColor &c, double w = 1.2) { return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void picture(QPainter &p, const QColor &frame)
{
    p.setPen(outline(frame.darker(140)));
    p.setBrush(QColor(0xF4, 0xF8, 0xFF));
    p.drawRoundedRect(QRectF(2.5, 4.5, 19, 15), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF5, 0xB8, 0x2E));
    p.drawEllipse(QPointF(16.5, 9), 2.2, 2.2);
    p.setBrush(QColor(0x3C, 0xA5, 0x5C));
    const QPointF hills[] = {{4, 18}, {9.5, 10.5}, {13, 15}, {15.5, 12.5}, {20, 18}};
    p.drawPolygon(hills, 5);
}

void roundBadge(QPainter &p, const QColor &c)
{
    QRadialGradient g(QPointF(9, 8), 13);
    g.setColorAt(0, c.lighter(140));
    g.setColorAt(1, c);
    p.setPen(outline(c.darker(150), 1));
    p.setBrush(g);
    p.drawEllipse(QPointF(12, 12), 10, 10);
}

void badgeText(QPainter &p, const QString &text)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(14);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, text);
}

void drawGlyph(QPainter &p, Glyph g)
{
    switch (g) {
    case Glyph::ImageViewer:
        picture(p, QColor(0x3D, 0x7E, 0xD8));
        break;
    case Glyph::MediaPlayer: {
        roundBadge(p, QColor(0x8E, 0x44, 0xAD));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        const QPointF play[] = {{9.5, 7}, {17.5, 12}, {9.5, 17}};
        p.drawPolygon(play, 3);
        break;
    }
    case Glyph::CdPlayer: {
        QConicalGradient cg(QPointF(12, 12), 30);
        cg.setColorAt(0.0, QColor(0xE8, 0xE8, 0xF0));
        cg.setColorAt(0.2, QColor(0xB8, 0xE0, 0xF8));
        cg.setColorAt(0.4, QColor(0xF0, 0xD0, 0xF0));
        cg.setColorAt(0.6, QColor(0xD0, 0xD4, 0xDC));
        cg.setColorAt(0.8, QColor(0xF8, 0xF0, 0xC0));
        cg.setColorAt(1.0, QColor(0xE8, 0xE8, 0xF0));
        p.setPen(outline(QColor(0x70, 0x78, 0x88), 1));
        p.setBrush(cg);
        p.drawEllipse(QPointF(12, 12), 10, 10);
        p.setBrush(QColor(0xC0, 0xC4, 0xCC));
        p.drawEllipse(QPointF(12, 12), 3.2, 3.2);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(12, 12), 1.3, 1.3);
        break;
    }
    case Glyph::PluginViewer: {
        picture(p, QColor(0x17, 0xA0, 0x96));
        // a plug in the corner
        p.setPen(outline(QColor(0x8A, 0x4B, 0x08), 1));
        p.setBrush(QColor(0xF3, 0x9C, 0x12));
        p.drawRoundedRect(QRectF(13, 13.5, 9, 7.5), 1.5, 1.5);
        p.setPen(outline(QColor(0x5A, 0x5A, 0x5A), 1.4));
        p.drawLine(QPointF(15.5, 13.5), QPointF(15.5, 11));
        p.drawLine(QPointF(19.5, 13.5), QPointF(19.5, 11));
        break;
    }
    case Glyph::TextEditor: {
        QPainterPath page;
        page.moveTo(5, 2.5);
        page.lineTo(15, 2.5);
        page.lineTo(19.5, 7);
        page.lineTo(19.5, 21.5);
        page.lineTo(5, 21.5);
        page.closeSubpath();
        p.setPen(outline(QColor(0x60, 0x68, 0x78)));
        p.setBrush(Qt::white);
        p.drawPath(page);
        p.setBrush(QColor(0xD8, 0xDC, 0xE4));
        const QPointF fold[] = {{15, 2.5}, {15, 7}, {19.5, 7}};
        p.drawPolygon(fold, 3);
        p.setPen(outline(QColor(0x9A, 0xA4, 0xB4), 1));
        for (double y : {9.5, 12.5, 15.5, 18.5})
            p.drawLine(QPointF(7.5, y), QPointF(y > 17 ? 13.0 : 17.0, y));
        // pencil
        p.save();
        p.translate(17, 16);
        p.rotate(-45);
        p.setPen(outline(QColor(0x7A, 0x1F, 0x1F), 0.8));
        p.setBrush(QColor(0xE7, 0x4C, 0x3C));
        p.drawRect(QRectF(-1.6, -9, 3.2, 9));
        p.setBrush(QColor(0xF5, 0xD6, 0xA0));
        const QPointF tip[] = {{-1.6, 0}, {1.6, 0}, {0, 3.4}};
        p.drawPolygon(tip, 3);
        p.restore();
        break;
    }
    case Glyph::Launcher: {
        const QColor colours[] = {QColor(0xE7, 0x4C, 0x3C), QColor(0x2E, 0xCC, 0x71), QColor(0x34, 0x98, 0xDB),
                                  QColor(0xF1, 0xC4, 0x0F)};
        for (int i = 0; i < 4; ++i) {
            const QRectF r(3 + (i % 2) * 10, 3 + (i / 2) * 10, 8, 8);
            p.setPen(outline(colours[i].darker(140), 1));
            p.setBrush(colours[i]);
            p.drawRoundedRect(r, 2, 2);
        }
        break;
    }
    case Glyph::Archiver: {
        p.setPen(outline(QColor(0x6E, 0x4A, 0x1E)));
        p.setBrush(QColor(0xD4, 0xA2, 0x5E));
        p.drawRect(QRectF(3, 8, 18, 13));
        p.setBrush(QColor(0xE6, 0xBC, 0x7E));
        const QPointF lid[] = {{3, 8}, {6, 3.5}, {18, 3.5}, {21, 8}};
        p.drawPolygon(lid, 4);
        // zipper
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x50, 0x50, 0x58));
        p.drawRect(QRectF(10.5, 8, 3, 13));
        p.setBrush(QColor(0xE0, 0xE0, 0xE6));
        for (double y = 9; y < 20; y += 2.2)
            p.drawRect(QRectF(11.2, y, 1.6, 1));
        break;
    }
    case Glyph::SystemInfo: {
        p.setPen(outline(QColor(0x40, 0x44, 0x4C)));
        p.setBrush(QColor(0x22, 0x28, 0x30));
        p.drawRoundedRect(QRectF(2.5, 3.5, 19, 13.5), 1.5, 1.5);
        p.setBrush(QColor(0x90, 0x96, 0xA0));
        p.drawRect(QRectF(10, 17, 4, 2.5));
        p.drawRoundedRect(QRectF(6.5, 19.5, 11, 2), 1, 1);
        p.setPen(outline(QColor(0x3E, 0xE0, 0x7A), 1.3));
        const QPointF pulse[] = {{4.5, 10.5}, {8, 10.5}, {9.5, 7}, {12, 14}, {14, 9}, {15.5, 10.5}, {19.5, 10.5}};
        p.drawPolyline(pulse, 7);
        break;
    }
    case Glyph::About:
        roundBadge(p, QColor(0x29, 0x80, 0xB9));
        badgeText(p, QStringLiteral("i"));
        break;
    case Glyph::Help:
        roundBadge(p, QColor(0x27, 0xAE, 0x60));
        badgeText(p, QStringLiteral("?"));
        break;
    case Glyph::Exit: {
        roundBadge(p, QColor(0xC0, 0x39, 0x2B));
        p.setPen(outline(Qt::white, 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(7, 7.5, 10, 10), 120 * 16, 300 * 16);
        p.drawLine(QPointF(12, 5.5), QPointF(12, 12));
        break;
    }
    case Glyph::Capture: {
        p.setPen(outline(QColor(0x30, 0x34, 0x3C)));
        p.setBrush(QColor(0x5D, 0x6D, 0x7E));
        p.drawRoundedRect(QRectF(2.5, 7, 19, 13), 2, 2);
        p.drawRect(QRectF(8, 4.5, 8, 2.5));
        p.setBrush(QColor(0xEC, 0xF0, 0xF1));
        p.drawEllipse(QPointF(12, 13.5), 4.5, 4.5);
        p.setBrush(QColor(0x2C, 0x3E, 0x50));
        p.drawEllipse(QPointF(12, 13.5), 2.6, 2.6);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xF1, 0xC4, 0x0F));
        p.drawEllipse(QPointF(18.5, 9.5), 1.2, 1.2);
        break;
    }
    }
}

} // namespace

QPixmap glyph(Glyph g, int size)
{
    QPixmap pm = blank(size, size);
    QPainter p(&pm);
    begin(p, size);
    drawGlyph(p, g);
    return pm;
}

QPixmap grip()
{
    QPixmap pm = blank(16, 16);
    QPainter p(&pm);
    // Two columns of raised dots: something to hold.
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 2; ++col) {
            const int x = 5 + col * 4;
            const int y = 2 + row * 3;
            p.fillRect(x + 1, y + 1, 2, 2, QColor(0xFF, 0xFF, 0xFF));
            p.fillRect(x, y, 2, 2, QColor(0x60, 0x64, 0x6C));
        }
    }
    return pm;
}

QPixmap mascot(const QColor &body, int size)
{
    QPixmap pm = blank(size, size);
    QPainter p(&pm);
    begin(p, size);
    // ears
    p.setPen(outline(body.darker(150), 1));
    p.setBrush(body);
    p.drawEllipse(QPointF(6.5, 6.5), 3, 3.5);
    p.drawEllipse(QPointF(17.5, 6.5), 3, 3.5);
    // body
    QRadialGradient g(QPointF(10, 10), 14);
    g.setColorAt(0, body.lighter(135));
    g.setColorAt(1, body);
    p.setBrush(g);
    p.drawEllipse(QRectF(3, 5, 18, 17));
    // eyes
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(9, 12.5), 2.6, 3);
    p.drawEllipse(QPointF(15, 12.5), 2.6, 3);
    p.setBrush(QColor(0x20, 0x20, 0x28));
    p.drawEllipse(QPointF(9.5, 13.2), 1.3, 1.6);
    p.drawEllipse(QPointF(15.5, 13.2), 1.3, 1.6);
    // cheeks and mouth
    p.setBrush(QColor(255, 120, 140, 120));
    p.drawEllipse(QPointF(6.5, 16.5), 1.6, 1);
    p.drawEllipse(QPointF(17.5, 16.5), 1.6, 1);
    p.setPen(outline(QColor(0x40, 0x20, 0x20), 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(10.5, 15, 3, 2.4), 200 * 16, 140 * 16);
    return pm;
}

QPixmap star(int size)
{
    QPixmap pm = blank(size, size);
    QPainter p(&pm);
    begin(p, size);
    QPolygonF poly;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2) ? 4.5 : 10.5;
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        poly << QPointF(12 + r * std::cos(a), 12.5 + r * std::sin(a));
    }
    p.setPen(outline(QColor(0xC8, 0x8A, 0x00), 1));
    p.setBrush(QColor(0xFF, 0xD2, 0x3F));
    p.drawPolygon(poly);
    return pm;
}

QPixmap flower(int size)
{
    QPixmap pm = blank(size, size);
    QPainter p(&pm);
    begin(p, size);
    p.setPen(outline(QColor(0xC2, 0x4A, 0x7A), 0.8));
    p.setBrush(QColor(0xF7, 0x9A, 0xC0));
    for (int i = 0; i < 5; ++i) {
        const double a = -std::numbers::pi / 2 + i * 2 * std::numbers::pi / 5;
        p.drawEllipse(QPointF(12 + 5.5 * std::cos(a), 12 + 5.5 * std::sin(a)), 4.2, 4.2);
    }
    p.setBrush(QColor(0xFF, 0xD2, 0x3F));
    p.drawEllipse(QPointF(12, 12), 3.2, 3.2);
    return pm;
}

QPixmap banner(const QString &name, const QString &version, int width, int height)
{
    QPixmap pm = blank(width, height);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // the mark: a rounded square with a "V"
    const double m = height;
    QLinearGradient g(0, 0, m, m);
    g.setColorAt(0, QColor(0x5D, 0xAD, 0xE2));
    g.setColorAt(1, QColor(0x1F, 0x4E, 0x9A));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1, 1, m - 2, m - 2), m / 5, m / 5);
    p.setPen(QPen(Qt::white, m / 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF v[] = {{m * 0.27, m * 0.28}, {m * 0.5, m * 0.74}, {m * 0.73, m * 0.28}};
    p.drawPolyline(v, 3);
    // name and version beside it
    QFont big = p.font();
    big.setBold(true);
    big.setPixelSize(std::max(10, height * 2 / 5));
    p.setFont(big);
    p.setPen(QColor(0x1F, 0x2D, 0x3D));
    const QRectF text(m + 10, 0, width - m - 10, height);
    p.drawText(text.adjusted(0, 2, 0, -height / 2.0), Qt::AlignLeft | Qt::AlignBottom, name);
    QFont small = p.font();
    small.setBold(false);
    small.setPixelSize(std::max(9, height / 4));
    p.setFont(small);
    p.setPen(QColor(0x50, 0x5A, 0x68));
    p.drawText(text.adjusted(0, height / 2.0 + 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, version);
    return pm;
}

QPixmap webLink(const QString &address, int width, int height)
{
    QPixmap pm = blank(width, height);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double d = height - 4;
    const QRectF globe(2, 2, d, d);
    p.setPen(QPen(QColor(0x1F, 0x6F, 0xB2), 1.2));
    p.setBrush(QColor(0xD6, 0xEA, 0xF8));
    p.drawEllipse(globe);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(globe.adjusted(d * 0.28, 0, -d * 0.28, 0));
    p.drawLine(QPointF(globe.center().x(), globe.top()), QPointF(globe.center().x(), globe.bottom()));
    p.drawLine(QPointF(globe.left(), globe.center().y()), QPointF(globe.right(), globe.center().y()));
    QFont f = p.font();
    f.setUnderline(true);
    f.setPixelSize(std::max(9, height * 3 / 5));
    p.setFont(f);
    p.setPen(QColor(0x1F, 0x5F, 0xC0));
    p.drawText(QRectF(d + 8, 0, width - d - 8, height), Qt::AlignLeft | Qt::AlignVCenter, address);
    return pm;
}

} // namespace shell::icons
