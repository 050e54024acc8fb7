#pragma once
// Settings of the thumbnail browser. frmSum and Form33 read Combo1 (zoom
// ratio) and HScroll1 (slide interval) live, so this window stays loaded.
#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/scrollbar.h"

class Form18 : public vx::Form {
    Q_OBJECT
public:
    Form18();

    vx::Label Label1{this, QStringLiteral("Label1"), QStringLiteral("Graphic Rondix Ⅱ に関するすべての設定ができます。")};
    vx::CommandButton Command7{this, QStringLiteral("Command7"), QStringLiteral("壁紙変更")};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral("スキン変更")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("ファイルリストの背景色")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("サムネイルの背景色")};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("プログレスバーの色")};
    vx::CommandButton Command9{this, QStringLiteral("Command9"), QStringLiteral("プログレスバーの背景色")};
    vx::CommandButton Command11{this, QStringLiteral("Command11"), QStringLiteral("フルスクリーンの背景色")};
    vx::CheckBox Check1{this, QStringLiteral("Check1"), QStringLiteral("画像は新規ウインドウで表示する")};
    vx::CheckBox Check2{this, QStringLiteral("Check2"), QStringLiteral("画像倍率固定機能")};
    vx::Label Label3{this, QStringLiteral("Label3"), QStringLiteral("■画像の拡大倍率設定")};
    vx::ComboBox Combo1{this, QStringLiteral("Combo1"), 2};
    vx::Label Label4{this, QStringLiteral("Label4"), QStringLiteral("倍")};
    vx::Label Label2{this, QStringLiteral("Label2"), QStringLiteral("■スライドショー機能の切替速度の設定(1000=約1秒)")};
    vx::HScrollBar HScroll1{this, QStringLiteral("HScroll1")};
    vx::TextBox Text1{this, QStringLiteral("Text1")};
    vx::CommandButton Command10{this, QStringLiteral("Command10"), QStringLiteral("設定の初期化")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("閉じる")};
    vx::CommonDialog CommonDialog1{this};
    vx::CommonDialog CommonDialog4{this};
    vx::CommonDialog CommonDialog6{this};
    vx::CommonDialog CommonDialog7{this};
    vx::CommonDialog CommonDialog8{this};
    vx::CommonDialog CommonDialog9{this};
    vx::CommonDialog CommonDialog10{this};

    // "Speed" as stored; a value the scroll bar cannot take gives the default.
    static int storedSpeed();

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    void Command7_Click();
    void Command6_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command9_Click();
    void Command11_Click();
    void HScroll1_Change();
    void Text1_Change();
    void Command8_Click();
    void Command10_Click();
};
