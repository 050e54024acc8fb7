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

    vx::Placed<vx::ImageBox> Image1{{0, 0, 9480, 6300}, this, QStringLiteral("Image1")};
    vx::Placed<vx::MediaPlayer> MediaPlayer1{{120, 120, 5400, 3735}, this, QStringLiteral("MediaPlayer1"),
                                             kPlayerDesign};
    vx::Placed<vx::TextBox> Text2{{120, 3960, 5400, 315}, this, QStringLiteral("Text2")};
    vx::Placed<vx::CheckBox> Check1{{120, 4380, 1395, 300}, this, QStringLiteral("Check1"), QStringLiteral("繰り返し")};
    vx::Placed<vx::CheckBox> Check2{{1620, 4380, 1395, 300}, this, QStringLiteral("Check2"), QStringLiteral("1回")};
    vx::Placed<vx::CheckBox> Check3{{3120, 4380, 1395, 300}, this, QStringLiteral("Check3"),
                                    QStringLiteral("ランダム")};
    vx::Placed<vx::CommandButton> Command9{{120, 4785, 1335, 375}, this, QStringLiteral("Command9"),
                                           QStringLiteral("前へ")};
    vx::Placed<vx::CommandButton> Command7{{1470, 4785, 1335, 375}, this, QStringLiteral("Command7"),
                                           QStringLiteral("次へ")};
    vx::Placed<vx::CommandButton> Command8{{2820, 4785, 1335, 375}, this, QStringLiteral("Command8"),
                                           QStringLiteral("プロパティ")};
    vx::Placed<vx::Label> Label1{{120, 5280, 1035, 285}, this, QStringLiteral("Label1"), QStringLiteral(" ボリューム")};
    vx::Placed<vx::TextBox> Text1{{1170, 5280, 855, 285}, this, QStringLiteral("Text1")};
    vx::Placed<vx::CommandButton> Command3{{4170, 4785, 1350, 375}, this, QStringLiteral("Command3"),
                                           QStringLiteral("タグ")};
    vx::Placed<vx::CommandButton> Command6{{2820, 5235, 1335, 375}, this, QStringLiteral("Command6"),
                                           QStringLiteral("設定")};
    vx::Placed<vx::CommandButton> Command4{{120, 5730, 1335, 375}, this, QStringLiteral("Command4"),
                                           QStringLiteral("VXⅠ")};
    vx::Placed<vx::CommandButton> Command2{{1470, 5730, 1335, 375}, this, QStringLiteral("Command2"),
                                           QStringLiteral("VXⅢ")};
    vx::Placed<vx::CommandButton> Command5{{2820, 5730, 2700, 375}, this, QStringLiteral("Command5"),
                                           QStringLiteral("Viewer")};
    vx::Placed<vx::CommandButton> Command1{{4170, 5235, 1350, 375}, this, QStringLiteral("Command1"),
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
    Q_SLOT void Label1_Click();
    Q_SLOT void Label1_DblClick();
    Q_SLOT void Label2_Click();
    Q_SLOT void Check1_Click();
    Q_SLOT void Check2_Click();
    Q_SLOT void Check3_Click();
    Q_SLOT void Drive1_Change();
    Q_SLOT void Dir1_Change();
    Q_SLOT void Text1_Change();
    Q_SLOT void File1_Click();
    Q_SLOT void File1_OLEDragDrop(const QStringList &files);
    Q_SLOT void MediaPlayer1_EndOfStream(int result);
    Q_SLOT void MediaPlayer1_PlayStateChange(int oldState, int newState);

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
