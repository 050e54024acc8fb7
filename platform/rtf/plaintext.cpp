#include "plaintext.h"

#include "codepage.h"
#include "linepairs.h"

#include <QHashFunctions>
#include <QList>
#include <QStringDecoder>

#include <algorithm>
#include <array>
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

// The break each of the new lines ends with: a line that stands for an old
// one ends as it did, any other with the file's most common break.
std::vector<quint8> chooseBreaks(const std::vector<quint64> &lines, const TextFormat &format)
{
    const quint8 eol = breakOf(format.eol);
    std::vector<quint8> out(lines.size(), eol);
    if (format.layout) {
        const LineLayout &old = *format.layout;
        const LinePairs pair = pairLines(old.lines, lines);
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
