#pragma once
// The store's INI document. It keeps the file as its lines, exactly as read, so
// that every line a change does not touch is written back byte for byte: junk,
// comments, blanks, NUL bytes, CR LF endings and a missing last newline too.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace vx::store::detail {

// Text escaped so that one line holds it and reading gives it back exactly.
QByteArray escape(const QString &s, bool name);
QString unescape(QByteArrayView raw);
bool sameName(const QString &a, const QString &b);

struct Line {
    enum Kind { Other, Header, Key };
    QByteArray raw;
    Kind kind = Other;
    QString name; // section name of a header, key name of a key line
    // Where the value sits in raw; most values are never asked for.
    qsizetype valueAt = 0;
    qsizetype valueSize = 0;

    bool isKey() const { return kind == Key; }
    QString value() const { return unescape(QByteArrayView(raw).sliced(valueAt, valueSize)); }
};

// A section is its header line and every line under it up to the next header.
// Lines above the first header belong to no section and are never touched.
struct Doc {
    QByteArray bom;
    QList<Line> lines;
    // The file's last line had no newline; kept while that line stays last.
    bool lastLineOpen = false;
    // Lines we write end in CR LF: most of the file's lines do (a tie counts
    // as CR LF). A rewritten line keeps the ending it had.
    bool crlf = false;

    static Doc parse(const QByteArray &data);
    QByteArray bytes() const;

    const Line *find(const QString &section, const QString &key) const;
    QStringList sectionNames() const;
    QStringList keyNames(const QString &section) const;
    bool hasSections() const;

    // The changes a writer makes. Names compare case-insensitively; a new key
    // or section keeps the spelling given. The removals return false when there
    // was nothing to remove. A section named twice in a hand-edited file is one
    // section in two places.
    void set(const QString &section, const QString &key, const QString &value);
    bool removeKey(const QString &section, const QString &key);
    bool removeSection(const QString &section);
    void clear();

private:
    void removeLines(const QList<qsizetype> &sortedIndexes);
    // A line of ours, ending as the file's lines do.
    Line ended(Line l, bool cr) const;
    // The last line gets its newline (something now follows it).
    void closeLastLine();
};

} // namespace vx::store::detail
