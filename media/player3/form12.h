#pragma once
// Settings of the third player FormVX3: colours, English captions, skin, the
// MIDI device window and reset. It changes FormVX3's controls live and stores
// their colours when it closes.
#include "suite/windows/settingswindow.h"

class Form12 : public suite::PlayerSettingsWindow {
    Q_OBJECT
public:
    Form12();

    vx::CheckBox Check1{this, QStringLiteral("Check1"), QStringLiteral("英語表示機能")};
    vx::CommandButton Command13{this, QStringLiteral("Command13"), QStringLiteral("文字色")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("背景色")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("ボタン色")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("ボリューム背景色")};
    vx::CommandButton Command10{this, QStringLiteral("Command10"), QStringLiteral("ボリューム文字色")};
    vx::CommandButton Command18{this, QStringLiteral("Command18"), QStringLiteral("スキン変更")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("MIDIデバイス変更")};
    vx::CommandButton Command17{this, QStringLiteral("Command17"), QStringLiteral("初期状態に戻す")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("閉じる")};
    // One dialog per colour button and one for the skin: each keeps its last choice.
    vx::CommonDialog CommonDialog1{this};
    vx::CommonDialog CommonDialog2{this};
    vx::CommonDialog CommonDialog3{this};
    vx::CommonDialog CommonDialog4{this};
    vx::CommonDialog CommonDialog5{this};
    vx::CommonDialog CommonDialog6{this};

    void Check1_Click();
    void Command13_Click();
    void Command3_Click();
    void Command2_Click();
    void Command4_Click();
    void Command10_Click();
    void Command18_Click();
    void Command1_Click();

private:
    void store() override;
};
