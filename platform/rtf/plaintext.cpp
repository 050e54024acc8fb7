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
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = utf8.decode(body);
    if (utf8.hasError()) {
        if (f.bom)
            return std::nullopt;
        auto cp = decodeStrict(body.toByteArray(), 932);
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
