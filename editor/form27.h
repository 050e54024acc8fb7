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

    vx::ComboBox Combo1{this, QStringLiteral("Combo1"), 0};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("挿入")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("コピー")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("説明")};
    vx::TextBox Text1{this, QStringLiteral("Text1"), true};
    vx::ComboBox Combo2{this, QStringLiteral("Combo2"), 0};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("挿入")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("コピー")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("最終更新日を入れる ")};
    vx::CommandButton Command7{this, QStringLiteral("Command7"), QStringLiteral("閉じる")};

    void Form_Load() override;
    void Command1_Click();
    void Command3_Click();
    void Command8_Click();
    void Combo1_Change();
    void Command5_Click();
    void Command4_Click();
    void Command2_Click();
    void Command7_Click();

    // The platform clock (tests set it).
    static std::function<QDateTime()> clock;
};
