#pragma once
// The audio CD player: the disc in the drive under the alias "cd", in tmsf
// times; play, stop, pause, skips of five seconds, previous and next track,
// the tray, a picture pane, a skin and the volume box. The displays move only
// when a button refreshes them.
#include "media/volume/mvolctrl.h"

#include "platform/forms/controls.h"
#include "platform/forms/filelists.h"
#include "platform/forms/form.h"
#include "platform/imaging/imagebox.h"

class Form8 : public vx::Form {
    Q_OBJECT
public:
    Form8();

    vx::ImageBox Image2{this, QStringLiteral("Image2")};
    vx::TextBox timeWindow{this, QStringLiteral("timeWindow")};
    vx::Label totalplay{this, QStringLiteral("totalplay")};
    vx::Label tracktime{this, QStringLiteral("tracktime")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("再生/再開")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("停止")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("一時停止")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("最初へ")};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("戻る")};
    vx::CommandButton Command7{this, QStringLiteral("Command7"), QStringLiteral("次へ")};
    vx::CommandButton Command9{this, QStringLiteral("Command9"), QStringLiteral("最後へ")};
    vx::CommandButton Command10{this, QStringLiteral("Command10"), QStringLiteral("CDの開閉")};
    vx::Label Label1{this, QStringLiteral("Label1"), QStringLiteral("ボリューム")};
    vx::TextBox Text1{this, QStringLiteral("Text1")};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral("設定")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("閉じる")};
    vx::ImageBox Image1{this, QStringLiteral("Image1")};
    vx::DriveListBox Drive2{this, QStringLiteral("Drive2")};
    vx::DirListBox Dir2{this, QStringLiteral("Dir2")};
    vx::FileListBox File2{this, QStringLiteral("File2")};
    vx::Label Label4{this, QStringLiteral("Label4")};

    bool Playing = false;
    bool MediaLoaded = false;
    qint16 NumTracks = 0;
    QStringList TrackLengths; // entry i - 1 is track i
    qint16 CurrentTrack = 0;
    qint16 CurrentMinute = 0;
    qint16 CurrentSecond = 0;
    qint32 SkipSeconds = 0;
    QString CommandString;
    qint32 MciErrorCode = 0;
    QString MciErrorText;
    QString StatusReply;
    mVolCtrl::VolumeState Volume;
    // The alias "cd" opened at this load.
    bool DeviceOpen = false;

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    void SendCdCommand(const QString &command, bool showError, bool &ok);
    void RefreshCdStatus();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Label1_Click();
    void Text1_Change();
    void Drive2_Change();
    void Dir2_Change();
    void File2_Click();
    void Label4_Click();

    // The buttons that drive the disc.
    std::vector<vx::CommandButton *> discButtons();

private:
    void layOut();
    void applySettings();
    // A status query sent directly: the reply up to its first NUL, at most `size` characters.
    QString query(const QString &command, int size = 30);
    void skip(qint32 deltaMs);
    void positionCommand(int target);
};
