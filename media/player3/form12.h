#pragma once
// Settings of the third player FormVX3: colours, English captions, skin, the
// MIDI device window and reset. It changes FormVX3's controls live and stores
// their colours when it closes.
#include "suite/windows/settingswindow.h"

class Form12 : public suite::PlayerSettingsWindow {
    Q_OBJECT
public:
    Form12();

    vx::Placed<vx::CheckBox> Check1{{120, 2400, 2415, 300}, this, QStringLiteral("Check1"),
                                    QStringLiteral("英語表示機能")};
    vx::Placed<vx::CommandButton> Command13{{2655, 480, 2145, 375}, this, QStringLiteral("Command13"),
                                            QStringLiteral("文字色")};
    vx::Placed<vx::CommandButton> Command3{{4815, 480, 2145, 375}, this, QStringLiteral("Command3"),
                                           QStringLiteral("背景色")};
    vx::Placed<vx::CommandButton> Command2{{2655, 1440, 2145, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("ボタン色")};
    vx::Placed<vx::CommandButton> Command4{{2655, 960, 2145, 375}, this, QStringLiteral("Command4"),
                                           QStringLiteral("ボリューム背景色")};
    vx::Placed<vx::CommandButton> Command10{{4815, 960, 2145, 375}, this, QStringLiteral("Command10"),
                                            QStringLiteral("ボリューム文字色")};
    vx::Placed<vx::CommandButton> Command18{{120, 2880, 2415, 375}, this, QStringLiteral("Command18"),
                                            QStringLiteral("スキン変更")};
    vx::Placed<vx::CommandButton> Command1{{2655, 2880, 4305, 375}, this, QStringLiteral("Command1"),
                                           QStringLiteral("MIDIデバイス変更")};
    vx::Placed<vx::CommandButton> Command17{{120, 3480, 3360, 375}, this, QStringLiteral("Command17"),
                                            QStringLiteral("初期状態に戻す")};
    vx::Placed<vx::CommandButton> Command8{{3600, 3480, 3360, 375}, this, QStringLiteral("Command8"),
                                           QStringLiteral("閉じる")};
    // One dialog per colour button and one for the skin: each keeps its last choice.
    vx::CommonDialog CommonDialog1{this};
    vx::CommonDialog CommonDialog2{this};
    vx::CommonDialog CommonDialog3{this};
    vx::CommonDialog CommonDialog4{this};
    vx::CommonDialog CommonDialog5{this};
    vx::CommonDialog CommonDialog6{this};

    Q_SLOT void Check1_Click();
    Q_SLOT void Command13_Click();
    Q_SLOT void Command3_Click();
    Q_SLOT void Command2_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command10_Click();
    Q_SLOT void Command18_Click();
    Q_SLOT void Command1_Click();

private:
    void store() override;
};
