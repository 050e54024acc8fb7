#pragma once
// The replace window "置換": replaces the search text in the editor's text,
// one match at a time or all of them.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

class Form37 : public vx::Form {
    Q_OBJECT
public:
    Form37();

    vx::Label Label1{this, QStringLiteral("Label1"), QStringLiteral("検索する文字列")};
    vx::TextBox Text1{this, QStringLiteral("Text1")};
    vx::Label Label2{this, QStringLiteral("Label2"), QStringLiteral("置換後の文字列")};
    vx::TextBox Text2{this, QStringLiteral("Text2")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("すべて置換")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("ひとつずつ置換")};

    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
};
