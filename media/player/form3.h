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
    vx::Placed<vx::ImageBox> Image2{{0, 0, 10500, 6480}, this, QStringLiteral("Image2")};
    vx::Placed<vx::DriveListBox> Drive1{{120, 120, 2895, 300}, this, QStringLiteral("Drive1")};
    vx::Placed<vx::DirListBox> Dir1{{120, 480, 2895, 1815}, this, QStringLiteral("Dir1")};
    vx::Placed<vx::FileListBox> File1{{120, 2355, 2895, 3645}, this, QStringLiteral("File1")};
    vx::Placed<vx::Label> Label2{{120, 6060, 2895, 285}, this, QStringLiteral("Label2")};
    vx::Placed<vx::Label> Label3{{3135, 120, 4230, 375}, this, QStringLiteral("Label3")};
    vx::Placed<vx::Label> Label5{{3135, 495, 4230, 375}, this, QStringLiteral("Label5")};
    vx::Placed<vx::StyledProgressBar> ProgressBar1{{3135, 930, 4230, 255}, this, QStringLiteral("ProgressBar1")};
    vx::Placed<vx::CommandButton> Command5{{3135, 1305, 1410, 375}, this, QStringLiteral("Command5"),
                                           QStringLiteral("再生")};
    vx::Placed<vx::CommandButton> Command4{{4545, 1305, 1410, 375}, this, QStringLiteral("Command4"),
                                           QStringLiteral("一時停止")};
    vx::Placed<vx::CommandButton> Command3{{5955, 1305, 1410, 375}, this, QStringLiteral("Command3"),
                                           QStringLiteral("停止")};
    vx::Placed<vx::CommandButton> Command9{{3135, 1680, 1410, 375}, this, QStringLiteral("Command9"),
                                           QStringLiteral("前へ")};
    vx::Placed<vx::CommandButton> Command7{{4545, 1680, 1410, 375}, this, QStringLiteral("Command7"),
                                           QStringLiteral("次へ")};
    vx::Placed<vx::CommandButton> Command8{{5955, 1680, 1410, 375}, this, QStringLiteral("Command8"),
                                           QStringLiteral("プロパティ")};
    vx::Placed<vx::CheckBox> Check1{{3135, 2115, 1410, 300}, this, QStringLiteral("Check1"),
                                    QStringLiteral("繰り返し")};
    vx::Placed<vx::CheckBox> Check2{{4545, 2115, 1410, 300}, this, QStringLiteral("Check2"), QStringLiteral("1回")};
    vx::Placed<vx::CheckBox> Check3{{5955, 2115, 1410, 300}, this, QStringLiteral("Check3"),
                                    QStringLiteral("ランダム")};
    vx::Placed<vx::Label> Label1{{3135, 2535, 1095, 285}, this, QStringLiteral("Label1"),
                                 QStringLiteral(" ボリューム")};
    vx::Placed<vx::TextBox> Text1{{4290, 2535, 735, 285}, this, QStringLiteral("Text1")};
    vx::Placed<vx::CommandButton> Command6{{5145, 2490, 1110, 375}, this, QStringLiteral("Command6"),
                                           QStringLiteral("設定")};
    vx::Placed<vx::CommandButton> Command1{{6255, 2490, 1110, 375}, this, QStringLiteral("Command1"),
                                           QStringLiteral("閉じる")};
    vx::Placed<vx::CommandButton> Command10{{3135, 2925, 2115, 375}, this, QStringLiteral("Command10"),
                                            QStringLiteral("Multimedia Rondix Ⅱ")};
    vx::Placed<vx::CommandButton> Command2{{5250, 2925, 2115, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("Multimedia Rondix Ⅲ")};
    vx::Placed<vx::ImageBox> Image1{{3135, 3420, 4230, 2925}, this, QStringLiteral("Image1")};
    vx::Placed<vx::DriveListBox> Drive2{{7485, 120, 2895, 300}, this, QStringLiteral("Drive2")};
    vx::Placed<vx::DirListBox> Dir2{{7485, 480, 2895, 1815}, this, QStringLiteral("Dir2")};
    vx::Placed<vx::FileListBox> File2{{7485, 2355, 2895, 3645}, this, QStringLiteral("File2")};
    vx::Placed<vx::Label> Label4{{7485, 6060, 2895, 285}, this, QStringLiteral("Label4")};
    vx::Timer Timer1{this, QStringLiteral("Timer1"), 1000, true};

    // "stop" while paused, during a restart and after a hand-over; else "".
    QString PauseState;
    mVolCtrl::VolumeState Volume;

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    Q_SLOT void File1_Click();
    Q_SLOT void Timer1_Timer();
    Q_SLOT void Command7_Click();
    Q_SLOT void Command9_Click();
    Q_SLOT void Command4_Click();
    Q_SLOT void Command5_Click();
    Q_SLOT void Command3_Click();
    Q_SLOT void Command1_Click();
    Q_SLOT void Command10_Click();
    Q_SLOT void Command2_Click();
    Q_SLOT void Command6_Click();
    Q_SLOT void Command8_Click();
    Q_SLOT void File1_OLEDragDrop(const QStringList &files);
    Q_SLOT void Drive1_Change();
    Q_SLOT void Dir1_Change();
    Q_SLOT void Drive2_Change();
    Q_SLOT void Dir2_Change();
    Q_SLOT void File2_Click();
    Q_SLOT void File2_OLEDragDrop(const QStringList &files);
    Q_SLOT void Label2_Click();
    Q_SLOT void Label4_Click();
    Q_SLOT void Label1_Click();
    Q_SLOT void Label1_DblClick();
    Q_SLOT void Text1_Change();
    Q_SLOT void Check1_Click();
    Q_SLOT void Check2_Click();
    Q_SLOT void Check3_Click();

    // The random step's draws (tests make them repeatable).
    void seedRandom(quint32 seed) { random_.seed(seed); }

private:
    void randomStep();
    void showEntryState(int index, int count);
    void enableLists();
    void stopAndClose();
    void handOver(const QLatin1StringView kind);
    void saveSettings();
    std::mt19937 random_;
};
