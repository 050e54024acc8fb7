#pragma once
// Settings the system information window reads (application "Velmora 200X");
// it writes none.
#include "suite/keys.h"

#include <QString>

namespace sysinfo::keys {

inline const QString kAllForm = suite::keys::AllForm::Section;
// The launcher window's section: its pointer is read, never written here.
inline const QString kMainForm = QStringLiteral("MainForm");
inline const QString kPointer = suite::keys::AllForm::Pointer;
inline const QString kPointerDefault = suite::keys::AllForm::PointerDefault;

} // namespace sysinfo::keys
