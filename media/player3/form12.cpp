#include "form12.h"
#include "platform/forms/events.h"

#include "formvx3.h"
#include "keys.h"

#include "media/midi/form22.h"
#include "suite/colours.h"

using suite::chooseBack;
using suite::chooseFore;
using P = FormVX3;

namespace keys = player3::keys;

Form12::Form12()
    : PlayerSettingsWindow(QStringLiteral("Form12"), QStringLiteral("Multimedia Rondix Ⅲ Setting"),
                           QStringLiteral("Multimedia Rondix Ⅲに関するすべての設定ができます"), 7080, 4440,
                           {keys::Section, keys::Skin, keys::SkinDefaultName})
{

    vx::bindEvents(*this);
}

void Form12::Check1_Click()
{
    const auto pick = suite::captionPicker(Check1.Value() == 1);
    FormVX3 &p = vx::instance<FormVX3>();
    p.Command1.setCaption(pick("CLOSE", "閉じる"));
    p.Command6.setCaption(pick("SET UP", "設定"));
    p.Command7.setCaption(pick("NEXT", "次へ"));
    p.Command8.setCaption(pick("DETAILS", "プロパティ"));
    p.Command9.setCaption(pick("BACK", "前へ"));
    p.Label1.setCaption(pick("VOLUME", "ボリューム"));
    p.Check1.setCaption(pick("REPEAT", "繰り返し再生"));
    p.Check2.setCaption(pick("STANDARD", "標準再生"));
}

void Form12::Command13_Click()
{
    chooseFore(CommonDialog1, &P::Drive1, &P::Dir1, &P::File1, &P::Label2, &P::Text1, &P::Text2);
}

void Form12::Command3_Click()
{
    chooseBack(CommonDialog2, &P::Drive1, &P::Dir1, &P::File1, &P::Label2, &P::Text1, &P::Text2);
}

void Form12::Command2_Click()
{
    chooseBack(CommonDialog3, &P::Command1, &P::Command2, &P::Command3, &P::Command4, &P::Command5, &P::Command6,
               &P::Command7, &P::Command8, &P::Command9, &P::Check1, &P::Check2);
}

void Form12::Command4_Click()
{
    chooseBack(CommonDialog4, &P::Label1);
}

void Form12::Command10_Click()
{
    chooseFore(CommonDialog5, &P::Label1);
}

void Form12::Command18_Click()
{
    chooseSkin(CommonDialog6, [](const vx::Picture &skin) { vx::instance<FormVX3>().Image1.setPicture(skin); });
}

void Form12::Command1_Click()
{
    vx::instance<Form22>().Show(1);
}

void Form12::store()
{
    // The player is loaded whenever this window is shown from it.
    if (!vx::isLoaded<FormVX3>())
        return;
    const FormVX3 &p = vx::instance<FormVX3>();
    storeNumbers({{keys::BackColor, p.File1.BackColor()},
                  {keys::FontColor, p.File1.ForeColor()},
                  {keys::VolColor, p.Label1.BackColor()},
                  {keys::VolFontColor, p.Label1.ForeColor()}});
}
