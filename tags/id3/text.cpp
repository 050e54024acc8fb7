// Text in tags: CP932 through iconv, UTF-16 with either byte order, and the
// numeric value of a text.
#include "id3.h"

#include "platform/core/errors.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <iconv.h>

namespace ID3Module {

namespace {

// One converter per direction and thread; iconv_open is costly next to a tag.
class Converter {
public:
    Converter(const char *to, const char *from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;
    // False when the input holds a sequence the target cannot take.
    bool convert(const QByteArray &in, QByteArray &out)
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.resize(in.size() * 2 + 16);
        char *src = const_cast<char *>(in.constData());
        size_t srcLeft = static_cast<size_t>(in.size());
        char *dst = out.data();
        size_t dstLeft = static_cast<size_t>(out.size());
        if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1))
            return false;
        if (iconv(cd_, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1))
            return false;
        out.resize(out.size() - static_cast<qsizetype>(dstLeft));
        return true;
    }

private:
    iconv_t cd_;
};

Converter &decoder()
{
    thread_local Converter c("UTF-16LE", "CP932");
    return c;
}

Converter &encoder()
{
    thread_local Converter c("CP932", "UTF-16LE");
    return c;
}

bool isAscii(const QByteArray &bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// How likely a UTF-16 unit is in a tag's text: a mislabelled byte order turns
// ASCII into U+xx00, kana into Hangul, surrogates or private use.
int plausibility(char16_t u)
{
    if (u == 0x09 || u == 0x0A || u == 0x0D || (u >= 0x20 && u <= 0x7E))
        return 3;
    if (u >= 0x3000 && u <= 0x30FF)
        return 3;
    if (u >= 0xFF00 && u <= 0xFFEF)
        return 2;
    if ((u >= 0xA0 && u <= 0x04FF) || (u >= 0x2000 && u <= 0x206F) || (u >= 0x4E00 && u <= 0x9FFF) ||
        (u >= 0xAC00 && u <= 0xD7A3))
        return 1;
    if (u >= 0xD800 && u <= 0xF8FF)
        return -3;
    if (u < 0x20 || (u >= 0x7F && u < 0xA0) || u >= 0xFFF0)
        return -3;
    return 0;
}

} // namespace

QString FromCodePage(const QByteArray &bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    QByteArray utf16;
    const auto text = [&utf16] { return QString(reinterpret_cast<const QChar *>(utf16.constData()), utf16.size() / 2); };
    if (decoder().convert(bytes, utf16))
        return text();
    // A text another tagger cut at a byte count ends in the first byte of a
    // double-byte character: the whole characters before it are the text.
    // Bytes 81..9F are control codes in ISO-8859-1, never its text, so one of
    // them tells CP932 from a Latin-1 letter (é is E9, a CP932 first byte).
    const auto last = static_cast<unsigned char>(bytes.back());
    const bool lead = (last >= 0x81 && last <= 0x9F) || (last >= 0xE0 && last <= 0xFC);
    const bool cp932 = std::any_of(bytes.begin(), bytes.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x81 && static_cast<unsigned char>(c) <= 0x9F;
    });
    if (lead && cp932 && decoder().convert(bytes.chopped(1), utf16))
        return text();
    return QString::fromLatin1(bytes);
}

QByteArray ToCodePage(const QString &text)
{
    bool ascii = true;
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            ascii = false;
    if (ascii)
        return text.toLatin1();
    const QByteArray in(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    QByteArray out;
    if (!encoder().convert(in, out))
        vx::raise(vx::err::InvalidCall,
                  QStringLiteral("「%1」には Shift_JIS (CP932) で書けない文字があります。").arg(text));
    return out;
}

int CodePageLength(const QString &text)
{
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F))
            n += 1;
        else {
            n += 2;
            if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ++i;
        }
    }
    return n;
}

QByteArray GetBytesFromArray(const QByteArray &bytes, qint64 &index, qint64 count)
{
    QByteArray out;
    if (count <= 0)
        return out;
    out.resize(count, '\0');
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = index - 1 + i;
        if (at >= 0 && at < bytes.size())
            out[i] = bytes[at];
    }
    index += count;
    return out;
}

QString DecodeFrameText(const QByteArray &payload, qint64 &index, int encoding)
{
    const qint64 size = payload.size();
    if (encoding == 255) {
        encoding = index >= 1 && index <= size ? static_cast<unsigned char>(payload[index - 1]) : -1;
        ++index;
    }
    if (index < 1)
        index = 1;
    if (encoding == 0) {
        qint64 end = index - 1;
        while (end < size && payload[end] != '\0')
            ++end;
        const QString text = FromCodePage(payload.mid(index - 1, end - (index - 1)));
        index = end < size ? end + 2 : size + 1;
        return text;
    }
    if (encoding != 1)
        return QString();

    qint64 at = index - 1;
    int order = 0; // 0 unknown, 1 little-endian, 2 big-endian
    if (at + 1 < size) {
        const auto b0 = static_cast<unsigned char>(payload[at]);
        const auto b1 = static_cast<unsigned char>(payload[at + 1]);
        if (b0 == 0xFF && b1 == 0xFE)
            order = 1;
        else if (b0 == 0xFE && b1 == 0xFF)
            order = 2;
        if (order)
            at += 2;
    }
    const qint64 start = at;
    while (at + 1 < size && (payload[at] != '\0' || payload[at + 1] != '\0'))
        at += 2;
    const qint64 units = (at - start) / 2;
    index = (at + 1 < size ? at + 2 : size) + 1;

    auto unit = [&](qint64 i, bool little) {
        const auto lo = static_cast<unsigned char>(payload[start + 2 * i + (little ? 0 : 1)]);
        const auto hi = static_cast<unsigned char>(payload[start + 2 * i + (little ? 1 : 0)]);
        return static_cast<char16_t>(hi << 8 | lo);
    };
    bool little = order != 2;
    // Big-endian by its mark, or no mark at all: take the order the text reads in.
    if (order != 1) {
        int le = 0;
        int be = 0;
        // A unit ending in 00 is mostly ASCII in the other order ("0" read as U+3000).
        auto score = [](char16_t u) { return plausibility(u) - ((u & 0xFF) == 0 && u >= 0x100 ? 1 : 0); };
        for (qint64 i = 0; i < units; ++i) {
            le += score(unit(i, true));
            be += score(unit(i, false));
        }
        little = order == 2 ? le > be : le >= be;
    }
    QString text(units, Qt::Uninitialized);
    for (qint64 i = 0; i < units; ++i)
        text[i] = QChar(unit(i, little));
    return text;
}

bool IsBitSet(quint8 flags, int bit)
{
    return bit >= 0 && bit < 8 && (flags >> bit & 1) != 0;
}

double NumericValue(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    double value = 0;
    bool digits = false;
    while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) {
        // Past any range a caller takes, more digits change nothing.
        if (value < 1e15)
            value = value * 10 + (text[i].unicode() - '0');
        ++i;
        digits = true;
    }
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
            value += (text[i].unicode() - '0') * scale;
            scale /= 10;
            digits = true;
        }
    }
    if (!digits)
        return 0;
    if (negative)
        value = -value;
    return std::nearbyint(value); // halves to even, as the classic conversion
}

qint16 NumericValue16(const QString &text)
{
    const double value = NumericValue(text);
    return value < -32768 || value > 32767 ? 0 : static_cast<qint16>(value);
}

} // namespace ID3Module
