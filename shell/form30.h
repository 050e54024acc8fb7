#pragma once
// The bar main window (style "Main0"): a grip, the list of tools and a go button.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/menu.h"

class Form30 : public vx::Form {
    Q_OBJECT
public:
    Form30();

    vx::Placed<vx::PictureBox> Picture1{{30, 15, 300, 300}, this, QStringLiteral("Picture1")};
    vx::Placed<vx::ComboBox> Combo1{{360, 15, 2295, 300}, this, QStringLiteral("Combo1"), 2};
    vx::Placed<vx::CommandButton> Command1{{2685, 15, 645, 300}, this, QStringLiteral("Command1"),
                                           QStringLiteral("起動")};
    vx::Menu mnuMain{this, QStringLiteral("mnuMain"), QStringLiteral("メイン"), false};
    vx::Menu mnuHelp{&mnuMain, QStringLiteral("mnuHelp"), QStringLiteral("ヘルプ(&H)")};
    vx::Menu mnuExit{&mnuMain, QStringLiteral("mnuExit"), QStringLiteral("終了(&E)")};

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    Q_SLOT void Command1_Click();
    Q_SLOT void Picture1_MouseDown(int button, int shift, float x, float y);
    Q_SLOT void Picture1_DblClick();
    Q_SLOT void mnuHelp_Click();
    Q_SLOT void mnuExit_Click();

private:
    // Returns only when the end was refused (unsaved work kept).
    void exitProgram();
};
