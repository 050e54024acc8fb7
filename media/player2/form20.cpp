#include "form20.h"
#include "platform/forms/events.h"

#include "form21.h"
#include "form34.h"
#include "keys.h"

#include "platform/core/convert.h"
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
#include "tags/editor/form31.h"
#include "tags/editor/player.h"

#include <QFileInfo>
#include <QLineEdit>

namespace keys = player2::keys;

const vx::MediaPlayerDesign Form20::kPlayerDesign{
    .autoStart = true,
    .showControls = true,
    .showPositionControls = true,
    .showTracker = true,
    .showAudioControls = true,
    .showStatusBar = true,
    .volume = 0,
};

namespace {

// What the tag editor reads and drives of this window.
class Form20TagPlayer : public tags::TagPlayer {
public:
    explicit Form20TagPlayer(Form20 &w) : w_(w) {}
    QString folderPath() override { return w_.Dir1.Path(); }
    QString fileName() override { return w_.File1.FileName(); }
    int listIndex() override { return w_.File1.ListIndex(); }
    int listCount() override { return w_.File1.ListCount(); }
    void setListIndex(int index) override { w_.File1.setListIndex(index); }
    void setStatusText(const QString &text) override { w_.Text2.setText(text); }
    void setNextEnabled(bool on) override { w_.Command7.setEnabled(on); }
    void setListsEnabled(bool on) override
    {
        w_.Drive1.setEnabled(on);
        w_.Dir1.setEnabled(on);
        w_.File1.setEnabled(on);
    }
    void stop() override { w_.MediaPlayer1.Stop(); }
    void setMediaFileName(const QString &path) override { w_.MediaPlayer1.setFileName(path); }
    // The editor's speed follows the same rule as the player's own.
    void setRate(double rate) override { w_.MediaPlayer1.setRate(player2::validSpeed(rate)); }
    QString mediaInfoString(int which) override { return w_.MediaPlayer1.GetMediaInfoString(which); }
    void play() override { w_.MediaPlayer1.Play(); }
    QString playSpeedText() override { return vx::instance<Form21>().Combo1.Text(); }

private:
    Form20 &w_;
};

} // namespace

namespace player2 {

double validSpeed(double rate)
{
    return rate >= 0.1 && rate <= 5.0 ? rate : 1.0;
}

double PlaySpeed()
{
    const std::optional<double> rate = vx::toDouble(vx::instance<Form21>().Combo1.Text());
    return rate ? validSpeed(*rate) : 1.0;
}

} // namespace player2

Form20::Form20() : vx::Form(QStringLiteral("Form20")), random_(std::random_device{}())
{
    setCaption(QStringLiteral("Multimedia Rondix Ⅱ Version3.5"));
    setClientSize(9480, 6300);
    File1.setPattern(QStringLiteral("*.mid;*.wav;*.wma;*wax;*.avi;*.asf;*.asx;*.rmi;*.mp3;*.mpg;*.mpe;*.mpeg;*.qt;"
                                    "*.mpa;*.mp2;*.m1v;*.snd;*.au;*.aifc;*.aiff;*.aif;*.mov;*.dat;*.cda;*.vod"));
    File1.setPath(Dir1.Path());
    Image1.setStretch(true);
    Image1.lower();
    Label1.setBackStyle(1);
    Label2.setBackStyle(1);
    Label1.setToolTipText(QStringLiteral("ボリュームをリフレッシュ！"));
    Check1.setToolTipText(QStringLiteral("繰り返し再生することができます"));
    Check2.setToolTipText(QStringLiteral("1回再生したら停止します"));
    Check3.setToolTipText(QStringLiteral("ランダムで再生します"));
    Command7.setToolTipText(QStringLiteral("次に進みます"));
    Command9.setToolTipText(QStringLiteral("前へ戻ります"));
    Command1.setToolTipText(QStringLiteral("Multimedia Rondix Ⅱを終わります"));
    Command2.setToolTipText(QStringLiteral("Multimedia Rondix Ⅲを起動します"));
    Command4.setToolTipText(QStringLiteral("Multimedia Rondixを起動します"));
    Command5.setToolTipText(QStringLiteral("Minivox WMP for Multimedia Rondix Ⅱを起動します"));
    Command3.setToolTipText(QStringLiteral("設定ができます"));
    Command6.setToolTipText(QStringLiteral("設定ができます"));
    Command8.setToolTipText(QStringLiteral("ファイルの詳細がわかります"));
    Text2.setAccessibleName(QStringLiteral("ファイル情報"));
    Text1.setAccessibleName(QStringLiteral("ボリューム"));
    Command7.setEnabled(false);
    Command9.setEnabled(false);
    // Without the third player its switch stays off.
    Command2.setEnabled(suite::players::joined(suite::players::Player::Third));
    if (auto *edit = qobject_cast<QLineEdit *>(Text1.editor())) {
        edit->setFrame(false);
        edit->setTextMargins(1, 0, 0, 0);
    }

    vx::bindEvents(*this);
}

Form20::~Form20() = default;

void Form20::Form_Load()
{
    // Without a mixer only the volume box is left out.
    mVolCtrl::SetUp(*this, Volume, Text1);
    // A missing or unreadable skin leaves only the skin out.
    suite::showStoredSkin(keys::Section, keys::Skin, keys::SkinDefaultName,
                          [this](const vx::Picture &skin) { Image1.setPicture(skin); });
    auto colour = [](QLatin1StringView key, qint32 def) { return suite::GetColor(keys::Section, key, def); };
    const qint32 back = colour(keys::BackColor, keys::BackColorDefault);
    const qint32 font = colour(keys::FontColor, keys::FontColorDefault);
    suite::setBack(back, Drive1, Dir1, File1);
    suite::setFore(font, Drive1, Dir1, File1);
    Label1.setBackColor(colour(keys::VolColor, keys::VolColorDefault));
    Label1.setForeColor(colour(keys::VolFontColor, keys::VolFontColorDefault));
    suite::setBack(back, Label2);
    suite::setFore(font, Label2);
    suite::applyPointer(*this);
    try {
        vx::instance<Form21>().Combo1.setText(suite::GetSetting(keys::Section, keys::PlaySpeed, keys::PlaySpeedDefault));
    } catch (const vx::RuntimeError &) {
    }
    Text2.setBackColor(colour(keys::FileInfoBoxColor, keys::FileInfoBoxColorDefault));
    Text2.setForeColor(colour(keys::FileInfoBoxFontColor, keys::FileInfoBoxFontColorDefault));
    suite::restorePosition(*this, keys::Section, keys::PositionDefault);
    suite::restoreFolder(Drive1, Dir1, keys::Section, keys::Dir, keys::DirDefault, keys::Drive, keys::DriveDefault);
}

void Form20::saveSettings()
{
    suite::SaveSetting(keys::Section, keys::Dir, Dir1.Path());
    suite::SaveSetting(keys::Section, keys::Drive, Drive1.Drive());
    suite::savePosition(*this, keys::Section);
}

void Form20::Form_Unload(int &cancel)
{
    (void)cancel;
    MediaPlayer1.Stop();
    vx::unload<Form34>();
    mVolCtrl::TearDown(Volume);
    suite::SaveSetting(keys::KindSection, keys::FormKind, keys::KindSecondPlayer);
    saveSettings();
}

void Form20::Command1_Click()
{
    suite::SaveSetting(keys::KindSection, keys::FormKind, keys::KindSecondPlayer);
    if (!MediaPlayer1.FileName().isEmpty())
        MediaPlayer1.Stop();
    Hide();
    vx::unload<Form34>();
    saveSettings();
}

void Form20::Command2_Click()
{
    if (!suite::players::joined(suite::players::Player::Third))
        return;
    if (!MediaPlayer1.FileName().isEmpty())
        MediaPlayer1.Stop();
    Hide();
    suite::players::show(suite::players::Player::Third);
    suite::SaveSetting(keys::KindSection, keys::FormKind, keys::KindThirdPlayer);
}

void Form20::Command4_Click()
{
    if (!MediaPlayer1.FileName().isEmpty())
        MediaPlayer1.Stop();
    Hide();
    suite::players::show(suite::players::Player::First);
    suite::SaveSetting(keys::KindSection, keys::FormKind, keys::KindFirstPlayer);
}

void Form20::Command5_Click()
{
    MediaPlayer1.Stop();
    MediaPlayer1.hide();
    vx::instance<Form34>().Show();
}

void Form20::Command3_Click()
{
    vx::instance<Form31>().Show();
}

void Form20::Command6_Click()
{
    vx::instance<Form21>().Show(1);
}

void Form20::Command8_Click()
{
    vx::ShowFileProperties(entryPath());
}

void Form20::Label1_Click()
{
    mVolCtrl::Refresh(*this, Volume, Text1);
}

void Form20::Label1_DblClick()
{
    mVolCtrl::ShowSystemVolume();
}

void Form20::Label2_Click()
{
    playlist::refreshLists(*this);
}

void Form20::Drive1_Change()
{
    playlist::followDrive(*this);
}

void Form20::Dir1_Change()
{
    File1.setPath(Dir1.Path());
}

void Form20::Text1_Change()
{
    mVolCtrl::Change(Volume, Text1);
}

// The three modes exclude each other.
void Form20::Check1_Click()
{
    Check2.setEnabled(Check1.Value() != 1);
    Check3.setEnabled(Check1.Value() != 1);
}

void Form20::Check2_Click()
{
    Check1.setEnabled(Check2.Value() != 1);
    Check3.setEnabled(Check2.Value() != 1);
}

void Form20::Check3_Click()
{
    Check1.setEnabled(Check3.Value() != 1);
    Check2.setEnabled(Check3.Value() != 1);
}

tags::TagPlayer &Form20::tagPlayer()
{
    if (!tagPlayer_)
        tagPlayer_ = std::make_unique<Form20TagPlayer>(*this);
    return *tagPlayer_;
}
