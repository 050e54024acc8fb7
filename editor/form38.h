#pragma once
// The find window "検索": finds the search text in the editor's text.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

class Form38 : public vx::Form {
    Q_OBJECT
public:
    Form38();

    vx::Label Label1{this, QStringLiteral("Label1"), QStringLiteral("検索する文字列")};
    vx::TextBox Text1{this, QStringLiteral("Text1")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("検索")};

    void Form_Load() override;
    void Command1_Click();
};
