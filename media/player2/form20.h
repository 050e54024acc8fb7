#pragma once
// The second media player: a folder's media files as its playlist, played in
// a player control with repeat, once and random modes, next and previous, an
// information box for the clip's title and author, a skin and the volume box.
// The mini player Form34 plays its entries; its settings window Form21 holds
// the play speed.
#include "media/volume/mvolctrl.h"

#include "platform/forms/controls.h"
#include "platform/forms/filelists.h"
#include "platform/forms/form.h"
#include "platform/imaging/imagebox.h"
#include "platform/media/mediaplayer.h"

#include <memory>
#include <random>

namespace tags {
class TagPlayer;
}

class Form20 : public vx::Form {
    Q_OBJECT
public:
    Form20();
    ~Form20() override;

    static const vx::MediaPlayerDesign kPlayerDesign;

    vx::ImageBox Image1{this, QStringLiteral("Image1")};
    vx::MediaPlayer MediaPlayer1{this, QStringLiteral("MediaPlayer1"), kPlayerDesign};
    vx::TextBox Text2{this, QStringLiteral("Text2")};
    vx::CheckBox Check1{this, QStringLiteral("Check1"), QStringLiteral("繰り返し")};
    vx::CheckBox Check2{this, QStringLiteral("Check2"), QStringLiteral("1回")};
    vx::CheckBox Check3{this, QStringLiteral("Check3"), QStringLiteral("ランダム")};
    vx::CommandButton Command9{this, QStringLiteral("Command9"), QStringLiteral("前へ")};
    vx::CommandButton Command7{this, QStringLiteral("Command7"), QStringLiteral("次へ")};
    vx::CommandButton Command8{this, QStringLiteral("Command8"), QStringLiteral("プロパティ")};
    vx::Label Label1{this, QStringLiteral("Label1"), QStringLiteral(" ボリューム")};
    vx::TextBox Text1{this, QStringLiteral("Text1")};
    vx::CommandButton Command3{this, QStringLiteral("Command3"), QStringLiteral("タグ")};
    vx::CommandButton Command6{this, QStringLiteral("Command6"), QStringLiteral("設定")};
    vx::CommandButton Command4{this, QStringLiteral("Command4"), QStringLiteral("VXⅠ")};
    vx::CommandButton Command2{this, QStringLiteral("Command2"), QStringLiteral("VXⅢ")};
    vx::CommandButton Command5{this, QStringLiteral("Command5"), QStringLiteral("Viewer")};
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
    void Label1_Click();
    void Label1_DblClick();
    void Label2_Click();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Drive1_Change();
    void Dir1_Change();
    void Text1_Change();
    void File1_Click();
    void File1_OLEDragDrop(const QStringList &files);
    void MediaPlayer1_EndOfStream(int result);
    void MediaPlayer1_PlayStateChange(int oldState, int newState);

    // The full path of the list's current entry.
    QString entryPath() const;
    // The random step's draws (tests make them repeatable).
    void seedRandom(quint32 seed) { random_.seed(seed); }
    // An entry other than `current` among `count`; `current` itself when it
    // is the only one; -1 for an empty list.
    int drawOther(int current, int count);
    // The player for the tag editor.
    tags::TagPlayer &tagPlayer();

private:
    void layOut();
    // Step buttons and position label from the current entry.
    void showEntryState();
    // FileName, Rate, information box, Play: errors go to the caller.
    void loadAndPlay(const QString &path, const QString &displayName);
    // Next and previous play the chosen entry again from its start.
    void replayEntry();
    void saveSettings();
    std::mt19937 random_;
    std::unique_ptr<tags::TagPlayer> tagPlayer_;
};

namespace player2 {

// Form21's play-speed box as a rate: a text that is not a number, or lies
// outside 0.1 to 5.0, plays at 1.0.
double PlaySpeed();
double validSpeed(double rate);

} // namespace player2
