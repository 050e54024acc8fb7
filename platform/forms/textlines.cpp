#include "textlines.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace vx {

namespace {
// The laid-out line holding `pos`, when the block has been laid out. Found
// by the lines' starts, without QTextLayout::lineForTextPosition, which
// analyses the block's text again when its layout has let the analysis go.
QTextLine lineAt(const QTextBlock &b, int pos)
{
    const QTextLayout *lay = b.layout();
    if (!lay || lay->lineCount() == 0)
        return QTextLine();
    const int at = pos - b.position();
    int lo = 0;
    int hi = lay->lineCount() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (lay->lineAt(mid).textStart() <= at)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lay->lineAt(lo);
}
} // namespace

int lineOfChar(const QTextDocument &doc, int pos)
{
    QTextBlock b = doc.findBlock(std::clamp(pos, 0, doc.characterCount() - 1));
    if (!b.isValid())
        b = doc.lastBlock();
    const QTextLine l = lineAt(b, pos);
    return b.firstLineNumber() + (l.isValid() ? l.lineNumber() : 0);
}

int lineStartAt(const QTextDocument &doc, int pos)
{
    const QTextBlock b = doc.findBlock(pos);
    const QTextLine l = lineAt(b, pos);
    return b.position() + (l.isValid() ? l.textStart() : 0);
}

int lineLengthAt(const QTextDocument &doc, int pos)
{
    const QTextBlock b = doc.findBlock(pos);
    if (!b.isValid())
        return 0;
    const QTextLine l = lineAt(b, pos);
    if (!l.isValid())
        return b.length() - 1;
    // A wrapped line's length without the break that ends the block.
    return std::min(l.textLength(), b.length() - 1 - l.textStart());
}

} // namespace vx
