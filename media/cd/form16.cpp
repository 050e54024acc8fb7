#include "form16.h"

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
    Command1.Move(2655, 480, 2100, 375);
    Command5.Move(4860, 480, 2100, 375);
    Command3.Move(2655, 960, 2100, 375);
    Command4.Move(4860, 960, 2100, 375);
    Command2.Move(2655, 1440, 2100, 375);
    Command6.Move(4860, 1440, 2100, 375);
    Command17.Move(120, 2460, 3360, 375);
    Command8.Move(3600, 2460, 3360, 375);
    Command17.setToolTipText(QStringLiteral("初期設定に戻します"));

    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    Command5.Click = [this] { Command5_Click(); };
    Command6.Click = [this] { Command6_Click(); };
    Command8.Click = [this] { Command8_Click(); };
    Command17.Click = [this] { Command17_Click(); };
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
