#include "form1.h"
#include "platform/forms/events.h"

#include "suite/settings.h"
#include "platform/core/savefile.h"
#include "platform/dialogs/dialogs.h"
#include "platform/system/system.h"
#include "shell/icons.h"
#include "shell/keys.h"
#include "shell/launch.h"
#include "shell/mainform.h"

#include <QDir>

using shell::Launcher;
using shell::Tool;
using shell::icons::Glyph;

namespace keys = shell::keys::MainForm;

namespace {
constexpr int kPx = vx::kTwipsPerPixel;
} // namespace

Form1::Form1() : vx::Form(QStringLiteral("Form1"))
{
    setCaption(QStringLiteral("Velmora 2002 Version3.5"));
    setClientSize(4740, 4590);

    QFont title = Label1.font();
    title.setBold(true);
    Label1.setFont(title);
    Label1.Move(8 * kPx, 6 * kPx, 300 * kPx, 16 * kPx);
    Label2.Move(8 * kPx, 23 * kPx, 300 * kPx, 15 * kPx);

    // Tool buttons down the left, in the order of the icons on the right.
    vx::CommandButton *column[] = {&Command1, &Command2, &Command7, &Command9,  &Command3,
                                   &Command4, &Command5, &Command10, &Command11, &Command6};
    for (int i = 0; i < 10; ++i)
        column[i]->Move(8 * kPx, (44 + i * 25) * kPx, 192 * kPx, 22 * kPx);

    struct Icon {
        vx::PictureBox *box;
        Glyph glyph;
    };
    const Icon grid[] = {{&Picture1, Glyph::ImageViewer},  {&Picture2, Glyph::MediaPlayer}, {&Picture6, Glyph::CdPlayer},
                         {&Picture11, Glyph::PluginViewer}, {&Picture3, Glyph::TextEditor},  {&Picture4, Glyph::Archiver},
                         {&Picture5, Glyph::Launcher},      {&Picture10, Glyph::SystemInfo}, {&Picture9, Glyph::Capture},
                         {&Picture8, Glyph::About},         {&Picture7, Glyph::Help},        {&Picture12, Glyph::Exit}};
    for (int i = 0; i < 12; ++i) {
        vx::PictureBox &p = *grid[i].box;
        p.Move((208 + (i % 3) * 36) * kPx, (44 + (i / 3) * 34) * kPx, 28 * kPx, 28 * kPx);
        p.setBorderStyle(0);
        p.setContentsMargins(2, 2, 2, 2);
        p.setPicture(shell::icons::glyph(grid[i].glyph, 24));
    }
    Text1.Move(208 * kPx, 182 * kPx, 100 * kPx, 80 * kPx);
    Text1.setText(QStringLiteral("ここに入力してからSAVEしてください"));
    Command8.Move(208 * kPx, 267 * kPx, 100 * kPx, 24 * kPx);

    Command1.setToolTipText(QStringLiteral("画像を見ることができます"));
    Command2.setToolTipText(QStringLiteral("音楽やムービーが再生できます"));
    Command3.setToolTipText(QStringLiteral("文章の作成・編集ができます"));
    Command4.setToolTipText(QStringLiteral("7種類の圧縮ファイルの解凍ができます"));
    Command5.setToolTipText(QStringLiteral("ランチャーです"));
    Command6.setToolTipText(QStringLiteral("バージョン情報と設定ダイアログを表示します"));
    Command7.setToolTipText(QStringLiteral("AudioCDが聴けます"));
    Command8.setToolTipText(QStringLiteral("保存します。メモ.txtで作成されその後は上書き保存となります"));
    Command9.setToolTipText(QStringLiteral("Susieプラグイン対応画像が見れます"));
    Command10.setToolTipText(QStringLiteral("システムのの詳細を見ることができます"));
    Command11.setToolTipText(QStringLiteral("ウインドウをキャプチャします"));
    Picture7.setToolTipText(QStringLiteral("HTMLHelp Rondix(ヘルプを表示）"));
    Picture12.setToolTipText(QStringLiteral("終了します"));

    vx::bindEvents(*this);
}

std::array<vx::CommandButton *, 11> Form1::buttons()
{
    return {&Command1, &Command2, &Command3, &Command4, &Command5,  &Command6,
            &Command7, &Command8, &Command9, &Command10, &Command11};
}

std::array<vx::PictureBox *, 12> Form1::pictures()
{
    return {&Picture1, &Picture2, &Picture3, &Picture4,  &Picture5,  &Picture6,
            &Picture7, &Picture8, &Picture9, &Picture10, &Picture11, &Picture12};
}

void Form1::Form_Load()
{
    suite::restorePosition(*this, keys::Section, keys::PositionDefault);
    setBackColor(suite::GetColor(keys::Section, keys::FormColor, keys::FormColorDefault));
    for (vx::PictureBox *p : pictures())
        p->setBackColor(suite::GetColor(keys::Section, keys::FormColor, keys::FormColorDefault));
    suite::applyPointer(*this);
    suite::applyButtonColor(keys::Section, buttons());
    Text1.setBackColor(suite::GetColor(keys::Section, keys::TextColor, keys::TextColorDefault));
    Text1.setForeColor(suite::GetColor(keys::Section, keys::TextFontColor, keys::TextFontColorDefault));
    Label1.setForeColor(suite::GetColor(keys::Section, keys::LabelColor, keys::LabelColorDefault));
    Label2.setForeColor(suite::GetColor(keys::Section, keys::LabelColor, keys::LabelColorDefault));
    suite::applyTopmost(*this);
}

void Form1::Form_Unload(int &cancel)
{
    exitProgram();
    // Still here: the user kept the program running.
    cancel = 1;
}

void Form1::Command1_Click() { shell::launchImageViewer(Launcher::Form1); }
void Form1::Command2_Click() { shell::launchMediaPlayer(Launcher::Form1); }
void Form1::Command3_Click() { shell::launch(Tool::Form4, Launcher::Form1); }
void Form1::Command4_Click() { shell::launch(Tool::Form9, Launcher::Form1); }
void Form1::Command5_Click() { shell::launch(Tool::Form5, Launcher::Form1); }
void Form1::Command6_Click() { shell::launch(Tool::frmAbout, Launcher::Form1); }
void Form1::Command7_Click() { shell::launch(Tool::Form8, Launcher::Form1); }

void Form1::Command8_Click()
{
    if (SaveMemo())
        vx::MsgBox(QStringLiteral("保存されました(^o^)"));
}

void Form1::Command9_Click() { shell::launch(Tool::Form15, Launcher::Form1); }
void Form1::Command10_Click() { shell::launch(Tool::Form10, Launcher::Form1); }
void Form1::Command11_Click() { shell::launch(Tool::Form11, Launcher::Form1); }
void Form1::Picture1_Click() { shell::launchImageViewer(Launcher::Form1); }
void Form1::Picture2_Click() { shell::launchMediaPlayer(Launcher::Form1); }
// The editor's icon closes it for good, where its button only hides it.
void Form1::Picture3_Click() { shell::launch(Tool::Form4, shell::CloseMode::Unload); }
void Form1::Picture4_Click() { shell::launch(Tool::Form9, Launcher::Form1); }
void Form1::Picture5_Click() { shell::launch(Tool::Form5, Launcher::Form1); }
void Form1::Picture6_Click() { shell::launch(Tool::Form8, Launcher::Form1); }
void Form1::Picture7_Click() { shell::showHelp(); }
void Form1::Picture8_Click() { shell::launch(Tool::frmAbout, Launcher::Form1); }
void Form1::Picture9_Click() { shell::launch(Tool::Form11, Launcher::Form1); }
void Form1::Picture10_Click() { shell::launch(Tool::Form10, Launcher::Form1); }
void Form1::Picture11_Click() { shell::launch(Tool::Form15, Launcher::Form1); }
void Form1::Picture12_Click() { exitProgram(); }

bool Form1::SaveMemo()
{
    const QString path = vx::joinPath(vx::AppPath(), QStringLiteral("メモ.txt"));
    // Plain text in the locale's encoding, which is UTF-8 here, with the box's
    // line breaks as CR LF like the final one. The old memo is replaced only
    // once the new one is complete.
    QString text = Text1.Text();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const QByteArray data = (text + QStringLiteral("\r\n")).toUtf8();
    const vx::SaveResult saved = vx::saveUserFile(path, data);
    if (saved.ok())
        return true;
    vx::MsgBox(QStringLiteral("メモを保存できませんでした。\n%1\n%2").arg(QDir::toNativeSeparators(path), saved.reason()),
               vx::vbExclamation);
    return false;
}

void Form1::exitProgram()
{
    shell::endFromMainWindow([this] { suite::savePosition(*this, keys::Section); }, true);
}
