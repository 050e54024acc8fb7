#pragma once
// The bar main window (style "Main0"): a grip, the list of tools and a go button.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/menu.h"

class Form30 : public vx::Form {
    Q_OBJECT
public:
    Form30();

    vx::PictureBox Picture1{this, QStringLiteral("Picture1")};
    vx::ComboBox Combo1{this, QStringLiteral("Combo1"), 2};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("起動")};
    vx::Menu mnuMain{this, QStringLiteral("mnuMain"), QStringLiteral("メイン"), false};
    vx::Menu mnuHelp{&mnuMain, QStringLiteral("mnuHelp"), QStringLiteral("ヘルプ(&H)")};
    vx::Menu mnuExit{&mnuMain, QStringLiteral("mnuExit"), QStringLiteral("終了(&E)")};

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    void Command1_Click();
    void Picture1_MouseDown(int button, int shift, float x, float y);
    void Picture1_DblClick();
    void mnuHelp_Click();
    void mnuExit_Click();

private:
    // Returns only when the end was refused (unsaved work kept).
    void exitProgram();
};
