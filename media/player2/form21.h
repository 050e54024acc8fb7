#pragma once
// Settings of the second player Form20: colours, English captions, skin, the
// play speed (read live by the players), the MIDI device window and reset. It
// changes Form20's controls live and stores their colours and the speed when
// it closes.
#include "suite/windows/settingswindow.h"

class Form21 : public suite::PlayerSettingsWindow {
    Q_OBJECT
public:
    Form21();

    vx::CheckBox Check1{this, QStringLiteral("Check1"), QStringLiteral("英語表示機能")};
    vx::CommandButton Command13{this, QStringLiteral("Command13"), QStringLiteral("文字色")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("背景色")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("ボタン色")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("ボリューム背景色")};
    vx::CommandButton Command10{this, QStringLiteral("Command10"), QStringLiteral("ボリューム文字色")};
    vx::CommandButton Command9{this, QStringLiteral("Command9"), QStringLiteral("ファイル情報BOX背景色")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("ファイル情報BOX文字色")};
    vx::Label Label2{this, QStringLiteral("Label2"), QStringLiteral("■メディアファイルの再生速度の設定")};
    vx::ComboBox Combo1{this, QStringLiteral("Combo1"), 0};
    vx::Label Label4{this, QStringLiteral("Label4"), QStringLiteral("倍速")};
    vx::CommandButton Command18{this, QStringLiteral("Command18"), QStringLiteral("スキン変更")};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("MIDIデバイス変更")};
    vx::CommandButton Command17{this, QStringLiteral("Command17"), QStringLiteral("初期状態に戻す")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("閉じる")};
    // One dialog per colour button and one for the skin: each keeps its last choice.
    vx::CommonDialog CommonDialog1{this};
    vx::CommonDialog CommonDialog2{this};
    vx::CommonDialog CommonDialog3{this};
    vx::CommonDialog CommonDialog4{this};
    vx::CommonDialog CommonDialog5{this};
    vx::CommonDialog CommonDialog6{this};
    vx::CommonDialog CommonDialog7{this};
    vx::CommonDialog CommonDialog8{this};

    void Form_Load() override;
    void Check1_Click();
    void Command13_Click();
    void Command3_Click();
    void Command2_Click();
    void Command4_Click();
    void Command10_Click();
    void Command9_Click();
    void Command1_Click();
    void Command18_Click();
    void Command5_Click();

private:
    void store() override;
};
