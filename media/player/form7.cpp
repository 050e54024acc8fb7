#include "form7.h"
#include "platform/forms/events.h"

#include "form3.h"
#include "keys.h"

#include "media/midi/form22.h"

#include "suite/colours.h"
#include "suite/settings.h"

using suite::chooseBack;
using suite::chooseColour;
using suite::chooseFore;
using P = Form3;

namespace keys = player::keys;

Form7::Form7()
    : PlayerSettingsWindow(QStringLiteral("Form7"), QStringLiteral("Multimedia Rondix Setting"),
                           QStringLiteral("Multimedia Rondixに関するすべての設定ができます"), 6960, 4440,
                           {keys::Section, keys::Skin, keys::SkinDefaultName})
{

    vx::bindEvents(*this);
}

void Form7::Command1_Click()
{
    chooseBack(CommonDialog1, &P::Label3, &P::Label5);
}

void Form7::Command9_Click()
{
    chooseFore(CommonDialog9, &P::Label3, &P::Label5);
}

void Form7::Command4_Click()
{
    chooseBack(CommonDialog4, &P::Label1);
}

void Form7::Command10_Click()
{
    chooseFore(CommonDialog10, &P::Label1);
}

void Form7::Command3_Click()
{
    chooseBack(CommonDialog3, &P::Drive1, &P::Dir1, &P::File1, &P::Drive2, &P::Dir2, &P::File2, &P::Label2, &P::Label4,
               &P::Text1);
}

void Form7::Command5_Click()
{
    chooseFore(CommonDialog5, &P::Drive1, &P::Dir1, &P::File1, &P::Drive2, &P::Dir2, &P::File2, &P::Label2, &P::Label4,
               &P::Text1);
}

void Form7::Command2_Click()
{
    chooseBack(CommonDialog2, &P::Command5, &P::Command4, &P::Command3, &P::Command1, &P::Command6, &P::Command2,
               &P::Command7, &P::Command9, &P::Command8, &P::Command10, &P::Check1, &P::Check2, &P::Check3);
}

void Form7::Command14_Click()
{
    chooseColour(CommonDialog7, [](qint32 c) { vx::instance<Form3>().ProgressBar1.setBarColor(c); });
}

void Form7::Command15_Click()
{
    chooseColour(CommonDialog8, [](qint32 c) { vx::instance<Form3>().ProgressBar1.setBarBackColor(c); });
}

void Form7::Command16_Click()
{
    vx::StyledProgressBar &bar = vx::instance<Form3>().ProgressBar1;
    bar.setScrolling(bar.Scrolling() == 1 ? 0 : 1);
}

void Form7::Check1_Click()
{
    const auto pick = suite::captionPicker(Check1.Value() == 1);
    Form3 &p = vx::instance<Form3>();
    suite::captionSharedPlayerWords(p, pick);
    p.Command3.setCaption(pick("STOP", "停止"));
    p.Command4.setCaption(pick("PAUSE", "一時停止"));
    p.Command5.setCaption(pick("PLAY", "再生"));
}

void Form7::Command6_Click()
{
    chooseSkin(CommonDialog6, [](const vx::Picture &skin) { vx::instance<Form3>().Image2.setPicture(skin); });
}

void Form7::Command7_Click()
{
    vx::instance<Form22>().Show(1);
}

void Form7::store()
{
    // Read from the player as it looks now; it is loaded whenever this window is.
    if (!vx::isLoaded<Form3>())
        return;
    const Form3 &p = vx::instance<Form3>();
    storeNumbers({{keys::CrystalColor, p.Label3.BackColor()},
                  {keys::CrystalFontColor, p.Label3.ForeColor()},
                  {keys::BackColor, p.File1.BackColor()},
                  {keys::FontColor, p.File1.ForeColor()},
                  {keys::VolColor, p.Label1.BackColor()},
                  {keys::VolFontColor, p.Label1.ForeColor()},
                  {keys::ProgressKind, p.ProgressBar1.Scrolling()}});
}
