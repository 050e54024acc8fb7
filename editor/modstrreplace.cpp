#include "modstrreplace.h"

namespace modStrReplace {

namespace {
constexpr qsizetype kBlock = 32767;

Qt::CaseSensitivity sensitivity(int compare) { return compare == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive; }
} // namespace

std::vector<qsizetype> ReplaceMatches(const QString &text, const QString &find, int start, int count, int compare)
{
    std::vector<qsizetype> hits;
    const qsizetype n = text.size();
    if (n == 0 || find.isEmpty() || start < 1 || start > n)
        return hits;
    qsizetype pos = start - 1;
    while (count < 0 || static_cast<qsizetype>(hits.size()) < count) {
        const qsizetype hit = text.indexOf(find, pos, sensitivity(compare));
        if (hit < 0)
            break;
        hits.push_back(hit);
        pos = hit + find.size();
    }
    return hits;
}

QString ReplaceString(const QString &text, const QString &find, const QString &replacement, int start, int count,
                      int compare)
{
    const qsizetype n = text.size();
    const qsizetype f = find.size();
    const qsizetype r = replacement.size();
    if (n == 0 || f == 0)
        return text;
    if (start > n || start < 1)
        return text;
    qsizetype size = f < r ? n + kBlock : n;
    QString buffer(size, QChar(0));
    // Positions below are 0-based; the buffer keeps the 1-based layout's sizes.
    auto grow = [&](qsizetype need) {
        if (need <= size)
            return;
        qsizetype gain = kBlock;
        if (need > size + gain)
            gain = need - size;
        size += gain;
        buffer.resize(size, QChar(0));
    };
    QChar *out0 = nullptr;
    qsizetype pos = start - 1;
    qsizetype out = start - 1;
    if (start != 1)
        std::copy(text.constData(), text.constData() + (start - 1), buffer.data());
    qsizetype done = 0;
    for (;;) {
        qsizetype hit = text.indexOf(find, pos, sensitivity(compare));
        if (done == count)
            hit = -1;
        if (hit >= 0) {
            const qsizetype seg = hit - pos;
            grow(out + seg + r);
            out0 = buffer.data();
            std::copy(text.constData() + pos, text.constData() + hit, out0 + out);
            std::copy(replacement.constData(), replacement.constData() + r, out0 + out + seg);
            pos = hit + f;
            out += seg + r;
            ++done;
        } else {
            const qsizetype seg = n - pos;
            grow(out + seg + r);
            out0 = buffer.data();
            std::copy(text.constData() + pos, text.constData() + n, out0 + out);
            buffer.truncate(out + seg);
            return buffer;
        }
    }
}

} // namespace modStrReplace
