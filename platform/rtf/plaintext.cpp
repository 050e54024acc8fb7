#include "plaintext.h"

#include "codepage.h"

#include <QStringDecoder>

namespace vx::text {

namespace {

QString detectEol(const QString &s)
{
    for (qsizetype k = 0; k < s.size(); ++k) {
        if (s[k] == QLatin1Char('\r'))
            return k + 1 < s.size() && s[k + 1] == QLatin1Char('\n') ? QStringLiteral("\r\n") : QStringLiteral("\r");
        if (s[k] == QLatin1Char('\n'))
            return QStringLiteral("\n");
    }
    return QStringLiteral("\r\n");
}

QString normaliseBreaks(QString s)
{
    if (!s.contains(QLatin1Char('\r')))
        return s;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

} // namespace

namespace {

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
    f.eol = detectEol(*s);
    if (format)
        *format = f;
    if (keepBreaks)
        return s;
    return normaliseBreaks(std::move(*s));
}

QByteArray encodePlain(const QString &text, TextFormat &format)
{
    QString s = normaliseBreaks(text);
    if (format.eol != QLatin1String("\n"))
        s.replace(QLatin1Char('\n'), format.eol);
    switch (format.encoding) {
    case TextFormat::Utf16Le:
    case TextFormat::Utf16Be:
        return encodeUtf16(s, format.encoding == TextFormat::Utf16Le);
    case TextFormat::Cp932:
        if (auto b = format.rawBytes ? encodeCp932Keeping(s) : encode(s, 932))
            return *b;
        format.encoding = TextFormat::Utf8;
        break;
    case TextFormat::Utf8:
        break;
    }
    QByteArray out = format.rawBytes ? *withRawBytes(s,
                                                     [](QStringView run, QByteArray &o) {
                                                         o += run.toUtf8();
                                                         return true;
                                                     })
                                     : s.toUtf8();
    if (format.bom)
        out.prepend("\xEF\xBB\xBF");
    return out;
}

bool isRichText(const QByteArray &bytes) { return bytes.startsWith("{\\rtf"); }

} // namespace vx::text
