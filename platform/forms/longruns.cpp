#include "longruns.h"

#include "richtextbox.h"

#include <QTextBoundaryFinder>

namespace vx {

namespace {
// Breaking at word boundaries with breaking anywhere as the fallback, Qt's
// line layout searches the whole rest of a run without a break opportunity
// for each line it makes of it: seconds for a megabyte of hex digits, growing
// with the square of the run. A document holding a run longer than this
// wraps anywhere instead; below it the search costs a few milliseconds.
constexpr qsizetype kLongRun = 4096;
} // namespace

bool holdsLongRun(QStringView text)
{
    // Window by window from the last break opportunity found: a long run is
    // found in its first window, other text is looked at about once.
    qsizetype from = 0;
    while (text.size() - from > kLongRun) {
        const QStringView window = text.mid(from, kLongRun + 1);
        QTextBoundaryFinder f(QTextBoundaryFinder::Line, window.data(), window.size());
        f.toEnd();
        const qsizetype last = f.toPreviousBoundary();
        if (last <= 0)
            return true;
        from += last;
    }
    return false;
}

QTextOption::WrapMode wrapFor(bool longRun)
{
    return longRun ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
}

bool anyLongRun(QTextBlock b, const QTextBlock &end)
{
    for (; b.isValid() && b != end; b = b.next())
        if (b.length() > kLongRun + 1 && holdsLongRun(b.text()))
            return true;
    return false;
}

void RichTextBox::wrapForIncoming(QStringView text)
{
    // Switched before the text goes in, not after (when the document would
    // be laid out again for the switch and then for the edit).
    if (wordWrapMode() != QTextOption::WrapAnywhere && holdsLongRun(text))
        setWordWrapMode(QTextOption::WrapAnywhere);
}

void RichTextBox::followWrap(QTextDocument *doc)
{
    // Before the layout hears of the change: the new text is laid out once,
    // in the mode it needs.
    connect(doc, &QTextDocument::contentsChange, this, [this, doc](int from, int, int added) {
        if (doc != document())
            return;
        const bool whole = from == 0 && added >= doc->characterCount() - 1;
        // Once wrapping anywhere, the document does until it is replaced:
        // finding out that the long run went would take a search per edit.
        if (!whole && wordWrapMode() == QTextOption::WrapAnywhere)
            return;
        const QTextBlock first = whole ? doc->begin() : doc->findBlock(from);
        const QTextBlock end = whole ? QTextBlock() : doc->findBlock(from + added).next();
        setWordWrapMode(wrapFor(anyLongRun(first, end)));
    });
}

} // namespace vx
