#include "pieces.h"

#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace vx::pieces {

namespace {

constexpr int kMark = QTextFormat::UserProperty + 0x2029;
// Set on a document once it held a piece: only then are breaks looked for.
constexpr const char *kHeld = "vx-pieces";

QTextCharFormat marked(QTextCharFormat f)
{
    f.setProperty(kMark, true);
    return f;
}

// Where a piece of `text` starting at `from` ends: at a line break
// opportunity in its second half (the piece then ends as a wrapped line
// does), else between two characters.
qsizetype cutAfter(QStringView text, qsizetype from)
{
    const qsizetype target = from + kPiece;
    const qsizetype low = target - kPiece / 2;
    // A window around the target: the rules need a few characters each side.
    const QStringView window = text.mid(low, target - low + 16);
    const qsizetype at = target - low;
    for (auto type : {QTextBoundaryFinder::Line, QTextBoundaryFinder::Grapheme}) {
        QTextBoundaryFinder f(type, window.data(), window.size());
        f.setPosition(at);
        const qsizetype cut = f.isAtBoundary() ? at : f.toPreviousBoundary();
        if (cut > 0)
            return low + cut;
    }
    return target;
}

// The cuts of a paragraph of `length` characters of which `text` is the
// part from `offset` on: positions in `text`.
std::vector<qsizetype> cuts(QStringView text, qsizetype offset)
{
    std::vector<qsizetype> out;
    for (qsizetype from = 0; offset + text.size() - from > kLong;) {
        // The text before `offset` is not at hand: its first piece ends at
        // the first opportunity a piece's length on.
        const qsizetype cut = std::max(cutAfter(text, from), qsizetype(1));
        if (cut >= text.size())
            break;
        out.push_back(cut);
        from = cut;
        offset = 0;
    }
    return out;
}

// The breaks of any document, also a copy that never heard of pieces. By
// the formats' indexes: a document may have hundreds of thousands of blocks.
std::vector<int> scan(const QTextDocument &doc)
{
    std::vector<int> out;
    const QList<QTextFormat> formats = doc.allFormats();
    std::vector<bool> isMark(size_t(formats.size()));
    bool any = false;
    for (qsizetype k = 0; k < formats.size(); ++k)
        any |= isMark[size_t(k)] = formats[k].hasProperty(kMark);
    if (!any)
        return out;
    for (QTextBlock b = doc.begin().next(); b.isValid(); b = b.next()) {
        const int k = b.charFormatIndex();
        if (k >= 0 && size_t(k) < isMark.size() && isMark[size_t(k)])
            out.push_back(b.position() - 1);
    }
    return out;
}

} // namespace

QTextCharFormat unmarked(QTextCharFormat f)
{
    f.clearProperty(kMark);
    return f;
}

bool startsPiece(const QTextBlock &b)
{
    // A block's character format is that of the break before it.
    return b.isValid() && b.previous().isValid() && b.charFormat().hasProperty(kMark);
}

bool endsPiece(const QTextBlock &b) { return startsPiece(b.next()); }

std::vector<int> breaks(const QTextDocument &doc)
{
    return doc.property(kHeld).toBool() ? scan(doc) : std::vector<int>();
}

int docPosition(const std::vector<int> &breaks, int textPos, bool after)
{
    // Break j stands before text position breaks[j] - j, which rises with j.
    size_t lo = 0;
    size_t hi = breaks.size();
    while (lo < hi) {
        const size_t j = lo + (hi - lo) / 2;
        const int t = breaks[j] - int(j);
        if (after ? t <= textPos : t < textPos)
            lo = j + 1;
        else
            hi = j;
    }
    return textPos + int(lo);
}

void insertText(QTextCursor &c, const QString &text, const QTextCharFormat &marked_)
{
    // A break made by a line break in the text is one.
    const QTextCharFormat format = unmarked(marked_);
    if (c.document()->findBlock(c.anchor()).length() + c.block().length() + text.size() <= kLong) {
        // One step, as Qt joins adjacent insertions for undo.
        c.insertText(text, format);
        return;
    }
    c.beginEditBlock();
    c.removeSelectedText();
    qsizetype from = 0;
    qsizetype before = c.position() - c.block().position();
    while (from < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), from);
        if (end < 0)
            end = text.size();
        const QStringView para = QStringView(text).mid(from, end - from);
        qsizetype done = 0;
        for (const qsizetype cut : cuts(para, before)) {
            c.insertText(para.mid(done, cut - done).toString(), format);
            c.insertBlock(c.blockFormat(), marked(format));
            c.document()->setProperty(kHeld, true);
            done = cut;
        }
        c.insertText(para.mid(done).toString() + (end < text.size() ? QStringLiteral("\n") : QString()), format);
        before = 0;
        from = end + 1;
    }
    c.endEditBlock();
}

void cutLong(QTextBlock b, const QTextBlock &end)
{
    for (; b.isValid() && b != end; b = b.next()) {
        if (b.length() - 1 <= kLong)
            continue;
        const QString text = b.text();
        const int start = b.position();
        QTextCursor c(b);
        // From the end back: the positions before stay where they are.
        const auto at = cuts(text, 0);
        for (auto it = at.rbegin(); it != at.rend(); ++it) {
            c.setPosition(start + int(*it));
            c.insertBlock(b.blockFormat(), marked(c.charFormat()));
        }
        if (!at.empty()) {
            c.document()->setProperty(kHeld, true);
            // On after the last piece made.
            b = c.block();
        }
    }
}

QString withoutBreaks(const QString &raw, int from, const std::vector<int> &at)
{
    auto it = std::lower_bound(at.begin(), at.end(), from);
    if (it == at.end() || *it >= from + raw.size())
        return raw;
    QString out;
    out.reserve(raw.size());
    qsizetype done = 0;
    for (; it != at.end() && *it < from + raw.size(); ++it) {
        out += QStringView(raw).mid(done, *it - from - done);
        done = *it - from + 1;
    }
    out += QStringView(raw).mid(done);
    return out;
}

void join(QTextDocument &doc)
{
    const std::vector<int> at = scan(doc);
    if (at.empty())
        return;
    QTextCursor c(&doc);
    c.beginEditBlock();
    for (auto it = at.rbegin(); it != at.rend(); ++it) {
        c.setPosition(*it);
        c.deleteChar();
    }
    c.endEditBlock();
}

} // namespace vx::pieces
