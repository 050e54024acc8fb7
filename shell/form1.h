#pragma once
// The button main window (style "Main1"): tool buttons, icon pictures and a memo.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

#include <array>

class Form1 : public vx::Form {
    Q_OBJECT
public:
    Form1();

    vx::Label Label1{this, QStringLiteral("Label1"), QStringLiteral("Velmora 2002 Version3.5")};
    vx::Label Label2{this, QStringLiteral("Label2"), QStringLiteral("いつものファイルを、ひとつの場所で。")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral(" Graphic Rondix  Ⅰ・Ⅱ")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("Multimedia Rondix Ⅰ・Ⅱ・Ⅲ")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral(" Scrivolt Version7.9")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral(" Cramlet＆Loosel Version4.0")};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral(" Kinvoke Version1.3")};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral(" Version Rondix Version3.3")};
    vx::CommandButton Command7{this, QStringLiteral("Command7"), QStringLiteral(" AudioCD Rondix Version3.0β")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("SAVE")};
    vx::CommandButton Command9{this, QStringLiteral("Command9"), QStringLiteral(" Susie Rondix Version4.0")};
    vx::CommandButton Command10{this, QStringLiteral("Command10"), QStringLiteral(" Probix Version3.0")};
    vx::CommandButton Command11{this, QStringLiteral("Command11"), QStringLiteral(" Snapvane Version3.0")};
    vx::TextBox Text1{this, QStringLiteral("Text1"), true};
    vx::PictureBox Picture1{this, QStringLiteral("Picture1")};
    vx::PictureBox Picture2{this, QStringLiteral("Picture2")};
    vx::PictureBox Picture3{this, QStringLiteral("Picture3")};
    vx::PictureBox Picture4{this, QStringLiteral("Picture4")};
    vx::PictureBox Picture5{this, QStringLiteral("Picture5")};
    vx::PictureBox Picture6{this, QStringLiteral("Picture6")};
    vx::PictureBox Picture7{this, QStringLiteral("Picture7")};
    vx::PictureBox Picture8{this, QStringLiteral("Picture8")};
    vx::PictureBox Picture9{this, QStringLiteral("Picture9")};
    vx::PictureBox Picture10{this, QStringLiteral("Picture10")};
    vx::PictureBox Picture11{this, QStringLiteral("Picture11")};
    vx::PictureBox Picture12{this, QStringLiteral("Picture12")};

    // In number order, for the steps that treat them alike.
    std::array<vx::CommandButton *, 11> buttons();
    std::array<vx::PictureBox *, 12> pictures();

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    Q_SLOT void Command1_Click();
    Q_SLOT void Command2_Click();
    Q_SLOT void Command3_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command5_Click();
    Q_SLOT void Command6_Click();
    Q_SLOT void Command7_Click();
    Q_SLOT void Command8_Click();
    Q_SLOT void Command9_Click();
    Q_SLOT void Command10_Click();
    Q_SLOT void Command11_Click();
    Q_SLOT void Picture1_Click();
    Q_SLOT void Picture2_Click();
    Q_SLOT void Picture3_Click();
    Q_SLOT void Picture4_Click();
    Q_SLOT void Picture5_Click();
    Q_SLOT void Picture6_Click();
    Q_SLOT void Picture7_Click();
    Q_SLOT void Picture8_Click();
    Q_SLOT void Picture9_Click();
    Q_SLOT void Picture10_Click();
    Q_SLOT void Picture11_Click();
    Q_SLOT void Picture12_Click();

private:
    // Writes the memo; false (after saying why) when it could not be written.
    bool SaveMemo();
    // Returns only when the end was refused (unsaved work kept).
    void exitProgram();
};
