#pragma once
// The system information tool: memory, drive space, a file check and the
// running programs, system facts, shortcuts into the desktop's own tools and a
// recursive file search, on six tabs. "Check!" reads everything at once;
// nothing is read at load.
#include "platform/forms/controls.h"
#include "platform/forms/filelists.h"
#include "platform/forms/form.h"
#include "platform/forms/listbox.h"
#include "platform/forms/virtuallist.h"
#include "platform/forms/progressbar.h"
#include "platform/forms/tabstrip.h"
#include "platform/system/desktop.h"
#include "platform/system/facts.h"
#include "sysinfo/filesearch.h"

#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <optional>

class Form10 : public vx::Form {
    Q_OBJECT
public:
    Form10();
    ~Form10() override;

    enum Page { Memory, Space, FileCheck, System, Shortcuts, FileSearch };

    vx::Label Label1{this, QStringLiteral("Label1"), QStringLiteral("Probix Version3.0")};
    vx::TabControl SSTab1{this, QStringLiteral("SSTab1"),
                          {QStringLiteral("メモリ"), QStringLiteral("空き容量"), QStringLiteral("ファイルチェック"),
                           QStringLiteral("システム"), QStringLiteral("ショートカット"), QStringLiteral("ファイル検索")}};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("Check!")};
    vx::CommandButton Command12{this, QStringLiteral("Command12"), QStringLiteral("閉じる")};
    vx::Label Label40{this, QStringLiteral("Label40"), QStringLiteral("Uptavel")};
    vx::Label Label21{this, QStringLiteral("Label21")};
    vx::Timer Timer1{this, QStringLiteral("Timer1"), 1000, true};

    // Memory.
    vx::Label Label12{this, QStringLiteral("Label12"), QStringLiteral("MemoryInfo Rondix　Version1.1"), SSTab1.page(Memory)};
    vx::Label Label41{this, QStringLiteral("Label41"), QStringLiteral("全物理メモリ数"), SSTab1.page(Memory)};
    vx::Label lblTotalPhy{this, QStringLiteral("lblTotalPhy"), QString(), SSTab1.page(Memory)};
    vx::Label Label5{this, QStringLiteral("Label5"), QStringLiteral("利用可能メモリ数"), SSTab1.page(Memory)};
    vx::Label lblAvailablephy{this, QStringLiteral("lblAvailablephy"), QString(), SSTab1.page(Memory)};
    vx::Label Label4{this, QStringLiteral("Label4"), QStringLiteral("メモリ使用率"), SSTab1.page(Memory)};
    vx::Label lblUsed{this, QStringLiteral("lblUsed"), QString(), SSTab1.page(Memory)};
    vx::ProgressBar ProgressBar2{this, QStringLiteral("ProgressBar2"), SSTab1.page(Memory)};
    vx::Label Label6{this, QStringLiteral("Label6"), QStringLiteral("全ページファイル数"), SSTab1.page(Memory)};
    vx::Label lblAllPageFile{this, QStringLiteral("lblAllPageFile"), QString(), SSTab1.page(Memory)};
    vx::Label Label11{this, QStringLiteral("Label11"), QStringLiteral("空きページファイル数"), SSTab1.page(Memory)};
    vx::Label lblAkiPage{this, QStringLiteral("lblAkiPage"), QString(), SSTab1.page(Memory)};
    vx::Label Label10{this, QStringLiteral("Label10"), QStringLiteral("使用可能サイズ"), SSTab1.page(Memory)};
    vx::Label lblAvailable{this, QStringLiteral("lblAvailable"), QString(), SSTab1.page(Memory)};
    vx::Label lbl88{this, QStringLiteral("lbl88"), QStringLiteral("未予約メモリサイズ"), SSTab1.page(Memory)};
    vx::Label lblNotYoyaku{this, QStringLiteral("lblNotYoyaku"), QString(), SSTab1.page(Memory)};
    vx::CommandButton Command18{this, QStringLiteral("Command18"), QStringLiteral("メモリーをお掃除"), SSTab1.page(Memory)};

    // Drive space.
    vx::Label Label19{this, QStringLiteral("Label19"), QStringLiteral("Brimwell Version1.2"), SSTab1.page(Space)};
    vx::Label Label100{this, QStringLiteral("Label100"), QStringLiteral("ドライブ："), SSTab1.page(Space)};
    vx::DriveListBox Drive100{this, QStringLiteral("Drive100"), SSTab1.page(Space)};
    vx::Label Label200{this, QStringLiteral("Label200"), QStringLiteral("空き容量："), SSTab1.page(Space)};
    vx::Label Label300{this, QStringLiteral("Label300"), QString(), SSTab1.page(Space)};
    vx::Label Label400{this, QStringLiteral("Label400"), QStringLiteral("総容量："), SSTab1.page(Space)};
    vx::Label Label500{this, QStringLiteral("Label500"), QString(), SSTab1.page(Space)};
    vx::Label Label2{this, QStringLiteral("Label2"), QStringLiteral("ドライブの使用率"), SSTab1.page(Space)};
    vx::ProgressBar ProgressBar1{this, QStringLiteral("ProgressBar1"), SSTab1.page(Space)};

    // File check and running programs.
    vx::Label Label27{this, QStringLiteral("Label27"), QStringLiteral("Verdock　Version1.02"), SSTab1.page(FileCheck)};
    vx::TextBox Text2{this, QStringLiteral("Text2"), false, SSTab1.page(FileCheck)};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral("存在を確認"), SSTab1.page(FileCheck)};
    vx::CommandButton Command13{this, QStringLiteral("Command13"), QStringLiteral("サイズをチェック"), SSTab1.page(FileCheck)};
    vx::CommandButton Command14{this, QStringLiteral("Command14"), QStringLiteral("参照"), SSTab1.page(FileCheck)};
    vx::Label Label26{this, QStringLiteral("Label26"), QString(), SSTab1.page(FileCheck)};
    vx::Label Label3{this, QStringLiteral("Label3"), QStringLiteral("Prowlet　Version1.1"), SSTab1.page(FileCheck)};
    vx::ListBox List1{this, QStringLiteral("List1"), SSTab1.page(FileCheck)};

    // System.
    vx::Label Label24{this, QStringLiteral("Label24"), QStringLiteral("System Rondix Version1.51"), SSTab1.page(System)};
    vx::Label Label37{this, QStringLiteral("Label37"), QStringLiteral("コンピュータ名"), SSTab1.page(System)};
    vx::Label Label32{this, QStringLiteral("Label32"), QString(), SSTab1.page(System)};
    vx::Label Label29{this, QStringLiteral("Label29"), QStringLiteral("システムの表示色数"), SSTab1.page(System)};
    vx::Label Label28{this, QStringLiteral("Label28"), QString(), SSTab1.page(System)};
    vx::Label Label31{this, QStringLiteral("Label31"), QStringLiteral("プロセッサ情報(CPU)"), SSTab1.page(System)};
    vx::ListBox List3{this, QStringLiteral("List3"), SSTab1.page(System)};
    vx::Label Label36{this, QStringLiteral("Label36"), QStringLiteral("OSの種類"), SSTab1.page(System)};
    vx::Label Label33{this, QStringLiteral("Label33"), QString(), SSTab1.page(System)};
    vx::Label Label34{this, QStringLiteral("Label34"), QStringLiteral("Windowsのバージョン"), SSTab1.page(System)};
    vx::Label Label9{this, QStringLiteral("Label9"), QString(), SSTab1.page(System)};
    vx::Label Label23{this, QStringLiteral("Label23"), QStringLiteral("Scourby Version1.2"), SSTab1.page(System)};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("ゴミ箱を空にする"), SSTab1.page(System)};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("最近使ったファイルをクリアする"), SSTab1.page(System)};

    // Shortcuts.
    vx::Label Label38{this, QStringLiteral("Label38"), QStringLiteral("Hopwick Version1.1"), SSTab1.page(Shortcuts)};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("システム"), SSTab1.page(Shortcuts)};
    vx::CommandButton Command9{this, QStringLiteral("Command9"), QStringLiteral("エクスプローラ"), SSTab1.page(Shortcuts)};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("ファイルの検索"), SSTab1.page(Shortcuts)};
    vx::CommandButton Command7{this, QStringLiteral("Command7"), QStringLiteral("デスクトップテーマ"), SSTab1.page(Shortcuts)};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("電源管理"), SSTab1.page(Shortcuts)};
    vx::CommandButton Command16{this, QStringLiteral("Command16"), QStringLiteral("スクリーンセーバーを起動"), SSTab1.page(Shortcuts)};
    vx::CommandButton Command10{this, QStringLiteral("Command10"), QStringLiteral("シャットダウン"), SSTab1.page(Shortcuts)};

    // File search.
    vx::Label Label7{this, QStringLiteral("Label7"), QStringLiteral("QuelloryVersion1.21"), SSTab1.page(FileSearch)};
    vx::Label lblDm_0{this, QStringLiteral("lblDm(0)"), QStringLiteral("検索ファイル名"), SSTab1.page(FileSearch)};
    vx::TextBox txtFilename{this, QStringLiteral("txtFilename"), false, SSTab1.page(FileSearch)};
    vx::Label lblDm_1{this, QStringLiteral("lblDm(1)"), QStringLiteral("検索場所"), SSTab1.page(FileSearch)};
    vx::DriveListBox Drive1{this, QStringLiteral("Drive1"), SSTab1.page(FileSearch)};
    vx::DirListBox Dir1{this, QStringLiteral("Dir1"), SSTab1.page(FileSearch)};
    vx::CheckBox chkSubFolder{this, QStringLiteral("chkSubFolder"), QStringLiteral("サブフォルダも検索"), SSTab1.page(FileSearch)};
    vx::CommandButton cmdFind{this, QStringLiteral("cmdFind"), QStringLiteral("検索"), SSTab1.page(FileSearch)};
    vx::VirtualListBox List2{this, QStringLiteral("List2"), SSTab1.page(FileSearch)};
    vx::Label lblProgress{this, QStringLiteral("lblProgress"), QStringLiteral("検索結果"), SSTab1.page(FileSearch)};
    vx::Label Label8{this, QStringLiteral("Label8"), QStringLiteral("何も入力しないで検索するとすべてのファイルが表示されます。"), SSTab1.page(FileSearch)};
    vx::CommandButton Command17{this, QStringLiteral("Command17"), QStringLiteral("検索結果のファイルを関連付けに基づいて開く"), SSTab1.page(FileSearch)};
    vx::CommandButton Command15{this, QStringLiteral("Command15"), QStringLiteral("一覧をテキストに保存"), SSTab1.page(FileSearch)};

    vx::Label &lblDm(int index) { return index == 0 ? lblDm_0 : lblDm_1; }

    // Where the facts come from (tests put in their own).
    std::function<std::optional<vx::facts::Memory>()> ReadMemory = [] { return vx::facts::readMemory(); };
    std::function<qint64()> Uptime = [] { return vx::facts::uptimeMs(); };
    // The program's command line: the size in megabytes of the memory clean-up.
    QString Command;

    // A regular file that can be read; one trailing "/" is cut off `path`.
    bool CheckFileExistence(QString &path);

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    Q_SLOT void Command8_Click();
    Q_SLOT void Timer1_Timer();
    Q_SLOT void Command6_Click();
    Q_SLOT void Command13_Click();
    Q_SLOT void Command14_Click();
    Q_SLOT void Command18_Click();
    Q_SLOT void Command1_Click();
    Q_SLOT void Command9_Click();
    Q_SLOT void Command2_Click();
    Q_SLOT void Command7_Click();
    Q_SLOT void Command3_Click();
    Q_SLOT void Command16_Click();
    Q_SLOT void Command10_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command5_Click();
    Q_SLOT void Command12_Click();
    // File search.
    Q_SLOT void cmdFind_Click();
    Q_SLOT void Drive1_Change();
    Q_SLOT void Command17_Click();
    Q_SLOT void Command15_Click();

    bool Searching() const { return search_.running(); }
    // The folder the search is reading.
    QString SearchFolder() const { return search_.currentFolder(); }
    // Bytes the last memory clean-up filled (0 when it filled none).
    qint64 CleanedBytes() const { return cleaned_; }

private:
    void layout();
    void launchTool(vx::DesktopTool tool, const QString &what);
    void searchFinished();

    sysinfo::SearchRunner search_;
    QTimer progress_;
    QElapsedTimer searchClock_;
    qint64 cleaned_ = 0;
    bool restoringDrive_ = false;
};
