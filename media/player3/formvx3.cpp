#include "formvx3.h"
#include "platform/forms/events.h"

#include "form12.h"
#include "form35.h"
#include "form36.h"
#include "keys.h"

#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"
#include "platform/imaging/picture.h"
#include "platform/system/system.h"
#include "media/playlist/playlist.h"
#include "suite/colours.h"
#include "suite/folders.h"
#include "suite/players.h"
#include "suite/settings.h"
#include "suite/windows/settingswindow.h"

#include <QLineEdit>

namespace keys = player3::keys;

const vx::ConsoleDesign FormVX3::kPictureDesign{
    .controls = QStringLiteral("ImageWindow"), .console = QStringLiteral("one"), .background = QStringLiteral("#000000")};
const vx::ConsoleDesign FormVX3::kPanelDesign{
    .controls = QStringLiteral("All"), .console = QStringLiteral("one"), .background = QStringLiteral("#000000")};

FormVX3::FormVX3() : vx::Form(QStringLiteral("FormVX3"))
{
    setCaption(QStringLiteral("Multimedia Rondix Ⅲ Version1.7"));
    setClientSize(9480, 6780);
    File1.setPattern(QStringLiteral("*.rm;*.ra;*.ram;*.mpg;*.mp3;*.rt;*.rp;*.png;*.gif;*.jpg;*.swf;*.smil;*.smi;"
                                    "*.wav;*.aiff;*.mpeg;*.avi;*.asf;*.mid;*.midi;*.rmi"));
    File1.setPath(Dir1.Path());
    Image1.setStretch(true);
    Image1.lower();
    Label1.setBackStyle(1);
    Label2.setBackStyle(1);
    Text2.setText(QStringLiteral("http://"));
    Text2.setAccessibleName(QStringLiteral("アドレス"));
    Text1.setAccessibleName(QStringLiteral("ボリューム"));
    Command2.setToolTipText(QStringLiteral("Multimedia Rondix Ⅱを起動します"));
    Command3.setToolTipText(QStringLiteral("Multimedia Rondixを起動します"));
    Command5.setToolTipText(QStringLiteral("Minivox RP for Multimedia Rondix Ⅲを起動します"));
    Command6.setToolTipText(QStringLiteral("設定ができます"));
    Command7.setToolTipText(QStringLiteral("次に進みます"));
    Command9.setToolTipText(QStringLiteral("前へ戻ります"));
    Command8.setToolTipText(QStringLiteral("ファイルの詳細がわかります"));
    Check1.setToolTipText(QStringLiteral("繰り返し再生することができます"));
    Check2.setToolTipText(QStringLiteral("動画ファイル固有の大きさで再生します"));
    Label1.setToolTipText(QStringLiteral("ボリュームをリフレッシュ！"));
    Command2.setAccessibleName(Command2.ToolTipText());
    Command3.setAccessibleName(Command3.ToolTipText());
    if (auto *edit = qobject_cast<QLineEdit *>(Text1.editor())) {
        edit->setFrame(false);
        edit->setTextMargins(1, 0, 0, 0);
    }

    vx::bindEvents(*this);
}

FormVX3::~FormVX3() = default;

void FormVX3::Form_Load()
{
    // Without a mixer only the volume box is left out.
    mVolCtrl::SetUp(*this, Volume, Text1);
    // A missing or unreadable skin leaves only the skin out.
    suite::showStoredSkin(keys::Section, keys::Skin, keys::SkinDefaultName,
                          [this](const vx::Picture &skin) { Image1.setPicture(skin); });
    auto colour = [](QLatin1StringView key, qint32 def) { return suite::GetColor(keys::Section, key, def); };
    const qint32 back = colour(keys::BackColor, keys::BackColorDefault);
    const qint32 font = colour(keys::FontColor, keys::FontColorDefault);
    suite::setBack(back, Drive1, Dir1, File1, Label2, Text1, Text2);
    suite::setFore(font, Drive1, Dir1, File1, Label2, Text1, Text2);
    Label1.setBackColor(colour(keys::VolColor, keys::VolColorDefault));
    Label1.setForeColor(colour(keys::VolFontColor, keys::VolFontColorDefault));
    suite::applyPointer(*this);
    Move(suite::GetSingle(keys::Section, keys::FormLeft, keys::FormLeftDefault),
         suite::GetSingle(keys::Section, keys::FormTop, keys::FormTopDefault));
    suite::restoreFolder(Drive1, Dir1, keys::Section, keys::Dir, keys::DirDefault, keys::Drive, keys::DriveDefault);
}

void FormVX3::saveSettings()
{
    suite::SaveSetting(keys::Section, keys::Dir, Dir1.Path());
    suite::SaveSetting(keys::Section, keys::Drive, Drive1.Drive());
    suite::savePosition(*this, keys::Section);
}

void FormVX3::Form_Unload(int &cancel)
{
    (void)cancel;
    RealAudio1.DoStop();
    mVolCtrl::TearDown(Volume);
    suite::SaveSetting(keys::KindSection, keys::FormKind, keys::KindThirdPlayer);
    saveSettings();
}

void FormVX3::Command1_Click()
{
    suite::SaveSetting(keys::KindSection, keys::FormKind, keys::KindThirdPlayer);
    RealAudio1.DoStop();
    if (!RealAudio1.Source().isEmpty())
        RealAudio1.DoStop();
    Hide();
    saveSettings();
}

void FormVX3::Command2_Click()
{
    if (!RealAudio1.Source().isEmpty())
        RealAudio1.DoStop();
    Hide();
    suite::players::show(suite::players::Player::Second);
    suite::SaveSetting(keys::KindSection, keys::FormKind, keys::KindSecondPlayer);
}

void FormVX3::Command3_Click()
{
    if (!RealAudio1.Source().isEmpty())
        RealAudio1.DoStop();
    Hide();
    suite::players::show(suite::players::Player::First);
    suite::SaveSetting(keys::KindSection, keys::FormKind, keys::KindFirstPlayer);
}

void FormVX3::Command4_Click()
{
    try {
        replay(Text2.Text());
    } catch (const vx::RuntimeError &) {
        // A source the player cannot open: it stays silent.
    }
}

void FormVX3::Command5_Click()
{
    RealAudio1.DoStop();
    vx::instance<Form35>().Show();
    vx::instance<Form36>().Show();
}

void FormVX3::Command6_Click()
{
    vx::instance<Form12>().Show(1);
}

void FormVX3::Command8_Click()
{
    vx::ShowFileProperties(entryPath());
}

void FormVX3::Check1_Click()
{
    RealAudio1.setSource(entryPath());
    RealAudio1.setRepeat(Check1.Value() == 1);
}

void FormVX3::Check2_Click()
{
    RealAudio1.setNativeSize(Check2.Value() == 1);
}

void FormVX3::Label1_Click()
{
    mVolCtrl::Refresh(*this, Volume, Text1);
}

void FormVX3::Label1_DblClick()
{
    mVolCtrl::ShowSystemVolume();
}

void FormVX3::Label2_Click()
{
    playlist::refreshLists(*this);
}

void FormVX3::Drive1_Change()
{
    playlist::followDrive(*this);
}

void FormVX3::Dir1_Change()
{
    File1.setPath(Dir1.Path());
}

void FormVX3::Text1_Change()
{
    mVolCtrl::Change(Volume, Text1);
}
