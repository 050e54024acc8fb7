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

    vx::Placed<vx::ImageBox> Image2{{0, 0, 9150, 5400}, this, QStringLiteral("Image2")};
    vx::Placed<vx::TextBox> timeWindow{{120, 120, 4380, 540}, this, QStringLiteral("timeWindow")};
    vx::Placed<vx::Label> totalplay{{120, 750, 4380, 285}, this, QStringLiteral("totalplay")};
    vx::Placed<vx::Label> tracktime{{120, 1080, 4380, 285}, this, QStringLiteral("tracktime")};
    vx::Placed<vx::CommandButton> Command2{{120, 1470, 1440, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("再生/再開")};
    vx::Placed<vx::CommandButton> Command3{{1590, 1470, 1440, 375}, this, QStringLiteral("Command3"),
                                           QStringLiteral("停止")};
    vx::Placed<vx::CommandButton> Command4{{3060, 1470, 1440, 375}, this, QStringLiteral("Command4"),
                                           QStringLiteral("一時停止")};
    vx::Placed<vx::CommandButton> Command8{{120, 1890, 1065, 375}, this, QStringLiteral("Command8"),
                                           QStringLiteral("最初へ")};
    vx::Placed<vx::CommandButton> Command5{{1225, 1890, 1065, 375}, this, QStringLiteral("Command5"),
                                           QStringLiteral("戻る")};
    vx::Placed<vx::CommandButton> Command7{{2330, 1890, 1065, 375}, this, QStringLiteral("Command7"),
                                           QStringLiteral("次へ")};
    vx::Placed<vx::CommandButton> Command9{{3435, 1890, 1065, 375}, this, QStringLiteral("Command9"),
                                           QStringLiteral("最後へ")};
    vx::Placed<vx::CommandButton> Command10{{120, 2310, 1440, 375}, this, QStringLiteral("Command10"),
                                            QStringLiteral("CDの開閉")};
    vx::Placed<vx::Label> Label1{{1590, 2355, 1050, 285}, this, QStringLiteral("Label1"), QStringLiteral("ボリューム")};
    vx::Placed<vx::TextBox> Text1{{2700, 2355, 855, 285}, this, QStringLiteral("Text1")};
    vx::Placed<vx::CommandButton> Command6{{120, 2730, 2160, 375}, this, QStringLiteral("Command6"),
                                           QStringLiteral("設定")};
    vx::Placed<vx::CommandButton> Command1{{2340, 2730, 2160, 375}, this, QStringLiteral("Command1"),
                                           QStringLiteral("閉じる")};
    vx::Placed<vx::ImageBox> Image1{{120, 3195, 4380, 2085}, this, QStringLiteral("Image1")};
    vx::Placed<vx::DriveListBox> Drive2{{4680, 120, 4350, 300}, this, QStringLiteral("Drive2")};
    vx::Placed<vx::DirListBox> Dir2{{4680, 480, 4350, 1995}, this, QStringLiteral("Dir2")};
    vx::Placed<vx::FileListBox> File2{{4680, 2535, 4350, 2400}, this, QStringLiteral("File2")};
    vx::Placed<vx::Label> Label4{{4680, 4995, 4350, 285}, this, QStringLiteral("Label4")};

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
    // The identity of the loaded disc: another one is loaded afresh.
    QString DiscIdentity;

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    void SendCdCommand(const QString &command, bool showError, bool &ok);
    void RefreshCdStatus();
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
    Q_SLOT void Label1_Click();
    Q_SLOT void Text1_Change();
    Q_SLOT void Drive2_Change();
    Q_SLOT void Dir2_Change();
    Q_SLOT void File2_Click();
    Q_SLOT void Label4_Click();

    // The buttons that drive the disc.
    std::vector<vx::CommandButton *> discButtons();

private:
    void applySettings();
    // A status query sent directly: the reply up to its first NUL, at most `size` characters.
    QString query(const QString &command, int size = 30);
    void skip(qint32 deltaMs);
    // Before a button that plays or moves: a disc other than the loaded one
    // (a sheet edited) is loaded first.
    void followDisc();
    void positionCommand(int target);
};
