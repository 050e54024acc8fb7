#pragma once
// The find window "検索": finds the search text in the editor's text.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

class Form38 : public vx::Form {
    Q_OBJECT
public:
    Form38();

    vx::Placed<vx::Label> Label1{{120, 120, 3960, 255}, this, QStringLiteral("Label1"),
                                 QStringLiteral("検索する文字列")};
    vx::Placed<vx::TextBox> Text1{{120, 420, 3960, 315}, this, QStringLiteral("Text1")};
    vx::Placed<vx::CommandButton> Command1{{2820, 810, 1260, 375}, this, QStringLiteral("Command1"),
                                           QStringLiteral("検索")};

    void Form_Load() override;
    Q_SLOT void Command1_Click();
};
