#include "form17.h"

#include "form40.h"
#include "keys.h"
#include "listlook.h"
#include "platform/core/convert.h"
#include "platform/core/errors.h"
#include "platform/imaging/picture.h"
#include "suite/settings.h"

namespace keys = viewer3::keys;

Form17::Form17() : vx::Form(QStringLiteral("Form17"))
{
    setCaption(QStringLiteral("Graphic Rondix Ⅲ Setting"));
    setClientSize(6825, 3615);
    Label1.Move(120, 120, 6615, 255);
    Command6.Move(120, 480, 3255, 375);
    Command7.Move(3480, 480, 3255, 375);
    Command2.Move(120, 960, 3255, 375);
    Command3.Move(3480, 960, 3255, 375);
    Command12.Move(120, 1440, 3255, 375);
    Command1.Move(3480, 1440, 3255, 375);
    Command5.Move(120, 1920, 6615, 375);
    Label2.Move(120, 2400, 6615, 255);
    Text1.Move(120, 2700, 855, 270);
    Text1.setText(QString::number(keys::SpeedDefault));
    HScroll1.Move(1080, 2700, 5655, 255);
    HScroll1.setMin(keys::SpeedMin);
    HScroll1.setMax(keys::SpeedMax);
    HScroll1.setSmallChange(1000);
    HScroll1.setLargeChange(1000);
    HScroll1.setValue(keys::SpeedDefault);
    Command4.Move(120, 3120, 3255, 375);
    Command4.setToolTipText(QStringLiteral("初期設定に戻します"));
    Command8.Move(3480, 3120, 3255, 375);

    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    Command5.Click = [this] { Command5_Click(); };
    Command6.Click = [this] { Command6_Click(); };
    Command7.Click = [this] { Command7_Click(); };
    Command8.Click = [this] { Command8_Click(); };
    Command12.Click = [this] { Command12_Click(); };
    HScroll1.Change = [this] { HScroll1_Change(); };
    Text1.Change = [this] { Text1_Change(); };
}

void Form17::Form_Load()
{
    suite::applyPointer(*this);
    // Closing stores "Speed" from the slider: it starts at the stored one, and
    // loading it here sets no viewer's timer.
    loading_ = true;
    HScroll1.setValue(viewer3::storedSpeed());
    loading_ = false;
}

void Form17::Form_Unload(int &cancel)
{
    (void)cancel;
    try {
        // The viewer's look only while it is there: loading it now would
        // store what it just read.
        if (vx::isLoaded<Form40>()) {
            Form40 &v = vx::instance<Form40>();
            suite::SaveSetting(keys::Section, keys::FormColor, QString::number(v.BackColor()));
            suite::SaveSetting(keys::Section, suite::keys::BottonColor, QString::number(v.Command1.BackColor()));
            suite::SaveSetting(keys::Section, keys::PicColor, QString::number(v.Picture1.BackColor()));
        }
        suite::SaveSetting(keys::Section, keys::Speed, QString::number(HScroll1.Value()));
    } catch (const vx::RuntimeError &) {
    }
}

void Form17::Command1_Click()
{
    if (!CommonDialog6.ShowColor())
        return;
    Form40 &v = vx::instance<Form40>();
    v.Drive1.setBackColor(CommonDialog6.Color);
    v.Dir1.setBackColor(CommonDialog6.Color);
    v.File1.setBackColor(CommonDialog6.Color);
}

void Form17::Command12_Click()
{
    if (!CommonDialog5.ShowFont())
        return;
    Form40 &v = vx::instance<Form40>();
    viewer3::setListFont(v.Drive1, v.Dir1, v.File1, CommonDialog5.Font.size, CommonDialog5.Font.bold,
                         CommonDialog5.Font.italic);
}

void Form17::Command2_Click()
{
    if (!CommonDialog2.ShowColor())
        return;
    Form40 &v = vx::instance<Form40>();
    for (vx::CommandButton *b : v.colouredButtons())
        b->setBackColor(CommonDialog2.Color);
}

void Form17::Command3_Click()
{
    if (!CommonDialog3.ShowColor())
        return;
    vx::instance<Form40>().Picture1.setBackColor(CommonDialog3.Color);
}

void Form17::Command5_Click()
{
    if (!CommonDialog7.ShowColor())
        return;
    vx::instance<Form40>().Label1.setBackColor(CommonDialog7.Color);
}

void Form17::Command6_Click()
{
    CommonDialog4.Filter = QStringLiteral("画像ファイル(*.bmp,*.jpg,*.gif)|*.bmp;*.jpg;*.gif");
    if (!CommonDialog4.ShowOpen())
        return;
    try {
        vx::instance<Form40>().setPicture(vx::LoadPicture(CommonDialog4.FileName));
    } catch (const vx::RuntimeError &) {
    }
}

void Form17::Command7_Click()
{
    if (!CommonDialog1.ShowColor())
        return;
    Form40 &v = vx::instance<Form40>();
    v.setPicture({});
    v.setBackColor(CommonDialog1.Color);
}

void Form17::Command4_Click()
{
    try {
        suite::DeleteSection(keys::Section);
        vx::MsgBox(QStringLiteral("初期化はアプリケーションを再起動したときに適用されます"));
        Hide();
    } catch (const vx::RuntimeError &) {
    }
}

void Form17::storeLook()
{
    Form40 &v = vx::instance<Form40>();
    const QFont font = v.File1.font();
    suite::SaveSetting(keys::Section, keys::FormColor, QString::number(v.BackColor()));
    suite::SaveSetting(keys::Section, suite::keys::BottonColor, QString::number(v.Command1.BackColor()));
    suite::SaveSetting(keys::Section, keys::PicColor, QString::number(v.Picture1.BackColor()));
    suite::SaveSetting(keys::Section, keys::Speed, QString::number(HScroll1.Value()));
    suite::SaveSetting(keys::Section, keys::FontSize, vx::numText(font.pointSizeF()));
    suite::SaveSetting(keys::Section, keys::FontBold, viewer3::flagWord(font.bold()));
    suite::SaveSetting(keys::Section, keys::FontItalic, viewer3::flagWord(font.italic()));
    suite::SaveSetting(keys::Section, keys::FileColor, QString::number(v.File1.BackColor()));
    suite::SaveSetting(keys::Section, keys::File2Color, QString::number(v.Label1.BackColor()));
}

void Form17::Command8_Click()
{
    try {
        storeLook();
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(e.description());
        return;
    }
    Unload();
}

void Form17::HScroll1_Change()
{
    try {
        Text1.setText(QString::number(HScroll1.Value()));
        if (!loading_)
            vx::instance<Form40>().Timer1.setInterval(HScroll1.Value());
    } catch (const vx::RuntimeError &) {
    }
}

// Typing passes through texts such as "2" on the way to "2000": only a whole
// number the slider can take moves it.
void Form17::Text1_Change()
{
    bool ok = false;
    const int value = Text1.Text().trimmed().toInt(&ok);
    if (ok && value >= HScroll1.Min() && value <= HScroll1.Max())
        HScroll1.setValue(value);
}
