#pragma once
// What the system refused, in the user's words: the system's own text
// (strerror) speaks English.
#include <QString>

namespace vx {

// A reason for an errno value, as a sentence ("ファイル名が長すぎます…").
QString systemReason(int error);

// The reason for a text of the system's (Qt's errorString(), which carries
// strerror's English) that names an error systemReason() knows; a general
// sentence for any other, never the English itself.
QString systemReasonOfText(const QString &text);

} // namespace vx
