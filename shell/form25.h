#pragma once
// Settings of the small main window Form23: the launcher style for the next
// start, pointer and always-on-top for the suite, and the colour of Form23's
// buttons, which changes on the live window at once.
#include "platform/dialogs/dialogs.h"
#include "shell/mainsettings.h"

class Form25 : public shell::mainsettings::Window {
    Q_OBJECT
public:
    Form25();

    vx::Placed<vx::CommandButton> Command2{{120, 1830, 3240, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("ボタン色")};
    vx::Placed<vx::CommandButton> Command4{{120, 2325, 3240, 375}, this, QStringLiteral("Command4"),
                                           QStringLiteral("初期状態に戻す")};
    vx::Placed<vx::CommandButton> Command8{{3480, 2325, 3240, 375}, this, QStringLiteral("Command8"),
                                           QStringLiteral("閉じる")};
    vx::CommonDialog CommonDialog1{this};

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    Q_SLOT void Command2_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command8_Click();

private:
    void saveColours() override;
};
