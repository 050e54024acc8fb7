#pragma once
// Settings of the command-string player Form3: colours, English captions,
// the progress bar's look, the skin and reset. It changes Form3's controls
// live and stores seven of them when it closes.
#include "suite/windows/settingswindow.h"

class Form7 : public suite::PlayerSettingsWindow {
    Q_OBJECT
public:
    Form7();

    vx::Placed<vx::CheckBox> Check1{{120, 2400, 2415, 300}, this, QStringLiteral("Check1"),
                                    QStringLiteral("英語表示機能")};
    vx::Placed<vx::CommandButton> Command1{{2655, 480, 2040, 375}, this, QStringLiteral("Command1"),
                                           QStringLiteral("液晶画面色")};
    vx::Placed<vx::CommandButton> Command9{{4800, 480, 2040, 375}, this, QStringLiteral("Command9"),
                                           QStringLiteral("液晶画面文字色")};
    vx::Placed<vx::CommandButton> Command4{{2655, 960, 2040, 375}, this, QStringLiteral("Command4"),
                                           QStringLiteral("ボリューム背景色")};
    vx::Placed<vx::CommandButton> Command10{{4800, 960, 2040, 375}, this, QStringLiteral("Command10"),
                                            QStringLiteral("ボリューム文字色")};
    vx::Placed<vx::CommandButton> Command3{{2655, 1440, 2040, 375}, this, QStringLiteral("Command3"),
                                           QStringLiteral("背景色")};
    vx::Placed<vx::CommandButton> Command5{{4800, 1440, 2040, 375}, this, QStringLiteral("Command5"),
                                           QStringLiteral("文字色")};
    vx::Placed<vx::CommandButton> Command2{{2655, 1920, 2040, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("ボタン色")};
    vx::Placed<vx::CommandButton> Command14{{2655, 2400, 2040, 375}, this, QStringLiteral("Command14"),
                                            QStringLiteral("バーの色")};
    vx::Placed<vx::CommandButton> Command15{{4800, 2400, 2040, 375}, this, QStringLiteral("Command15"),
                                            QStringLiteral("バーの背景色")};
    vx::Placed<vx::CommandButton> Command16{{4800, 1920, 2040, 375}, this, QStringLiteral("Command16"),
                                            QStringLiteral("プログレスバーの種類")};
    vx::Placed<vx::CommandButton> Command6{{120, 2880, 2415, 375}, this, QStringLiteral("Command6"),
                                           QStringLiteral("スキン変更")};
    vx::Placed<vx::CommandButton> Command7{{2655, 2880, 4185, 375}, this, QStringLiteral("Command7"),
                                           QStringLiteral("MIDIデバイス変更")};
    vx::Placed<vx::CommandButton> Command17{{120, 3480, 3300, 375}, this, QStringLiteral("Command17"),
                                            QStringLiteral("初期状態に戻す")};
    vx::Placed<vx::CommandButton> Command8{{3540, 3480, 3300, 375}, this, QStringLiteral("Command8"),
                                           QStringLiteral("閉じる")};
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

    Q_SLOT void Check1_Click();
    Q_SLOT void Command1_Click();
    Q_SLOT void Command9_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command10_Click();
    Q_SLOT void Command3_Click();
    Q_SLOT void Command5_Click();
    Q_SLOT void Command2_Click();
    Q_SLOT void Command14_Click();
    Q_SLOT void Command15_Click();
    Q_SLOT void Command16_Click();
    Q_SLOT void Command6_Click();
    Q_SLOT void Command7_Click();

private:
    void store() override;
};
