#include "rtf_words.h"

#include <array>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace vx::rtf {

namespace {

struct Entry {
    std::string_view name;
    Word word;
};

constexpr Word S{Kw::Skipped, 0};

constexpr Entry kWords[] = {
    {"fonttbl", {Kw::Fonttbl}}, {"colortbl", {Kw::Colortbl}}, {"uc", {Kw::Uc}}, {"u", {Kw::U}},
    {"ansicpg", {Kw::Ansicpg}}, {"deff", {Kw::Deff}}, {"red", {Kw::Red}}, {"green", {Kw::Green}},
    {"blue", {Kw::Blue}}, {"fcharset", {Kw::Fcharset}}, {"cpg", {Kw::Cpg}}, {"bin", {Kw::Bin}},
    {"par", {Kw::Par}}, {"line", {Kw::Line}}, {"row", {Kw::Row}}, {"sect", {Kw::Sect}}, {"cell", {Kw::Cell}},
    {"nestcell", {Kw::Cell}}, {"tab", {Kw::Tab}}, {"pard", {Kw::Pard}}, {"ql", {Kw::Ql}}, {"qj", {Kw::Ql}},
    {"qd", {Kw::Ql}}, {"qc", {Kw::Qc}}, {"qr", {Kw::Qr}}, {"plain", {Kw::Plain}}, {"f", {Kw::F}},
    {"fs", {Kw::Fs}}, {"b", {Kw::B}}, {"i", {Kw::I}}, {"ul", {Kw::Ul}}, {"uld", {Kw::Ul}}, {"uldb", {Kw::Ul}},
    {"ulth", {Kw::Ul}}, {"ulw", {Kw::Ul}}, {"uldash", {Kw::Ul}}, {"ulnone", {Kw::Ulnone}},
    {"strike", {Kw::Strike}}, {"striked", {Kw::Strike}}, {"cf", {Kw::Cf}}, {"rtlch", {Kw::Rtlch}},
    {"ltrch", {Kw::Ltrch}}, {"loch", {Kw::Loch}}, {"hich", {Kw::Hich}}, {"dbch", {Kw::Dbch}}, {"af", {Kw::Af}},
    {"afs", {Kw::Afs}}, {"ab", {Kw::Ab}}, {"ai", {Kw::Ai}},
    {"emdash", {Kw::Special, 0x2014}}, {"endash", {Kw::Special, 0x2013}}, {"bullet", {Kw::Special, 0x2022}},
    {"lquote", {Kw::Special, 0x2018}}, {"rquote", {Kw::Special, 0x2019}}, {"ldblquote", {Kw::Special, 0x201C}},
    {"rdblquote", {Kw::Special, 0x201D}}, {"emspace", {Kw::Special, 0x2003}}, {"enspace", {Kw::Special, 0x2002}},
    {"qmspace", {Kw::Special, 0x2005}}, {"page", {Kw::Special, 0x000C}},
    {"info", S}, {"stylesheet", S}, {"pict", S}, {"object", S}, {"header", S}, {"headerl", S}, {"headerr", S},
    {"headerf", S}, {"footer", S}, {"footerl", S}, {"footerr", S}, {"footerf", S}, {"footnote", S},
    {"fldinst", S}, {"xmlnstbl", S}, {"listtable", S}, {"listoverridetable", S}, {"revtbl", S}, {"rsidtbl", S},
    {"generator", S}, {"themedata", S}, {"colorschememapping", S}, {"latentstyles", S}, {"datastore", S},
    {"filetbl", S}, {"nonshppict", S}, {"shp", S}, {"shpinst", S}, {"annotation", S}, {"atnid", S},
    {"atnauthor", S}, {"private", S}, {"template", S}, {"pgdsctbl", S}, {"bkmkstart", S}, {"bkmkend", S},
    {"comment", S}, {"title", S}, {"author", S}, {"operator", S}, {"keywords", S}, {"subject", S},
    {"doccomm", S}, {"userprops", S}, {"listpicture", S}, {"mmathPr", S}, {"ftnsep", S}, {"ftnsepc", S},
    {"aftnsep", S}, {"aftnsepc", S}, {"txe", S}, {"xe", S}, {"tc", S},
};

constexpr std::size_t kMaxName = 20;
constexpr std::size_t kSlots = 512; // a power of two, a quarter full

constexpr std::uint32_t hashOf(const char *p, std::size_t n)
{
    std::uint32_t h = 2166136261u;
    for (std::size_t k = 0; k < n; ++k)
        h = (h ^ static_cast<unsigned char>(p[k])) * 16777619u;
    return h;
}

struct Slot {
    char name[kMaxName] = {};
    std::uint8_t len = 0; // 0: empty
    Word word;
};

constexpr std::array<Slot, kSlots> kTable = [] {
    std::array<Slot, kSlots> t{};
    for (const Entry &e : kWords) {
        if (e.name.empty() || e.name.size() >= kMaxName)
            throw "word too long for the table";
        std::size_t s = hashOf(e.name.data(), e.name.size()) & (kSlots - 1);
        while (t[s].len != 0) {
            if (std::string_view(t[s].name, t[s].len) == e.name)
                throw "a word listed twice";
            s = (s + 1) & (kSlots - 1);
        }
        for (std::size_t k = 0; k < e.name.size(); ++k)
            t[s].name[k] = e.name[k];
        t[s].len = static_cast<std::uint8_t>(e.name.size());
        t[s].word = e.word;
    }
    return t;
}();

} // namespace

const char *plainEnd(const char *p, const char *end)
{
#ifdef __SSE2__
    const __m128i backslash = _mm_set1_epi8('\\'), open = _mm_set1_epi8('{'), close = _mm_set1_epi8('}');
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n'), nul = _mm_setzero_si128();
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const __m128i a = _mm_or_si128(_mm_cmpeq_epi8(v, backslash), _mm_cmpeq_epi8(v, open));
        const __m128i b = _mm_or_si128(_mm_cmpeq_epi8(v, close), _mm_cmpeq_epi8(v, cr));
        const __m128i c = _mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, nul));
        // The high bit of v itself marks the bytes from 0x80 on.
        const int stops = _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, v)));
        if (stops != 0)
            return p + __builtin_ctz(static_cast<unsigned>(stops));
        p += 16;
    }
#endif
    while (p < end && isPlainText(*p))
        ++p;
    return p;
}

Word lookupWord(QByteArrayView name)
{
    const char *p = name.data();
    const auto n = static_cast<std::size_t>(name.size());
    if (n == 0 || n >= kMaxName)
        return {};
    std::size_t s = hashOf(p, n) & (kSlots - 1);
    for (;;) {
        const Slot &slot = kTable[s];
        if (slot.len == 0)
            return {};
        if (slot.len == n) {
            std::size_t k = 0;
            while (k < n && slot.name[k] == p[k])
                ++k;
            if (k == n)
                return slot.word;
        }
        s = (s + 1) & (kSlots - 1);
    }
}

const char *readControlWord(const char *p, const char *end, ControlWord &out, const char *&why)
{
    const char *q = p;
    while (q < end && isLetter(*q) && q - p < 32)
        ++q;
    if (q - p >= 32) {
        why = "control word too long";
        return nullptr;
    }
    out.word = lookupWord(QByteArrayView(p, q - p));
    bool negative = false;
    if (q < end && *q == '-' && q + 1 < end && isDigit(q[1])) {
        negative = true;
        ++q;
    }
    qint64 param = 0;
    while (q < end && isDigit(*q)) {
        out.hasParam = true;
        param = param * 10 + (*q - '0');
        // Parameters are signed 32-bit numbers: a longer one is damage.
        if (param > 2147483648LL) {
            why = "number out of range";
            return nullptr;
        }
        ++q;
    }
    if (negative) {
        param = -param;
    } else if (param > 2147483647LL) {
        why = "number out of range";
        return nullptr;
    }
    out.param = param;
    if (q < end && *q == ' ')
        ++q;
    return q;
}

} // namespace vx::rtf
