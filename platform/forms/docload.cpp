#include "docload.h"

#include "pieces.h"

#include "platform/core/errors.h"
#include "platform/core/userfileqt.h"
#include "platform/rtf/rtf.h"

#include <QTextCursor>
#include <QTextDocument>

namespace vx {

namespace {
constexpr qint64 kMaxFileBytes = 256LL * 1024 * 1024;
constexpr int kBadFormat = 321;
} // namespace

QTextDocument *loadDocument(const QString &path, const QFont &font, text::TextFormat &format, QObject *parent)
{
    // Regular files only, never a blocking open, within the bound.
    QByteArray bytes;
    vx::raiseForUserFile(vx::readUserFile(path, kMaxFileBytes, bytes), path);
    auto *doc = new QTextDocument(parent);
    doc->setDefaultFont(font);
    doc->setUndoRedoEnabled(false);
    if (text::isRichText(bytes)) {
        if (!rtf::read(bytes, *doc)) {
            delete doc;
            throw RuntimeError(kBadFormat, QStringLiteral("ファイル形式が不正です。"));
        }
        format = text::TextFormat();
        format.rich = std::make_shared<const QByteArray>(std::move(bytes));
    } else {
        text::TextFormat tf;
        // The document takes CR LF and CR as breaks itself.
        const auto s = text::decodePlain(bytes, &tf, true);
        // Given back before the document grows: its text reuses the memory
        // instead of touching as much fresh.
        bytes = QByteArray();
        if (!s) {
            delete doc;
            throw RuntimeError(kBadFormat, QStringLiteral("ファイル形式が不正です。"));
        }
        doc->setPlainText(*s);
        format = tf;
    }
    QTextCursor c(doc);
    c.beginEditBlock();
    pieces::cutLong(doc->begin(), QTextBlock());
    c.endEditBlock();
    return doc;
}

} // namespace vx
