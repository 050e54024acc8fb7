#include "form3.h"
#include "platform/forms/events.h"

#include "form7.h"
#include "keys.h"

#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"
#include "platform/imaging/picture.h"
#include "platform/system/system.h"
#include "suite/folders.h"
#include "suite/players.h"
#include "suite/settings.h"
#include "suite/windows/settingswindow.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace keys = player::keys;

const QString Form3::kPlainCaption = QStringLiteral("Multimedia Rondix Version5.3");

namespace {

// The picture pane's design picture: a note over a dark stage.
vx::Picture paneDesignPicture()
{
    QImage img(280, 176, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient stage(0, 0, 0, 176);
    stage.setColorAt(0, QColor(0x12, 0x1E, 0x3A));
    stage.setColorAt(1, QColor(0x3A, 0x5C, 0x8C));
    p.fillRect(img.rect(), stage);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF2, 0xC1, 0x4E));
    p.drawEllipse(QPointF(112, 122), 20, 14);
    p.drawEllipse(QPointF(178, 110), 20, 14);
    p.drawRect(QRectF(128, 40, 6, 84));
    p.drawRect(QRectF(194, 28, 6, 84));
    QPainterPath beam;
    beam.moveTo(128, 40);
    beam.lineTo(200, 28);
    beam.lineTo(200, 44);
    beam.lineTo(128, 56);
    beam.closeSubpath();
    p.drawPath(beam);
    p.end();
    return {img, QStringLiteral("bmp"), {}};
}

} // namespace

Form3::Form3() : vx::Form(QStringLiteral("Form3")), random_(std::random_device{}())
{
    setCaption(kPlainCaption);
    setClientSize(10500, 6480);
    File1.setPattern(QStringLiteral("*.mid;*.wav;*.mp3;*.wma;*.avi;*.cda;*.mpg;*.mov;*.mpe;*.mpeg"));
    File1.setPath(Dir1.Path());
    File2.setPattern(QStringLiteral("*.bmp;*.jpg"));
    File2.setPath(Dir2.Path());
    Image1.setStretch(true);
    Image1.setPicture(paneDesignPicture());
    Image2.setStretch(true);
    Image2.lower();
    for (vx::Label *l : {&Label3, &Label5})
        l->setFont(QFont(QStringLiteral("MS UI Gothic"), 11));
    for (vx::Label *l : {&Label1, &Label2, &Label3, &Label4, &Label5})
        l->setBackStyle(1);
    Label1.setToolTipText(QStringLiteral("ボリュームをリフレッシュ！"));
    Check1.setToolTipText(QStringLiteral("繰り返し再生することができます"));
    Check2.setToolTipText(QStringLiteral("1回再生して停止します"));
    Check3.setToolTipText(QStringLiteral("ランダムで再生します"));
    Command1.setToolTipText(QStringLiteral("終了"));
    Command6.setToolTipText(QStringLiteral("設定ができます"));
    Command7.setToolTipText(QStringLiteral("次に進みます"));
    Command8.setToolTipText(QStringLiteral("ファイルの詳細がわかります"));
    Command9.setToolTipText(QStringLiteral("前へ戻ります"));
    Command10.setToolTipText(QStringLiteral("Multimedia Rondix Ⅱを起動します"));
    Command2.setToolTipText(QStringLiteral("Multimedia Rondix Ⅲを起動します"));
    Command7.setEnabled(false);
    Command9.setEnabled(false);
    // A switch button stays off until its player joins the program.
    Command10.setEnabled(suite::players::joined(suite::players::Player::Second));
    Command2.setEnabled(suite::players::joined(suite::players::Player::Third));
    ProgressBar1.setScrolling(keys::ProgressKindDefault);
    // The narrow volume box shows its number edge to edge, as it did on its first platform.
    if (auto *edit = qobject_cast<QLineEdit *>(Text1.editor())) {
        edit->setFrame(false);
        edit->setTextMargins(1, 0, 0, 0);
    }

    vx::bindEvents(*this);
}

void Form3::Form_Load()
{
    // Without a mixer only the volume box is left out.
    mVolCtrl::SetUp(*this, Volume, Text1);
    // A missing or unreadable skin leaves only the skin out.
    suite::showStoredSkin(keys::Section, keys::Skin, keys::SkinDefaultName,
                          [this](const vx::Picture &skin) { Image2.setPicture(skin); });
    auto colour = [](QLatin1StringView key, qint32 def) {
        return suite::GetLong(keys::Section, key, QString::number(def));
    };
    const qint32 crystal = colour(keys::CrystalColor, keys::CrystalColorDefault);
    const qint32 crystalFont = colour(keys::CrystalFontColor, keys::CrystalFontColorDefault);
    for (vx::Label *l : {&Label3, &Label5}) {
        l->setBackColor(crystal);
        l->setForeColor(crystalFont);
    }
    const qint32 back = colour(keys::BackColor, keys::BackColorDefault);
    const qint32 font = colour(keys::FontColor, keys::FontColorDefault);
    Drive1.setBackColor(back);
    Dir1.setBackColor(back);
    File1.setBackColor(back);
    Drive2.setBackColor(back);
    Dir2.setBackColor(back);
    File2.setBackColor(back);
    Label1.setBackColor(colour(keys::VolColor, keys::VolColorDefault));
    Label1.setForeColor(colour(keys::VolFontColor, keys::VolFontColorDefault));
    Label2.setBackColor(back);
    Label4.setBackColor(back);
    Text1.setBackColor(back);
    Drive1.setForeColor(font);
    Dir1.setForeColor(font);
    File1.setForeColor(font);
    Drive2.setForeColor(font);
    Dir2.setForeColor(font);
    File2.setForeColor(font);
    Label2.setForeColor(font);
    Label4.setForeColor(font);
    Text1.setForeColor(font);
    const int kind = suite::GetInteger(keys::Section, keys::ProgressKind, QString::number(keys::ProgressKindDefault));
    ProgressBar1.setScrolling(kind == 0 || kind == 1 ? kind : keys::ProgressKindDefault);
    suite::applyPointer(*this);
    suite::restorePosition(*this, keys::Section, keys::PositionDefault);
    ProgressBar1.setBarColor(vx::rgb(0, 255, 0));
    ProgressBar1.setBarBackColor(vx::rgb(0, 0, 0));
    suite::restoreFolder(Drive1, Dir1, keys::Section, keys::Dir, keys::DirDefault, keys::Drive, keys::DriveDefault);
}

void Form3::saveSettings()
{
    suite::SaveSetting(keys::Section, keys::Dir, Dir1.Path());
    suite::SaveSetting(keys::Section, keys::Drive, Drive1.Drive());
    suite::savePosition(*this, keys::Section);
}

void Form3::Form_Unload(int &cancel)
{
    (void)cancel;
    stopAndClose();
    setCaption(kPlainCaption);
    mVolCtrl::TearDown(Volume);
    suite::SaveSetting(keys::Section, keys::FormKind, keys::KindCommandPlayer);
    saveSettings();
}

void Form3::Command1_Click()
{
    suite::SaveSetting(keys::Section, keys::FormKind, keys::KindCommandPlayer);
    stopAndClose();
    setCaption(kPlainCaption);
    Hide();
    saveSettings();
}

void Form3::Command6_Click()
{
    vx::instance<Form7>().Show(1);
}

void Form3::Command8_Click()
{
    vx::ShowFileProperties(vx::joinPath(Dir1.Path(), File1.FileName()));
}

void Form3::Drive1_Change()
{
    try {
        Dir1.setPath(Drive1.Drive());
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(e.description());
    }
}

void Form3::Dir1_Change()
{
    File1.setPath(Dir1.Path());
    setCaption(kPlainCaption);
}

void Form3::Drive2_Change()
{
    try {
        Dir2.setPath(Drive2.Drive());
    } catch (const vx::RuntimeError &e) {
        vx::MsgBox(e.description());
    }
}

void Form3::Dir2_Change()
{
    File2.setPath(Dir2.Path());
}

void Form3::File2_Click()
{
    Label4.setCaption(QStringLiteral("%1/%2").arg(File2.ListIndex() + 1).arg(File2.ListCount()));
    try {
        Image1.setPicture(vx::LoadPicture(vx::joinPath(Dir2.Path(), File2.FileName())));
    } catch (const vx::RuntimeError &) {
        // Not a picture after all: the pane keeps what it showed.
    }
}

void Form3::File2_OLEDragDrop(const QStringList &files)
{
    for (const QString &file : files) {
        try {
            Image1.setPicture(vx::LoadPicture(file));
        } catch (const vx::RuntimeError &) {
            vx::MsgBox(QStringLiteral("対応しているメディアファイルをドロップしてください"));
            return;
        }
    }
}

void Form3::Label2_Click()
{
    Dir1.Refresh();
    File1.Refresh();
}

void Form3::Label4_Click()
{
    File2.Refresh();
}

void Form3::Label1_Click()
{
    mVolCtrl::Refresh(*this, Volume, Text1);
}

void Form3::Label1_DblClick()
{
    mVolCtrl::ShowSystemVolume();
}

void Form3::Text1_Change()
{
    mVolCtrl::Change(Volume, Text1);
}

// The three modes exclude each other.
void Form3::Check1_Click()
{
    Check2.setEnabled(Check1.Value() != 1);
    Check3.setEnabled(Check1.Value() != 1);
}

void Form3::Check2_Click()
{
    Check1.setEnabled(Check2.Value() != 1);
    Check3.setEnabled(Check2.Value() != 1);
}

void Form3::Check3_Click()
{
    Check1.setEnabled(Check3.Value() != 1);
    Check2.setEnabled(Check3.Value() != 1);
}
