#pragma once
// Settings of the button main window Form1: the launcher style for the next
// start, pointer and always-on-top for the suite, and Form1's colours, which
// change on the live window at once.
#include "platform/dialogs/dialogs.h"
#include "shell/mainsettings.h"

class Form19 : public shell::mainsettings::Window {
    Q_OBJECT
public:
    Form19();

    vx::Placed<vx::CommandButton> Command1{{120, 1830, 2130, 375}, this, QStringLiteral("Command1"),
                                           QStringLiteral("文字色")};
    vx::Placed<vx::CommandButton> Command2{{2355, 1830, 2130, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("ボタン色")};
    vx::Placed<vx::CommandButton> Command7{{4590, 1830, 2130, 375}, this, QStringLiteral("Command7"),
                                           QStringLiteral("壁紙変更")};
    vx::Placed<vx::CommandButton> Command3{{120, 2265, 3240, 375}, this, QStringLiteral("Command3"),
                                           QStringLiteral("テキストボックスの色")};
    vx::Placed<vx::CommandButton> Command5{{3480, 2265, 3240, 375}, this, QStringLiteral("Command5"),
                                           QStringLiteral("テキストボックスの文字色")};
    vx::Placed<vx::CommandButton> Command4{{120, 2760, 3240, 375}, this, QStringLiteral("Command4"),
                                           QStringLiteral("初期状態に戻す")};
    vx::Placed<vx::CommandButton> Command8{{3480, 2760, 3240, 375}, this, QStringLiteral("Command8"),
                                           QStringLiteral("閉じる")};
    vx::CommonDialog CommonDialog1{this};
    vx::CommonDialog CommonDialog2{this};
    vx::CommonDialog CommonDialog3{this};
    vx::CommonDialog CommonDialog4{this};
    vx::CommonDialog CommonDialog5{this};

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    Q_SLOT void Command1_Click();
    Q_SLOT void Command2_Click();
    Q_SLOT void Command3_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command5_Click();
    Q_SLOT void Command7_Click();
    Q_SLOT void Command8_Click();

private:
    // Form1's five colours, as its load reads them.
    void saveColours() override;
};
