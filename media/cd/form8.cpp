#include "form8.h"
#include "platform/forms/events.h"

#include "form16.h"
#include "keys.h"

#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"
#include "platform/imaging/picture.h"
#include "platform/media/mci.h"
#include "platform/system/system.h"
#include "suite/settings.h"
#include "suite/windows/settingswindow.h"

#include <QLinearGradient>
#include <QPainter>

namespace keys = cdplayer::keys;

namespace {

// The picture pane's design picture: a disc over a dark stage.
vx::Picture paneDesignPicture()
{
    QImage img(240, 180, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient stage(0, 0, 0, 180);
    stage.setColorAt(0, QColor(0x10, 0x18, 0x30));
    stage.setColorAt(1, QColor(0x30, 0x48, 0x78));
    p.fillRect(img.rect(), stage);
    QRadialGradient disc(QPointF(120, 90), 70);
    disc.setColorAt(0, QColor(0xF0, 0xF0, 0xF8));
    disc.setColorAt(0.6, QColor(0xB8, 0xC8, 0xE8));
    disc.setColorAt(1, QColor(0xD8, 0xB8, 0xE0));
    p.setPen(QPen(QColor(0x90, 0x98, 0xB0), 2));
    p.setBrush(disc);
    p.drawEllipse(QPointF(120, 90), 70, 70);
    p.setBrush(QColor(0x10, 0x18, 0x30));
    p.drawEllipse(QPointF(120, 90), 10, 10);
    p.end();
    return {img, QStringLiteral("bmp"), {}};
}

} // namespace

Form8::Form8() : vx::Form(QStringLiteral("Form8"))
{
    setCaption(QStringLiteral("AudioCD Rondix Version3.0β"));
    setClientSize(9150, 5400);
    timeWindow.setFont(QFont(QStringLiteral("Arial"), 16));
    for (vx::Label *l : {&totalplay, &tracktime, &Label1, &Label4})
        l->setBackStyle(1);
    Image1.setStretch(true);
    Image1.setPicture(paneDesignPicture());
    Image2.setStretch(true);
    Image2.lower();
    File2.setPattern(QStringLiteral("*.bmp;*.jpg;*.gif"));
    File2.setPath(Dir2.Path());
    Command1.setToolTipText(QStringLiteral("AudioCD Rondixを終了します"));
    Label1.setToolTipText(QStringLiteral("ボリュームをリフレッシュ！"));
    Drive2.setToolTipText(QStringLiteral("ドライブを選択してください"));
    Dir2.setToolTipText(QStringLiteral("フォルダを選択してください"));
    File2.setToolTipText(QStringLiteral("画像ファイルを選択してください"));
    // Screen readers read the displays as what they show; what each one is
    // goes in its description.
    timeWindow.setAccessibleName(QStringLiteral("再生位置"));
    totalplay.setAccessibleDescription(QStringLiteral("トラック数と全体の時間"));
    tracktime.setAccessibleDescription(QStringLiteral("トラックの時間"));

    vx::bindEvents(*this);
}

std::vector<vx::CommandButton *> Form8::discButtons()
{
    return {&Command2, &Command4, &Command7, &Command5, &Command9, &Command8, &Command3, &Command10};
}

void Form8::Form_Load()
{
    SkipSeconds = 5;
    MediaLoaded = false;
    bool ok = false;
    SendCdCommand(QStringLiteral("open cdaudio alias cd wait shareable"), true, ok);
    DeviceOpen = ok;
    if (ok) {
        SendCdCommand(QStringLiteral("set cd time format tmsf wait"), true, ok);
    } else {
        // Without the drive the rest of the window still comes up.
        for (vx::CommandButton *b : discButtons())
            b->setEnabled(false);
    }
    // Without a mixer only the volume box is left out.
    mVolCtrl::SetUp(*this, Volume, Text1);
    applySettings();
}

void Form8::applySettings()
{
    // A missing or unreadable skin leaves only the skin out.
    suite::showStoredSkin(keys::Section, keys::Skin, keys::SkinDefaultName,
                          [this](const vx::Picture &skin) { Image2.setPicture(skin); });
    Label1.setBackColor(suite::GetColor(keys::Section, keys::VolColor, keys::VolColorDefault));
    Label1.setForeColor(suite::GetColor(keys::Section, keys::VolFontColor, keys::VolFontColorDefault));
    const qint32 back = suite::GetColor(keys::Section, keys::BackColor, keys::BackColorDefault);
    const qint32 font = suite::GetColor(keys::Section, keys::FontColor, keys::FontColorDefault);
    Label4.setBackColor(back);
    Text1.setBackColor(back);
    Drive2.setBackColor(back);
    Dir2.setBackColor(back);
    File2.setBackColor(back);
    Label4.setForeColor(font);
    Text1.setForeColor(font);
    Drive2.setForeColor(font);
    Dir2.setForeColor(font);
    File2.setForeColor(font);
    suite::applyPointer(*this);
}

void Form8::Form_Unload(int &cancel)
{
    (void)cancel;
    // Only this window's device: the other players play on.
    if (DeviceOpen)
        vx::mciSendString(QStringLiteral("close cd"));
    DeviceOpen = false;
    mVolCtrl::TearDown(Volume);
}

void Form8::Command1_Click()
{
    // The alias stays open for the next show; the disc stops.
    if (DeviceOpen)
        vx::mciSendString(QStringLiteral("stop cd"));
    mVolCtrl::TearDown(Volume);
    Hide();
}

void Form8::Command6_Click()
{
    vx::instance<Form16>().Show(1);
}

void Form8::Label1_Click()
{
    mVolCtrl::Refresh(*this, Volume, Text1);
}

void Form8::Text1_Change()
{
    mVolCtrl::Change(Volume, Text1);
}

void Form8::Drive2_Change()
{
    try {
        Dir2.setPath(Drive2.Drive());
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(e.description());
    }
}

void Form8::Dir2_Change()
{
    File2.setPath(Dir2.Path());
}

void Form8::File2_Click()
{
    Label4.setCaption(QStringLiteral("%1/%2").arg(File2.ListIndex() + 1).arg(File2.ListCount()));
    try {
        Image1.setPicture(vx::LoadPicture(vx::joinPath(Dir2.Path(), File2.FileName())));
    } catch (const vx::RuntimeError &) {
        // Not a picture after all: the pane keeps what it showed.
    }
}

void Form8::Label4_Click()
{
    File2.Refresh();
}
