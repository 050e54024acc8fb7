// RichTextBox: file load and save, print, and the text as they write it.
#include "richtextbox.h"

#include "docload.h"
#include "layoutpacer.h"
#include "longruns.h"
#include "pieces.h"

#include "platform/core/errors.h"
#include "platform/rtf/docfile.h"
#include "platform/rtf/rtf.h"

#include <QTextBlock>
#include <QTextDocumentFragment>

#include <memory>

namespace vx {

void RichTextBox::replaceDocument(QTextDocument *doc)
{
    doc->setDefaultFont(document()->defaultFont());
    doc->setUndoRedoEnabled(true);
    // Filling it marked it changed; as opened it holds nothing unsaved.
    doc->setModified(false);
    // The document a previous load made goes with the next (Qt deletes only
    // the control's first one, when it is replaced).
    QTextDocument *old = document();
    breaksKnown_ = false;
    const bool ours = old && old->parent() == this;
    // Every full layout of a large document lays out its first pages again
    // (a hundred lines or more, shaped afresh). Attaching with no page size
    // skips the one the new layout would start with, and a vertical scroll
    // bar already in place spares those its appearance would cause by
    // narrowing the view: the control's own sizing lays them out once. A
    // short text hides the bar again when the policy is given back.
    doc->setPageSize(QSizeF(0, 0));
    const QTextOption::WrapMode wrap = wrapFor(anyLongRun(doc->begin(), QTextBlock()));
    if (wrap != wordWrapMode()) {
        // The control applies its mode to the document it shows: the one
        // going away is not laid out again for it.
        old->setPageSize(QSizeF(0, 0));
        setWordWrapMode(wrap);
    }
    const Qt::ScrollBarPolicy policy = verticalScrollBarPolicy();
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setDocument(doc);
    watchEdits(doc);
    setVerticalScrollBarPolicy(policy);
    followWrap(doc);
    paceLayout(doc);
    if (ours)
        old->deleteLater();
    moveCursor(QTextCursor::Start);
    fire(Change);
}

void RichTextBox::LoadFile(const QString &path)
{
    replaceDocument(loadDocument(path, document()->defaultFont(), format_, this));
}

QByteArray RichTextBox::TextRTF() const
{
    if (pieceBreaks().empty())
        return rtf::write(*document());
    const std::unique_ptr<QTextDocument> copy(document()->clone());
    pieces::join(*copy);
    return rtf::write(*copy);
}

QString RichTextBox::PlainText() const
{
    QString s = pieces::withoutBreaks(document()->toRawText(), 0, pieceBreaks());
    for (QChar &c : s)
        if (c == QChar::ParagraphSeparator)
            c = QLatin1Char('\n');
    return s;
}

void RichTextBox::SaveFile(const QString &path, int type)
{
    if (type == 0) {
        text::writeDocument(path, TextRTF());
        return;
    }
    text::TextFormat written;
    QString unwritable;
    const auto bytes = text::encodePlain(PlainText(), format_, &written, &unwritable);
    if (!bytes)
        throw RuntimeError(err::InvalidCall, text::unwritableMessage(unwritable, format_));
    text::writeDocument(path, *bytes);
    format_ = written;
}

void RichTextBox::SelPrint(QPagedPaintDevice &device) const
{
    QTextDocument copy;
    copy.setDefaultFont(document()->defaultFont());
    const QTextCursor sel = textCursor();
    QTextCursor c(&copy);
    if (sel.hasSelection()) {
        c.insertFragment(sel.selection());
    } else {
        QTextCursor all(document());
        all.select(QTextCursor::Document);
        c.insertFragment(all.selection());
    }
    pieces::join(copy);
    copy.print(&device);
}

} // namespace vx
