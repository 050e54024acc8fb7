#pragma once
// What the settings windows of the three main windows share: the style box,
// the pointer and always-on-top choices, the keys every one of them writes
// and the reset.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

namespace shell::mainsettings {

// The style words offered in the box, in list order; the first is the box's
// initial text.
QStringList styleWords();
// Fills the style box with its words and initial text.
void fillStyleBox(vx::ComboBox &combo);

// The close button's words: "元祖フォーム", "小さいフォーム",
// "次世代フォーム（標準)". The closing handler of the button windows knows
// another set: "デフォルトのフォーム（標準)", "小さいフォーム", "大きいフォーム".
enum class Words { CloseButton, Closing };
// The stored style for a word ("" for a word the set does not know).
QString styleForWord(const QString &word, Words words);
// Writes "MainForm"/"Form" for the box's word; a word the set does not know
// writes nothing.
void saveStyle(const vx::ComboBox &combo, Words words);
// The box shows the stored style ("MainForm"/"Form", default "Main1"); a
// style without a word ("Main3") leaves the box as it is.
void loadStyle(vx::ComboBox &combo);

// Load steps every settings window shares: Check2 from "AllForm"/"FormTemae",
// the window's pointer from "AllForm"/"Pointer", Check1 when that is 0.
void loadChoices(vx::Form &window, vx::CheckBox &check1, vx::CheckBox &check2);
// Check1 previews the pointer on the settings window alone.
void previewPointer(vx::Form &window, const vx::CheckBox &check1);
// "AllForm"/"FormTemae" from Check2.
void saveTopmost(const vx::CheckBox &check2);
// section/"Pointer" := the settings window's own pointer.
void savePointer(const QString &section, const vx::Form &window);

// A colour as stored: its signed decimal text.
QString colourText(qint32 colour);

// Reset: deletes `section` and, when `pointerToo`, "MainForm"/"Pointer";
// says the reset applies at the next start and hides the window. A section
// that is not there stops it all quietly; a pointer key that is not there
// means that part is done already.
void reset(vx::Form &window, const QString &section, bool pointerToo);

// A main window's settings window: its line of introduction, the style box
// and the two choices on top, laid out alike; each window lays out and lists
// its own buttons below them.
class Window : public vx::Form {
    Q_OBJECT
public:
    vx::Placed<vx::Label> Label1{{120, 120, 6600, 255}, this, QStringLiteral("Label1"),
                                 QStringLiteral("Velmora 2002メイン画面に関する設定ができます。")};
    vx::Placed<vx::Label> Label2{{120, 450, 3600, 255}, this, QStringLiteral("Label2"),
                                 QStringLiteral("☆メインフォームの種類(大きさ)☆")};
    vx::ComboBox Combo1{this, QStringLiteral("Combo1"), 0};
    vx::Placed<vx::CheckBox> Check1{{120, 1140, 6600, 285}, this, QStringLiteral("Check1"),
                                    QStringLiteral("カーソルはやっぱ通常がいい")};
    vx::Placed<vx::CheckBox> Check2{{120, 1440, 6600, 285}, this, QStringLiteral("Check2"),
                                    QStringLiteral("メイン画面を常に手前に表示する(次回起動時有効)")};

    // The two choices as stored; the box keeps its first word.
    void Form_Load() override;
    Q_SLOT void Check1_Click();

protected:
    Window(const QString &name, const QString &caption, int height);
    // The close button of the windows that store their colours between the
    // style and the pointer.
    void closeStoringColours();
    // Load and close box of the button main windows' settings: the stored
    // style in the box first; at closing the style, the colours and the
    // pointer ("MainForm").
    void loadWithStyle();
    void storeAtClosing();
    virtual void saveColours() = 0;
};

} // namespace shell::mainsettings
