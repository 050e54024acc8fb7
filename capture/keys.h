#pragma once
// Settings the capture tool reads (application "Velmora 200X"); it writes none.
#include <QString>

namespace capture::keys {

inline const QString kAllForm = QStringLiteral("AllForm");
inline const QString kMainForm = QStringLiteral("MainForm");
inline const QString kPointer = QStringLiteral("Pointer");
inline const QString kPointerDefault = QStringLiteral("99");

} // namespace capture::keys
