#pragma once
// Settings of the CD player Form8: the colours of its volume label, picture
// lists and buttons and its skin, applied to Form8 at once; four colours are
// stored when this window closes, the skin when it is chosen.
#include "suite/windows/settingswindow.h"

class Form16 : public suite::PlayerSettingsWindow {
    Q_OBJECT
public:
    Form16();

    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("ボリュームの背景色")};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("ボリュームのフォント色")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("背景色")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("文字色")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("ボタン色")};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral("スキン変更")};
    vx::CommandButton Command17{this, QStringLiteral("Command17"), QStringLiteral("設定の初期化")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("閉じる")};
    // One dialog per colour button and one for the skin: each keeps its last choice.
    vx::CommonDialog CommonDialog1{this};
    vx::CommonDialog CommonDialog2{this};
    vx::CommonDialog CommonDialog3{this};
    vx::CommonDialog CommonDialog4{this};
    vx::CommonDialog CommonDialog5{this};
    vx::CommonDialog CommonDialog6{this};

    void Command1_Click();
    void Command5_Click();
    void Command3_Click();
    void Command4_Click();
    void Command2_Click();
    void Command6_Click();

private:
    void store() override;
    // The close button unloads this window.
    void leave() override { Unload(); }
};
