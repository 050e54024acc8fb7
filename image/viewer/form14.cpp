#include "form14.h"
#include "platform/forms/events.h"

#include "suite/interval.h"
#include "suite/settings.h"
#include "suite/windows/settingswindow.h"
#include "form2.h"
#include "form32.h"
#include "keys.h"
#include "platform/core/convert.h"
#include "platform/core/errors.h"
#include "platform/imaging/picture.h"
#include "viewer.h"

namespace keys = viewer::keys::GraphicRondix;

Form14::Form14() : vx::Form(QStringLiteral("Form14"))
{
    setCaption(QStringLiteral("Grapic Rondix Setting"));
    setClientSize(6825, 4035);
    suite::setUpInterval(Text1, HScroll1, keys::SpeedDefault);
    suite::listRates(Combo1);

    vx::bindEvents(*this);
}

int Form14::storedSpeed()
{
    return suite::storedInterval(keys::Section, keys::Speed, keys::SpeedDefault);
}

void Form14::Form_Load()
{
    suite::applyPointer(*this);
    Check2.setValue(viewer::zoomSetting() != 0 ? 1 : 0);
    // Closing with the close box saves "Speed": it must start from the stored one.
    HScroll1.setValue(storedSpeed());
}

void Form14::Form_Unload(int &cancel)
{
    (void)cancel;
    // The viewer's keys only while it is there; touching it would load it.
    if (vx::isLoaded<Form2>()) {
        Form2 &viewer = vx::instance<Form2>();
        suite::saveListLook(keys::Section, viewer, viewer.Command1, viewer.File1, viewer.Label1);
    }
    suite::SaveSetting(keys::Section, keys::Speed, QString::number(HScroll1.Value()));
}

void Form14::Check1_Click()
{
    const bool english = Check1.Value() == 1;
    Form2 &v = vx::instance<Form2>();
    auto caption = [english](vx::CommandButton &b, const char *en, const char *ja) {
        b.setCaption(QString::fromUtf8(english ? en : ja));
    };
    caption(v.Command1, "CLOSE", "閉じる");
    caption(v.Command2, "EXPAND", "拡大");
    caption(v.Command3, "REDUCE", "縮小");
    caption(v.Command4, "RESET", "リセット");
    caption(v.Command5, "ZOOM", "ズーム");
    caption(v.Command6, "NEXT", "次へ");
    caption(v.Command7, "COPY", "コピー");
    caption(v.Command8, "SET", "設定");
    caption(v.Command9, "BACK", "前へ");
    caption(v.Command10, "SLIDER", "スライドショー");
    caption(v.Command11, "DETAILS", "プロパティ");
}

void Form14::Command3_Click()
{
    if (!CommonDialog4.ShowColor())
        return;
    Form2 &v = vx::instance<Form2>();
    v.Drive1.setBackColor(CommonDialog4.Color);
    v.Dir1.setBackColor(CommonDialog4.Color);
    v.File1.setBackColor(CommonDialog4.Color);
    v.Label1.setBackColor(CommonDialog4.Color);
}

void Form14::Command7_Click()
{
    if (!CommonDialog1.ShowColor())
        return;
    vx::instance<Form2>().setBackColor(CommonDialog1.Color);
    vx::instance<Form32>().setBackColor(CommonDialog1.Color);
}

void Form14::Command6_Click()
{
    CommonDialog7.Filter = QStringLiteral("画像ファイル(*.bmp,*.jpg,*.gif)|*.bmp;*.jpg;*.gif");
    if (!CommonDialog7.ShowOpen())
        return;
    try {
        vx::instance<Form2>().setPicture(vx::LoadPicture(CommonDialog7.FileName));
    } catch (const vx::RuntimeError &) {
    }
}

void Form14::Command4_Click()
{
    if (suite::resetSection(keys::Section))
        Hide();
}

void Form14::Command8_Click()
{
    Form2 &v = vx::instance<Form2>();
    suite::SaveSetting(keys::Section, keys::FormColor, QString::number(v.BackColor()));
    suite::SaveSetting(keys::Section, keys::FileColor, QString::number(v.File1.BackColor()));
    suite::SaveSetting(keys::Section, keys::Speed, QString::number(HScroll1.Value()));
    suite::SaveSetting(keys::Section, keys::ZoomNumber, Combo1.Text());
    suite::SaveSetting(keys::Section, keys::Zoom, Check2.Value() == 1 ? QStringLiteral("1") : QStringLiteral("0"));
    Hide();
}

void Form14::HScroll1_Change()
{
    try {
        Text1.setText(QString::number(HScroll1.Value()));
        if (vx::isLoaded<Form2>())
            vx::instance<Form2>().Timer1.setInterval(HScroll1.Value());
    } catch (const vx::RuntimeError &) {
    }
}

void Form14::Text1_Change()
{
    suite::followIntervalText(Text1, HScroll1);
}
