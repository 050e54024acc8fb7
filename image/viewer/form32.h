#pragma once
// Picture window of the first image viewer: shows Form2's selected file in a
// window that takes the picture's size, and walks Form2's file list.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/imaging/imagebox.h"

#include <QSizeF>

#include <optional>

class Form2;

class Form32 : public vx::Form {
    Q_OBJECT
public:
    Form32();

    vx::CommandButton Command9{this, QStringLiteral("Command9"), QStringLiteral("前へ")};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral("次へ")};
    vx::CommandButton Command10{this, QStringLiteral("Command10"), QStringLiteral("スライドショー")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("拡大")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("縮小")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("リセット")};
    vx::ImageBox Image1{this, QStringLiteral("Image1")};
    vx::Timer Timer1{this, QStringLiteral("Timer1"), 0, false};

    // Shows the owner's selected entry (load, next, previous).
    void ShowCurrent();

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    void Form_Activate() override;
    void Command6_Click();
    void Command9_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command10_Click();
    void Timer1_Timer();
    void Form_OLEDragDrop(const QStringList &files);

private:
    void showOwnerFile(const Form2 &owner, double zoom);
    void fitWindow();
    std::optional<QSizeF> fit_;
};
