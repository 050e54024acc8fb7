#include "frmabout.h"
#include "platform/forms/events.h"

#include "suite/settings.h"
#include "platform/system/system.h"
#include "shell/form19.h"
#include "shell/form25.h"
#include "shell/form26.h"
#include "shell/icons.h"
#include "shell/keys.h"

namespace keys = shell::keys::MainForm;

namespace {
constexpr int kPx = vx::kTwipsPerPixel;

template <class T>
void showModal()
{
    vx::instance<T>().Show(1);
}

// The settings window of each launcher style, opened modal over this window.
// A settings window joins by giving its row showModal<Window>; "Main3" has
// none.
struct StyleSettings {
    QLatin1StringView style;
    void (*open)();
};
const StyleSettings kSettingsWindows[] = {
    {keys::StyleButtons, showModal<Form19>},
    {keys::StyleSmall, showModal<Form25>},
    {keys::StyleBar, showModal<Form26>},
};
} // namespace

const QString frmAbout::kMaker = QStringLiteral("Velmora Project");
const QString frmAbout::kWebAddress = QStringLiteral("https://velmora.example/");
const QString frmAbout::kMailAddress = QStringLiteral("support@velmora.example");

frmAbout::frmAbout() : vx::Form(QStringLiteral("frmAbout"))
{
    setCaption(QStringLiteral("Velmora 2002のバージョン情報"));
    setClientSize(360 * kPx, 222 * kPx);

    for (vx::PictureBox *p : {&Image1, &Image2, &Picture1, &Picture2, &Picture3, &Picture4, &Picture5, &Picture6})
        p->setBorderStyle(0);

    Image1.Move(12 * kPx, 12 * kPx, 300 * kPx, 44 * kPx);
    Image1.setPicture(shell::icons::banner(QStringLiteral("Velmora 2002"), QStringLiteral("Version3.5"), 300, 44));
    Label1.Move(12 * kPx, 66 * kPx, 336 * kPx, 16 * kPx);
    Label1.setCaption(QStringLiteral("制作：") + kMaker);
    Label1.setToolTipText(kMaker);
    lblDescription.Move(12 * kPx, 86 * kPx, 336 * kPx, 32 * kPx);
    lblDescription.setCaption(
        QStringLiteral("このソフトウェアはフリーソフトです。\nどなたでも自由にお使いいただけます。"));
    lblDescription.setToolTipText(QStringLiteral("フリーソフトです"));
    Image2.Move(12 * kPx, 124 * kPx, 220 * kPx, 18 * kPx);
    Image2.setPicture(shell::icons::webLink(kWebAddress, 220, 18));
    Label2.Move(12 * kPx, 146 * kPx, 220 * kPx, 16 * kPx);
    Label2.setCaption(QStringLiteral("E-mail：") + kMailAddress);

    struct Mascot {
        vx::PictureBox *box;
        QColor body;
        const char *tip;
    };
    const Mascot mascots[] = {
        {&Picture2, QColor(0x7E, 0xC8, 0xF0), "ベルモ（水色）"},
        {&Picture3, QColor(0xE8, 0x4A, 0x4A), "ベルモ（赤）"},
        {&Picture4, QColor(0x9B, 0xD8, 0x4A), "ベルモ（黄緑）"},
        {&Picture6, QColor(0xF5, 0xA0, 0x3A), "ベルモ（オレンジ）"},
    };
    for (const Mascot &m : mascots) {
        m.box->setPicture(shell::icons::mascot(m.body, 32));
        m.box->setToolTipText(QString::fromUtf8(m.tip));
    }
    Picture1.setPicture(shell::icons::star(32));
    Picture5.setPicture(shell::icons::flower(32));
    vx::PictureBox *row[] = {&Picture1, &Picture2, &Picture3, &Picture4, &Picture5, &Picture6};
    for (int i = 0; i < 6; ++i)
        row[i]->Move((12 + i * 36) * kPx, 176 * kPx, 32 * kPx, 32 * kPx);

    cmdSysInfo.Move(220 * kPx, 156 * kPx, 128 * kPx, 24 * kPx);
    cmdSysInfo.setToolTipText(QStringLiteral("メイン画面の設定が出来ます"));
    cmdOK.Move(220 * kPx, 186 * kPx, 128 * kPx, 24 * kPx);
    cmdOK.setToolTipText(QStringLiteral("Version Rondixを終了します"));

    vx::bindEvents(*this);
}

void frmAbout::Form_Load() { suite::applyPointer(*this); }

void frmAbout::cmdOK_Click() { Unload(); }

void frmAbout::cmdSysInfo_Click()
{
    const QString style = suite::GetSetting(keys::Section, keys::Form, keys::FormDefault);
    for (const StyleSettings &s : kSettingsWindows)
        if (style == s.style && s.open)
            s.open();
}

void frmAbout::Image2_Click() { vx::ShellOpen(kWebAddress); }
void frmAbout::Label2_Click() { vx::ShellOpen(QStringLiteral("mailto:") + kMailAddress); }
