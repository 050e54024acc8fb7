#pragma once
// The store's INI document. It keeps the file as lines, so that whatever a
// change does not touch is written back byte for byte.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace vx::store::detail {

// Text escaped so that one line holds it and reading gives it back exactly.
QByteArray escape(const QString &s, bool name);
QString unescape(QByteArrayView raw);
bool sameName(const QString &a, const QString &b);

struct Entry {
    QByteArray raw;
    bool isKey = false;
    QString key;
    // Where the value sits in raw; most values are never asked for.
    qsizetype valueAt = 0;
    qsizetype valueSize = 0;

    QString value() const { return unescape(QByteArrayView(raw).sliced(valueAt, valueSize)); }
};

struct Section {
    QList<QByteArray> lead; // blank and comment lines above the header
    QByteArray header;
    QString name;
    QList<Entry> body;
};

struct Doc {
    QByteArray bom;
    QList<QByteArray> preamble;
    QList<Section> sections; // a name may repeat in a hand-edited file

    static Doc parse(const QByteArray &data);
    QByteArray bytes() const;

    const Entry *find(const QString &section, const QString &key) const;
    bool endsBlank() const;

    // The changes a writer makes. Names compare case-insensitively; a new key
    // or section keeps the spelling given. The removals return false when there
    // was nothing to remove.
    void set(const QString &section, const QString &key, const QString &value);
    bool removeKey(const QString &section, const QString &key);
    bool removeSection(const QString &section);
    void clear();
};

} // namespace vx::store::detail
