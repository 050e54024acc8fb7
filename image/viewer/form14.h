#pragma once
// Settings of the first image viewer. Form2 reads Combo1 (zoom ratio) and
// HScroll1 (slide interval) live, so this window stays loaded beside it.
#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/scrollbar.h"

class Form14 : public vx::Form {
    Q_OBJECT
public:
    Form14();

    vx::Label Label1{this, QStringLiteral("Label1"), QStringLiteral("Graphic Rondixに関するすべての設定ができます。")};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral("スキン変更")};
    vx::CommandButton Command7{this, QStringLiteral("Command7"), QStringLiteral("壁紙変更")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("ファイルリストの背景色")};
    vx::CheckBox Check1{this, QStringLiteral("Check1"), QStringLiteral("英語表示機能")};
    vx::CheckBox Check2{this, QStringLiteral("Check2"), QStringLiteral("画像倍率固定機能")};
    vx::Label Label2{this, QStringLiteral("Label2"), QStringLiteral("■スライドショー機能の切替速度の設定(1000=約1秒)")};
    vx::TextBox Text1{this, QStringLiteral("Text1")};
    vx::HScrollBar HScroll1{this, QStringLiteral("HScroll1")};
    vx::Label Label3{this, QStringLiteral("Label3"), QStringLiteral("■画像の拡大倍率設定")};
    vx::ComboBox Combo1{this, QStringLiteral("Combo1"), 2};
    vx::Label Label4{this, QStringLiteral("Label4"), QStringLiteral("倍")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("設定の初期化")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("閉じる")};
    vx::CommonDialog CommonDialog7{this};
    vx::CommonDialog CommonDialog4{this};
    vx::CommonDialog CommonDialog1{this};

    // "Speed" as stored; a value the scroll bar cannot take gives the default.
    static int storedSpeed();

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    void Check1_Click();
    void Command3_Click();
    void Command7_Click();
    void Command6_Click();
    void Command4_Click();
    void Command8_Click();
    void HScroll1_Change();
    void Text1_Change();
};
