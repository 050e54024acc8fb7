#include "ini.h"

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

QByteArray keyLine(const QString &key, const QString &value)
{
    return escape(key, true) + '=' + escape(value, false);
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

Entry keyEntry(const QString &key, const QString &value)
{
    Entry e;
    e.raw = keyLine(key, value);
    e.isKey = true;
    e.key = key;
    e.valueAt = e.raw.indexOf('=') + 1;
    e.valueSize = e.raw.size() - e.valueAt;
    return e;
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
    QList<QByteArray> lines = text.split('\n');
    if (text.endsWith('\n'))
        lines.removeLast();

    for (QByteArray &line : lines) {
        const QByteArrayView t = trimmed(line);
        if (t.startsWith('[') && t.contains(']')) {
            Section s;
            s.name = unescape(trimmed(t.sliced(1, t.indexOf(']') - 1)));
            s.header = std::move(line);
            // Comments and blanks just above a header belong to that section.
            if (!doc.sections.isEmpty()) {
                QList<Entry> &prev = doc.sections.last().body;
                while (!prev.isEmpty() && !prev.last().isKey)
                    s.lead.prepend(prev.takeLast().raw);
            }
            doc.sections.append(std::move(s));
            continue;
        }
        if (doc.sections.isEmpty()) {
            doc.preamble.append(std::move(line));
            continue;
        }
        Entry e;
        const qsizetype eq = t.indexOf('=');
        if (eq >= 0 && !t.startsWith(';') && !t.startsWith('#')) {
            e.isKey = true;
            e.key = unescape(trimmed(t.first(eq)));
            const QByteArrayView v = trimmed(t.sliced(eq + 1));
            e.valueAt = v.data() - line.constData();
            e.valueSize = v.size();
        }
        e.raw = std::move(line);
        doc.sections.last().body.append(std::move(e));
    }
    return doc;
}

QByteArray Doc::bytes() const
{
    if (preamble.isEmpty() && sections.isEmpty())
        return {};
    QByteArray out = bom;
    const auto put = [&out](const QByteArray &line) {
        out += line;
        out += '\n';
    };
    for (const QByteArray &l : preamble)
        put(l);
    for (const Section &s : sections) {
        for (const QByteArray &l : s.lead)
            put(l);
        put(s.header);
        for (const Entry &e : s.body)
            put(e.raw);
    }
    return out;
}

const Entry *Doc::find(const QString &section, const QString &key) const
{
    for (const Section &s : sections) {
        if (!sameName(s.name, section))
            continue;
        for (const Entry &e : s.body)
            if (e.isKey && sameName(e.key, key))
                return &e;
    }
    return nullptr;
}

bool Doc::endsBlank() const
{
    const QByteArray *last = nullptr;
    if (!preamble.isEmpty())
        last = &preamble.last();
    if (!sections.isEmpty()) {
        const Section &s = sections.last();
        last = s.body.isEmpty() ? &s.header : &s.body.last().raw;
    }
    return last && trimmed(*last).isEmpty();
}

void Doc::set(const QString &section, const QString &key, const QString &value)
{
    bool found = false;
    for (Section &s : sections) {
        if (!sameName(s.name, section))
            continue;
        for (qsizetype i = 0; i < s.body.size();) {
            Entry &e = s.body[i];
            if (!e.isKey || !sameName(e.key, key)) {
                ++i;
            } else if (found) {
                s.body.removeAt(i); // a hand-made duplicate would shadow nothing but confuse
            } else {
                found = true;
                if (e.value() != value)
                    e = keyEntry(e.key, value);
                ++i;
            }
        }
    }
    if (found)
        return;
    const Entry e = keyEntry(key, value);
    for (Section &s : sections) {
        if (!sameName(s.name, section))
            continue;
        qsizetype at = 0;
        for (qsizetype i = 0; i < s.body.size(); ++i)
            if (s.body[i].isKey)
                at = i + 1;
        s.body.insert(at, e);
        return;
    }
    Section s;
    if ((!preamble.isEmpty() || !sections.isEmpty()) && !endsBlank())
        s.lead.append(QByteArray());
    s.header = '[' + escape(section, true) + ']';
    s.name = section;
    s.body.append(e);
    sections.append(s);
}

bool Doc::removeKey(const QString &section, const QString &key)
{
    bool found = false;
    for (Section &s : sections) {
        if (!sameName(s.name, section))
            continue;
        found |= s.body.removeIf([&](const Entry &e) { return e.isKey && sameName(e.key, key); }) > 0;
    }
    return found;
}

bool Doc::removeSection(const QString &section)
{
    return sections.removeIf([&](const Section &s) { return sameName(s.name, section); }) > 0;
}

void Doc::clear()
{
    sections.clear();
    preamble.clear();
}

} // namespace vx::store::detail
