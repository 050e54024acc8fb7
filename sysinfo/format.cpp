#include "format.h"

#include <QRegularExpression>

#include <cmath>

namespace sysinfo {

QString groupDigits(qint64 value)
{
    const bool negative = value < 0;
    QString digits = QString::number(value);
    if (negative)
        digits.remove(0, 1);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return negative ? QLatin1Char('-') + digits : digits;
}

QString bytesText(qint64 value) { return groupDigits(value) + QStringLiteral("バイト"); }

QString uptimeText(qint64 ms)
{
    const qint64 s = std::max<qint64>(0, ms) / 1000;
    const qint64 h = s / 3600;
    const qint64 m = (s / 60) % 60;
    const qint64 sec = s % 60;
    auto two = [](qint64 v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return QStringLiteral("起動時間  ") + two(h) + QStringLiteral("時間") + two(m) + QStringLiteral("分") + two(sec) +
           QStringLiteral("秒");
}

int usedPercent(qint64 total, qint64 freeToUser)
{
    if (total <= 0)
        return 0;
    // The space held back for the administrator counts as used, as the user sees it.
    const double used = static_cast<double>(total - std::clamp<qint64>(freeToUser, 0, total));
    return static_cast<int>(std::lround(used * 100.0 / static_cast<double>(total)));
}

QStringList processorRows(const vx::facts::Processor &p)
{
    const QString unknown = QStringLiteral("不明");
    QString type = unknown;
    QString level = unknown;
    QString revision = unknown;
    if (p.intel && p.family >= 0) {
        // The classic processor types: 386, 486, then
        // "Pentium" for family 5 and every later one.
        if (p.family == 3)
            type = QStringLiteral("386");
        else if (p.family == 4)
            type = QStringLiteral("486");
        else if (p.family >= 5)
            type = QStringLiteral("Pentium");
        switch (p.family) {
        case 3: level = QStringLiteral("80386"); break;
        case 4: level = QStringLiteral("80486"); break;
        case 5: level = QStringLiteral("Pentium"); break;
        case 6: level = QStringLiteral("Pentium Pro/II/III/4"); break;
        default: break;
        }
        if (p.model >= 0 && p.stepping >= 0)
            revision = QString::number(p.model * 256 + p.stepping, 16).toUpper();
    }
    const QChar tab(QLatin1Char('\t'));
    return {QStringLiteral("構造") + tab + (p.intel ? QStringLiteral("INTEL") : unknown),
            QStringLiteral("数") + tab + QString::number(p.count), QStringLiteral("タイプ") + tab + type,
            QStringLiteral("レベル") + tab + level, QStringLiteral("リビジョン") + tab + revision};
}

double leadingNumber(const QString &text)
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?))"));
    const auto m = re.match(text);
    return m.hasMatch() ? m.captured(1).toDouble() : 0.0;
}

} // namespace sysinfo
