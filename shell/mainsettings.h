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

} // namespace shell::mainsettings
