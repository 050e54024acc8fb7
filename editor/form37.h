#pragma once
// The replace window "置換": replaces the search text in the editor's text,
// one match at a time or all of them.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

class Form37 : public vx::Form {
    Q_OBJECT
public:
    Form37();

    vx::Placed<vx::Label> Label1{{120, 120, 3960, 255}, this, QStringLiteral("Label1"),
                                 QStringLiteral("検索する文字列")};
    vx::Placed<vx::TextBox> Text1{{120, 420, 3960, 315}, this, QStringLiteral("Text1")};
    vx::Placed<vx::Label> Label2{{120, 810, 3960, 255}, this, QStringLiteral("Label2"),
                                 QStringLiteral("置換後の文字列")};
    vx::Placed<vx::TextBox> Text2{{120, 1110, 3960, 315}, this, QStringLiteral("Text2")};
    vx::Placed<vx::CommandButton> Command1{{120, 1530, 1935, 375}, this, QStringLiteral("Command1"),
                                           QStringLiteral("すべて置換")};
    vx::Placed<vx::CommandButton> Command2{{2145, 1530, 1935, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("ひとつずつ置換")};

    void Form_Load() override;
    Q_SLOT void Command1_Click();
    Q_SLOT void Command2_Click();
};
