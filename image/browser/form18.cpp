#include "form18.h"
#include "platform/forms/events.h"

#include "form33.h"
#include "frmfullscreen.h"
#include "frmsum.h"
#include "keys.h"
#include "platform/core/convert.h"
#include "platform/core/errors.h"
#include "platform/imaging/picture.h"
#include "suite/colours.h"
#include "suite/interval.h"
#include "suite/settings.h"
#include "suite/windows/settingswindow.h"

namespace keys = browser::keys;

Form18::Form18() : vx::Form(QStringLiteral("Form18"))
{
    setCaption(QStringLiteral("Graphic Rondix Ⅱ Setting"));
    setClientSize(6825, 5595);
    setFixedSize(size());
    suite::listRates(Combo1);
    suite::setUpInterval(Text1, HScroll1, keys::SpeedDefault);

    vx::bindEvents(*this);
}

int Form18::storedSpeed()
{
    return suite::storedInterval(keys::Section, keys::Speed, keys::SpeedDefault);
}

void Form18::Form_Load()
{
    suite::applyPointer(*this);
    Check2.setValue(suite::GetDouble(keys::Section, keys::Zoom, keys::ZoomDefault) != 0 ? 1 : 0);
    Check1.setValue(suite::GetDouble(keys::Section, keys::Window, keys::WindowDefault) != 0 ? 1 : 0);
    // Closing with the close box saves "Speed": it must start from the stored one.
    HScroll1.setValue(storedSpeed());
}

void Form18::Form_Unload(int &cancel)
{
    (void)cancel;
    // The browser's keys only while it is there; touching it would load it.
    if (vx::isLoaded<frmSum>()) {
        frmSum &b = vx::instance<frmSum>();
        suite::saveListLook(keys::Section, b, b.Command3, b.File, b.Label1);
        suite::SaveSetting(keys::Section, keys::PicColor, QString::number(b.Picture4.ForeColor()));
        suite::SaveSetting(keys::Section, keys::PicBackColor, QString::number(b.Picture4.BackColor()));
        suite::SaveSetting(keys::Section, keys::SumColor, QString::number(b.Command1[0]->BackColor()));
    }
    if (vx::isLoaded<frmFullScreen>())
        suite::SaveSetting(keys::Section, keys::FullColor, QString::number(vx::instance<frmFullScreen>().BackColor()));
    suite::SaveSetting(keys::Section, keys::Speed, QString::number(HScroll1.Value()));
}

void Form18::Command7_Click()
{
    suite::chooseColour(CommonDialog1, [](qint32 c) { suite::setBack(c, vx::instance<frmSum>(), vx::instance<Form33>()); });
}

void Form18::Command6_Click()
{
    CommonDialog10.Filter = QStringLiteral("画像ファイル(*.bmp,*.jpg,*.gif)|*.bmp;*.jpg;*.gif");
    if (!CommonDialog10.ShowOpen())
        return;
    try {
        vx::instance<frmSum>().setPicture(vx::LoadPicture(CommonDialog10.FileName));
    } catch (const vx::RuntimeError &) {
    }
}

void Form18::Command3_Click()
{
    suite::chooseColour(CommonDialog4, [](qint32 c) {
        frmSum &b = vx::instance<frmSum>();
        suite::setBack(c, b.Drive, b.Dir, b.File, b.Label1);
    });
}

void Form18::Command4_Click()
{
    suite::chooseColour(CommonDialog6, [](qint32 c) {
        frmSum &b = vx::instance<frmSum>();
        for (auto &cell : b.Command1)
            cell->setBackColor(c);
        suite::setBack(c, b.Picture1, b.Picture2, b.Picture3);
    });
}

void Form18::Command5_Click()
{
    suite::chooseColour(CommonDialog7, [](qint32 c) { suite::setFore(c, vx::instance<frmSum>().Picture4); });
}

void Form18::Command9_Click()
{
    suite::chooseColour(CommonDialog8, [](qint32 c) { suite::setBack(c, vx::instance<frmSum>().Picture4); });
}

void Form18::Command11_Click()
{
    // The window only: its picture box keeps its colour until the next start.
    suite::chooseColour(CommonDialog9, [](qint32 c) { suite::setBack(c, vx::instance<frmFullScreen>()); });
}

void Form18::HScroll1_Change()
{
    try {
        Text1.setText(QString::number(HScroll1.Value()));
        if (vx::isLoaded<frmSum>())
            vx::instance<frmSum>().Timer1.setInterval(HScroll1.Value());
    } catch (const vx::RuntimeError &) {
    }
}

void Form18::Text1_Change()
{
    suite::followIntervalText(Text1, HScroll1);
}

void Form18::Command8_Click()
{
    frmSum &b = vx::instance<frmSum>();
    suite::SaveSetting(keys::Section, keys::FormColor, QString::number(b.BackColor()));
    suite::SaveSetting(keys::Section, keys::FileColor, QString::number(b.File.BackColor()));
    suite::SaveSetting(keys::Section, keys::PicColor, QString::number(b.Picture4.ForeColor()));
    suite::SaveSetting(keys::Section, keys::PicBackColor, QString::number(b.Picture4.BackColor()));
    suite::SaveSetting(keys::Section, keys::SumColor, QString::number(b.Command1[0]->BackColor()));
    suite::SaveSetting(keys::Section, keys::FullColor, QString::number(vx::instance<frmFullScreen>().BackColor()));
    suite::SaveSetting(keys::Section, keys::Speed, QString::number(HScroll1.Value()));
    Hide();
    suite::SaveSetting(keys::Section, keys::Window, Check1.Value() == 1 ? QStringLiteral("1") : QStringLiteral("0"));
    suite::SaveSetting(keys::Section, keys::Zoom, Check2.Value() == 1 ? QStringLiteral("1") : QStringLiteral("0"));
}

void Form18::Command10_Click()
{
    if (suite::resetSection(keys::Section))
        Hide();
}
