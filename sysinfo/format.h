#pragma once
// The texts the system information window shows for what it reads.
#include "platform/system/facts.h"

#include <QString>
#include <QStringList>

namespace sysinfo {

// "#,##0": digits grouped by three with ",".
QString groupDigits(qint64 value);
// "1,234バイト".
QString bytesText(qint64 value);
// "起動時間  HH時間MM分SS秒", hours in full (two digits at least).
QString uptimeText(qint64 ms);
// Used share of a drive as a whole percentage; 0 for a drive of size 0.
int usedPercent(qint64 total, qint64 freeToUser);
// The five rows "構造", "数", "タイプ", "レベル", "リビジョン", each caption TAB value.
QStringList processorRows(const vx::facts::Processor &p);
// The classic leading-number reading of a text ("64MB" 64, "x" 0).
double leadingNumber(const QString &text);

} // namespace sysinfo
