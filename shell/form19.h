#pragma once
// Settings of the button main window Form1: the launcher style for the next
// start, pointer and always-on-top for the suite, and Form1's colours, which
// change on the live window at once.
#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

class Form19 : public vx::Form {
    Q_OBJECT
public:
    Form19();

    vx::Label Label1{this, QStringLiteral("Label1"), QStringLiteral("Velmora 2002メイン画面に関する設定ができます。")};
    vx::Label Label2{this, QStringLiteral("Label2"), QStringLiteral("☆メインフォームの種類(大きさ)☆")};
    vx::ComboBox Combo1{this, QStringLiteral("Combo1"), 0};
    vx::CheckBox Check1{this, QStringLiteral("Check1"), QStringLiteral("カーソルはやっぱ通常がいい")};
    vx::CheckBox Check2{this, QStringLiteral("Check2"), QStringLiteral("メイン画面を常に手前に表示する(次回起動時有効)")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("文字色")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("ボタン色")};
    vx::CommandButton Command7{this, QStringLiteral("Command7"), QStringLiteral("壁紙変更")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("テキストボックスの色")};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("テキストボックスの文字色")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("初期状態に戻す")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("閉じる")};
    vx::CommonDialog CommonDialog1{this};
    vx::CommonDialog CommonDialog2{this};
    vx::CommonDialog CommonDialog3{this};
    vx::CommonDialog CommonDialog4{this};
    vx::CommonDialog CommonDialog5{this};

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    void Check1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command7_Click();
    void Command8_Click();

private:
    // Form1's five colours, as its load reads them.
    void saveColours();
};
