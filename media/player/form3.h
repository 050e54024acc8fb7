#pragma once
// The command-string media player: a playlist folder, a clip at a time under
// the alias "Media", a one-second status poll with repeat, once, random and
// next, a picture pane, a skin and the volume box.
#include "media/volume/mvolctrl.h"

#include "platform/forms/controls.h"
#include "platform/forms/filelists.h"
#include "platform/forms/form.h"
#include "platform/forms/styledprogressbar.h"
#include "platform/imaging/imagebox.h"

#include <functional>
#include <random>

class Form3 : public vx::Form {
    Q_OBJECT
public:
    Form3();

    // The caption while no list entry plays (the idle marker).
    static const QString kPlainCaption;
    vx::ImageBox Image2{this, QStringLiteral("Image2")};
    vx::DriveListBox Drive1{this, QStringLiteral("Drive1")};
    vx::DirListBox Dir1{this, QStringLiteral("Dir1")};
    vx::FileListBox File1{this, QStringLiteral("File1")};
    vx::Label Label2{this, QStringLiteral("Label2")};
    vx::Label Label3{this, QStringLiteral("Label3")};
    vx::Label Label5{this, QStringLiteral("Label5")};
    vx::StyledProgressBar ProgressBar1{this, QStringLiteral("ProgressBar1")};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("再生")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("一時停止")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("停止")};
    vx::CommandButton Command9{this, QStringLiteral("Command9"), QStringLiteral("前へ")};
    vx::CommandButton Command7{this, QStringLiteral("Command7"), QStringLiteral("次へ")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("プロパティ")};
    vx::CheckBox Check1{this, QStringLiteral("Check1"), QStringLiteral("繰り返し")};
    vx::CheckBox Check2{this, QStringLiteral("Check2"), QStringLiteral("1回")};
    vx::CheckBox Check3{this, QStringLiteral("Check3"), QStringLiteral("ランダム")};
    vx::Label Label1{this, QStringLiteral("Label1"), QStringLiteral(" ボリューム")};
    vx::TextBox Text1{this, QStringLiteral("Text1")};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral("設定")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("閉じる")};
    vx::CommandButton Command10{this, QStringLiteral("Command10"), QStringLiteral("Multimedia Rondix Ⅱ")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("Multimedia Rondix Ⅲ")};
    vx::ImageBox Image1{this, QStringLiteral("Image1")};
    vx::DriveListBox Drive2{this, QStringLiteral("Drive2")};
    vx::DirListBox Dir2{this, QStringLiteral("Dir2")};
    vx::FileListBox File2{this, QStringLiteral("File2")};
    vx::Label Label4{this, QStringLiteral("Label4")};
    vx::Timer Timer1{this, QStringLiteral("Timer1"), 1000, true};

    // "stop" while paused, during a restart and after a hand-over; else "".
    QString PauseState;
    mVolCtrl::VolumeState Volume;

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    void File1_Click();
    void Timer1_Timer();
    void Command7_Click();
    void Command9_Click();
    void Command4_Click();
    void Command5_Click();
    void Command3_Click();
    void Command1_Click();
    void Command10_Click();
    void Command2_Click();
    void Command6_Click();
    void Command8_Click();
    void File1_OLEDragDrop(const QStringList &files);
    void Drive1_Change();
    void Dir1_Change();
    void Drive2_Change();
    void Dir2_Change();
    void File2_Click();
    void File2_OLEDragDrop(const QStringList &files);
    void Label2_Click();
    void Label4_Click();
    void Label1_Click();
    void Label1_DblClick();
    void Text1_Change();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();

    // The random step's draws (tests make them repeatable).
    void seedRandom(quint32 seed) { random_.seed(seed); }

private:
    void layOut();
    void randomStep();
    void showEntryState(int index, int count);
    void enableLists();
    void stopAndClose();
    void handOver(const QLatin1StringView kind);
    void saveSettings();
    std::mt19937 random_;
};
