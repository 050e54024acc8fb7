#include "rtf_builder.h"

#include <QTextDocument>

#include <algorithm>

namespace vx::rtf {

// One edit for the whole load, and paragraph breaks carried inside the runs'
// text: far cheaper than one document edit per run and per paragraph.
DocumentBuilder::DocumentBuilder(QTextDocument &doc) : cursor_(&doc) { cursor_.beginEditBlock(); }

DocumentBuilder::~DocumentBuilder() { cursor_.endEditBlock(); }

void DocumentBuilder::setFormat(RunFormat f)
{
    if (f == run_)
        return;
    flushRun();
    run_ = std::move(f);
}

void DocumentBuilder::paragraph(int align)
{
    openPendingParagraph();
    alignCurrent(align);
    pending_ = true;
}

void DocumentBuilder::finish(int align)
{
    if (!pending_)
        alignCurrent(align);
    flushRun();
}

void DocumentBuilder::alignCurrent(int align)
{
    if (align == 0)
        align = Qt::AlignLeft;
    if (align == blockAlign_)
        return;
    flushRun();
    QTextBlockFormat bf;
    bf.setAlignment(Qt::Alignment(align));
    cursor_.mergeBlockFormat(bf);
    blockAlign_ = align; // the paragraphs that follow start with it
}

void DocumentBuilder::grow(qsizetype more)
{
    cap_ = std::max({cap_ * 2, len_ + more, qsizetype(4096)});
    runText_.resize(cap_);
    buf_ = reinterpret_cast<char16_t *>(runText_.data());
}

void DocumentBuilder::flushRun()
{
    if (len_ == 0)
        return;
    runText_.resize(len_); // within its capacity: nothing moves
    cursor_.insertText(runText_, charFormat());
    len_ = 0;
    // Should the document have kept a reference, this copies; else it is free.
    runText_.resize(cap_);
    buf_ = reinterpret_cast<char16_t *>(runText_.data());
}

// Documents repeat a few formats many times: each is built once.
const QTextCharFormat &DocumentBuilder::charFormat()
{
    for (const auto &[run, format] : formats_)
        if (run == run_)
            return format;
    if (formats_.size() >= 32)
        formats_.erase(formats_.begin());
    QTextCharFormat cf;
    if (!run_.family.isEmpty())
        cf.setFontFamilies({run_.family});
    cf.setFontPointSize(run_.halfPoints / 2.0);
    cf.setFontWeight(run_.bold ? QFont::Bold : QFont::Normal);
    cf.setFontItalic(run_.italic);
    cf.setFontUnderline(run_.underline);
    cf.setFontStrikeOut(run_.strike);
    if (run_.colour)
        cf.setForeground(*run_.colour);
    formats_.emplace_back(run_, cf);
    return formats_.back().second;
}

} // namespace vx::rtf
