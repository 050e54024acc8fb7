#pragma once
// The third media player: a folder's media files, pictures and lists as its
// playlist, or an address typed in, played in a console player control whose
// picture and panel share the console "one"; next and previous, repeat and
// native size, the volume box and a skin. Its viewer button opens the picture
// and control windows Form35 and Form36; Form12 holds its settings.
#include "media/volume/mvolctrl.h"

#include "platform/forms/controls.h"
#include "platform/forms/filelists.h"
#include "platform/forms/form.h"
#include "platform/imaging/imagebox.h"
#include "platform/media/consoleplayer.h"

class FormVX3 : public vx::Form {
    Q_OBJECT
public:
    FormVX3();
    ~FormVX3() override;

    static const vx::ConsoleDesign kPictureDesign;
    static const vx::ConsoleDesign kPanelDesign;

    vx::Placed<vx::ImageBox> Image1{{0, 0, 9480, 6780}, this, QStringLiteral("Image1")};
    vx::Placed<vx::ConsolePlayer> RealAudio1{{120, 120, 5400, 3480}, this, QStringLiteral("RealAudio1"),
                                             kPictureDesign};
    vx::Placed<vx::ConsolePlayer> RealAudio2{{120, 3660, 5400, 810}, this, QStringLiteral("RealAudio2"), kPanelDesign};
    vx::Placed<vx::TextBox> Text2{{120, 4560, 4200, 315}, this, QStringLiteral("Text2")};
    vx::Placed<vx::CommandButton> Command4{{4380, 4530, 1140, 375}, this, QStringLiteral("Command4"),
                                           QStringLiteral("再生")};
    vx::Placed<vx::CheckBox> Check1{{120, 4995, 1800, 300}, this, QStringLiteral("Check1"),
                                    QStringLiteral("繰り返し再生")};
    vx::Placed<vx::CheckBox> Check2{{2040, 4995, 1560, 300}, this, QStringLiteral("Check2"),
                                    QStringLiteral("標準再生")};
    vx::Placed<vx::CommandButton> Command8{{3720, 4965, 1800, 375}, this, QStringLiteral("Command8"),
                                           QStringLiteral("プロパティ")};
    vx::Placed<vx::CommandButton> Command9{{120, 5415, 1335, 375}, this, QStringLiteral("Command9"),
                                           QStringLiteral("前へ")};
    vx::Placed<vx::CommandButton> Command7{{1470, 5415, 1335, 375}, this, QStringLiteral("Command7"),
                                           QStringLiteral("次へ")};
    vx::Placed<vx::Label> Label1{{2940, 5460, 1035, 285}, this, QStringLiteral("Label1"),
                                 QStringLiteral(" ボリューム")};
    vx::Placed<vx::TextBox> Text1{{4020, 5460, 855, 285}, this, QStringLiteral("Text1")};
    vx::Placed<vx::CommandButton> Command3{{120, 5880, 1335, 375}, this, QStringLiteral("Command3"),
                                           QStringLiteral("VXⅠ")};
    vx::Placed<vx::CommandButton> Command2{{1470, 5880, 1335, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("VXⅡ")};
    vx::Placed<vx::CommandButton> Command5{{2820, 5880, 1335, 375}, this, QStringLiteral("Command5"),
                                           QStringLiteral("Viewer")};
    vx::Placed<vx::CommandButton> Command6{{4170, 5880, 1350, 375}, this, QStringLiteral("Command6"),
                                           QStringLiteral("設定")};
    vx::Placed<vx::CommandButton> Command1{{5640, 6300, 3720, 375}, this, QStringLiteral("Command1"),
                                           QStringLiteral("閉じる")};
    vx::Placed<vx::DriveListBox> Drive1{{5640, 120, 3720, 300}, this, QStringLiteral("Drive1")};
    vx::Placed<vx::DirListBox> Dir1{{5640, 480, 3720, 1815}, this, QStringLiteral("Dir1")};
    vx::Placed<vx::FileListBox> File1{{5640, 2355, 3720, 3375}, this, QStringLiteral("File1")};
    vx::Placed<vx::Label> Label2{{5640, 5820, 3720, 285}, this, QStringLiteral("Label2")};

    mVolCtrl::VolumeState Volume;

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
    Q_SLOT void Check1_Click();
    Q_SLOT void Check2_Click();
    Q_SLOT void Label1_Click();
    Q_SLOT void Label1_DblClick();
    Q_SLOT void Label2_Click();
    Q_SLOT void Drive1_Change();
    Q_SLOT void Dir1_Change();
    Q_SLOT void Text1_Change();
    Q_SLOT void File1_Click();
    Q_SLOT void File1_OLEDragDrop(const QStringList &files);

    // The full path of the list's current entry (the folder and "/" when none).
    QString entryPath() const;

private:
    void saveSettings();
    // Stop, source `path`, play: the run-time error of a source that cannot play goes to the caller.
    void replay(const QString &path);
};
