#include "plaintext.h"

#include "codepage.h"

#include <QHashFunctions>
#include <QList>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <vector>

namespace vx::text {

namespace {

// How a line ends; None for the last line.
enum Break : quint8 { None, Lf, CrLf, Cr, Para, Fdd0, Fdd1 };

QStringView breakText(Break b)
{
    static const std::array<QString, 7> texts = {QString(),
                                                 QStringLiteral("\n"),
                                                 QStringLiteral("\r\n"),
                                                 QStringLiteral("\r"),
                                                 QString(QChar(0x2029)),
                                                 QString(QChar(0xFDD0)),
                                                 QString(QChar(0xFDD1))};
    return texts[b];
}

Break breakOf(const QString &eol)
{
    return eol == QLatin1String("\n") ? Lf : eol == QLatin1String("\r") ? Cr : CrLf;
}

quint64 fingerprint(QStringView line)
{
    return quint64(qHash(line, 0)) ^ (quint64(line.size()) * 0x9E3779B97F4A7C15ULL);
}

// Calls `take(line, break)` for each line of `s`, the last with None.
template <typename Take>
void eachLine(const QString &s, Take take)
{
    const QChar *p = s.constData();
    const qsizetype n = s.size();
    qsizetype from = 0;
    for (qsizetype k = 0; k < n; ++k) {
        if (!isBreak(p[k]))
            continue;
        Break b = Lf;
        switch (p[k].unicode()) {
        case '\r':
            b = k + 1 < n && p[k + 1] == QLatin1Char('\n') ? CrLf : Cr;
            break;
        case 0x2029: b = Para; break;
        case 0xFDD0: b = Fdd0; break;
        case 0xFDD1: b = Fdd1; break;
        default: break;
        }
        take(QStringView(p + from, k - from), b);
        if (b == CrLf)
            ++k;
        from = k + 1;
    }
    take(QStringView(p + from, n - from), None);
}

// The most common of LF, CR LF and CR (the first seen of equals); CR LF
// where there is none.
QString commonEol(const std::vector<quint8> &breaks)
{
    std::array<qsizetype, 4> count{};
    std::array<qsizetype, 4> first{};
    first.fill(-1);
    for (size_t k = 0; k < breaks.size(); ++k) {
        const quint8 b = breaks[k];
        if (b >= Lf && b <= Cr) {
            if (count[b]++ == 0)
                first[b] = qsizetype(k);
        }
    }
    int best = CrLf;
    for (int b = Lf; b <= Cr; ++b)
        if (count[b] > count[best] || (count[b] == count[best] && count[b] > 0 && first[b] < first[best]))
            best = b;
    return breakText(Break(best)).toString();
}

} // namespace

struct LineLayout {
    std::vector<quint64> lines;
    std::vector<quint8> breaks; // one per line
};

namespace {

// For each new line the old line it stands for, or -1 (a line added). The
// searches below look at the lines between those both texts begin and end
// with, `offset` lines in.
using Pairs = std::vector<qsizetype>;

// A shortest edit script of whole lines (Myers), its kept lines paired.
// False past a bound of work.
bool keptLines(const quint64 *x0, qsizetype n, const quint64 *y0, qsizetype m, qsizetype offset, Pairs &pair)
{
    // The bound keeps a save of a large, much changed text quick.
    const qsizetype maxD = std::min<qsizetype>({n + m, 1000, std::max<qsizetype>(16, 50'000'000 / (n + m))});
    std::vector<qsizetype> v(size_t(2 * maxD + 3), 0);
    const qsizetype off = maxD + 1;
    std::vector<std::vector<qsizetype>> trace;
    qsizetype found = -1;
    for (qsizetype d = 0; d <= maxD && found < 0; ++d) {
        for (qsizetype k = -d; k <= d; k += 2) {
            qsizetype x = (k == -d || (k != d && v[size_t(off + k - 1)] < v[size_t(off + k + 1)]))
                              ? v[size_t(off + k + 1)]
                              : v[size_t(off + k - 1)] + 1;
            qsizetype y = x - k;
            while (x < n && y < m && x0[x] == y0[y]) {
                ++x;
                ++y;
            }
            v[size_t(off + k)] = x;
            if (x >= n && y >= m)
                found = d;
        }
        trace.emplace_back(v.begin() + off - d, v.begin() + off + d + 1);
    }
    if (found < 0)
        return false;
    qsizetype x = n, y = m;
    for (qsizetype d = found; d > 0; --d) {
        const std::vector<qsizetype> &prev = trace[size_t(d - 1)]; // k from -(d-1)
        auto at = [&](qsizetype k) { return prev[size_t(k + d - 1)]; };
        const qsizetype k = x - y;
        const qsizetype pk = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? k + 1 : k - 1;
        const qsizetype px = at(pk), py = px - pk;
        const qsizetype sx = pk == k + 1 ? px : px + 1; // where the snake began
        while (x > sx) {
            --x;
            --y;
            pair[size_t(offset + y)] = offset + x;
        }
        x = px;
        y = py;
    }
    while (x > 0 && y > 0) {
        --x;
        --y;
        pair[size_t(offset + y)] = offset + x;
    }
    return true;
}

// The cheapest way from `a` to `b` with a line kept free and a line changed,
// added or removed costing one, in a band around the diagonal: a changed line
// pairs with the line it was, however it reads (an edit script of kept lines
// alone pairs an edited line that read like its neighbour with the wrong
// one). False when the band would not fit the bound.
bool changedLines(const quint64 *x, qsizetype n, const quint64 *y, qsizetype m, qsizetype offset, Pairs &pair)
{
    constexpr qsizetype kCells = 8 << 20;
    const qsizetype spread = std::abs(m - n);
    const qsizetype band = std::min<qsizetype>(256, (kCells / (n + 1) - spread - 1) / 2);
    if (band < 8)
        return false;
    const qsizetype lo = std::min<qsizetype>(0, m - n) - band, hi = std::max<qsizetype>(0, m - n) + band;
    const qsizetype width = hi - lo + 1;
    enum : quint8 { Diagonal, Added, Removed };
    std::vector<quint8> from(size_t((n + 1) * width));
    constexpr int kFar = std::numeric_limits<int>::max() / 2;
    std::vector<int> prev(size_t(width), kFar), cur(size_t(width), kFar);
    for (qsizetype i = 0; i <= n; ++i) {
        for (qsizetype c = 0; c < width; ++c) {
            const qsizetype j = i + lo + c;
            int best = kFar;
            quint8 way = Diagonal;
            if (j >= 0 && j <= m) {
                if (i == 0 && j == 0)
                    best = 0;
                if (i > 0 && j > 0 && prev[size_t(c)] < kFar)
                    best = prev[size_t(c)] + (x[i - 1] == y[j - 1] ? 0 : 1);
                if (j > 0 && c > 0 && cur[size_t(c - 1)] + 1 < best) {
                    best = cur[size_t(c - 1)] + 1;
                    way = Added;
                }
                if (i > 0 && c + 1 < width && prev[size_t(c + 1)] + 1 < best) {
                    best = prev[size_t(c + 1)] + 1;
                    way = Removed;
                }
            }
            cur[size_t(c)] = best;
            from[size_t(i * width + c)] = way;
        }
        std::swap(prev, cur);
    }
    for (qsizetype i = n, j = m; i > 0 || j > 0;) {
        switch (from[size_t(i * width + (j - i - lo))]) {
        case Diagonal: pair[size_t(offset + --j)] = offset + --i; break;
        case Added: --j; break;
        case Removed: --i; break;
        }
    }
    return true;
}

// For each of `b`'s lines the line of `a` it stands for, or -1.
Pairs pairLines(const std::vector<quint64> &a, const std::vector<quint64> &b)
{
    Pairs pair(b.size(), -1);
    const qsizetype n0 = qsizetype(a.size()), m0 = qsizetype(b.size());
    qsizetype head = 0;
    while (head < n0 && head < m0 && a[size_t(head)] == b[size_t(head)]) {
        pair[size_t(head)] = head;
        ++head;
    }
    qsizetype tail = 0;
    while (tail < n0 - head && tail < m0 - head && a[size_t(n0 - 1 - tail)] == b[size_t(m0 - 1 - tail)]) {
        pair[size_t(m0 - 1 - tail)] = n0 - 1 - tail;
        ++tail;
    }
    const qsizetype n = n0 - head - tail, m = m0 - head - tail;
    if (n == 0 || m == 0)
        return pair;
    const quint64 *x = a.data() + head, *y = b.data() + head;
    if (changedLines(x, n, y, m, head, pair))
        return pair;
    keptLines(x, n, y, m, head, pair);
    // Too many lines apart for that: kept lines found (none past the bound),
    // and between them the lines added in place of others pair with them
    // from the end: a line split in two ends as it did (the break typed
    // into it is new), two lines joined end as the second did.
    qsizetype prevOld = -1;
    for (size_t j = 0; j < size_t(m0);) {
        if (pair[j] >= 0) {
            prevOld = pair[j++];
            continue;
        }
        size_t end = j;
        while (end < size_t(m0) && pair[end] < 0)
            ++end;
        const qsizetype nextOld = end < size_t(m0) ? pair[end] : n0;
        const qsizetype paired = std::min(nextOld - 1 - prevOld, qsizetype(end - j));
        for (qsizetype i = 0; i < paired; ++i)
            pair[end - 1 - size_t(i)] = nextOld - 1 - i;
        j = end;
    }
    return pair;
}

// The break each of the new lines ends with: a line that stands for an old
// one ends as it did, any other with the file's most common break.
std::vector<quint8> chooseBreaks(const std::vector<quint64> &lines, const TextFormat &format)
{
    const quint8 eol = breakOf(format.eol);
    std::vector<quint8> out(lines.size(), eol);
    if (format.layout) {
        const LineLayout &old = *format.layout;
        const Pairs pair = pairLines(old.lines, lines);
        for (size_t j = 0; j < lines.size(); ++j)
            if (pair[j] >= 0 && old.breaks[size_t(pair[j])] != None)
                out[j] = old.breaks[size_t(pair[j])];
    }
    out.back() = None;
    return out;
}

// UTF-16 after its byte order mark; nullopt when the bytes are not whole
// UTF-16 (an odd length, a lone surrogate).
std::optional<QString> decodeUtf16(QByteArrayView body, bool littleEndian)
{
    if (body.size() % 2 != 0)
        return std::nullopt;
    QString s(body.size() / 2, Qt::Uninitialized);
    const auto *p = reinterpret_cast<const unsigned char *>(body.data());
    for (qsizetype k = 0; k < s.size(); ++k, p += 2)
        s[k] = QChar(char16_t(littleEndian ? p[0] | p[1] << 8 : p[0] << 8 | p[1]));
    for (qsizetype k = 0; k < s.size(); ++k) {
        if (s[k].isHighSurrogate() && k + 1 < s.size() && s[k + 1].isLowSurrogate())
            ++k;
        else if (s[k].isSurrogate())
            return std::nullopt;
    }
    return s;
}

QByteArray encodeUtf16(const QString &s, bool littleEndian)
{
    QByteArray out(2 + s.size() * 2, Qt::Uninitialized);
    char *o = out.data();
    auto put = [&](char16_t u) {
        *o++ = char(littleEndian ? u & 0xFF : u >> 8);
        *o++ = char(littleEndian ? u >> 8 : u & 0xFF);
    };
    put(0xFEFF);
    for (const QChar c : s)
        put(c.unicode());
    return out;
}

std::optional<QString> decodeUtf8(QByteArrayView body)
{
    // Qt's plain conversion is the quicker one and marks every invalid
    // sequence with U+FFFD: only text holding that character (rarely valid
    // UTF-8 that spells it) needs the strict decoder to tell which it is.
    QString s = QString::fromUtf8(body);
    // It also drops a byte order mark it begins with: one after the file's
    // own mark is text.
    if (body.startsWith("\xEF\xBB\xBF") && !s.startsWith(QChar(0xFEFF)))
        s.prepend(QChar(0xFEFF));
    if (!s.contains(QChar::ReplacementCharacter))
        return s;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString strict = utf8.decode(body); // decodes only when taken as a string
    if (utf8.hasError())
        return std::nullopt;
    return s;
}

} // namespace

std::optional<QString> decodePlain(const QByteArray &bytes, TextFormat *format, bool keepBreaks)
{
    TextFormat f;
    std::optional<QString> s;
    const QByteArrayView all(bytes);
    if (all.startsWith("\xFF\xFE") || all.startsWith("\xFE\xFF")) {
        const bool le = all.startsWith("\xFF\xFE");
        s = decodeUtf16(all.sliced(2), le);
        if (s) {
            f.encoding = le ? TextFormat::Utf16Le : TextFormat::Utf16Be;
            f.bom = true;
        }
    } else if (all.startsWith("\xEF\xBB\xBF")) {
        // A view: the mark is skipped without copying the bytes.
        s = decodeUtf8(all.sliced(3));
        f.bom = s.has_value();
    } else {
        s = decodeUtf8(all);
    }
    if (!s) {
        // Anything else is CP932, every byte kept, the mark included.
        f = TextFormat();
        f.encoding = TextFormat::Cp932;
        s = decodeCp932Keeping(bytes, &f.rawBytes);
    }
    auto layout = std::make_shared<LineLayout>();
    const bool joined = keepBreaks || !std::any_of(s->cbegin(), s->cend(), [](QChar c) {
        return isBreak(c) && c != QLatin1Char('\n');
    });
    QString plain;
    if (!joined)
        plain.reserve(s->size());
    eachLine(*s, [&](QStringView line, Break b) {
        layout->lines.push_back(fingerprint(line));
        layout->breaks.push_back(b);
        if (!joined) {
            plain += line;
            if (b != None)
                plain += QLatin1Char('\n');
        }
    });
    f.eol = commonEol(layout->breaks);
    f.finalBreak = false;
    f.layout = std::move(layout);
    if (format)
        *format = f;
    if (joined)
        return s;
    return plain;
}

std::optional<QByteArray> encodePlain(const QString &text, const TextFormat &format, TextFormat *written,
                                      QString *unwritable)
{
    auto layout = std::make_shared<LineLayout>();
    std::vector<QStringView> views;
    eachLine(text, [&](QStringView line, Break) {
        views.push_back(line);
        layout->lines.push_back(fingerprint(line));
    });
    layout->breaks = chooseBreaks(layout->lines, format);
    QString s;
    s.reserve(text.size() + 2);
    for (size_t k = 0; k < views.size(); ++k) {
        s += views[k];
        s += breakText(Break(layout->breaks[k]));
    }
    views = {};
    if (format.finalBreak && !s.isEmpty() && !isBreak(s.back()))
        s += format.eol;

    std::optional<QByteArray> out;
    qsizetype bad = -1;
    switch (format.encoding) {
    case TextFormat::Utf16Le:
    case TextFormat::Utf16Be:
        out = encodeUtf16(s, format.encoding == TextFormat::Utf16Le);
        break;
    case TextFormat::Cp932:
        out = format.rawBytes ? encodeCp932Keeping(s, &bad) : encode(s, 932, &bad);
        break;
    case TextFormat::Utf8:
        out = format.rawBytes ? withRawBytes(s,
                                             [](QStringView run, QByteArray &o) {
                                                 o += run.toUtf8();
                                                 return true;
                                             })
                              : s.toUtf8();
        if (out && format.bom)
            out->prepend("\xEF\xBB\xBF");
        break;
    }
    if (!out) {
        if (unwritable && bad >= 0 && bad < s.size())
            *unwritable = s.mid(bad, s[bad].isHighSurrogate() && bad + 1 < s.size() ? 2 : 1);
        return std::nullopt;
    }
    if (written) {
        *written = format;
        written->rich.reset();
        written->eol = commonEol(layout->breaks);
        if (written->eol != format.eol && std::none_of(layout->breaks.begin(), layout->breaks.end(),
                                                       [](quint8 b) { return b >= Lf && b <= Cr; }))
            written->eol = format.eol;
        written->layout = std::move(layout);
    }
    return out;
}

std::optional<TextFormat> asUtf8(const TextFormat &format)
{
    if (format.rawBytes)
        return std::nullopt;
    TextFormat f = format;
    f.encoding = TextFormat::Utf8;
    f.bom = false;
    return f;
}

QString encodingName(const TextFormat &format)
{
    switch (format.encoding) {
    case TextFormat::Cp932: return QStringLiteral("Shift_JIS");
    case TextFormat::Utf16Le:
    case TextFormat::Utf16Be: return QStringLiteral("UTF-16");
    case TextFormat::Utf8: break;
    }
    return QStringLiteral("UTF-8");
}

QString unwritableMessage(const QString &character, const TextFormat &format)
{
    const QString code = QString::number(character.toUcs4().value(0), 16).toUpper().rightJustified(4, QLatin1Char('0'));
    return QStringLiteral("「%1」(U+%2) は %3 で保存できない文字です。").arg(character, code, encodingName(format));
}

bool isRichText(const QByteArray &bytes) { return bytes.startsWith("{\\rtf"); }

} // namespace vx::text
