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

    vx::ImageBox Image1{this, QStringLiteral("Image1")};
    vx::ConsolePlayer RealAudio1{this, QStringLiteral("RealAudio1"), kPictureDesign};
    vx::ConsolePlayer RealAudio2{this, QStringLiteral("RealAudio2"), kPanelDesign};
    vx::TextBox Text2{this, QStringLiteral("Text2")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("再生")};
    vx::CheckBox Check1{this, QStringLiteral("Check1"), QStringLiteral("繰り返し再生")};
    vx::CheckBox Check2{this, QStringLiteral("Check2"), QStringLiteral("標準再生")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("プロパティ")};
    vx::CommandButton Command9{this, QStringLiteral("Command9"), QStringLiteral("前へ")};
    vx::CommandButton Command7{this, QStringLiteral("Command7"), QStringLiteral("次へ")};
    vx::Label Label1{this, QStringLiteral("Label1"), QStringLiteral(" ボリューム")};
    vx::TextBox Text1{this, QStringLiteral("Text1")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("VXⅠ")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("VXⅡ")};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("Viewer")};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral("設定")};
    vx::CommandButton Command1{this, QStringLiteral("Command1"), QStringLiteral("閉じる")};
    vx::DriveListBox Drive1{this, QStringLiteral("Drive1")};
    vx::DirListBox Dir1{this, QStringLiteral("Dir1")};
    vx::FileListBox File1{this, QStringLiteral("File1")};
    vx::Label Label2{this, QStringLiteral("Label2")};

    mVolCtrl::VolumeState Volume;

    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Check1_Click();
    void Check2_Click();
    void Label1_Click();
    void Label1_DblClick();
    void Label2_Click();
    void Drive1_Change();
    void Dir1_Change();
    void Text1_Change();
    void File1_Click();
    void File1_OLEDragDrop(const QStringList &files);

    // The full path of the list's current entry (the folder and "/" when none).
    QString entryPath() const;

private:
    void layOut();
    void saveSettings();
    // Stop, source `path`, play: the run-time error of a source that cannot play goes to the caller.
    void replay(const QString &path);
};
