#pragma once
// The rich text box: a formatted document with the selection members the
// windows use (the format of a mixed selection is the format at its start),
// find, file load and save (rich text when the file begins with "{\rtf", else
// plain text in the encoding and line breaks it came with), print. A very
// long paragraph is held in pieces (see pieces.h); every member here speaks
// of the text without them.
#include "control.h"
#include "platform/rtf/plaintext.h"

#include <QAccessible>
#include <QTextEdit>

#include <functional>
#include <vector>

class QPagedPaintDevice;

namespace vx {

class RichTextBox : public Control<QTextEdit> {
    Q_OBJECT
public:
    RichTextBox(Form *form, const QString &name, QWidget *container = nullptr);

    // The whole text, line breaks "\n". Setting it replaces the document with
    // plain text in the control's font (read-only or not).
    QString Text() const;
    void setText(const QString &t);

    int SelStart() const;
    void setSelStart(int pos);             // clamped; collapses the selection
    int SelLength() const;
    void setSelLength(int len);            // clamped to the text after SelStart
    QString SelText() const;
    void setSelText(const QString &t);     // nothing while read-only
    int SelEnd() const { return SelStart() + SelLength(); }

    // 0 left, 1 right, 2 centre.
    int SelAlignment() const;
    void setSelAlignment(int a);
    qint32 SelColor() const;
    void setSelColor(qint32 colour);
    QString SelFontName() const;
    void setSelFontName(const QString &name);
    double SelFontSize() const;
    void setSelFontSize(double points);
    bool SelBold() const;
    void setSelBold(bool on);
    bool SelItalic() const;
    void setSelItalic(bool on);
    bool SelUnderline() const;
    void setSelUnderline(bool on);
    bool SelStrikeThru() const;
    void setSelStrikeThru(bool on);

    // The control's own font (what plain text is shown in).
    QString FontName() const;
    void setFontName(const QString &name);

    // Twips from the left edge where lines wrap; 0 wraps at the control's edge.
    // Lines wrap between words; a document holding thousands of characters
    // without a break opportunity (hex digits, say) wraps anywhere.
    double RightMargin() const { return rightMargin_; }
    void setRightMargin(double twips);

    // Searches from character `start` to the end, case-insensitively; selects
    // the match and returns its index, or -1 (nothing found, empty text).
    int Find(const QString &text, int start = 0);

    // Lines as the control lays them out (wrapped lines count).
    int GetLineFromChar(int pos) const;
    int LineCount() const;
    int CaretLineStart() const;            // first character of the caret's line
    int LineLength(int charIndex) const;   // length of the line holding it

    // Loads a regular file of at most 256 MB; raises (nothing changes) when it
    // is missing (53), unreadable (70), not a regular file or too large (75),
    // or not decodable (321).
    void LoadFile(const QString &path);
    // type 0 rich text, 1 plain text (in the document's text format), written
    // as text::writeDocument writes: a file the user may not write raises 70
    // and stays as it was; any failure leaves the old content. Text the
    // format's encoding cannot hold raises 5, naming the character.
    void SaveFile(const QString &path, int type = 0);
    // The text as a plain text save writes it: Text() with the line
    // separators (U+2028) of the file kept as they are.
    QString PlainText() const;
    // Prints the selection, or everything when nothing is selected.
    void SelPrint(QPagedPaintDevice &device) const;
    QByteArray TextRTF() const;

    // How plain text is written back (encoding, line breaks).
    const text::TextFormat &textFormat() const { return format_; }
    void setTextFormat(const text::TextFormat &f) { format_ = f; }

    bool ReadOnly() const { return isReadOnly(); }
    void setReadOnly(bool on) { QTextEdit::setReadOnly(on); }
    bool CanUndo() const;
    void Undo();                           // nothing while read-only

    // Replaces `length` characters at each of the ascending, non-overlapping
    // `starts` with `replacement`, in place and in one undo step: each
    // replacement takes the format of the text it replaces (read-only or not).
    void ReplaceRanges(const std::vector<qsizetype> &starts, int length, const QString &replacement);
    // Replacements spanning more text than this are not read out to
    // assistive technology as text (see ReplaceRanges).
    static constexpr qsizetype kQuietReplaceSpan = 1 << 16;
    // Whether assistive technology listens (QAccessible::isActive; tests
    // running offscreen, where it never is, set their own).
    static inline bool (*accessibilityActive)() = &QAccessible::isActive;

    // Character event: printable keys, Backspace (8), Enter (13), Ctrl+letter
    // (1..26) and committed input, before the text changes.
    std::function<void(int keyAscii)> KeyPress;
    std::function<void()> Change;
    // After the text itself changed by any means (keys, paste, cut, drops,
    // undo and redo, the text members); not after LoadFile, setText or a
    // format set through the members above.
    std::function<void()> Edited;

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    QTextCharFormat formatAtStart() const;
    void merge(const QTextCharFormat &f);
    void replaceDocument(QTextDocument *doc);
    void watchEdits(QTextDocument *doc);
    bool quiet_ = false;
    // Keep the wrap mode fit for the text: `doc`'s as it changes, and text
    // about to be inserted.
    void followWrap(QTextDocument *doc);
    void wrapForIncoming(QStringView text);
    // Positions in the document and in the text (without the breaks
    // between pieces of a long paragraph).
    const std::vector<int> &pieceBreaks() const;
    int toText(int docPos) const;
    int toDoc(int textPos, bool after = true) const;
    int textLength() const;
    QString textOf(const QTextCursor &c) const;
    // Cuts paragraphs grown long by an edit into pieces, as part of that edit.
    void cutGrown(QTextDocument *doc);
    void keepCaretFormatPlain();
    void stepOverPieceBreak(const QKeyEvent *e, bool before);
    mutable std::vector<int> breaks_;
    mutable bool breaksKnown_ = false;
    bool cutPending_ = false;
    bool cutting_ = false;
    double rightMargin_ = 108150;
    text::TextFormat format_;
};

} // namespace vx
