#include "form12.h"

#include "formvx3.h"
#include "keys.h"

#include "media/midi/form22.h"
#include "platform/core/errors.h"
#include "platform/imaging/picture.h"
#include "platform/system/system.h"
#include "suite/settings.h"
#include "suite/windows/settingswindow.h"

#include <functional>

namespace keys = player3::keys;

namespace {

// Shows the button's own colour dialog; cancel applies nothing.
void chooseColour(vx::CommonDialog &dialog, const std::function<void(qint32)> &apply)
{
    if (dialog.ShowColor())
        apply(dialog.Color);
}

template <class... C>
void setBack(qint32 colour, C &...controls)
{
    (controls.setBackColor(colour), ...);
}

template <class... C>
void setFore(qint32 colour, C &...controls)
{
    (controls.setForeColor(colour), ...);
}

} // namespace

Form12::Form12() : vx::Form(QStringLiteral("Form12"))
{
    setCaption(QStringLiteral("Multimedia Rondix Ⅲ Setting"));
    setClientSize(7080, 4440);
    Label1.Move(120, 120, 6840, 255);
    Image1.Move(120, 480, 2415, 1815);
    Image1.setStretch(true);
    Check1.Move(120, 2400, 2415, 300);
    Command13.Move(2655, 480, 2145, 375);
    Command3.Move(4815, 480, 2145, 375);
    Command4.Move(2655, 960, 2145, 375);
    Command10.Move(4815, 960, 2145, 375);
    Command2.Move(2655, 1440, 2145, 375);
    Command18.Move(120, 2880, 2415, 375);
    Command1.Move(2655, 2880, 4305, 375);
    Command17.Move(120, 3480, 3360, 375);
    Command8.Move(3600, 3480, 3360, 375);

    Check1.Click = [this] { Check1_Click(); };
    Command13.Click = [this] { Command13_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    Command10.Click = [this] { Command10_Click(); };
    Command18.Click = [this] { Command18_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    Command17.Click = [this] { Command17_Click(); };
    Command8.Click = [this] { Command8_Click(); };
}

void Form12::Form_Load()
{
    suite::applyPointer(*this);
    // A missing or unreadable skin leaves only the skin out.
    suite::showStoredSkin(keys::Section, keys::Skin, keys::SkinDefaultName,
                          [this](const vx::Picture &skin) { Image1.setPicture(skin); });
}

void Form12::Form_Unload(int &cancel)
{
    (void)cancel;
    store();
}

void Form12::Check1_Click()
{
    const bool english = Check1.Value() == 1;
    auto pick = [english](const char *en, const char *ja) {
        return english ? QString::fromUtf8(en) : QString::fromUtf8(ja);
    };
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
    chooseColour(CommonDialog1, [](qint32 c) {
        FormVX3 &p = vx::instance<FormVX3>();
        setFore(c, p.Drive1, p.Dir1, p.File1, p.Label2, p.Text1, p.Text2);
    });
}

void Form12::Command3_Click()
{
    chooseColour(CommonDialog2, [](qint32 c) {
        FormVX3 &p = vx::instance<FormVX3>();
        setBack(c, p.Drive1, p.Dir1, p.File1, p.Label2, p.Text1, p.Text2);
    });
}

void Form12::Command2_Click()
{
    chooseColour(CommonDialog3, [](qint32 c) {
        FormVX3 &p = vx::instance<FormVX3>();
        setBack(c, p.Command1, p.Command2, p.Command3, p.Command4, p.Command5, p.Command6, p.Command7, p.Command8,
                p.Command9, p.Check1, p.Check2);
    });
}

void Form12::Command4_Click()
{
    chooseColour(CommonDialog4, [](qint32 c) { vx::instance<FormVX3>().Label1.setBackColor(c); });
}

void Form12::Command10_Click()
{
    chooseColour(CommonDialog5, [](qint32 c) { vx::instance<FormVX3>().Label1.setForeColor(c); });
}

void Form12::Command18_Click()
{
    CommonDialog6.Filter = QStringLiteral("画像ファイル(*.bmp,*.jpg,*.gif)|*.bmp;*.jpg;*.gif");
    // Cancel keeps the skin and the stored name.
    if (!CommonDialog6.ShowOpen())
        return;
    try {
        const vx::Picture skin = vx::LoadPicture(CommonDialog6.FileName);
        vx::instance<FormVX3>().Image1.setPicture(skin);
        Image1.setPicture(skin);
        suite::SaveSetting(keys::Section, keys::Skin, CommonDialog6.FileName);
    } catch (const vx::RuntimeError &) {
    }
}

void Form12::Command1_Click()
{
    vx::instance<Form22>().Show(1);
}

void Form12::Command17_Click()
{
    try {
        suite::DeleteSection(keys::Section);
    } catch (const vx::RuntimeError &) {
        return; // nothing stored since the last reset
    }
    vx::MsgBox(QStringLiteral("初期化はアプリケーションを再起動したときに適用されます"));
    Hide();
}

void Form12::Command8_Click()
{
    store();
    Hide();
}

void Form12::store()
{
    // The player is loaded whenever this window is shown from it.
    if (!vx::isLoaded<FormVX3>())
        return;
    const FormVX3 &p = vx::instance<FormVX3>();
    auto colour = [](QLatin1StringView key, qint32 value) {
        suite::SaveSetting(keys::Section, key, QString::number(value));
    };
    colour(keys::BackColor, p.File1.BackColor());
    colour(keys::FontColor, p.File1.ForeColor());
    colour(keys::VolColor, p.Label1.BackColor());
    colour(keys::VolFontColor, p.Label1.ForeColor());
}
