#include "ini.h"

#include <algorithm>

namespace vx::store::detail {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Only ASCII blanks: an ideographic space is part of a value.
QByteArrayView trimmed(QByteArrayView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

QString hex(uint v, int width)
{
    return QStringLiteral("%1").arg(v, width, 16, QLatin1Char('0')).toUpper();
}

// Names also hide the characters that structure the file.
QByteArray escape(const QString &s, bool name)
{
    QString out;
    out.reserve(s.size() + 8);
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = s[i];
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < n && s[i + 1].isLowSurrogate()) {
            out += c;
            out += s[++i];
        } else if (c.isSurrogate()) {
            out += QStringLiteral("\\u") + hex(u, 4); // UTF-8 cannot carry a lone half
        } else if (u == '\\') {
            out += QStringLiteral("\\\\");
        } else if (u == '\n') {
            out += QStringLiteral("\\n");
        } else if (u == '\r') {
            out += QStringLiteral("\\r");
        } else if (u == '\t') {
            out += QStringLiteral("\\t");
        } else if (u < 0x20 || u == 0x7F) {
            out += QStringLiteral("\\x") + hex(u, 2);
        } else if (u == ' ' && (i == 0 || i == n - 1)) {
            out += QStringLiteral("\\s"); // the reader trims blanks around names and values
        } else if (name && (u == '=' || u == '[' || u == ']' || (i == 0 && (u == ';' || u == '#')))) {
            out += QStringLiteral("\\x") + hex(u, 2);
        } else {
            out += c;
        }
    }
    return out.toUtf8();
}

int hexValue(QStringView s)
{
    bool ok = false;
    const uint v = s.toUInt(&ok, 16);
    return ok ? int(v) : -1;
}

QString unescape(QByteArrayView raw)
{
    const QString s = QString::fromUtf8(raw);
    if (!s.contains(QLatin1Char('\\')))
        return s;
    QString out;
    out.reserve(s.size());
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = s[i];
        if (c != QLatin1Char('\\') || i + 1 == n) {
            out += c;
            continue;
        }
        const char16_t next = s[i + 1].unicode();
        int digits = 0;
        switch (next) {
        case '\\': out += QLatin1Char('\\'); ++i; continue;
        case 'n': out += QLatin1Char('\n'); ++i; continue;
        case 'r': out += QLatin1Char('\r'); ++i; continue;
        case 't': out += QLatin1Char('\t'); ++i; continue;
        case 's': out += QLatin1Char(' '); ++i; continue;
        case 'x': digits = 2; break;
        case 'u': digits = 4; break;
        default: break;
        }
        const int v = digits && i + 2 + digits <= n ? hexValue(QStringView(s).mid(i + 2, digits)) : -1;
        if (v < 0) {
            out += c; // a hand-written backslash, e.g. a Windows path
            continue;
        }
        out += QChar(char16_t(v));
        i += 1 + digits;
    }
    return out;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

Line keyLine(const QString &key, const QString &value, const QString &spelling)
{
    Line l;
    l.raw = escape(spelling.isEmpty() ? key : spelling, true) + '=' + escape(value, false);
    l.kind = Line::Key;
    l.name = spelling.isEmpty() ? key : spelling;
    l.valueAt = l.raw.indexOf('=') + 1;
    l.valueSize = l.raw.size() - l.valueAt;
    return l;
}

Doc Doc::parse(const QByteArray &data)
{
    Doc doc;
    QByteArray text = data;
    if (text.startsWith("\xEF\xBB\xBF")) {
        doc.bom = text.left(3);
        text.remove(0, 3);
    }
    if (text.isEmpty())
        return doc;
    QList<QByteArray> raws = text.split('\n');
    if (text.endsWith('\n'))
        raws.removeLast();
    else
        doc.lastLineOpen = true;

    qsizetype withCr = 0;
    for (qsizetype i = 0; i < raws.size() - (doc.lastLineOpen ? 1 : 0); ++i)
        withCr += raws[i].endsWith('\r') ? 1 : 0;
    const qsizetype ended = raws.size() - (doc.lastLineOpen ? 1 : 0);
    doc.crlf = ended > 0 && 2 * withCr >= ended;

    bool inSection = false;
    doc.lines.reserve(raws.size());
    for (QByteArray &raw : raws) {
        Line l;
        const QByteArrayView t = trimmed(raw);
        if (t.startsWith('[') && t.contains(']')) {
            l.kind = Line::Header;
            l.name = unescape(trimmed(t.sliced(1, t.indexOf(']') - 1)));
            inSection = true;
        } else if (inSection) {
            const qsizetype eq = t.indexOf('=');
            if (eq >= 0 && !t.startsWith(';') && !t.startsWith('#')) {
                l.kind = Line::Key;
                l.name = unescape(trimmed(t.first(eq)));
                const QByteArrayView v = trimmed(t.sliced(eq + 1));
                l.valueAt = v.data() - raw.constData();
                l.valueSize = v.size();
            }
        }
        l.raw = std::move(raw);
        doc.lines.append(std::move(l));
    }
    return doc;
}

QByteArray Doc::bytes() const
{
    if (lines.isEmpty())
        return {};
    QByteArray out = bom;
    for (const Line &l : lines) {
        out += l.raw;
        out += '\n';
    }
    if (lastLineOpen)
        out.chop(1);
    return out;
}

namespace {
// Calls f(index, line) for each line of the named section(s), header excluded.
template <class F>
void forSection(const QList<Line> &lines, const QString &section, F &&f)
{
    bool in = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line &l = lines[i];
        if (l.kind == Line::Header)
            in = sameName(l.name, section);
        else if (in)
            f(i, l);
    }
}
} // namespace

const Line *Doc::find(const QString &section, const QString &key) const
{
    const Line *found = nullptr;
    forSection(lines, section, [&](qsizetype, const Line &l) {
        if (!found && l.isKey() && sameName(l.name, key))
            found = &l;
    });
    return found;
}

QStringList Doc::sectionNames() const
{
    QStringList out;
    for (const Line &l : lines)
        if (l.kind == Line::Header && !out.contains(l.name, Qt::CaseInsensitive))
            out.append(l.name);
    return out;
}

QStringList Doc::keyNames(const QString &section) const
{
    QStringList out;
    forSection(lines, section, [&](qsizetype, const Line &l) {
        if (l.isKey() && !out.contains(l.name, Qt::CaseInsensitive))
            out.append(l.name);
    });
    return out;
}

bool Doc::hasSections() const
{
    return std::any_of(lines.begin(), lines.end(), [](const Line &l) { return l.kind == Line::Header; });
}

void Doc::removeLines(const QList<qsizetype> &sortedIndexes)
{
    if (sortedIndexes.isEmpty())
        return;
    if (sortedIndexes.last() == lines.size() - 1)
        lastLineOpen = false; // the new last line had its newline
    for (qsizetype k = sortedIndexes.size() - 1; k >= 0; --k)
        lines.removeAt(sortedIndexes[k]);
}

Line Doc::ended(Line l, bool cr) const
{
    if (cr)
        l.raw += '\r';
    return l;
}

void Doc::closeLastLine()
{
    if (lastLineOpen && crlf && !lines.isEmpty() && !lines.last().raw.endsWith('\r'))
        lines.last().raw += '\r';
    lastLineOpen = false;
}

void Doc::set(const QString &section, const QString &key, const QString &value)
{
    qsizetype found = -1;
    QList<qsizetype> duplicates; // a hand-made duplicate would shadow nothing but confuse
    forSection(lines, section, [&](qsizetype i, const Line &l) {
        if (!l.isKey() || !sameName(l.name, key))
            return;
        if (found < 0)
            found = i;
        else
            duplicates.append(i);
    });
    if (found >= 0) {
        if (lines[found].value() != value)
            lines[found] = ended(keyLine(key, value, lines[found].name), lines[found].raw.endsWith('\r'));
        removeLines(duplicates);
        return;
    }
    // A new key goes under the last key of the section's first place (or its
    // header), before any trailing comments or blanks.
    for (qsizetype h = 0; h < lines.size(); ++h) {
        if (lines[h].kind != Line::Header || !sameName(lines[h].name, section))
            continue;
        qsizetype at = h + 1;
        for (qsizetype j = h + 1; j < lines.size() && lines[j].kind != Line::Header; ++j)
            if (lines[j].isKey())
                at = j + 1;
        if (at == lines.size())
            closeLastLine();
        lines.insert(at, ended(keyLine(key, value, QString()), crlf));
        return;
    }
    closeLastLine();
    if (!lines.isEmpty() && !trimmed(lines.last().raw).isEmpty())
        lines.append(ended(Line{}, crlf));
    Line header;
    header.raw = '[' + escape(section, true) + ']';
    header.kind = Line::Header;
    header.name = section;
    lines.append(ended(header, crlf));
    lines.append(ended(keyLine(key, value, QString()), crlf));
}

bool Doc::removeKey(const QString &section, const QString &key)
{
    QList<qsizetype> gone;
    forSection(lines, section, [&](qsizetype i, const Line &l) {
        if (l.isKey() && sameName(l.name, key))
            gone.append(i);
    });
    removeLines(gone);
    return !gone.isEmpty();
}

bool Doc::removeSection(const QString &section)
{
    QList<qsizetype> gone;
    bool in = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == Line::Header)
            in = sameName(lines[i].name, section);
        if (in)
            gone.append(i);
    }
    removeLines(gone);
    return !gone.isEmpty();
}

void Doc::clear()
{
    lines.clear();
    lastLineOpen = false;
}

} // namespace vx::store::detail
