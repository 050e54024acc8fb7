#include "pages.h"

#include "keys.h"
#include "suite/artwork.h"
#include "suite/settings.h"
#include "platform/dialogs/dialogs.h"

#include <QFont>

// The drawing is compiled into this static library, where nothing else refers
// to it: registered by hand before it is drawn.
static void registerRepairArtwork() { Q_INIT_RESOURCE(repair); }

namespace repair {

namespace {

namespace helper = keys::VelmoraHelper;

// One frame for every page, in twips (multiples of 15: whole pixels).
constexpr double kClientW = 7500, kClientH = 5400;
constexpr double kStripW = 2460;
constexpr double kRuleY = 4680;
constexpr double kTextLeft = 2700, kTextW = 4500;
constexpr double kButtonTop = 4860, kButtonW = 1215, kButtonH = 375;
constexpr double kCancelLeft = 6105, kNextLeft = 4710, kBackLeft = 3495;

// The strip: a deep blue to teal fall with a light cog and a check mark.
QPixmap stripPicture(QSize size)
{
    static const bool registered = (registerRepairArtwork(), true);
    (void)registered;
    return QPixmap::fromImage(suite::drawArtwork(QStringLiteral(":/repair/strip.svg"), size));
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
    Move(suite::GetLong(helper::Section, suite::keys::FormLeft, helper::FormLeftDefault),
         suite::GetLong(helper::Section, suite::keys::FormTop, helper::FormTopDefault));
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
