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

std::optional<QString> decodePlain(const QByteArray &bytes, TextFormat *format, bool keepBreaks)
{
    TextFormat f;
    // A view: the mark is skipped without copying the bytes.
    QByteArrayView body(bytes);
    if (body.startsWith("\xEF\xBB\xBF")) {
        f.bom = true;
        body = body.sliced(3);
    }
    // Qt's plain conversion is the quicker one and marks every invalid
    // sequence with U+FFFD: only text holding that character (rarely valid
    // UTF-8 that spells it) needs the strict decoder to tell which it is.
    QString s = QString::fromUtf8(body);
    bool valid = !s.contains(QChar::ReplacementCharacter);
    if (!valid) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString strict = utf8.decode(body); // decodes only when taken as a string
        valid = !utf8.hasError();
    }
    if (!valid) {
        if (f.bom)
            return std::nullopt;
        auto cp = decodeStrict(body.size() == bytes.size() ? bytes : body.toByteArray(), 932);
        if (!cp)
            return std::nullopt;
        s = *cp;
        f.encoding = TextFormat::Cp932;
    }
    f.eol = detectEol(s);
    if (format)
        *format = f;
    if (keepBreaks)
        return s;
    return normaliseBreaks(std::move(s));
}

QByteArray encodePlain(const QString &text, TextFormat &format)
{
    QString s = normaliseBreaks(text);
    if (format.eol != QLatin1String("\n"))
        s.replace(QLatin1Char('\n'), format.eol);
    if (format.encoding == TextFormat::Cp932) {
        if (auto b = encode(s, 932))
            return *b;
        format.encoding = TextFormat::Utf8;
    }
    QByteArray out = s.toUtf8();
    if (format.bom)
        out.prepend("\xEF\xBB\xBF");
    return out;
}

bool isRichText(const QByteArray &bytes) { return bytes.startsWith("{\\rtf"); }

} // namespace vx::text
