#pragma once
// What the two plug-in viewers and their settings windows share of section
// "Susie Rondix": the lists' font as stored, the slide speed as stored, and
// the slide show switch.
#include "platform/forms/controls.h"
#include "platform/forms/filelists.h"

#include <QString>

namespace viewer3 {

// "FontSize", "FontBold", "FontItalic" onto the three lists.
void applyListFont(vx::DriveListBox &drive, vx::DirListBox &dir, vx::FileListBox &file);
// Size, bold and italic of a font choice onto the three lists (not the name).
void setListFont(vx::DriveListBox &drive, vx::DirListBox &dir, vx::FileListBox &file, double size, bool bold,
                 bool italic);
// "Speed" as stored; a value the slider cannot take gives the default.
int storedSpeed();
// "True" / "False", as the store spells the flags.
QString flagWord(bool on);
// Slide show on/off with the interval given; the button tells what a press does next.
void toggleSlideShow(vx::Timer &timer, vx::CommandButton &button, int interval);
// "3/12": position + 1, "/", count.
QString positionText(int index, int count);
// Next (+1) or previous (-1) entry of the list: nothing past either end, and
// an entry that cannot be shown ends the step quietly.
void stepFile(vx::FileListBox &list, int delta);
// The open button's filter: every extension an image plug-in may take.
QString pluginFileFilter();

} // namespace viewer3
