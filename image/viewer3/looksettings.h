#pragma once
// The settings window both plug-in viewers have: the same controls, the same
// section ("Susie Rondix") and the same steps, each acting on its own viewer.
#include "keys.h"
#include "listlook.h"

#include "platform/core/convert.h"
#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/scrollbar.h"
#include "platform/imaging/picture.h"
#include "suite/interval.h"
#include "suite/settings.h"

namespace viewer3 {

template <class Viewer>
class LookSettings : public vx::Form {
public:
    LookSettings(const QString &name, const QString &caption, const QString &intro);

    vx::Label Label1{this, QStringLiteral("Label1")};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral("スキン変更")};
    vx::CommandButton Command7{this, QStringLiteral("Command7"), QStringLiteral("壁紙変更")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("ボタン色")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("ピクチャーボックスの背景色")};
    vx::CommandButton Command12{this, QStringLiteral("Command12"), QStringLiteral("ファイル名やフォルダ名のフォント")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("ファイルリストの背景色")};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("ファイル数の背景色")};
    vx::Label Label2{this, QStringLiteral("Label2"), QStringLiteral("■スライドショー機能の切替速度の設定(1000=約1秒)")};
    vx::TextBox Text1{this, QStringLiteral("Text1")};
    vx::HScrollBar HScroll1{this, QStringLiteral("HScroll1")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("初期状態に戻す")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("閉じる")};
    vx::CommonDialog CommonDialog1{this};
    vx::CommonDialog CommonDialog2{this};
    vx::CommonDialog CommonDialog3{this};
    vx::CommonDialog CommonDialog4{this};
    vx::CommonDialog CommonDialog5{this};
    vx::CommonDialog CommonDialog6{this};
    vx::CommonDialog CommonDialog7{this};

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    void Command1_Click();
    void Command12_Click();
    void Command2_Click();
    void Command3_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command4_Click();
    void Command8_Click();
    void HScroll1_Change();
    void Text1_Change();

private:
    void storeLook();
    bool loading_ = false;
};

template <class Viewer>
LookSettings<Viewer>::LookSettings(const QString &name, const QString &caption, const QString &intro)
    : vx::Form(name)
{
    setCaption(caption);
    Label1.setCaption(intro);
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
    HScroll1.Move(1080, 2700, 5655, 255);
    suite::setUpInterval(Text1, HScroll1, viewer3::keys::SpeedDefault);
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

template <class Viewer>
void LookSettings<Viewer>::Form_Load()
{
    suite::applyPointer(*this);
    // Closing stores "Speed" from the slider: it starts at the stored one, and
    // loading it here sets no viewer's timer.
    loading_ = true;
    HScroll1.setValue(viewer3::storedSpeed());
    loading_ = false;
}

template <class Viewer>
void LookSettings<Viewer>::Form_Unload(int &cancel)
{
    (void)cancel;
    try {
        // The viewer's look only while it is there: loading it now would
        // store what it just read.
        if (vx::isLoaded<Viewer>()) {
            Viewer &v = vx::instance<Viewer>();
            suite::SaveSetting(viewer3::keys::Section, viewer3::keys::FormColor, QString::number(v.BackColor()));
            suite::SaveSetting(viewer3::keys::Section, suite::keys::BottonColor, QString::number(v.Command1.BackColor()));
            suite::SaveSetting(viewer3::keys::Section, viewer3::keys::PicColor, QString::number(v.Picture1.BackColor()));
        }
        suite::SaveSetting(viewer3::keys::Section, viewer3::keys::Speed, QString::number(HScroll1.Value()));
    } catch (const vx::RuntimeError &) {
    }
}

template <class Viewer>
void LookSettings<Viewer>::Command1_Click()
{
    if (!CommonDialog6.ShowColor())
        return;
    Viewer &v = vx::instance<Viewer>();
    v.Drive1.setBackColor(CommonDialog6.Color);
    v.Dir1.setBackColor(CommonDialog6.Color);
    v.File1.setBackColor(CommonDialog6.Color);
}

template <class Viewer>
void LookSettings<Viewer>::Command12_Click()
{
    if (!CommonDialog5.ShowFont())
        return;
    Viewer &v = vx::instance<Viewer>();
    viewer3::setListFont(v.Drive1, v.Dir1, v.File1, CommonDialog5.Font.size, CommonDialog5.Font.bold,
                         CommonDialog5.Font.italic);
}

template <class Viewer>
void LookSettings<Viewer>::Command2_Click()
{
    if (!CommonDialog2.ShowColor())
        return;
    Viewer &v = vx::instance<Viewer>();
    for (vx::CommandButton *b : v.colouredButtons())
        b->setBackColor(CommonDialog2.Color);
}

template <class Viewer>
void LookSettings<Viewer>::Command3_Click()
{
    if (!CommonDialog3.ShowColor())
        return;
    vx::instance<Viewer>().Picture1.setBackColor(CommonDialog3.Color);
}

template <class Viewer>
void LookSettings<Viewer>::Command5_Click()
{
    if (!CommonDialog7.ShowColor())
        return;
    vx::instance<Viewer>().Label1.setBackColor(CommonDialog7.Color);
}

template <class Viewer>
void LookSettings<Viewer>::Command6_Click()
{
    CommonDialog4.Filter = QStringLiteral("画像ファイル(*.bmp,*.jpg,*.gif)|*.bmp;*.jpg;*.gif");
    if (!CommonDialog4.ShowOpen())
        return;
    try {
        vx::instance<Viewer>().setPicture(vx::LoadPicture(CommonDialog4.FileName));
    } catch (const vx::RuntimeError &) {
    }
}

template <class Viewer>
void LookSettings<Viewer>::Command7_Click()
{
    if (!CommonDialog1.ShowColor())
        return;
    Viewer &v = vx::instance<Viewer>();
    v.setPicture({});
    v.setBackColor(CommonDialog1.Color);
}

template <class Viewer>
void LookSettings<Viewer>::Command4_Click()
{
    try {
        suite::DeleteSection(viewer3::keys::Section);
        vx::MsgBox(QStringLiteral("初期化はアプリケーションを再起動したときに適用されます"));
        Hide();
    } catch (const vx::RuntimeError &) {
    }
}

template <class Viewer>
void LookSettings<Viewer>::storeLook()
{
    Viewer &v = vx::instance<Viewer>();
    const QFont font = v.File1.font();
    suite::SaveSetting(viewer3::keys::Section, viewer3::keys::FormColor, QString::number(v.BackColor()));
    suite::SaveSetting(viewer3::keys::Section, suite::keys::BottonColor, QString::number(v.Command1.BackColor()));
    suite::SaveSetting(viewer3::keys::Section, viewer3::keys::PicColor, QString::number(v.Picture1.BackColor()));
    suite::SaveSetting(viewer3::keys::Section, viewer3::keys::Speed, QString::number(HScroll1.Value()));
    suite::SaveSetting(viewer3::keys::Section, viewer3::keys::FontSize, vx::numText(font.pointSizeF()));
    suite::SaveSetting(viewer3::keys::Section, viewer3::keys::FontBold, viewer3::flagWord(font.bold()));
    suite::SaveSetting(viewer3::keys::Section, viewer3::keys::FontItalic, viewer3::flagWord(font.italic()));
    suite::SaveSetting(viewer3::keys::Section, viewer3::keys::FileColor, QString::number(v.File1.BackColor()));
    suite::SaveSetting(viewer3::keys::Section, viewer3::keys::File2Color, QString::number(v.Label1.BackColor()));
}

template <class Viewer>
void LookSettings<Viewer>::Command8_Click()
{
    try {
        storeLook();
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(e.description());
        return;
    }
    Unload();
}

template <class Viewer>
void LookSettings<Viewer>::HScroll1_Change()
{
    try {
        Text1.setText(QString::number(HScroll1.Value()));
        if (!loading_)
            vx::instance<Viewer>().Timer1.setInterval(HScroll1.Value());
    } catch (const vx::RuntimeError &) {
    }
}

template <class Viewer>
void LookSettings<Viewer>::Text1_Change()
{
    suite::followIntervalText(Text1, HScroll1);
}

} // namespace viewer3
