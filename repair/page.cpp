#include "pages.h"

#include "suite/settings.h"
#include "platform/dialogs/dialogs.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace repair {

namespace {

const QString kSection = QStringLiteral("Velmora Helper");

// One frame for every page, in twips (multiples of 15: whole pixels).
constexpr double kClientW = 7500, kClientH = 5400;
constexpr double kStripW = 2460;
constexpr double kRuleY = 4680;
constexpr double kTextLeft = 2700, kTextW = 4500;
constexpr double kButtonTop = 4860, kButtonW = 1215, kButtonH = 375;
constexpr double kCancelLeft = 6105, kNextLeft = 4710, kBackLeft = 3495;

// The strip: a deep blue to teal fall with a light cog.
QPixmap stripPicture(QSize size)
{
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fall(0, 0, size.width() * 0.3, size.height());
    fall.setColorAt(0, QColor(0x14, 0x2e, 0x5c));
    fall.setColorAt(0.6, QColor(0x1d, 0x5f, 0x86));
    fall.setColorAt(1, QColor(0x2a, 0x95, 0x8f));
    p.fillRect(pm.rect(), fall);

    // Soft diagonal bands give the flat fall some depth.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 14));
    for (int i = 0; i < 3; ++i) {
        const double y = size.height() * (0.45 + 0.18 * i);
        const QPointF band[] = {{0, y}, {double(size.width()), y - size.width() * 0.6},
                                {double(size.width()), y - size.width() * 0.6 + 26}, {0, y + 26}};
        p.drawPolygon(band, 4);
    }

    const QPointF c(size.width() / 2.0, size.height() * 0.3);
    const double outer = size.width() * 0.3, inner = outer * 0.78;
    QRadialGradient glow(c, outer * 1.9);
    glow.setColorAt(0, QColor(255, 255, 255, 60));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(glow);
    p.drawEllipse(c, outer * 1.9, outer * 1.9);

    // Cog: eight teeth around a ring.
    QPainterPath cog;
    constexpr int teeth = 8;
    const auto at = [&](double deg, double r) {
        const double a = deg * std::numbers::pi / 180.0;
        return QPointF(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
    };
    for (int i = 0; i < teeth; ++i) {
        const double a = i * 360.0 / teeth;
        const QPointF pts[] = {at(a - 13, inner), at(a - 8, outer), at(a + 8, outer), at(a + 13, inner)};
        if (i == 0)
            cog.moveTo(pts[0]);
        else
            cog.lineTo(pts[0]);
        for (int k = 1; k < 4; ++k)
            cog.lineTo(pts[k]);
    }
    cog.closeSubpath();
    cog.addEllipse(c, inner * 0.42, inner * 0.42);
    cog.setFillRule(Qt::OddEvenFill);
    p.setBrush(QColor(255, 255, 255, 225));
    p.drawPath(cog);
    // A check mark below the cog: the tool made well.
    p.setPen(QPen(QColor(255, 255, 255, 200), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const double s = outer * 0.55, y = c.y() + outer * 2.1;
    const QPointF tick[] = {{c.x() - s, y}, {c.x() - s * 0.3, y + s * 0.7}, {c.x() + s, y - s * 0.6}};
    p.drawPolyline(tick, 3);
    return pm;
}

} // namespace

Page::Page(const QString &name) : Form(name)
{
    setCaption(QStringLiteral("Velmora 2002 Helper Version2.01"));
    setClientSize(kClientW, kClientH);
    setFixedSize(size());

    Picture1.Move(0, 0, kStripW, kRuleY);
    Picture1.setBorderStyle(0);
    Picture1.setPicture(stripPicture(Picture1.size()));

    // An etched rule: a shadow line with a light one beneath.
    Line1.Move(0, kRuleY, kClientW, kRuleY);
    Line1.setBorderColor(vx::rgb(0x80, 0x80, 0x80));
    Line2.Move(0, kRuleY + vx::kTwipsPerPixel, kClientW, kRuleY + vx::kTwipsPerPixel);
    Line2.setBorderColor(vx::rgb(0xFF, 0xFF, 0xFF));
}

void Page::placeFromSettings()
{
    // Numbers only; anything else (the wizard never writes these) is the default.
    Move(suite::GetLong(kSection, QStringLiteral("FormLeft"), QStringLiteral("3375")),
         suite::GetLong(kSection, QStringLiteral("FormTop"), QStringLiteral("2880")));
}

void Page::askCancel()
{
    if (vx::MsgBox(QStringLiteral("中断しますか？"), vx::vbYesNo) == vx::vbYes)
        vx::End();
}

void Page::placeTitle(vx::Label &title)
{
    QFont f = title.font();
    f.setBold(true);
    f.setPointSize(12);
    title.setFont(f);
    title.Move(kTextLeft, 300, kTextW, 660);
}

void Page::placeText(QWidget &w, double top, double height)
{
    w.setGeometry(vx::toPixels(kTextLeft), vx::toPixels(top), vx::toPixels(kTextW), vx::toPixels(height));
}

void Page::placeButton(vx::CommandButton &b, Slot slot)
{
    const double left = slot == Slot::Back ? kBackLeft : slot == Slot::Next ? kNextLeft : kCancelLeft;
    b.Move(left, kButtonTop, kButtonW, kButtonH);
}

void Page::Form_QueryUnload(int &cancel, int unloadMode)
{
    if (unloadMode != 0)
        return;
    cancel = 1;
    closeBox();
}

} // namespace repair
