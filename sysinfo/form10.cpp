#include "form10.h"
#include "platform/forms/events.h"

#include "platform/dialogs/dialogs.h"
#include "suite/settings.h"
#include "sysinfo/format.h"
#include "sysinfo/keys.h"

#include <QCoreApplication>

namespace {
constexpr int kPx = vx::kTwipsPerPixel;
void place(QWidget &w, int x, int y, int width, int height) { w.setGeometry(x, y, width, height); }
} // namespace

Form10::Form10() : vx::Form(QStringLiteral("Form10"))
{
    setCaption(QStringLiteral("Probix Version3.0"));
    Command = QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
    layout();

    Command8.setToolTipText(QStringLiteral("すべてをチェックします"));
    Command12.setToolTipText(QStringLiteral("Probixを終わります"));
    Label40.setToolTipText(QStringLiteral("起動してから今までの時間を表示してあります"));
    Label12.setToolTipText(QStringLiteral("メモリについて表示されます"));
    Command18.setToolTipText(QStringLiteral("メモリをお掃除します"));
    Label19.setToolTipText(QStringLiteral("Cドライブの空き容量がわかります"));
    Label27.setToolTipText(QStringLiteral("ファイルの存在を調べます"));
    Label3.setToolTipText(QStringLiteral("今何が裏で起動しているのかを調べます"));
    Text2.setToolTipText(QStringLiteral("調べたいファイルの場所をフルパスで入力してください"));
    Command6.setToolTipText(QStringLiteral("ファイルの有無をチェック！"));
    Command13.setToolTipText(QStringLiteral("ファイルのサイズを調べます"));
    Command14.setToolTipText(QStringLiteral("ダイアログから選択します"));
    Label26.setToolTipText(QStringLiteral("結果が表示されます"));
    Label24.setToolTipText(QStringLiteral("システムに関するいろんなことが表示されます"));
    Command4.setToolTipText(QStringLiteral("ゴミ箱を空にします"));
    Command5.setToolTipText(QStringLiteral("最近使ったファイルをクリアします"));
    Label38.setToolTipText(QStringLiteral("Windowsのシステムに関するショートカットです"));
    Command1.setToolTipText(QStringLiteral("システムのプロパティを表示します"));
    Command9.setToolTipText(QStringLiteral("エクスプローラを起動します"));
    Command2.setToolTipText(QStringLiteral("ファイルの検索ダイアログを表示します"));
    Command7.setToolTipText(QStringLiteral("デスクトップテーマの設定を行います"));
    Command3.setToolTipText(QStringLiteral("電源に関する設定を行います"));
    Command16.setToolTipText(QStringLiteral("スクリーンセーバーを起動します"));
    Command10.setToolTipText(QStringLiteral("再起動します"));
    Label7.setToolTipText(QStringLiteral("Windowsのシステムに関するショートカットです"));
    cmdFind.setToolTipText(QStringLiteral("検索"));
    Command17.setToolTipText(QStringLiteral("検索結果のファイルを関連付けに基づいて開きます"));
    Command15.setToolTipText(QStringLiteral("この機能を使えばCD-ROMなどのファイル名をリストアップできます"));

    Text2.setText(QStringLiteral("/bin/sh"));
    Text2.setAccessibleName(QStringLiteral("ファイルの場所"));
    txtFilename.setAccessibleName(QStringLiteral("検索ファイル名"));
    // The search starts where the folder list is, on its drive.
    Drive1.setDrive(vx::driveOfPath(Dir1.Path()));

    vx::bindEvents(*this);

    search_.Found = [this](vx::EntryBatch &&paths) { List2.AddItems(std::move(paths)); };
    search_.Finished = [this] { searchFinished(); };
    progress_.setInterval(100);
    connect(&progress_, &QTimer::timeout, this, [this] { lblProgress.setCaption(search_.currentFolder()); });
}

Form10::~Form10() { search_.cancel(); }

void Form10::layout()
{
    setClientSize(600 * kPx, 470 * kPx);
    place(Label1, 10, 8, 300, 22);
    QFont big = Label1.font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    Label1.setFont(big);
    place(SSTab1, 8, 36, 584, 380);
    place(Label40, 10, 428, 70, 18);
    place(Label21, 80, 428, 260, 18);
    place(Command8, 360, 424, 110, 28);
    place(Command12, 480, 424, 110, 28);

    place(Label12, 12, 10, 400, 18);
    struct Row {
        vx::Label *caption;
        QWidget *value;
    };
    const Row rows[] = {{&Label41, &lblTotalPhy}, {&Label5, &lblAvailablephy}, {&Label4, &lblUsed},
                        {&Label6, &lblAllPageFile}, {&Label11, &lblAkiPage}, {&Label10, &lblAvailable},
                        {&lbl88, &lblNotYoyaku}};
    int y = 40;
    for (const Row &r : rows) {
        place(*r.caption, 24, y, 160, 20);
        place(*r.value, 190, y, 250, 20);
        y += 30;
    }
    place(ProgressBar2, 300, 100, 250, 18);
    place(Command18, 24, y + 6, 180, 28);

    place(Label19, 12, 10, 400, 18);
    place(Label100, 24, 44, 80, 20);
    place(Drive100, 110, 40, 300, 24);
    place(Label200, 24, 84, 80, 20);
    place(Label300, 110, 84, 300, 20);
    place(Label400, 24, 114, 80, 20);
    place(Label500, 110, 114, 300, 20);
    place(Label2, 24, 150, 200, 20);
    place(ProgressBar1, 24, 174, 520, 20);

    place(Label27, 12, 10, 400, 18);
    place(Text2, 24, 34, 520, 24);
    place(Command6, 24, 64, 140, 26);
    place(Command13, 172, 64, 140, 26);
    place(Command14, 320, 64, 80, 26);
    place(Label26, 24, 96, 530, 36);
    place(Label3, 12, 138, 400, 18);
    place(List1, 24, 160, 530, 180);

    place(Label24, 12, 10, 400, 18);
    place(Label37, 24, 40, 150, 20);
    place(Label32, 180, 40, 360, 20);
    place(Label29, 24, 66, 150, 20);
    place(Label28, 180, 66, 360, 20);
    place(Label31, 24, 92, 150, 20);
    place(List3, 180, 92, 360, 100);
    place(Label36, 24, 200, 150, 20);
    place(Label33, 180, 200, 360, 20);
    place(Label34, 24, 226, 150, 20);
    place(Label9, 180, 226, 360, 20);
    place(Label23, 12, 262, 400, 18);
    place(Command4, 24, 286, 250, 28);
    place(Command5, 290, 286, 250, 28);

    place(Label38, 12, 10, 400, 18);
    vx::CommandButton *shortcuts[] = {&Command1, &Command9, &Command2, &Command7, &Command3, &Command16, &Command10};
    for (int i = 0; i < 7; ++i)
        place(*shortcuts[i], 24 + (i % 2) * 270, 40 + (i / 2) * 40, 250, 30);

    place(Label7, 12, 6, 400, 18);
    place(lblDm_0, 12, 30, 100, 20);
    place(txtFilename, 112, 28, 180, 24);
    place(lblDm_1, 12, 58, 100, 20);
    place(Drive1, 112, 56, 180, 24);
    place(Dir1, 112, 84, 180, 128);
    place(chkSubFolder, 112, 216, 180, 22);
    place(cmdFind, 112, 240, 180, 28);
    place(Label8, 12, 274, 280, 36);
    place(Command15, 12, 314, 200, 26);
    place(List2, 300, 8, 270, 250);
    place(lblProgress, 300, 262, 270, 20);
    place(Command17, 300, 286, 270, 26);
}

void Form10::Form_Load()
{
    // Entries may be scrolled up to twice the visible width (the inner
    // width: the views are not laid out before the window shows).
    List1.setHorizontalExtent(2 * List1.contentsRect().width());
    List2.setHorizontalExtent(2 * List2.contentsRect().width());
    using namespace sysinfo::keys;
    setMousePointer(suite::GetInteger(kAllForm, kPointer, kPointerDefault));
    SSTab1.setMousePointer(suite::GetInteger(kMainForm, kPointer, kPointerDefault));
}

void Form10::Form_Unload(int &)
{
    search_.cancel();
    progress_.stop();
}

void Form10::Command12_Click() { Unload(); }

void Form10::Timer1_Timer() { Label21.setCaption(sysinfo::uptimeText(Uptime())); }

void Form10::launchTool(vx::DesktopTool tool, const QString &what)
{
    vx::desktopDriver().launch(tool, [what](bool started) {
        if (!started)
            vx::dispatch([&what] {
                vx::MsgBox(QStringLiteral("このデスクトップには") + what + QStringLiteral("がありません。"),
                           vx::vbExclamation);
            });
    });
}

// Without the desktop's own page, this window's system tab shows the same facts.
void Form10::Command1_Click()
{
    vx::desktopDriver().launch(vx::DesktopTool::SystemAbout, [self = QPointer<Form10>(this)](bool started) {
        if (!started && self && !self->isUnloaded())
            vx::dispatch([&self] { self->SSTab1.setTab(System); });
    });
}

void Form10::Command9_Click() { launchTool(vx::DesktopTool::FileManager, QStringLiteral("ファイルマネージャ")); }
void Form10::Command2_Click() { SSTab1.setTab(FileSearch); }
void Form10::Command7_Click() { launchTool(vx::DesktopTool::Appearance, QStringLiteral("デスクトップテーマの設定")); }
void Form10::Command3_Click() { launchTool(vx::DesktopTool::Power, QStringLiteral("電源の設定")); }
void Form10::Command16_Click() { launchTool(vx::DesktopTool::ScreenSaver, QStringLiteral("スクリーンセーバー")); }
void Form10::Command10_Click() { launchTool(vx::DesktopTool::ShutdownPrompt, QStringLiteral("シャットダウンの画面")); }

void Form10::Command4_Click()
{
    if (vx::MsgBox(QStringLiteral("ゴミ箱の中身をすべて削除しますか？"), vx::vbYesNo | vx::vbQuestion) != vx::vbYes)
        return;
    const QString failed = vx::desktopDriver().emptyTrash();
    if (failed.isEmpty())
        vx::MsgBox(QStringLiteral("ゴミ箱を空にしました。"), vx::vbInformation);
    else
        vx::MsgBox(QStringLiteral("ゴミ箱を空に出来ませんでした。\n") + failed, vx::vbExclamation);
}

void Form10::Command5_Click()
{
    // "Cleared" only when there was a list and it was cleared.
    if (!vx::desktopDriver().hasRecent()) {
        vx::MsgBox(QStringLiteral("クリアする最近使ったファイルはありません。"), vx::vbInformation);
        return;
    }
    const QString failed = vx::desktopDriver().clearRecent();
    if (failed.isEmpty())
        vx::MsgBox(QStringLiteral("最近使ったファイルをクリアしました。"), vx::vbInformation);
    else
        vx::MsgBox(QStringLiteral("最近使ったファイルをクリア出来ませんでした。\n") + failed, vx::vbExclamation);
}
