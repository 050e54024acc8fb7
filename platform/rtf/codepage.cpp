#include "codepage.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <memory>
#include <string>

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

} // namespace

std::optional<QString> decode(const QByteArray &bytes, int cp) { return toUnicode(bytes, cp, false); }
std::optional<QString> decodeStrict(const QByteArray &bytes, int cp) { return toUnicode(bytes, cp, true); }

std::optional<QByteArray> encode(const QString &text, int cp)
{
    const QByteArray name = iconvName(cp);
    if (name.isEmpty())
        return std::nullopt;
    if (text.isEmpty())
        return QByteArray();
    Converter c(name.constData(), "UTF-16LE");
    if (!c.ok())
        return std::nullopt;
    QByteArray out;
    out.reserve(text.size() * 2);
    std::string buf(65536, '\0');
    char *in = reinterpret_cast<char *>(const_cast<QChar *>(text.constData()));
    size_t inLeft = static_cast<size_t>(text.size()) * 2;
    while (inLeft > 0) {
        char *o = buf.data();
        size_t oLeft = buf.size();
        const size_t r = iconv(c.cd, &in, &inLeft, &o, &oLeft);
        out.append(buf.data(), static_cast<qsizetype>(buf.size() - oLeft));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            return std::nullopt;
        }
    }
    char *o = buf.data();
    size_t oLeft = buf.size();
    iconv(c.cd, nullptr, nullptr, &o, &oLeft);
    out.append(buf.data(), static_cast<qsizetype>(buf.size() - oLeft));
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
