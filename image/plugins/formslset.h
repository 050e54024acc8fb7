#pragma once
// Settings of the plug-in image viewer Form15. Its slider sets the viewer's
// running slide interval; a slide show starts with Form17's.
#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/scrollbar.h"

class FormSLSet : public vx::Form {
    Q_OBJECT
public:
    FormSLSet();

    vx::Label Label1{this, QStringLiteral("Label1"), QStringLiteral("Susie Rondixに関するすべての設定ができます。")};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral("スキン変更")};
    vx::CommandButton Command7{this, QStringLiteral("Command7"), QStringLiteral("壁紙変更")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("ボタン色")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("ピクチャーボックスの背景色")};
    vx::CommandButton Command12{this, QStringLiteral("Command12"), QStringLiteral("ファイル名やフォルダ名のフォント")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("ファイルリストの背景色")};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("ファイル数の背景色")};
    vx::Label Label2{this, QStringLiteral("Label2"), QStringLiteral("■スライドショー機能の切替速度の設定(1000=約1秒)")};
    vx::TextBox Text1{this, QStringLiteral("Text1")};
    vx::HScrollBar HScroll1{this, QStringLiteral("HScroll1")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("初期状態に戻す")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("閉じる")};
    vx::CommonDialog CommonDialog1{this};
    vx::CommonDialog CommonDialog2{this};
    vx::CommonDialog CommonDialog3{this};
    vx::CommonDialog CommonDialog4{this};
    vx::CommonDialog CommonDialog5{this};
    vx::CommonDialog CommonDialog6{this};
    vx::CommonDialog CommonDialog7{this};

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    void Command1_Click();
    void Command12_Click();
    void Command2_Click();
    void Command3_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command4_Click();
    void Command8_Click();
    void HScroll1_Change();
    void Text1_Change();

private:
    void storeLook();
    bool loading_ = false;
};
