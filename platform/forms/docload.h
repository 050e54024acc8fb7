#pragma once
// Reading a file the user named into a document: rich text when it begins
// with "{\rtf", else plain text in the encoding and line breaks it came with.
#include "platform/rtf/plaintext.h"

class QFont;
class QObject;
class QString;
class QTextDocument;

namespace vx {

// A new document of `parent`'s, in `font` and without undo, holding the
// regular file at `path` (at most 256 MB), long paragraphs in pieces; `format` takes how its plain text
// was written. Raises (nothing changes) when the file is missing (53),
// unreadable (70), not a regular file or too large (75), or not decodable
// (321).
QTextDocument *loadDocument(const QString &path, const QFont &font, text::TextFormat &format, QObject *parent);

} // namespace vx
