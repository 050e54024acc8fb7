#pragma once
// Settings of the application-list launcher: section "Kinvoke".
#include <QString>

namespace applist::keys {

inline const QString kSection = QStringLiteral("Kinvoke");
// Number of registered programs; the programs themselves are keys "1" .. "n".
inline const QString kAppCount = QStringLiteral("AppCount");

} // namespace applist::keys
