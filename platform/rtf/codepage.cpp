#include "codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vx::text {

namespace {

QByteArray iconvName(int cp)
{
    switch (cp) {
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    case 874: return "CP874";
    case 10000: return "MACINTOSH";
    case 65001: return "UTF-8";
    default: break;
    }
    if (cp >= 1250 && cp <= 1258)
        return "CP" + QByteArray::number(cp);
    if (cp == 437 || cp == 850)
        return "CP" + QByteArray::number(cp);
    return {};
}

// RAII for one conversion handle.
struct Converter {
    iconv_t cd;
    Converter(const char *to, const char *from) : cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok())
            iconv_close(cd);
    }
    bool ok() const { return cd != reinterpret_cast<iconv_t>(-1); }
};

// Opening a conversion costs far more than a short conversion: the readers
// of code-page text keep one per code page and thread.
iconv_t decoderFor(int cp)
{
    struct Cache {
        std::map<int, std::unique_ptr<Converter>> byCp;
    };
    thread_local Cache cache;
    auto it = cache.byCp.find(cp);
    if (it == cache.byCp.end()) {
        const QByteArray name = iconvName(cp);
        auto c = std::make_unique<Converter>("UTF-16LE", name.constData());
        it = cache.byCp.emplace(cp, std::move(c)).first;
    }
    if (!it->second->ok())
        return reinterpret_cast<iconv_t>(-1);
    iconv(it->second->cd, nullptr, nullptr, nullptr, nullptr); // initial state
    return it->second->cd;
}

std::optional<QString> toUnicode(const QByteArray &bytes, int cp, bool strict)
{
    const QByteArray name = iconvName(cp);
    if (name.isEmpty())
        return std::nullopt;
    if (bytes.isEmpty())
        return QString();
    struct {
        iconv_t cd;
    } c{decoderFor(cp)};
    if (c.cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    QString out;
    out.reserve(bytes.size());
    thread_local std::string buf(65536, '\0');
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    while (inLeft > 0) {
        char *o = buf.data();
        size_t oLeft = buf.size();
        const size_t r = iconv(c.cd, &in, &inLeft, &o, &oLeft);
        out.append(reinterpret_cast<const QChar *>(buf.data()), static_cast<qsizetype>((buf.size() - oLeft) / 2));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            if (strict)
                return std::nullopt;
            // An invalid or cut-off sequence: one replacement per byte skipped.
            out.append(QChar::ReplacementCharacter);
            ++in;
            --inLeft;
            iconv(c.cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

// Appends `text` converted by `c` (from UTF-16LE) to `out`; false when a
// character has no form there, `*bad` then its index in `text`.
bool appendEncoded(Converter &c, QStringView text, QByteArray &out, qsizetype *bad = nullptr)
{
    iconv(c.cd, nullptr, nullptr, nullptr, nullptr);
    thread_local std::string buf(65536, '\0');
    char *in = reinterpret_cast<char *>(const_cast<QChar *>(text.data()));
    size_t inLeft = static_cast<size_t>(text.size()) * 2;
    while (inLeft > 0) {
        char *o = buf.data();
        size_t oLeft = buf.size();
        const size_t r = iconv(c.cd, &in, &inLeft, &o, &oLeft);
        out.append(buf.data(), static_cast<qsizetype>(buf.size() - oLeft));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            if (bad)
                *bad = (in - reinterpret_cast<const char *>(text.data())) / 2;
            return false;
        }
    }
    char *o = buf.data();
    size_t oLeft = buf.size();
    iconv(c.cd, nullptr, nullptr, &o, &oLeft);
    out.append(buf.data(), static_cast<qsizetype>(buf.size() - oLeft));
    return true;
}

constexpr char16_t kNone = 0xFFFF;
constexpr char16_t kTwin = 0xFFFE;

// What iconv's CP932 reads every byte (at its value) and every pair (at lead
// * 256 + trail) as, when that is one character written back as the same
// bytes; kTwin for a character it writes back as other bytes, kNone for the
// others.
const std::vector<char16_t> &cp932Table()
{
    static const std::vector<char16_t> table = [] {
        std::vector<char16_t> t(65536, kNone);
        Converter dec("UTF-16LE", "CP932");
        Converter enc("CP932", "UTF-16LE");
        if (!dec.ok() || !enc.ok())
            return t;
        auto one = [&](const unsigned char *bytes, size_t n) -> char16_t {
            iconv(dec.cd, nullptr, nullptr, nullptr, nullptr);
            iconv(enc.cd, nullptr, nullptr, nullptr, nullptr);
            char16_t unit[4];
            char *in = reinterpret_cast<char *>(const_cast<unsigned char *>(bytes));
            size_t inLeft = n;
            char *o = reinterpret_cast<char *>(unit);
            size_t oLeft = sizeof unit;
            if (iconv(dec.cd, &in, &inLeft, &o, &oLeft) == static_cast<size_t>(-1) || inLeft != 0 ||
                sizeof unit - oLeft != 2)
                return kNone;
            unsigned char back[8];
            char *u = reinterpret_cast<char *>(unit);
            size_t uLeft = 2;
            char *b = reinterpret_cast<char *>(back);
            size_t bLeft = sizeof back;
            if (iconv(enc.cd, &u, &uLeft, &b, &bLeft) == static_cast<size_t>(-1) || sizeof back - bLeft != n ||
                std::memcmp(back, bytes, n) != 0)
                return kTwin;
            return unit[0];
        };
        for (int b = 0; b < 256; ++b) {
            const unsigned char c = static_cast<unsigned char>(b);
            if (!isLeadByte(c, 932))
                t[size_t(b)] = one(&c, 1);
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLeadByte(static_cast<unsigned char>(lead), 932))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const unsigned char pair[2] = {static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)};
                t[size_t(lead << 8 | trail)] = one(pair, 2);
            }
        }
        return t;
    }();
    return table;
}

} // namespace

QString decodeCp932Keeping(const QByteArray &bytes, bool *raw)
{
    const std::vector<char16_t> &t = cp932Table();
    QString out;
    out.resize(bytes.size());
    QChar *o = out.data();
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    bool any = false;
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        if (isLeadByte(b, 932)) {
            const char16_t c = i + 1 < n ? t[size_t(b << 8 | p[i + 1])] : kNone;
            if (c == kTwin) {
                // A character of its own: both bytes kept together.
                *o++ = QChar(char16_t(kRawByteBase + b));
                *o++ = QChar(char16_t(kRawByteBase + p[i + 1]));
                any = true;
                i += 2;
                continue;
            }
            if (c != kNone) {
                *o++ = QChar(c);
                i += 2;
                continue;
            }
        } else if (const char16_t c = t[b]; c != kNone && c != kTwin) {
            *o++ = QChar(c);
            ++i;
            continue;
        }
        // Kept as it is; the byte after a lead byte is read on its own.
        *o++ = QChar(char16_t(kRawByteBase + b));
        any = true;
        ++i;
    }
    out.truncate(o - out.constData());
    if (raw)
        *raw = any;
    return out;
}

std::optional<QByteArray> encodeCp932Keeping(const QString &text, qsizetype *bad)
{
    Converter c("CP932", "UTF-16LE");
    if (!c.ok())
        return std::nullopt;
    return withRawBytes(text, [&](QStringView run, QByteArray &out) {
        qsizetype at = 0;
        if (appendEncoded(c, run, out, &at))
            return true;
        if (bad)
            *bad = run.data() - text.constData() + at;
        return false;
    });
}

std::optional<QString> decode(const QByteArray &bytes, int cp) { return toUnicode(bytes, cp, false); }
std::optional<QString> decodeStrict(const QByteArray &bytes, int cp) { return toUnicode(bytes, cp, true); }

std::optional<QByteArray> encode(const QString &text, int cp, qsizetype *bad)
{
    const QByteArray name = iconvName(cp);
    if (name.isEmpty())
        return std::nullopt;
    if (text.isEmpty())
        return QByteArray();
    Converter c(name.constData(), "UTF-16LE");
    QByteArray out;
    out.reserve(text.size() * 2);
    if (!c.ok() || !appendEncoded(c, QStringView(text), out, bad))
        return std::nullopt;
    return out;
}

bool isLeadByte(unsigned char b, int cp)
{
    switch (cp) {
    case 932: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950: return b >= 0x81 && b <= 0xFE;
    default: return false;
    }
}

int codePageOfCharset(int charset)
{
    switch (charset) {
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    default: return 0;
    }
}

} // namespace vx::text
