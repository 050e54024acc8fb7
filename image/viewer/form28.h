#pragma once
// Size dialog of the first image viewer: height and width of Form2.Image1 in twips.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

class Form28 : public vx::Form {
    Q_OBJECT
public:
    Form28();

    vx::Placed<vx::Label> Label1{{120, 120, 3015, 255}, this, QStringLiteral("Label1"),
                                 QStringLiteral("縦と横のサイズを入力してください。")};
    vx::Label Label2{this, QStringLiteral("Label2"), QStringLiteral("縦の長さ")};
    vx::TextBox Text1{this, QStringLiteral("Text1")};
    vx::Label Label3{this, QStringLiteral("Label3"), QStringLiteral("横の長さ")};
    vx::TextBox Text2{this, QStringLiteral("Text2")};
    vx::Placed<vx::CommandButton> Command2{{120, 1320, 1335, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("適用")};
    vx::Placed<vx::CommandButton> Command1{{1680, 1320, 1335, 375}, this, QStringLiteral("Command1"),
                                           QStringLiteral("閉じる")};

    void Form_Load() override;
    Q_SLOT void Command2_Click();
    Q_SLOT void Command1_Click();
};
