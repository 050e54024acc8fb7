#include "form21.h"
#include "platform/forms/events.h"

#include "form20.h"
#include "keys.h"

#include "media/midi/form22.h"
#include "suite/colours.h"
#include "suite/settings.h"

using suite::chooseBack;
using suite::chooseFore;
using P = Form20;

namespace keys = player2::keys;

Form21::Form21()
    : PlayerSettingsWindow(QStringLiteral("Form21"), QStringLiteral("Multimedia Rondix Ⅱ Setting"),
                           QStringLiteral("Multimedia Rondix Ⅱに関するすべての設定ができます"), 7080, 4920,
                           {keys::Section, keys::Skin, keys::SkinDefaultName})
{
    suite::listRates(Combo1);
    Combo1.setAccessibleName(QStringLiteral("倍速"));

    vx::bindEvents(*this);
}

void Form21::Form_Load()
{
    PlayerSettingsWindow::Form_Load();
    // The stored speed, so a fresh window after an unload neither plays at
    // "1.0" nor stores it over the user's speed.
    Combo1.setText(suite::GetSetting(keys::Section, keys::PlaySpeed, QStringLiteral("1.0")));
}

void Form21::Check1_Click()
{
    const auto pick = suite::captionPicker(Check1.Value() == 1);
    Form20 &p = vx::instance<Form20>();
    suite::captionSharedPlayerWords(p, pick);
    p.Command3.setCaption(pick("ID3TAG", "タグ"));
}

void Form21::Command13_Click()
{
    chooseFore(CommonDialog1, &P::Drive1, &P::Dir1, &P::File1, &P::Text1, &P::Label2);
}

void Form21::Command3_Click()
{
    chooseBack(CommonDialog2, &P::Drive1, &P::Dir1, &P::File1, &P::Text1, &P::Label2);
}

void Form21::Command2_Click()
{
    chooseBack(CommonDialog3, &P::Command1, &P::Command2, &P::Command3, &P::Command4, &P::Command5, &P::Command6,
               &P::Command7, &P::Command8, &P::Command9, &P::Check1, &P::Check2, &P::Check3);
}

void Form21::Command4_Click()
{
    chooseBack(CommonDialog4, &P::Label1);
}

void Form21::Command10_Click()
{
    chooseFore(CommonDialog5, &P::Label1);
}

void Form21::Command9_Click()
{
    chooseBack(CommonDialog6, &P::Text2);
}

void Form21::Command1_Click()
{
    chooseFore(CommonDialog7, &P::Text2);
}

void Form21::Command18_Click()
{
    chooseSkin(CommonDialog8, [](const vx::Picture &skin) { vx::instance<Form20>().Image1.setPicture(skin); });
}

void Form21::Command5_Click()
{
    vx::instance<Form22>().Show(1);
}

void Form21::store()
{
    const auto speed = [this] { suite::SaveSetting(keys::Section, keys::PlaySpeed, Combo1.Text()); };
    // The player is loaded whenever this window is; without it only the speed is kept.
    if (!vx::isLoaded<Form20>()) {
        speed();
        return;
    }
    const Form20 &p = vx::instance<Form20>();
    storeNumbers({{keys::BackColor, p.File1.BackColor()},
                  {keys::FontColor, p.File1.ForeColor()},
                  {keys::VolColor, p.Label1.BackColor()},
                  {keys::VolFontColor, p.Label1.ForeColor()}});
    speed();
    storeNumbers({{keys::FileInfoBoxColor, p.Text2.BackColor()}, {keys::FileInfoBoxFontColor, p.Text2.ForeColor()}});
}
