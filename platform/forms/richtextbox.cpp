#include "richtextbox.h"

#include "layoutpacer.h"
#include "longruns.h"
#include "pieces.h"
#include "textlines.h"

#include <QAccessible>
#include <QMimeData>
#include <QPointer>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTimer>

namespace vx {

namespace {
// Text handed in with CR LF or CR line breaks: one break each.
QString oneBreak(QString s)
{
    if (s.contains(QLatin1Char('\r'))) {
        s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    return s;
}

QString unifyBreaks(QString s)
{
    for (QChar &c : s)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    return s;
}
} // namespace

RichTextBox::RichTextBox(Form *form, const QString &name, QWidget *container) : Control(form, name, container)
{
    backColor_ = syscolor::WindowBackground;
    foreColor_ = syscolor::WindowText;
    setColorRoles({QPalette::Base}, {QPalette::Text});
    setAcceptRichText(true);
    setTabChangesFocus(false);
    setRightMargin(rightMargin_);
    setWordWrapMode(wrapFor(false));
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (!cutting_)
            fire(Change);
    });
    watchEdits(document());
    followWrap(document());
    paceLayout(document());
}

void RichTextBox::watchEdits(QTextDocument *doc)
{
    // A change of format alone also reports its span as removed and added.
    connect(doc, &QTextDocument::contentsChange, this, [this, doc](int from, int removed, int added) {
        breaksKnown_ = false;
        if (!quiet_ && (removed != 0 || added != 0))
            fire(Edited);
        if (added <= 0 || cutPending_ || cutting_ || doc != document())
            return;
        const QTextBlock end = doc->findBlock(from + added).next();
        for (QTextBlock b = doc->findBlock(from); b.isValid() && b != end; b = b.next()) {
            if (b.length() - 1 > pieces::kLong) {
                // Not inside the change: at once after it.
                cutPending_ = true;
                QTimer::singleShot(0, this, [this, d = QPointer<QTextDocument>(doc)] { cutGrown(d); });
                return;
            }
        }
    });
}

void RichTextBox::cutGrown(QTextDocument *doc)
{
    cutPending_ = false;
    if (!doc || doc != document())
        return;
    const QScopedValueRollback quiet(quiet_, true);
    const QScopedValueRollback cutting(cutting_, true);
    QTextCursor c(doc);
    // Undone with the edit that made the paragraph long.
    c.joinPreviousEditBlock();
    pieces::cutLong(doc->begin(), QTextBlock());
    c.endEditBlock();
}

const std::vector<int> &RichTextBox::pieceBreaks() const
{
    if (!breaksKnown_) {
        breaks_ = pieces::breaks(*document());
        breaksKnown_ = true;
    }
    return breaks_;
}

int RichTextBox::toText(int docPos) const
{
    const std::vector<int> &at = pieceBreaks();
    return docPos - int(std::lower_bound(at.begin(), at.end(), docPos) - at.begin());
}

int RichTextBox::toDoc(int textPos, bool after) const
{
    const std::vector<int> &at = pieceBreaks();
    if (at.empty())
        return textPos;
    // The caret where it is: before or after a break it stands at the same text position.
    const int caret = textCursor().position();
    if (toText(caret) == textPos)
        return caret;
    return pieces::docPosition(at, textPos, after);
}

int RichTextBox::textLength() const { return document()->characterCount() - 1 - int(pieceBreaks().size()); }

QString RichTextBox::textOf(const QTextCursor &c) const
{
    return unifyBreaks(pieces::withoutBreaks(c.selectedText(), c.selectionStart(), pieceBreaks()));
}

void RichTextBox::insertFromMimeData(const QMimeData *source)
{
    keepCaretFormatPlain();
    if (source->hasText())
        wrapForIncoming(source->text());
    // Plain text goes in in pieces at once, not laid out whole first.
    if (source->hasText() && !(acceptRichText() && source->hasHtml()) && source->text().size() > pieces::kLong) {
        QTextCursor c = textCursor();
        pieces::insertText(c, oneBreak(source->text()), c.charFormat());
        setTextCursor(c);
        ensureCursorVisible();
        return;
    }
    QTextEdit::insertFromMimeData(source);
}

QMimeData *RichTextBox::createMimeDataFromSelection() const
{
    const QTextCursor sel = textCursor();
    const std::vector<int> &at = pieceBreaks();
    const auto first = std::lower_bound(at.begin(), at.end(), sel.selectionStart());
    if (first == at.end() || *first >= sel.selectionEnd())
        return QTextEdit::createMimeDataFromSelection();
    QTextDocument copy;
    copy.setDefaultFont(document()->defaultFont());
    QTextCursor(&copy).insertFragment(sel.selection());
    pieces::join(copy);
    auto *data = new QMimeData;
    data->setText(textOf(sel));
    data->setHtml(copy.toHtml());
    return data;
}

QString RichTextBox::Text() const
{
    return unifyBreaks(pieces::withoutBreaks(document()->toRawText(), 0, pieceBreaks()));
}

void RichTextBox::setText(const QString &t)
{
    const QScopedValueRollback quiet(quiet_, true);
    QTextCursor c(document());
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    c.setBlockFormat(QTextBlockFormat());
    pieces::insertText(c, oneBreak(t), QTextCharFormat());
    c.endEditBlock();
    c.setPosition(0);
    setTextCursor(c);
}

int RichTextBox::SelStart() const { return toText(textCursor().selectionStart()); }

void RichTextBox::setSelStart(int pos)
{
    QTextCursor c = textCursor();
    c.setPosition(toDoc(std::clamp(pos, 0, textLength())));
    setTextCursor(c);
}

int RichTextBox::SelLength() const
{
    const QTextCursor c = textCursor();
    return toText(c.selectionEnd()) - toText(c.selectionStart());
}

void RichTextBox::setSelLength(int len)
{
    const int start = SelStart();
    const int end = textLength();
    QTextCursor c = textCursor();
    const int from = toDoc(start);
    c.setPosition(from);
    c.setPosition(std::max(from, toDoc(start + std::clamp(len, 0, end - start), false)), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString RichTextBox::SelText() const { return textOf(textCursor()); }

void RichTextBox::setSelText(const QString &t)
{
    if (isReadOnly())
        return;
    wrapForIncoming(t);
    QTextCursor c = textCursor();
    pieces::insertText(c, oneBreak(t), c.charFormat());
    setTextCursor(c);
}

QTextCharFormat RichTextBox::formatAtStart() const
{
    const QTextCursor sel = textCursor();
    if (!sel.hasSelection())
        return sel.charFormat();
    QTextCursor c(document());
    c.setPosition(sel.selectionStart() + 1);
    return c.charFormat();
}

void RichTextBox::merge(const QTextCharFormat &f)
{
    const QScopedValueRollback quiet(quiet_, true);
    mergeCurrentCharFormat(f);
}

int RichTextBox::SelAlignment() const
{
    QTextCursor c(document());
    c.setPosition(textCursor().selectionStart());
    const Qt::Alignment a = c.blockFormat().alignment();
    if (a & Qt::AlignHCenter)
        return 2;
    if (a & Qt::AlignRight)
        return 1;
    return 0;
}

void RichTextBox::setSelAlignment(int a)
{
    const QScopedValueRollback quiet(quiet_, true);
    setAlignment(a == 2 ? Qt::AlignHCenter : a == 1 ? Qt::AlignRight : Qt::AlignLeft);
}

qint32 RichTextBox::SelColor() const
{
    const QTextCharFormat f = formatAtStart();
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        return fromQColor(f.foreground().color());
    return 0;
}

void RichTextBox::setSelColor(qint32 colour)
{
    QTextCharFormat f;
    f.setForeground(toQColor(colour));
    merge(f);
}

QString RichTextBox::SelFontName() const
{
    const QStringList fams = formatAtStart().fontFamilies().toStringList();
    return fams.isEmpty() || fams.first().isEmpty() ? FontName() : fams.first();
}

void RichTextBox::setSelFontName(const QString &name)
{
    QTextCharFormat f;
    f.setFontFamilies({name});
    merge(f);
}

double RichTextBox::SelFontSize() const
{
    const QTextCharFormat f = formatAtStart();
    if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0)
        return f.fontPointSize();
    return document()->defaultFont().pointSizeF();
}

void RichTextBox::setSelFontSize(double points)
{
    QTextCharFormat f;
    f.setFontPointSize(std::clamp(points, 1.0, 1638.0));
    merge(f);
}

bool RichTextBox::SelBold() const { return formatAtStart().fontWeight() >= QFont::DemiBold; }
void RichTextBox::setSelBold(bool on)
{
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    merge(f);
}
bool RichTextBox::SelItalic() const { return formatAtStart().fontItalic(); }
void RichTextBox::setSelItalic(bool on)
{
    QTextCharFormat f;
    f.setFontItalic(on);
    merge(f);
}
bool RichTextBox::SelUnderline() const { return formatAtStart().fontUnderline(); }
void RichTextBox::setSelUnderline(bool on)
{
    QTextCharFormat f;
    f.setFontUnderline(on);
    merge(f);
}
bool RichTextBox::SelStrikeThru() const { return formatAtStart().fontStrikeOut(); }
void RichTextBox::setSelStrikeThru(bool on)
{
    QTextCharFormat f;
    f.setFontStrikeOut(on);
    merge(f);
}

QString RichTextBox::FontName() const { return document()->defaultFont().family(); }

void RichTextBox::setFontName(const QString &name)
{
    QFont f = font();
    f.setFamilies({name});
    const QScopedValueRollback quiet(quiet_, true);
    setFont(f);
    document()->setDefaultFont(f);
}

void RichTextBox::setRightMargin(double twips)
{
    rightMargin_ = twips;
    if (twips > 0) {
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(std::max(1, toPixels(twips)));
    } else {
        setLineWrapMode(QTextEdit::WidgetWidth);
    }
}

int RichTextBox::Find(const QString &text, int start)
{
    if (text.isEmpty() || start < 0 || start >= textLength())
        return -1;
    if (pieceBreaks().empty()) {
        const QTextCursor found = document()->find(text, start);
        if (found.isNull())
            return -1;
        setTextCursor(found);
        return found.selectionStart();
    }
    // The document finds nothing across a break between pieces.
    const auto at = Text().indexOf(text, start, Qt::CaseInsensitive);
    if (at < 0)
        return -1;
    QTextCursor c = textCursor();
    c.setPosition(pieces::docPosition(pieceBreaks(), int(at), true));
    c.setPosition(pieces::docPosition(pieceBreaks(), int(at + text.size()), false), QTextCursor::KeepAnchor);
    setTextCursor(c);
    return int(at);
}

int RichTextBox::GetLineFromChar(int pos) const { return lineOfChar(*document(), toDoc(pos)); }
int RichTextBox::LineCount() const { return document()->lineCount(); }
int RichTextBox::CaretLineStart() const { return toText(lineStartAt(*document(), textCursor().position())); }
int RichTextBox::LineLength(int charIndex) const { return lineLengthAt(*document(), toDoc(charIndex)); }

bool RichTextBox::CanUndo() const { return document()->isUndoAvailable(); }

void RichTextBox::Undo()
{
    if (!isReadOnly())
        undo();
}

void RichTextBox::ReplaceRanges(const std::vector<qsizetype> &starts, int length, const QString &replacement)
{
    if (starts.empty())
        return;
    QTextDocument *d = document();
    const int end = textLength();
    // Text positions into the document's: the edits go from the end back,
    // so the breaks before each stay where they were.
    const std::vector<int> breaks = pieceBreaks();
    QTextCursor c(d);
    QTextCursor probe(d);
    c.beginEditBlock();
    // From the end backwards: earlier positions stay valid.
    for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
        const int at = static_cast<int>(*it);
        if (at < 0 || at + length > end)
            continue;
        const int from = pieces::docPosition(breaks, at, true);
        probe.setPosition(from + 1);
        const QTextCharFormat fmt = pieces::unmarked(probe.charFormat());
        c.setPosition(from);
        c.setPosition(pieces::docPosition(breaks, at + length, false), QTextCursor::KeepAnchor);
        c.insertText(oneBreak(replacement), fmt);
    }
    // Known again after the edit, also when its signals are held back below.
    breaksKnown_ = false;
    // Qt tells assistive technology of the edit block as one event carrying
    // the whole span from the first edit to the last: over a large document,
    // megabytes through the accessibility bus (three times the replace
    // itself) and a screen reader handed the document to read out. Past a
    // bounded span the document's end-of-edit signals are held back and
    // given again without that event; the screen reader hears of the caret
    // and reads the line there.
    if (!accessibilityActive() || starts.back() - starts.front() <= kQuietReplaceSpan) {
        c.endEditBlock();
        return;
    }
    const int caret = textCursor().position();
    const int blocks = d->blockCount();
    const bool undo = d->isUndoAvailable();
    const bool redo = d->isRedoAvailable();
    const bool modified = d->isModified();
    {
        const QSignalBlocker hold(d);
        c.endEditBlock();
    }
    emit d->undoCommandAdded();
    emit d->contentsChanged();
    fire(Edited);
    if (d->blockCount() != blocks)
        emit d->blockCountChanged(d->blockCount());
    if (d->isUndoAvailable() != undo)
        emit d->undoAvailable(d->isUndoAvailable());
    if (d->isRedoAvailable() != redo)
        emit d->redoAvailable(d->isRedoAvailable());
    if (d->isModified() != modified)
        emit d->modificationChanged(d->isModified());
    if (textCursor().position() != caret)
        emit d->cursorPositionChanged(textCursor());
    QAccessibleTextCursorEvent moved(this, textCursor().position());
    QAccessible::updateAccessibility(&moved);
}

} // namespace vx
