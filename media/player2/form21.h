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

    vx::Placed<vx::CheckBox> Check1{{120, 2400, 2415, 300}, this, QStringLiteral("Check1"),
                                    QStringLiteral("英語表示機能")};
    vx::Placed<vx::CommandButton> Command13{{2655, 480, 2145, 375}, this, QStringLiteral("Command13"),
                                            QStringLiteral("文字色")};
    vx::Placed<vx::CommandButton> Command3{{4815, 480, 2145, 375}, this, QStringLiteral("Command3"),
                                           QStringLiteral("背景色")};
    vx::Placed<vx::CommandButton> Command2{{2655, 1920, 2145, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("ボタン色")};
    vx::Placed<vx::CommandButton> Command4{{2655, 960, 2145, 375}, this, QStringLiteral("Command4"),
                                           QStringLiteral("ボリューム背景色")};
    vx::Placed<vx::CommandButton> Command10{{4815, 960, 2145, 375}, this, QStringLiteral("Command10"),
                                            QStringLiteral("ボリューム文字色")};
    vx::Placed<vx::CommandButton> Command9{{2655, 1440, 2145, 375}, this, QStringLiteral("Command9"),
                                           QStringLiteral("ファイル情報BOX背景色")};
    vx::Placed<vx::CommandButton> Command1{{4815, 1440, 2145, 375}, this, QStringLiteral("Command1"),
                                           QStringLiteral("ファイル情報BOX文字色")};
    vx::Placed<vx::Label> Label2{{2655, 2430, 4305, 255}, this, QStringLiteral("Label2"),
                                 QStringLiteral("■メディアファイルの再生速度の設定")};
    vx::Placed<vx::ComboBox> Combo1{{2655, 2760, 1200, 300}, this, QStringLiteral("Combo1"), 0};
    vx::Placed<vx::Label> Label4{{3960, 2805, 900, 255}, this, QStringLiteral("Label4"), QStringLiteral("倍速")};
    vx::Placed<vx::CommandButton> Command18{{120, 3360, 2415, 375}, this, QStringLiteral("Command18"),
                                            QStringLiteral("スキン変更")};
    vx::Placed<vx::CommandButton> Command5{{2655, 3360, 4305, 375}, this, QStringLiteral("Command5"),
                                           QStringLiteral("MIDIデバイス変更")};
    vx::Placed<vx::CommandButton> Command17{{120, 3960, 3360, 375}, this, QStringLiteral("Command17"),
                                            QStringLiteral("初期状態に戻す")};
    vx::Placed<vx::CommandButton> Command8{{3600, 3960, 3360, 375}, this, QStringLiteral("Command8"),
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

    void Form_Load() override;
    Q_SLOT void Check1_Click();
    Q_SLOT void Command13_Click();
    Q_SLOT void Command3_Click();
    Q_SLOT void Command2_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command10_Click();
    Q_SLOT void Command9_Click();
    Q_SLOT void Command1_Click();
    Q_SLOT void Command18_Click();
    Q_SLOT void Command5_Click();

private:
    void store() override;
};
