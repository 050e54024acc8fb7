#pragma once
// What the insert palette inserts: the HTML tag templates with their
// explanations, the emoticons and the last-modified stamp.
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace palette {

struct TagKind {
    QString name;        // the list item
    QString tmpl;        // lines joined by CR LF
    QString explanation; // likewise
};

const QList<TagKind> &tagKinds();
// The kind whose name equals `text` exactly.
std::optional<TagKind> tagKind(const QString &text);

const QStringList &emoticons();

// "最終更新日 2002年12月17日(火) 10時5分" for that local time.
QString stamp(const QDateTime &when);

} // namespace palette
