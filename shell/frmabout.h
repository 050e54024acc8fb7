#pragma once
// The about window: version, maker, links, and the way to the settings window
// of the launcher style in use.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

#include <array>

class frmAbout : public vx::Form {
    Q_OBJECT
public:
    frmAbout();

    // Ours to supply: the maker and where to reach them.
    static const QString kMaker;
    static const QString kWebAddress;
    static const QString kMailAddress;

    vx::PictureBox Image1{this, QStringLiteral("Image1")};
    vx::Label Label1{this, QStringLiteral("Label1")};
    vx::Label lblDescription{this, QStringLiteral("lblDescription")};
    vx::PictureBox Image2{this, QStringLiteral("Image2")};
    vx::Label Label2{this, QStringLiteral("Label2")};
    vx::PictureBox Picture1{this, QStringLiteral("Picture1")};
    vx::PictureBox Picture2{this, QStringLiteral("Picture2")};
    vx::PictureBox Picture3{this, QStringLiteral("Picture3")};
    vx::PictureBox Picture4{this, QStringLiteral("Picture4")};
    vx::PictureBox Picture5{this, QStringLiteral("Picture5")};
    vx::PictureBox Picture6{this, QStringLiteral("Picture6")};
    vx::CommandButton cmdSysInfo{this, QStringLiteral("cmdSysInfo"), QStringLiteral("Velmora 2002の設定")};
    vx::CommandButton cmdOK{this, QStringLiteral("cmdOK"), QStringLiteral("閉じる")};

    void Form_Load() override;
    Q_SLOT void cmdOK_Click();
    Q_SLOT void cmdSysInfo_Click();
    Q_SLOT void Image2_Click();
    Q_SLOT void Label2_Click();
};
