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

    vx::Placed<vx::CommandButton> Command9{{120, 120, 1335, 375}, this, QStringLiteral("Command9"),
                                           QStringLiteral("前へ")};
    vx::Placed<vx::CommandButton> Command6{{1455, 120, 1335, 375}, this, QStringLiteral("Command6"),
                                           QStringLiteral("次へ")};
    vx::Placed<vx::CommandButton> Command13{{2790, 120, 1215, 375}, this, QStringLiteral("Command13"),
                                            QStringLiteral("Viewer")};
    vx::Placed<vx::CommandButton> Command10{{4005, 120, 1335, 375}, this, QStringLiteral("Command10"),
                                            QStringLiteral("スライドショー")};
    vx::Placed<vx::CommandButton> Command2{{5340, 120, 855, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("拡大")};
    vx::Placed<vx::CommandButton> Command3{{6195, 120, 855, 375}, this, QStringLiteral("Command3"),
                                           QStringLiteral("縮小")};
    vx::Placed<vx::CommandButton> Command4{{7050, 120, 855, 375}, this, QStringLiteral("Command4"),
                                           QStringLiteral("リセット")};
    vx::Placed<vx::CommandButton> Command5{{7905, 120, 855, 375}, this, QStringLiteral("Command5"),
                                           QStringLiteral("ズーム")};
    vx::Placed<vx::CommandButton> Command7{{8760, 120, 855, 375}, this, QStringLiteral("Command7"),
                                           QStringLiteral("コピー")};
    vx::Placed<vx::CommandButton> Command11{{9615, 120, 1095, 375}, this, QStringLiteral("Command11"),
                                            QStringLiteral("プロパティ")};
    vx::Placed<vx::CommandButton> Command8{{10710, 120, 735, 375}, this, QStringLiteral("Command8"),
                                           QStringLiteral("設定")};
    vx::Placed<vx::CommandButton> Command12{{11445, 120, 735, 375}, this, QStringLiteral("Command12"),
                                            QStringLiteral("ZQⅡ")};
    vx::Placed<vx::DriveListBox> Drive1{{120, 600, 2415, 300}, this, QStringLiteral("Drive1")};
    vx::Placed<vx::DirListBox> Dir1{{120, 960, 2415, 2400}, this, QStringLiteral("Dir1")};
    vx::Placed<vx::FileListBox> File1{{120, 3480, 2415, 4050}, this, QStringLiteral("File1")};
    vx::Placed<vx::Label> Label1{{120, 7680, 2415, 255}, this, QStringLiteral("Label1")};
    vx::Placed<vx::CommandButton> Command1{{120, 8040, 2415, 375}, this, QStringLiteral("Command1"),
                                           QStringLiteral("閉じる")};
    vx::Placed<vx::ImageBox> Image1{{2640, 600, 9540, 7785}, this, QStringLiteral("Image1")};
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
    Q_SLOT void Command1_Click();
    Q_SLOT void Drive1_Change();
    Q_SLOT void Dir1_Change();
    Q_SLOT void File1_Click();
    Q_SLOT void Command6_Click();
    Q_SLOT void Command9_Click();
    Q_SLOT void Command10_Click();
    Q_SLOT void IDMSRIDE_Click() { Command10_Click(); }
    Q_SLOT void Timer1_Timer();
    Q_SLOT void Command2_Click();
    Q_SLOT void Command3_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command5_Click();
    Q_SLOT void IDMZOOM_Click() { Command5_Click(); }
    Q_SLOT void Command13_Click();
    Q_SLOT void Command7_Click();
    Q_SLOT void IDMCOPY_Click() { Command7_Click(); }
    Q_SLOT void Command11_Click();
    Q_SLOT void IDMPRO_Click() { Command11_Click(); }
    Q_SLOT void IDMOPEN_Click();
    Q_SLOT void IDMSave_Click();
    Q_SLOT void IDMPrint_Click();
    Q_SLOT void File1_OLEDragDrop(const QStringList &files);
    Q_SLOT void Command8_Click();
    Q_SLOT void IDMSET_Click() { Command8_Click(); }
    Q_SLOT void IDMSizeChange_Click();
    Q_SLOT void BottonColor_Click();
    Q_SLOT void Image1_MouseDown(int button, int shift, float x, float y);
    Q_SLOT void Command12_Click();

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    void saveAndHide();
    void showBrowser();
    vx::Picture picture_;
};
