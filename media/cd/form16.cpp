#include "form16.h"
#include "platform/forms/events.h"

#include "form8.h"
#include "keys.h"

#include "suite/colours.h"

using suite::chooseBack;
using suite::chooseFore;
using P = Form8;

namespace keys = cdplayer::keys;

Form16::Form16()
    : PlayerSettingsWindow(QStringLiteral("Form16"), QStringLiteral("AudioCD Rondix Setting"),
                           QStringLiteral("AudioCD Rondixに関するすべての設定ができます。"), 7080, 3000,
                           {keys::Section, keys::Skin, keys::SkinDefaultName})
{
    Command17.setToolTipText(QStringLiteral("初期設定に戻します"));

    vx::bindEvents(*this);
}

void Form16::Command1_Click()
{
    chooseBack(CommonDialog1, &P::Label1);
}

void Form16::Command5_Click()
{
    chooseFore(CommonDialog5, &P::Label1);
}

void Form16::Command3_Click()
{
    chooseBack(CommonDialog3, &P::Drive2, &P::Dir2, &P::File2, &P::Label4, &P::Text1);
}

void Form16::Command4_Click()
{
    chooseFore(CommonDialog4, &P::Drive2, &P::Dir2, &P::File2, &P::Label4, &P::Text1);
}

void Form16::Command2_Click()
{
    chooseBack(CommonDialog2, &P::Command1, &P::Command2, &P::Command3, &P::Command4, &P::Command5, &P::Command6,
               &P::Command7, &P::Command8, &P::Command9, &P::Command10);
}

void Form16::Command6_Click()
{
    suite::chooseSkin(CommonDialog6, keys::Section, keys::Skin,
                      [](const vx::Picture &skin) { vx::instance<Form8>().Image2.setPicture(skin); });
}

void Form16::store()
{
    // Read back from the player as it looks now; it is loaded whenever this window is.
    if (!vx::isLoaded<Form8>())
        return;
    const Form8 &p = vx::instance<Form8>();
    storeNumbers({{keys::BackColor, p.File2.BackColor()},
                  {keys::FontColor, p.File2.ForeColor()},
                  {keys::VolColor, p.Label1.BackColor()},
                  {keys::VolFontColor, p.Label1.ForeColor()}});
}
