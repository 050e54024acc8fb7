#pragma once
// The third image viewer: the layout of the plug-in viewer, pictures read by
// the platform's picture loading into a scrolling picture box; only the open
// button decodes through the image plug-ins.
#include "pluginviewer.h"

#include "platform/dialogs/dialogs.h"
#include "platform/forms/controls.h"
#include "platform/forms/filelists.h"
#include "platform/forms/form.h"
#include "platform/forms/scrollbar.h"
#include "platform/imaging/imagebox.h"
#include "platform/imaging/picture.h"
#include "platform/imaging/plugins/canvasbox.h"

#include <array>

class Form40 : public viewer3::BackdropForm {
    Q_OBJECT
public:
    Form40();

    vx::CanvasBox Picture1{this, QStringLiteral("Picture1")};
    vx::ImageBox Image1{this, QStringLiteral("Image1")};
    vx::ScrollBar VScroll1{this, QStringLiteral("VScroll1"), Qt::Vertical};
    vx::ScrollBar HScroll1{this, QStringLiteral("HScroll1")};
    vx::CommandButton Command9{this, QStringLiteral("Command9"), QStringLiteral("前へ")};
    vx::CommandButton Command7{this, QStringLiteral("Command7"), QStringLiteral("次へ")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("開く")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("コピー")};
    vx::CommandButton Command10{this, QStringLiteral("Command10"), QStringLiteral("スライドショー")};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("ズーム")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("プロパティ")};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral("設定")};
    vx::DriveListBox Drive1{this, QStringLiteral("Drive1")};
    vx::DirListBox Dir1{this, QStringLiteral("Dir1")};
    vx::FileListBox File1{this, QStringLiteral("File1")};
    vx::Label Label1{this, QStringLiteral("Label1")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("閉じる")};
    vx::Timer Timer1{this, QStringLiteral("Timer1"), 0, false};
    vx::CommonDialog CommonDialog1{this};

    // The nine buttons that take "BottonColor".
    std::array<vx::CommandButton *, 9> colouredButtons();
    // Image1's size after the last picture loaded into it ("" before any).
    QString measuredWidth() const { return measuredWidth_; }
    QString measuredHeight() const { return measuredHeight_; }
    QString shownFile() const { return vx::joinPath(Dir1.Path(), File1.FileName()); }

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    void Form_Resize() override;
    Q_SLOT void Command3_Click();
    Q_SLOT void Drive1_Change();
    Q_SLOT void Dir1_Change();
    Q_SLOT void File1_Click();
    Q_SLOT void Command7_Click();
    Q_SLOT void Command9_Click();
    Q_SLOT void Timer1_Timer() { Command7_Click(); }
    Q_SLOT void Command10_Click();
    Q_SLOT void Command1_Click();
    Q_SLOT void Command8_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command5_Click();
    Q_SLOT void Command6_Click();
    Q_SLOT void VScroll1_Change();
    Q_SLOT void HScroll1_Change();

private:
    void saveAndHide(bool closing);
    void setRanges();
    QString measuredWidth_;
    QString measuredHeight_;
};
