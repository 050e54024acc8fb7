#pragma once
// The first image viewer: drive, folder and file lists, one picture, a slide
// show, zoom, copy, save, print and the picture window Form32.
#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/forms/filelists.h"
#include "platform/forms/form.h"
#include "platform/imaging/imagebox.h"
#include "platform/forms/menu.h"
#include "platform/imaging/picture.h"

class Form2 : public vx::Form {
    Q_OBJECT
public:
    Form2();

    vx::CommandButton Command9{this, QStringLiteral("Command9"), QStringLiteral("前へ")};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral("次へ")};
    vx::CommandButton Command13{this, QStringLiteral("Command13"), QStringLiteral("Viewer")};
    vx::CommandButton Command10{this, QStringLiteral("Command10"), QStringLiteral("スライドショー")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("拡大")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("縮小")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("リセット")};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("ズーム")};
    vx::CommandButton Command7{this, QStringLiteral("Command7"), QStringLiteral("コピー")};
    vx::CommandButton Command11{this, QStringLiteral("Command11"), QStringLiteral("プロパティ")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("設定")};
    vx::CommandButton Command12{this, QStringLiteral("Command12"), QStringLiteral("ZQⅡ")};
    vx::DriveListBox Drive1{this, QStringLiteral("Drive1")};
    vx::DirListBox Dir1{this, QStringLiteral("Dir1")};
    vx::FileListBox File1{this, QStringLiteral("File1")};
    vx::Label Label1{this, QStringLiteral("Label1")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("閉じる")};
    vx::ImageBox Image1{this, QStringLiteral("Image1")};
    vx::Timer Timer1{this, QStringLiteral("Timer1"), 5000, false};
    vx::CommonDialog CommonDialog1{this};
    vx::CommonDialog CommonDialog2{this};

    vx::Menu IDMFile{this, QStringLiteral("IDMFile"), QStringLiteral("ファイル")};
    vx::Menu IDMOPEN{&IDMFile, QStringLiteral("IDMOPEN"), QStringLiteral("開く")};
    vx::Menu IDMSave{&IDMFile, QStringLiteral("IDMSave"), QStringLiteral("保存")};
    vx::Menu IDMPRO{&IDMFile, QStringLiteral("IDMPRO"), QStringLiteral("プロパティ")};
    vx::Menu IDMEdit{this, QStringLiteral("IDMEdit"), QStringLiteral("編集")};
    vx::Menu IDMCOPY{&IDMEdit, QStringLiteral("IDMCOPY"), QStringLiteral("クリップボードにコピー")};
    vx::Menu IDMPrint{this, QStringLiteral("IDMPrint"), QStringLiteral("印刷")};
    vx::Menu IDMSRIDE{this, QStringLiteral("IDMSRIDE"), QStringLiteral("スライドショー")};
    vx::Menu IDMSizeChange{this, QStringLiteral("IDMSizeChange"), QStringLiteral("サイズ変更")};
    vx::Menu IDMZOOM{this, QStringLiteral("IDMZOOM"), QStringLiteral("ズーム")};
    vx::Menu IDMSET{this, QStringLiteral("IDMSET"), QStringLiteral("設定")};
    vx::Menu BottonColor{this, QStringLiteral("BottonColor"), QStringLiteral("ボタン色の設定を読み込む")};

    // The window's background picture (set by Form14, never stored).
    const vx::Picture &Picture() const { return picture_; }
    void setPicture(const vx::Picture &p);

    // The folder list's path joined with the selected file name.
    QString shownFile() const;

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    void Command1_Click();
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void Command6_Click();
    void Command9_Click();
    void Command10_Click();
    void IDMSRIDE_Click() { Command10_Click(); }
    void Timer1_Timer();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void IDMZOOM_Click() { Command5_Click(); }
    void Command13_Click();
    void Command7_Click();
    void IDMCOPY_Click() { Command7_Click(); }
    void Command11_Click();
    void IDMPRO_Click() { Command11_Click(); }
    void IDMOPEN_Click();
    void IDMSave_Click();
    void IDMPrint_Click();
    void File1_OLEDragDrop(const QStringList &files);
    void Command8_Click();
    void IDMSET_Click() { Command8_Click(); }
    void IDMSizeChange_Click();
    void BottonColor_Click();
    void Image1_MouseDown(int button, int shift, float x, float y);
    void Command12_Click();

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    void saveAndHide();
    void showBrowser();
    vx::Picture picture_;
};
