#pragma once
// The capture tool's size dialog: the picture area's height and width in twips.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

class Form29 : public vx::Form {
    Q_OBJECT
public:
    Form29();

    vx::Label Label1{this, QStringLiteral("Label1"), QStringLiteral("縦と横のサイズを入力してください。")};
    vx::Label Label2{this, QStringLiteral("Label2"), QStringLiteral("縦の長さ")};
    vx::TextBox Text1{this, QStringLiteral("Text1")};
    vx::Label Label3{this, QStringLiteral("Label3"), QStringLiteral("横の長さ")};
    vx::TextBox Text2{this, QStringLiteral("Text2")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("適用")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("閉じる")};

    void Form_Load() override;
    Q_SLOT void Command1_Click();
    Q_SLOT void Command2_Click();
};
