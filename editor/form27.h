#pragma once
// The insert palette "Scrivolt Controler": HTML tag templates, emoticons and
// the last-modified stamp, inserted at the editor's selection or copied.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

#include <QDateTime>

#include <functional>

class Form27 : public vx::Form {
    Q_OBJECT
public:
    Form27();

    vx::Placed<vx::ComboBox> Combo1{{120, 120, 3960, 315}, this, QStringLiteral("Combo1"), 0};
    vx::Placed<vx::CommandButton> Command1{{120, 480, 1260, 375}, this, QStringLiteral("Command1"),
                                           QStringLiteral("挿入")};
    vx::Placed<vx::CommandButton> Command3{{1470, 480, 1260, 375}, this, QStringLiteral("Command3"),
                                           QStringLiteral("コピー")};
    vx::Placed<vx::CommandButton> Command8{{2820, 480, 1260, 375}, this, QStringLiteral("Command8"),
                                           QStringLiteral("説明")};
    vx::Placed<vx::TextBox> Text1{{120, 900, 3960, 1500}, this, QStringLiteral("Text1"), true};
    vx::Placed<vx::ComboBox> Combo2{{120, 2520, 3960, 315}, this, QStringLiteral("Combo2"), 0};
    vx::Placed<vx::CommandButton> Command5{{120, 2880, 1935, 375}, this, QStringLiteral("Command5"),
                                           QStringLiteral("挿入")};
    vx::Placed<vx::CommandButton> Command4{{2145, 2880, 1935, 375}, this, QStringLiteral("Command4"),
                                           QStringLiteral("コピー")};
    vx::Placed<vx::CommandButton> Command2{{120, 3420, 3960, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("最終更新日を入れる ")};
    vx::Placed<vx::CommandButton> Command7{{120, 3960, 3960, 375}, this, QStringLiteral("Command7"),
                                           QStringLiteral("閉じる")};

    void Form_Load() override;
    Q_SLOT void Command1_Click();
    Q_SLOT void Command3_Click();
    Q_SLOT void Command8_Click();
    Q_SLOT void Combo1_Change();
    Q_SLOT void Command5_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command2_Click();
    Q_SLOT void Command7_Click();

    // The platform clock (tests set it).
    static std::function<QDateTime()> clock;
};
