#pragma once
// Settings of the text editor: application "Velmora 200X", section "Scrivolt".
#include <QString>

namespace editor::keys {

inline const QString kSection = QStringLiteral("Scrivolt");

inline const QString kPaparColor = QStringLiteral("PaparColor");
inline const QString kFont = QStringLiteral("Font");
inline const QString kFontSize = QStringLiteral("FontSize");
inline const QString kFontBold = QStringLiteral("FontBold");
inline const QString kFontItalic = QStringLiteral("FontItalic");
inline const QString kFontColor = QStringLiteral("FontColor");
inline const QString kDir = QStringLiteral("Dir");
inline const QString kDrive = QStringLiteral("Drive");
inline const QString kFormLeft = QStringLiteral("FormLeft");
inline const QString kFormTop = QStringLiteral("FormTop");

// Defaults.
inline const QString kPaparColorDefault = QStringLiteral("-2147483643"); // the system window colour
inline const QString kFontDefault = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kFontSizeDefault = QStringLiteral("9");
inline const QString kFontBoldDefault = QStringLiteral("False");
inline const QString kFontItalicDefault = QStringLiteral("False");
inline const QString kFontColorDefault = QStringLiteral("0");
inline const QString kDirDefault = QString();
inline const QString kDriveDefault = QStringLiteral("c:");
inline const QString kPositionDefault = QStringLiteral("1500");

} // namespace editor::keys
