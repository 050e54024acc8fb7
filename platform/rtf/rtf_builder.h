#pragma once
// The document side of the rich text reader: formatting runs and paragraphs
// appended to a QTextDocument with as few document edits as possible.
#include <QColor>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

#include <optional>
#include <utility>
#include <vector>

class QTextDocument;

namespace vx::rtf {

inline constexpr int kDefaultHalfPoints = 24;

struct RunFormat {
    QString family;
    int halfPoints = kDefaultHalfPoints;
    bool bold = false, italic = false, underline = false, strike = false;
    std::optional<QColor> colour;
    bool operator==(const RunFormat &) const = default;
};

class DocumentBuilder {
public:
    explicit DocumentBuilder(QTextDocument &doc);
    ~DocumentBuilder();

    // Text from here on has this format.
    void setFormat(RunFormat f);
    // Opens the paragraph a paragraph mark left pending (call before a
    // format change, so the break stays with the text before it).
    void openPendingParagraph()
    {
        if (pending_) {
            pending_ = false;
            put(QChar::ParagraphSeparator);
        }
    }
    void append(QChar ch)
    {
        openPendingParagraph();
        put(ch.unicode());
    }
    void appendAscii(const char *bytes, qsizetype count)
    {
        openPendingParagraph();
        if (cap_ - len_ < count)
            grow(count);
        char16_t *out = buf_ + len_;
        for (qsizetype k = 0; k < count; ++k)
            out[k] = static_cast<unsigned char>(bytes[k]);
        len_ += count;
    }
    // A paragraph mark: the current paragraph ends with `align` (Qt flags);
    // the next opens only when something follows, so the closing mark that
    // writers put before the last brace adds no empty paragraph.
    void paragraph(int align);
    // The end of the document; `align` for a paragraph left open.
    void finish(int align);

private:
    void put(char16_t c)
    {
        if (len_ == cap_)
            grow(1);
        buf_[len_++] = c;
    }
    void grow(qsizetype more);
    void flushRun();
    void alignCurrent(int align);
    const QTextCharFormat &charFormat();

    QTextCursor cursor_;
    RunFormat run_;
    // The run's text is written straight into a string the document takes
    // as it is: no copy per run, and its memory serves the next run.
    QString runText_;
    char16_t *buf_ = nullptr;
    qsizetype len_ = 0, cap_ = 0;
    bool pending_ = false;
    int blockAlign_ = Qt::AlignLeft;
    std::vector<std::pair<RunFormat, QTextCharFormat>> formats_;
};

} // namespace vx::rtf
