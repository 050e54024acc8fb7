#pragma once
// Settings the archive window reads and writes.
#include <QString>

namespace archive::keys {

inline const QString kSection = QStringLiteral("Cramlet&Loosel");
// Read as "DesktopEX", written as "desktopEX": the store ignores case.
inline const QString kDesktopRead = QStringLiteral("DesktopEX");
inline const QString kDesktopWrite = QStringLiteral("desktopEX");
// The media player II window's start folder, written with the LZH pane's folder.
inline const QString kPlayerSection = QStringLiteral("Multimedia Rondix2");
inline const QString kPlayerDir = QStringLiteral("Dir");
inline const QString kMainFormSection = QStringLiteral("MainForm");
inline const QString kAllFormSection = QStringLiteral("AllForm");
inline const QString kPointer = QStringLiteral("Pointer");

} // namespace archive::keys
