#pragma once
// The text editor "Scrivolt": one document in a rich text box beside a drive,
// folder and file pane. The caption carries the document state (edit mode,
// edit mode with unsaved changes, read mode).
#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/forms/filelists.h"
#include "platform/forms/form.h"
#include "platform/forms/menu.h"
#include "platform/forms/richtextbox.h"
#include "statusbar.h"

#include <QToolBar>

#include <memory>

class QPrinter;

namespace editor {
inline const QString kEditCaption = QStringLiteral("Scrivolt Version7.9(エディットモード)");
inline const QString kModifiedCaption = kEditCaption + QStringLiteral("★変更有り★");
inline const QString kReadCaption = QStringLiteral("Scrivolt Version7.9(リードモード)");
// Asked before unsaved changes would go (closing, ending, replacing the text).
inline const QString kAskSave = QStringLiteral("変更を保存しますか?");
inline const QString kSafePattern = QStringLiteral("*.txt;*.html;*.htm;*.wri;*.csv;*.xml;*.mbox;*.rtf;*.doc");
inline const QString kAllPattern =
    QStringLiteral("*.txt;*.ini;*.html;*.htm;*.log;*.inf;*.bat;*.mac;*.wri;*.csv;*.xml;*.mbox;*.dat;*.rtf;*.doc");

// Before the program ends: when the editor holds unsaved changes, asks
// whether to save them. False when the user wants to save and the save did
// not happen (the program must not end then).
bool confirmEnd();
} // namespace editor

class Form4 : public vx::Form {
    Q_OBJECT
public:
    Form4();

    vx::Placed<vx::RichTextBox> RichTextBox1{{2700, 540, 9840, 6960}, this, QStringLiteral("RichTextBox1")};
    vx::Control<QToolBar> Toolbar1{this, QStringLiteral("Toolbar1")};
    vx::Placed<vx::DriveListBox> Drive1{{60, 540, 2580, 300}, this, QStringLiteral("Drive1")};
    vx::Placed<vx::DirListBox> Dir1{{60, 900, 2580, 1800}, this, QStringLiteral("Dir1")};
    vx::Placed<vx::FileListBox> File1{{60, 2760, 2580, 1800}, this, QStringLiteral("File1")};
    vx::Placed<vx::Label> Label1{{60, 4620, 2580, 255}, this, QStringLiteral("Label1")};
    vx::Placed<vx::CommandButton> Command21{{60, 4920, 1275, 360}, this, QStringLiteral("Command21"),
                                            QStringLiteral("前へ")};
    vx::Placed<vx::CommandButton> Command22{{1365, 4920, 1275, 360}, this, QStringLiteral("Command22"),
                                            QStringLiteral("次へ")};
    vx::Placed<vx::CheckBox> Check1{{60, 5340, 2580, 300}, this, QStringLiteral("Check1"),
                                    QStringLiteral("システムセーフティー機能")};
    vx::Placed<vx::CommandButton> Command1{{60, 6960, 2580, 360}, this, QStringLiteral("Command1"),
                                           QStringLiteral("閉じる")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("IEで起動")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("切替")};
    vx::CommandButton Command4{this, QStringLiteral("Command4")};
    vx::CommandButton Command5{this, QStringLiteral("Command5")};
    vx::Placed<vx::CommandButton> Command6{{60, 6120, 2580, 360}, this, QStringLiteral("Command6"),
                                           QStringLiteral("名前を付けて保存")};
    vx::CommandButton Command7{this, QStringLiteral("Command7")};
    vx::CommandButton Command8{this, QStringLiteral("Command8")};
    vx::CommandButton Command9{this, QStringLiteral("Command9")};
    vx::CommandButton Command10{this, QStringLiteral("Command10")};
    vx::CommandButton Command11{this, QStringLiteral("Command11")};
    vx::CommandButton Command12{this, QStringLiteral("Command12")};
    vx::CommandButton Command13{this, QStringLiteral("Command13")};
    vx::CommandButton Command14{this, QStringLiteral("Command14")};
    vx::CommandButton Command15{this, QStringLiteral("Command15")};
    vx::CommandButton Command160{this, QStringLiteral("Command160")};
    vx::CommandButton Command16{this, QStringLiteral("Command16"), QStringLiteral("コントローラー")};
    vx::Placed<vx::CommandButton> Command17{{60, 6540, 2580, 360}, this, QStringLiteral("Command17"),
                                            QStringLiteral("リッチテキスト形式で保存")};
    vx::Placed<vx::CommandButton> Command18{{60, 5700, 2580, 360}, this, QStringLiteral("Command18"),
                                            QStringLiteral("上書き保存")};
    vx::CommandButton Command19{this, QStringLiteral("Command19"), QStringLiteral("全選")};
    vx::CommandButton Command20{this, QStringLiteral("Command20")};
    vx::CommandButton Command23{this, QStringLiteral("Command23"), QStringLiteral("プロパティ")};
    vx::CommandButton Command24{this, QStringLiteral("Command24"), QStringLiteral("折")};
    vx::CommandButton Command25{this, QStringLiteral("Command25"), QStringLiteral("置換")};
    editor::StatusBar StatusBar1{this, QStringLiteral("StatusBar1")};
    vx::Timer Timer1{this, QStringLiteral("Timer1"), 100, true};
    vx::Timer Timer2{this, QStringLiteral("Timer2"), 60000, true};
    vx::CommonDialog CommonDialog1{this};
    vx::CommonDialog CommonDialog2{this};
    vx::CommonDialog CommonDialog3{this};
    vx::CommonDialog CommonDialog4{this};
    vx::CommonDialog CommonDialog5{this};
    vx::CommonDialog CommonDialog6{this};
    vx::CommonDialog CommonDialog7{this};
    vx::CommonDialog CommonDialog8{this};

    vx::Menu IDMFile{this, QStringLiteral("IDMFile"), QStringLiteral("ファイル")};
    vx::Menu IDMNewfile{&IDMFile, QStringLiteral("IDMNewfile"), QStringLiteral("新規作成")};
    vx::Menu IDMOpenFile{&IDMFile, QStringLiteral("IDMOpenFile"), QStringLiteral("開く")};
    vx::Menu IDMHaifun{&IDMFile, QStringLiteral("IDMHaifun"), QStringLiteral("-")};
    vx::Menu IDMNewsave{&IDMFile, QStringLiteral("IDMNewsave"), QStringLiteral("名前を付けて保存")};
    vx::Menu IDMSave{&IDMFile, QStringLiteral("IDMSave"), QStringLiteral("上書き保存")};
    vx::Menu IDMRTF{&IDMFile, QStringLiteral("IDMRTF"), QStringLiteral("リッチテキスト形式で保存")};
    vx::Menu IDMHaifun2{&IDMFile, QStringLiteral("IDMHaifun2"), QStringLiteral("-")};
    vx::Menu IDMEnd{&IDMFile, QStringLiteral("IDMEnd"), QStringLiteral("終了")};
    vx::Menu IDMEdit{this, QStringLiteral("IDMEdit"), QStringLiteral("編集")};
    vx::Menu IDMTXTBACK{&IDMEdit, QStringLiteral("IDMTXTBACK"), QStringLiteral("やり直し")};
    vx::Menu IDMTXTCOPY{&IDMEdit, QStringLiteral("IDMTXTCOPY"), QStringLiteral("コピー")};
    vx::Menu IDMTXTCUT{&IDMEdit, QStringLiteral("IDMTXTCUT"), QStringLiteral("切り取り")};
    vx::Menu IDMTXTPAST{&IDMEdit, QStringLiteral("IDMTXTPAST"), QStringLiteral("貼り付け")};
    vx::Menu IDMALLSEL{&IDMEdit, QStringLiteral("IDMALLSEL"), QStringLiteral("すべて選択")};
    vx::Menu IDMPrint{this, QStringLiteral("IDMPrint"), QStringLiteral("印刷")};
    vx::Menu IDMFont{this, QStringLiteral("IDMFont"), QStringLiteral("書式")};
    vx::Menu IDMFontSize{&IDMFont, QStringLiteral("IDMFontSize"), QStringLiteral("フォントの設定")};
    vx::Menu IDMFontColor{&IDMFont, QStringLiteral("IDMFontColor"), QStringLiteral("フォント色")};
    vx::Menu IDMHaifun3{&IDMFont, QStringLiteral("IDMHaifun3"), QStringLiteral("-")};
    vx::Menu IDMPaperColor{&IDMFont, QStringLiteral("IDMPaperColor"), QStringLiteral("紙の色")};
    vx::Menu IDMChange{this, QStringLiteral("IDMChange"), QStringLiteral("切り替え")};
    vx::Menu IDMSAFETY{this, QStringLiteral("IDMSAFETY"), QStringLiteral("セーフティー機能動作確認")};
    vx::Menu IDMSYSTEMSAFETY{&IDMSAFETY, QStringLiteral("IDMSYSTEMSAFETY"), QStringLiteral("システムセーフティー機能")};
    vx::Menu IDMRE{this, QStringLiteral("IDMRE"), QStringLiteral("前回の設定を読み込む")};
    vx::Menu IDMFirst{this, QStringLiteral("IDMFirst"), QStringLiteral("設定を初期化")};

    // The file the list points at: the folder, "/", the selected name.
    QString listPath() const;
    // The file the shown text came from, which the overwrite save writes
    // ("" for a new document).
    const QString &shownPath() const { return shownPath_; }
    // Whether the text holds changes not yet saved: the modified caption, or
    // the marker it had when switched to read mode.
    bool hasUnsavedChanges() const;
    void LoadEditorFile();
    // True when the text was written.
    bool SaveEditorFile();
    void WriteBackupFile();

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    void Form_Resize() override;

    // Document and file pane (editor window and document state).
    Q_SLOT void RichTextBox1_KeyPress(int keyAscii);
    Q_SLOT void RichTextBox1_Change();
    Q_SLOT void Command3_Click();
    Q_SLOT void IDMChange_Click() { Command3_Click(); }
    Q_SLOT void File1_Click();
    Q_SLOT void Command21_Click();
    Q_SLOT void Command22_Click();
    Q_SLOT void IDMOpenFile_Click();
    Q_SLOT void File1_OLEDragDrop(const QStringList &files);
    Q_SLOT void Command18_Click();
    Q_SLOT void IDMSave_Click() { Command18_Click(); }
    Q_SLOT void Command6_Click();
    Q_SLOT void IDMNewsave_Click() { Command6_Click(); }
    Q_SLOT void Command17_Click();
    Q_SLOT void IDMRTF_Click() { Command17_Click(); }
    Q_SLOT void Command1_Click();
    Q_SLOT void IDMEnd_Click() { Command1_Click(); }
    Q_SLOT void Timer1_Timer();
    Q_SLOT void Timer2_Timer() { WriteBackupFile(); }
    Q_SLOT void Check1_Click();
    Q_SLOT void Drive1_Change();
    Q_SLOT void Dir1_Change();

    // Commands.
    Q_SLOT void Command10_Click();
    Q_SLOT void IDMTXTCOPY_Click() { Command10_Click(); }
    Q_SLOT void Command11_Click();
    Q_SLOT void IDMTXTPAST_Click() { Command11_Click(); }
    Q_SLOT void Command12_Click();
    Q_SLOT void IDMTXTCUT_Click() { Command12_Click(); }
    Q_SLOT void Command13_Click();
    Q_SLOT void IDMTXTBACK_Click() { Command13_Click(); }
    Q_SLOT void Command19_Click();
    Q_SLOT void IDMALLSEL_Click() { Command19_Click(); }
    Q_SLOT void Command14_Click();
    Q_SLOT void Command15_Click();
    Q_SLOT void Command160_Click();
    Q_SLOT void Command24_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void IDMFontSize_Click() { Command4_Click(); }
    Q_SLOT void Command9_Click();
    Q_SLOT void IDMFontColor_Click() { Command9_Click(); }
    Q_SLOT void Command7_Click();
    Q_SLOT void IDMPaperColor_Click() { Command7_Click(); }
    Q_SLOT void Command5_Click();
    Q_SLOT void IDMPrint_Click() { Command5_Click(); }
    Q_SLOT void Command8_Click();
    Q_SLOT void IDMNewfile_Click() { Command8_Click(); }
    Q_SLOT void Command2_Click();
    Q_SLOT void Command23_Click();
    Q_SLOT void Command16_Click();
    Q_SLOT void Command20_Click();
    Q_SLOT void Command25_Click();
    Q_SLOT void IDMRE_Click();
    Q_SLOT void IDMFirst_Click();

private:
    void layoutControls();
    // The close steps of the close button, the menu and the unload; false
    // when the user asked to save and the save did not happen.
    bool closeSteps();
    void storeFormatting();
    void storePlace();
    void selectionChanged();
    // Loads `path` into the text; a failure is said, naming the file, and
    // changes nothing. A modified caption becomes the edit caption when the
    // load succeeded and `resetCaption` is set.
    bool loadShown(const QString &path, bool resetCaption);
    // A save that failed: says so, naming the file and the reason.
    void saveFailed(const QString &path, const vx::RuntimeError &e);
    // Before a step replaces the shown text: with unsaved changes, asks
    // whether to save them. False when the text must stay (cancelled, or the
    // save did not happen).
    bool mayReplaceText();
    // The text now matches a file (saved, or replaced by a load): no marker.
    void clearMarker();
    // Puts the list's selection back on the entry it had before a selection
    // the user cancelled, without loading it.
    void restoreListEntry();
    QString shownPath_;
    // The marker survives read mode here, out of the caption.
    bool markedInRead_ = false;
    // The list's entry as of the last selection that went through ("" none).
    QString listEntry_;
    bool restoringList_ = false;
    // The text as a plain text save: the encoding it came with, each line it
    // did not change with its own break. Text that encoding cannot hold asks
    // before the file becomes UTF-8, or is refused, naming the character:
    // false then, nothing written. Raises when the write fails.
    bool writePlain(const QString &path);
    // The overwrite save's write: a document read from rich text as rich
    // text, else as writePlain does.
    bool writeShown(const QString &path);
    // The text for a file of the program's own (backup, preview): in the
    // document's encoding, else in UTF-8, never asking.
    QByteArray plainCopy() const;
    // The printer dialog starts from the previous choice.
    std::shared_ptr<QPrinter> printer_;
};
