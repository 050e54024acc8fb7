#pragma once
// The suite's settings: application "Velmora 200X", read with a default, and
// the shared window rules every window applies at load.
#include <QString>

namespace vx {
class Form;
}

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

// "AllForm"/"Pointer" (default "99") as the window's mouse pointer.
void applyPointer(vx::Form &form);
// "AllForm"/"FormTemae" = 1: the window stays above normal windows.
void applyTopmost(vx::Form &form);
// Left and top from section/"FormLeft","FormTop" with the given default.
void restorePosition(vx::Form &form, const QString &section, const QString &def);
// Writes the window's left and top to section/"FormLeft","FormTop".
void savePosition(const vx::Form &form, const QString &section);

// The help file "help.chm" in the program folder.
QString helpFilePath();

} // namespace suite
