#pragma once
// Settings of the thumbnail browser. frmSum and Form33 read Combo1 (zoom
// ratio) and HScroll1 (slide interval) live, so this window stays loaded.
#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/scrollbar.h"

class Form18 : public vx::Form {
    Q_OBJECT
public:
    Form18();

    vx::Placed<vx::Label> Label1{{120, 120, 6615, 255}, this, QStringLiteral("Label1"),
                                 QStringLiteral("Graphic Rondix Ⅱ に関するすべての設定ができます。")};
    vx::Placed<vx::CommandButton> Command7{{120, 480, 3255, 375}, this, QStringLiteral("Command7"),
                                           QStringLiteral("壁紙変更")};
    vx::Placed<vx::CommandButton> Command6{{3480, 480, 3255, 375}, this, QStringLiteral("Command6"),
                                           QStringLiteral("スキン変更")};
    vx::Placed<vx::CommandButton> Command3{{120, 960, 3255, 375}, this, QStringLiteral("Command3"),
                                           QStringLiteral("ファイルリストの背景色")};
    vx::Placed<vx::CommandButton> Command4{{3480, 960, 3255, 375}, this, QStringLiteral("Command4"),
                                           QStringLiteral("サムネイルの背景色")};
    vx::Placed<vx::CommandButton> Command5{{120, 1440, 3255, 375}, this, QStringLiteral("Command5"),
                                           QStringLiteral("プログレスバーの色")};
    vx::Placed<vx::CommandButton> Command9{{3480, 1440, 3255, 375}, this, QStringLiteral("Command9"),
                                           QStringLiteral("プログレスバーの背景色")};
    vx::Placed<vx::CommandButton> Command11{{120, 1920, 3255, 375}, this, QStringLiteral("Command11"),
                                            QStringLiteral("フルスクリーンの背景色")};
    vx::Placed<vx::CheckBox> Check1{{120, 2400, 6615, 375}, this, QStringLiteral("Check1"),
                                    QStringLiteral("画像は新規ウインドウで表示する")};
    vx::Placed<vx::CheckBox> Check2{{120, 2880, 6615, 375}, this, QStringLiteral("Check2"),
                                    QStringLiteral("画像倍率固定機能")};
    vx::Placed<vx::Label> Label3{{120, 3360, 2295, 255}, this, QStringLiteral("Label3"),
                                 QStringLiteral("■画像の拡大倍率設定")};
    vx::Placed<vx::ComboBox> Combo1{{120, 3600, 735, 300}, this, QStringLiteral("Combo1"), 2};
    vx::Placed<vx::Label> Label4{{960, 3660, 615, 255}, this, QStringLiteral("Label4"), QStringLiteral("倍")};
    vx::Placed<vx::Label> Label2{{120, 4080, 6615, 255}, this, QStringLiteral("Label2"),
                                 QStringLiteral("■スライドショー機能の切替速度の設定(1000=約1秒)")};
    vx::Placed<vx::HScrollBar> HScroll1{{1080, 4380, 5655, 255}, this, QStringLiteral("HScroll1")};
    vx::Placed<vx::TextBox> Text1{{120, 4380, 855, 270}, this, QStringLiteral("Text1")};
    vx::Placed<vx::CommandButton> Command10{{120, 5040, 3255, 375}, this, QStringLiteral("Command10"),
                                            QStringLiteral("設定の初期化")};
    vx::Placed<vx::CommandButton> Command8{{3480, 5040, 3255, 375}, this, QStringLiteral("Command8"),
                                           QStringLiteral("閉じる")};
    vx::CommonDialog CommonDialog1{this};
    vx::CommonDialog CommonDialog4{this};
    vx::CommonDialog CommonDialog6{this};
    vx::CommonDialog CommonDialog7{this};
    vx::CommonDialog CommonDialog8{this};
    vx::CommonDialog CommonDialog9{this};
    vx::CommonDialog CommonDialog10{this};

    // "Speed" as stored; a value the scroll bar cannot take gives the default.
    static int storedSpeed();

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    Q_SLOT void Command7_Click();
    Q_SLOT void Command6_Click();
    Q_SLOT void Command3_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command5_Click();
    Q_SLOT void Command9_Click();
    Q_SLOT void Command11_Click();
    Q_SLOT void HScroll1_Change();
    Q_SLOT void Text1_Change();
    Q_SLOT void Command8_Click();
    Q_SLOT void Command10_Click();
};
