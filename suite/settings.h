#pragma once
// The suite's settings: application "Velmora 200X", read with a default, and
// the shared window rules every window applies at load.
#include <QString>

#include <span>

namespace vx {
class CommandButton;
class FileListBox;
class Form;
class Label;
} // namespace vx

namespace suite {

extern const QString kApp; // "Velmora 200X"

QString GetSetting(const QString &section, const QString &key, const QString &def);
// Throws vx::RuntimeError when the store cannot be written.
void SaveSetting(const QString &section, const QString &key, const QString &value);
void DeleteSetting(const QString &section, const QString &key);
void DeleteSection(const QString &section);

// Typed reads: a stored text that is not a number (or out of range) gives the
// default's value.
qint32 GetLong(const QString &section, const QString &key, const QString &def);
qint16 GetInteger(const QString &section, const QString &key, const QString &def);
float GetSingle(const QString &section, const QString &key, const QString &def);
double GetDouble(const QString &section, const QString &key, const QString &def);
// A classic signed 32-bit colour (0x00BBGGRR or a system colour), read like
// GetLong: a stored text that is not one gives `def`.
qint32 GetColor(const QString &section, const QString &key, qint32 def);

// "AllForm"/"Pointer" (default "99") as the window's mouse pointer.
void applyPointer(vx::Form &form);
// "AllForm"/"FormTemae" = 1: the window stays above normal windows.
void applyTopmost(vx::Form &form);
// section/"BottonColor" (default the active border colour) as each button's
// back colour, read once per button.
void applyButtonColor(const QString &section, std::span<vx::CommandButton *const> buttons);
// Left and top from section/"FormLeft","FormTop" with the given default.
void restorePosition(vx::Form &form, const QString &section, const QString &def);
// Writes the window's left and top to section/"FormLeft","FormTop".
void savePosition(const vx::Form &form, const QString &section);
// The look a picture tool's settings window stores at its unload: the tool's
// back colour, `button`'s colour, the file list's font and back colour, and
// `count`'s back colour.
void saveListLook(const QString &section, const vx::Form &tool, const vx::CommandButton &button,
                  const vx::FileListBox &files, const vx::Label &count);

// The help file "help.chm" in the program folder.
QString helpFilePath();

} // namespace suite
