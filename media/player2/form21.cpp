#include "form21.h"

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
    Check1.Move(120, 2400, 2415, 300);
    Command13.Move(2655, 480, 2145, 375);
    Command3.Move(4815, 480, 2145, 375);
    Command4.Move(2655, 960, 2145, 375);
    Command10.Move(4815, 960, 2145, 375);
    Command9.Move(2655, 1440, 2145, 375);
    Command1.Move(4815, 1440, 2145, 375);
    Command2.Move(2655, 1920, 2145, 375);
    Label2.Move(2655, 2430, 4305, 255);
    Combo1.Move(2655, 2760, 1200, 300);
    Label4.Move(3960, 2805, 900, 255);
    Command18.Move(120, 3360, 2415, 375);
    Command5.Move(2655, 3360, 4305, 375);
    Command17.Move(120, 3960, 3360, 375);
    Command8.Move(3600, 3960, 3360, 375);
    suite::listRates(Combo1);
    Combo1.setAccessibleName(QStringLiteral("倍速"));

    Check1.Click = [this] { Check1_Click(); };
    Command13.Click = [this] { Command13_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    Command10.Click = [this] { Command10_Click(); };
    Command9.Click = [this] { Command9_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    Command18.Click = [this] { Command18_Click(); };
    Command5.Click = [this] { Command5_Click(); };
    Command17.Click = [this] { Command17_Click(); };
    Command8.Click = [this] { Command8_Click(); };
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
    p.Command1.setCaption(pick("CLOSE", "閉じる"));
    p.Command6.setCaption(pick("SET", "設定"));
    p.Command3.setCaption(pick("ID3TAG", "タグ"));
    p.Command7.setCaption(pick("NEXT", "次へ"));
    p.Command8.setCaption(pick("DETAILS", "プロパティ"));
    p.Command9.setCaption(pick("BACK", "前へ"));
    p.Label1.setCaption(pick("VOLUME", "ボリューム"));
    p.Check1.setCaption(pick("REPEAT", "繰り返し"));
    p.Check2.setCaption(pick("ONECE", "1回"));
    p.Check3.setCaption(pick("RANDOM", "ランダム"));
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
