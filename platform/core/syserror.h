#pragma once
// What the system refused, in the user's words: the system's own text
// (strerror) speaks English.
#include <QString>

namespace vx {

// A reason for an errno value, as a sentence ("ファイル名が長すぎます…").
QString systemReason(int error);

} // namespace vx
