// RichTextBox: keys and input method, and the caret at the breaks between
// the pieces of a long paragraph.
#include "richtextbox.h"

#include "pieces.h"

#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QTextBlock>

namespace vx {

void RichTextBox::keepCaretFormatPlain()
{
    const QTextCharFormat f = currentCharFormat();
    const QTextCharFormat plain = pieces::unmarked(f);
    if (plain != f) {
        const QScopedValueRollback quiet(quiet_, true);
        setCurrentCharFormat(plain);
    }
}

void RichTextBox::stepOverPieceBreak(const QKeyEvent *e, bool before)
{
    if (pieceBreaks().empty())
        return;
    QTextCursor c = textCursor();
    const auto mode = e->modifiers() & Qt::ShiftModifier ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
    if (before) {
        // Deleting a break between pieces would delete nothing the user sees,
        // and an arrow to the right of one would not move in the text.
        const bool deletes = !c.hasSelection() && !isReadOnly();
        if (deletes && e->key() == Qt::Key_Backspace && c.atBlockStart() && pieces::startsPiece(c.block()))
            c.movePosition(QTextCursor::PreviousCharacter);
        else if (deletes && e->key() == Qt::Key_Delete && c.atBlockEnd() && pieces::endsPiece(c.block()))
            c.movePosition(QTextCursor::NextCharacter);
        else if (e->key() == Qt::Key_Right && c.atBlockEnd() && pieces::endsPiece(c.block()))
            c.movePosition(QTextCursor::NextCharacter, mode);
        else
            return;
    } else {
        // Both sides of a break are one place in the text: an arrow moves on.
        if ((e->key() != Qt::Key_Left && e->key() != Qt::Key_Right) || !c.atBlockEnd() ||
            !pieces::endsPiece(c.block()))
            return;
        c.movePosition(e->key() == Qt::Key_Right ? QTextCursor::NextCharacter : QTextCursor::PreviousCharacter, mode);
    }
    setTextCursor(c);
}

void RichTextBox::keyPressEvent(QKeyEvent *e)
{
    const QString t = e->text();
    int ascii = -1;
    if (!t.isEmpty() && e->key() != Qt::Key_Delete && e->key() != Qt::Key_Escape) {
        const char16_t c = t.at(0).unicode();
        if (c >= 0x20 && c != 0x7F)
            ascii = c;
        else if (c == 8 || c == 9 || c == 13)
            ascii = c;
        else if (c >= 1 && c <= 26 && (e->modifiers() & Qt::ControlModifier))
            ascii = c;
        else if (c == 10)
            ascii = 13;
    }
    // The Insert key switches between inserting and overwriting.
    if (e->key() == Qt::Key_Insert && e->modifiers() == Qt::NoModifier) {
        setOverwriteMode(!overwriteMode());
        e->accept();
        return;
    }
    if (ascii >= 0)
        fire([this, ascii] {
            if (KeyPress)
                KeyPress(ascii);
        });
    keepCaretFormatPlain();
    stepOverPieceBreak(e, true);
    // Shift+Enter starts a line of its own as well: a line separator inside a
    // line would reach a plain text file as that character.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && (e->modifiers() & Qt::ShiftModifier)) {
        QKeyEvent plain(e->type(), e->key(), e->modifiers() & ~Qt::ShiftModifier, e->text(), e->isAutoRepeat(),
                        static_cast<quint16>(e->count()));
        QTextEdit::keyPressEvent(&plain);
        e->setAccepted(plain.isAccepted());
    } else {
        QTextEdit::keyPressEvent(e);
    }
    stepOverPieceBreak(e, false);
}

void RichTextBox::inputMethodEvent(QInputMethodEvent *e)
{
    if (!e->commitString().isEmpty()) {
        const int c = e->commitString().at(0).unicode();
        fire([this, c] {
            if (KeyPress)
                KeyPress(c);
        });
    }
    keepCaretFormatPlain();
    QTextEdit::inputMethodEvent(e);
}

} // namespace vx
