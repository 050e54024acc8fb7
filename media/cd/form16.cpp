#include "form16.h"

#include "form8.h"
#include "keys.h"

#include "platform/core/errors.h"
#include "platform/imaging/picture.h"
#include "platform/system/system.h"
#include "suite/colours.h"
#include "suite/settings.h"
#include "suite/windows/settingswindow.h"

#include <functional>

using suite::chooseColour;
using suite::setBack;
using suite::setFore;

namespace keys = cdplayer::keys;

Form16::Form16() : vx::Form(QStringLiteral("Form16"))
{
    setCaption(QStringLiteral("AudioCD Rondix Setting"));
    setClientSize(7080, 3000);
    Label1.Move(120, 120, 6840, 255);
    Image1.Move(120, 480, 2415, 1815);
    Image1.setStretch(true);
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

void Form16::Form_Load()
{
    // A missing or unreadable skin leaves only the skin out.
    suite::showStoredSkin(keys::Section, keys::Skin, keys::SkinDefaultName,
                          [this](const vx::Picture &skin) { Image1.setPicture(skin); });
    suite::applyPointer(*this);
}

void Form16::Form_Unload(int &cancel)
{
    (void)cancel;
    store();
}

void Form16::Command1_Click()
{
    chooseColour(CommonDialog1, [](qint32 c) { vx::instance<Form8>().Label1.setBackColor(c); });
}

void Form16::Command5_Click()
{
    chooseColour(CommonDialog5, [](qint32 c) { vx::instance<Form8>().Label1.setForeColor(c); });
}

void Form16::Command3_Click()
{
    chooseColour(CommonDialog3, [](qint32 c) {
        Form8 &p = vx::instance<Form8>();
        p.Drive2.setBackColor(c);
        p.Dir2.setBackColor(c);
        p.File2.setBackColor(c);
        p.Label4.setBackColor(c);
        p.Text1.setBackColor(c);
    });
}

void Form16::Command4_Click()
{
    chooseColour(CommonDialog4, [](qint32 c) {
        Form8 &p = vx::instance<Form8>();
        p.Drive2.setForeColor(c);
        p.Dir2.setForeColor(c);
        p.File2.setForeColor(c);
        p.Label4.setForeColor(c);
        p.Text1.setForeColor(c);
    });
}

void Form16::Command2_Click()
{
    chooseColour(CommonDialog2, [](qint32 c) {
        Form8 &p = vx::instance<Form8>();
        for (vx::CommandButton *b : {&p.Command1, &p.Command2, &p.Command3, &p.Command4, &p.Command5, &p.Command6,
                                     &p.Command7, &p.Command8, &p.Command9, &p.Command10})
            b->setBackColor(c);
    });
}

void Form16::Command6_Click()
{
    suite::chooseSkin(CommonDialog6, keys::Section, keys::Skin,
                      [](const vx::Picture &skin) { vx::instance<Form8>().Image2.setPicture(skin); });
}

void Form16::Command17_Click()
{
    if (suite::resetSection(keys::Section))
        Hide();
}

void Form16::Command8_Click()
{
    store();
    Unload();
}

void Form16::store()
{
    // Read back from the player as it looks now; it is loaded whenever this window is.
    if (!vx::isLoaded<Form8>())
        return;
    Form8 &p = vx::instance<Form8>();
    auto save = [](QLatin1StringView key, qint32 value) {
        suite::SaveSetting(keys::Section, key, QString::number(value));
    };
    save(keys::BackColor, p.File2.BackColor());
    save(keys::FontColor, p.File2.ForeColor());
    save(keys::VolColor, p.Label1.BackColor());
    save(keys::VolFontColor, p.Label1.ForeColor());
}
