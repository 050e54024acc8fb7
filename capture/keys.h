#pragma once
// Settings the capture tool reads (application "Velmora 200X"); it writes none.
#include "suite/keys.h"

#include <QString>

namespace capture::keys {

inline const QString kAllForm = suite::keys::AllForm::Section;
// The launcher window's section: its pointer is read, never written here.
inline const QString kMainForm = QStringLiteral("MainForm");
inline const QString kPointer = suite::keys::AllForm::Pointer;
inline const QString kPointerDefault = suite::keys::AllForm::PointerDefault;

} // namespace capture::keys
