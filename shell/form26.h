#pragma once
// Settings of the bar main window Form30: the launcher style for the next
// start, pointer and always-on-top for the suite, and Form30's colours, which
// change on the live window at once.
#include "platform/dialogs/dialogs.h"
#include "shell/mainsettings.h"

class Form26 : public shell::mainsettings::Window {
    Q_OBJECT
public:
    Form26();

    vx::Placed<vx::CommandButton> Command2{{120, 1830, 3240, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("ボタンの色")};
    vx::Placed<vx::CommandButton> Command7{{3480, 1830, 3240, 375}, this, QStringLiteral("Command7"),
                                           QStringLiteral("壁紙変更")};
    vx::Placed<vx::CommandButton> Command3{{120, 2265, 3240, 375}, this, QStringLiteral("Command3"),
                                           QStringLiteral("コンボボックスの色")};
    vx::Placed<vx::CommandButton> Command5{{3480, 2265, 3240, 375}, this, QStringLiteral("Command5"),
                                           QStringLiteral("コンボボックスの文字色")};
    vx::Placed<vx::CommandButton> Command4{{120, 2760, 3240, 375}, this, QStringLiteral("Command4"),
                                           QStringLiteral("初期状態に戻す")};
    vx::Placed<vx::CommandButton> Command8{{3480, 2760, 3240, 375}, this, QStringLiteral("Command8"),
                                           QStringLiteral("閉じる")};
    vx::CommonDialog CommonDialog1{this};
    vx::CommonDialog CommonDialog2{this};
    vx::CommonDialog CommonDialog3{this};
    vx::CommonDialog CommonDialog4{this};

    void Form_Unload(int &cancel) override;
    Q_SLOT void Command2_Click();
    Q_SLOT void Command3_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command5_Click();
    Q_SLOT void Command7_Click();
    Q_SLOT void Command8_Click();

private:
    // Form30's four colours, as its load reads them.
    void saveColours() override;
};
