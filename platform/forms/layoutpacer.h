#pragma once
// The background layout of a large document, a few milliseconds at a time.
class QTextDocument;

namespace vx {

// Takes over the stepping of `doc`'s layout (once per layout).
void paceLayout(QTextDocument *doc);

} // namespace vx
