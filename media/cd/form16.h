#pragma once
// Settings of the CD player Form8: the colours of its volume label, picture
// lists and buttons and its skin, applied to Form8 at once; four colours are
// stored when this window closes, the skin when it is chosen.
#include "suite/windows/settingswindow.h"

class Form16 : public suite::PlayerSettingsWindow {
    Q_OBJECT
public:
    Form16();

    vx::Placed<vx::CommandButton> Command1{{2655, 480, 2100, 375}, this, QStringLiteral("Command1"),
                                           QStringLiteral("ボリュームの背景色")};
    vx::Placed<vx::CommandButton> Command5{{4860, 480, 2100, 375}, this, QStringLiteral("Command5"),
                                           QStringLiteral("ボリュームのフォント色")};
    vx::Placed<vx::CommandButton> Command3{{2655, 960, 2100, 375}, this, QStringLiteral("Command3"),
                                           QStringLiteral("背景色")};
    vx::Placed<vx::CommandButton> Command4{{4860, 960, 2100, 375}, this, QStringLiteral("Command4"),
                                           QStringLiteral("文字色")};
    vx::Placed<vx::CommandButton> Command2{{2655, 1440, 2100, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("ボタン色")};
    vx::Placed<vx::CommandButton> Command6{{4860, 1440, 2100, 375}, this, QStringLiteral("Command6"),
                                           QStringLiteral("スキン変更")};
    vx::Placed<vx::CommandButton> Command17{{120, 2460, 3360, 375}, this, QStringLiteral("Command17"),
                                            QStringLiteral("設定の初期化")};
    vx::Placed<vx::CommandButton> Command8{{3600, 2460, 3360, 375}, this, QStringLiteral("Command8"),
                                           QStringLiteral("閉じる")};
    // One dialog per colour button and one for the skin: each keeps its last choice.
    vx::CommonDialog CommonDialog1{this};
    vx::CommonDialog CommonDialog2{this};
    vx::CommonDialog CommonDialog3{this};
    vx::CommonDialog CommonDialog4{this};
    vx::CommonDialog CommonDialog5{this};
    vx::CommonDialog CommonDialog6{this};

    Q_SLOT void Command1_Click();
    Q_SLOT void Command5_Click();
    Q_SLOT void Command3_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command2_Click();
    Q_SLOT void Command6_Click();

private:
    void store() override;
    // The close button unloads this window.
    void leave() override { Unload(); }
};
