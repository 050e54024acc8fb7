#include "form7.h"

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
    Check1.Move(120, 2400, 2415, 300);
    Command1.Move(2655, 480, 2040, 375);
    Command9.Move(4800, 480, 2040, 375);
    Command4.Move(2655, 960, 2040, 375);
    Command10.Move(4800, 960, 2040, 375);
    Command3.Move(2655, 1440, 2040, 375);
    Command5.Move(4800, 1440, 2040, 375);
    Command2.Move(2655, 1920, 2040, 375);
    Command16.Move(4800, 1920, 2040, 375);
    Command14.Move(2655, 2400, 2040, 375);
    Command15.Move(4800, 2400, 2040, 375);
    Command6.Move(120, 2880, 2415, 375);
    Command7.Move(2655, 2880, 4185, 375);
    Command17.Move(120, 3480, 3300, 375);
    Command8.Move(3540, 3480, 3300, 375);

    Check1.Click = [this] { Check1_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    Command5.Click = [this] { Command5_Click(); };
    Command6.Click = [this] { Command6_Click(); };
    Command7.Click = [this] { Command7_Click(); };
    Command8.Click = [this] { Command8_Click(); };
    Command9.Click = [this] { Command9_Click(); };
    Command10.Click = [this] { Command10_Click(); };
    Command14.Click = [this] { Command14_Click(); };
    Command15.Click = [this] { Command15_Click(); };
    Command16.Click = [this] { Command16_Click(); };
    Command17.Click = [this] { Command17_Click(); };
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
    p.Command1.setCaption(pick("CLOSE", "閉じる"));
    p.Command3.setCaption(pick("STOP", "停止"));
    p.Command4.setCaption(pick("PAUSE", "一時停止"));
    p.Command5.setCaption(pick("PLAY", "再生"));
    p.Command6.setCaption(pick("SET", "設定"));
    p.Command7.setCaption(pick("NEXT", "次へ"));
    p.Command8.setCaption(pick("DETAILS", "プロパティ"));
    p.Command9.setCaption(pick("BACK", "前へ"));
    p.Label1.setCaption(pick("VOLUME", "ボリューム"));
    p.Check1.setCaption(pick("REPEAT", "繰り返し"));
    p.Check2.setCaption(pick("ONECE", "1回"));
    p.Check3.setCaption(pick("RANDOM", "ランダム"));
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
