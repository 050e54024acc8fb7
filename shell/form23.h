#pragma once
// The small main window (style "Main2"): a bar of twelve picture buttons.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

#include <array>

class Form23 : public vx::Form {
    Q_OBJECT
public:
    Form23();

    vx::CommandButton Command1{this, QStringLiteral("Command1")};
    vx::CommandButton Command2{this, QStringLiteral("Command2")};
    vx::CommandButton Command3{this, QStringLiteral("Command3")};
    vx::CommandButton Command4{this, QStringLiteral("Command4")};
    vx::CommandButton Command5{this, QStringLiteral("Command5")};
    vx::CommandButton Command6{this, QStringLiteral("Command6")};
    vx::CommandButton Command7{this, QStringLiteral("Command7")};
    vx::CommandButton Command8{this, QStringLiteral("Command8")};
    vx::CommandButton Command9{this, QStringLiteral("Command9")};
    vx::CommandButton Command10{this, QStringLiteral("Command10")};
    vx::CommandButton Command11{this, QStringLiteral("Command11")};
    vx::CommandButton Command12{this, QStringLiteral("Command12")};

    std::array<vx::CommandButton *, 12> buttons();

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    Q_SLOT void Command1_Click();
    Q_SLOT void Command2_Click();
    Q_SLOT void Command3_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command5_Click();
    Q_SLOT void Command6_Click();
    Q_SLOT void Command7_Click();
    Q_SLOT void Command8_Click();
    Q_SLOT void Command9_Click();
    Q_SLOT void Command10_Click();
    Q_SLOT void Command11_Click();
    Q_SLOT void Command12_Click();

private:
    // Returns only when the end was refused (unsaved work kept).
    void exitProgram();
};
