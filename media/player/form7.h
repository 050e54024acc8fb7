#pragma once
// Settings of the command-string player Form3: colours, English captions,
// the progress bar's look, the skin and reset. It changes Form3's controls
// live and stores seven of them when it closes.
#include "suite/windows/settingswindow.h"

class Form7 : public suite::PlayerSettingsWindow {
    Q_OBJECT
public:
    Form7();

    vx::CheckBox Check1{this, QStringLiteral("Check1"), QStringLiteral("英語表示機能")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("液晶画面色")};
    vx::CommandButton Command9{this, QStringLiteral("Command9"), QStringLiteral("液晶画面文字色")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("ボリューム背景色")};
    vx::CommandButton Command10{this, QStringLiteral("Command10"), QStringLiteral("ボリューム文字色")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("背景色")};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("文字色")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("ボタン色")};
    vx::CommandButton Command14{this, QStringLiteral("Command14"), QStringLiteral("バーの色")};
    vx::CommandButton Command15{this, QStringLiteral("Command15"), QStringLiteral("バーの背景色")};
    vx::CommandButton Command16{this, QStringLiteral("Command16"), QStringLiteral("プログレスバーの種類")};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral("スキン変更")};
    vx::CommandButton Command7{this, QStringLiteral("Command7"), QStringLiteral("MIDIデバイス変更")};
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
    vx::CommonDialog CommonDialog9{this};
    vx::CommonDialog CommonDialog10{this};

    void Check1_Click();
    void Command1_Click();
    void Command9_Click();
    void Command4_Click();
    void Command10_Click();
    void Command3_Click();
    void Command5_Click();
    void Command2_Click();
    void Command14_Click();
    void Command15_Click();
    void Command16_Click();
    void Command6_Click();
    void Command7_Click();

private:
    void store() override;
};
