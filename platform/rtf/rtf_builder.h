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
    void openPendingParagraph();
    void append(QChar ch)
    {
        openPendingParagraph();
        runText_.push_back(ch.unicode());
    }
    void appendAscii(const char *bytes, qsizetype count)
    {
        openPendingParagraph();
        runText_.insert(runText_.end(), bytes, bytes + count);
    }
    // A paragraph mark: the current paragraph ends with `align` (Qt flags);
    // the next opens only when something follows, so the closing mark that
    // writers put before the last brace adds no empty paragraph.
    void paragraph(int align);
    // The end of the document; `align` for a paragraph left open.
    void finish(int align);

private:
    void flushRun();
    void alignCurrent(int align);
    const QTextCharFormat &charFormat();

    QTextCursor cursor_;
    RunFormat run_;
    // A plain buffer: millions of characters are appended one at a time, and
    // it keeps its memory from one run to the next.
    std::vector<char16_t> runText_;
    bool pending_ = false;
    int blockAlign_ = Qt::AlignLeft;
    std::vector<std::pair<RunFormat, QTextCharFormat>> formats_;
};

} // namespace vx::rtf
