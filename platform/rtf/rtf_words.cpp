#include "rtf_words.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace vx::rtf {

namespace {
std::string_view view(QByteArrayView w) { return {w.data(), static_cast<size_t>(w.size())}; }
} // namespace

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool skippedDestination(QByteArrayView word)
{
    static const std::unordered_set<std::string_view> names = {
        "info", "stylesheet", "pict", "object", "header", "headerl", "headerr", "headerf", "footer", "footerl",
        "footerr", "footerf", "footnote", "fldinst", "xmlnstbl", "listtable", "listoverridetable", "revtbl",
        "rsidtbl", "generator", "themedata", "colorschememapping", "latentstyles", "datastore", "filetbl",
        "nonshppict", "shp", "shpinst", "annotation", "atnid", "atnauthor", "private", "template", "pgdsctbl",
        "bkmkstart", "bkmkend", "comment", "title", "author", "operator", "keywords", "subject", "doccomm",
        "userprops", "listpicture", "mmathPr", "ftnsep", "ftnsepc", "aftnsep", "aftnsepc", "txe", "xe", "tc",
    };
    return names.count(view(word)) != 0;
}

char16_t specialCharacter(QByteArrayView word)
{
    static const std::unordered_map<std::string_view, char16_t> chars = {
        {"emdash", 0x2014}, {"endash", 0x2013}, {"bullet", 0x2022}, {"lquote", 0x2018}, {"rquote", 0x2019},
        {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003}, {"enspace", 0x2002},
        {"qmspace", 0x2005}};
    const auto it = chars.find(view(word));
    return it == chars.end() ? 0 : it->second;
}

} // namespace vx::rtf
