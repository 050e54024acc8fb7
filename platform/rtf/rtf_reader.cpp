// Reader: a flat loop over the bytes with an explicit group stack, so neither
// depth nor size of the input reaches the machine stack.
#include "rtf.h"

#include "codepage.h"
#include "rtf_builder.h"
#include "rtf_words.h"

#include <QColor>
#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace vx::rtf {

namespace {

constexpr int kMaxDepth = 1000;

enum class Dest { Text, Skip, FontTable, ColorTable };
enum class Mode { None, Loch, Hich, Dbch };

struct State {
    Dest dest = Dest::Text;
    // Regular character properties; -1 is "not given here".
    int font = -1, halfPoints = -1, bold = -1, italic = -1;
    // Associated ones (\af, \afs, \ab, \ai): what double-byte runs use.
    int aFont = -1, aHalfPoints = -1, aBold = -1, aItalic = -1;
    bool underline = false, strike = false;
    int colour = 0;
    Mode mode = Mode::None;
    bool rtl = false; // after \rtlch the associated forms describe right-to-left text
    int uc = 1;
    int align = 0; // Qt alignment flags of the paragraph
    bool starSeen = false;
};

struct FontEntry {
    QString name;
    int cp = 0; // 0: the document's code page
};


class Reader {
public:
    Reader(const QByteArray &data, QTextDocument &doc) : data_(data), builder_(doc) {}

    bool run(QString *error)
    {
        if (!data_.startsWith("{\\rtf"))
            return fail(error, QStringLiteral("not rich text"));
        const qsizetype n = data_.size();
        qsizetype i = 0;
        bool done = false;
        while (i < n && !done) {
            const char c = data_[i];
            if (c == '{') {
                flushBytes();
                if (static_cast<int>(stack_.size()) >= kMaxDepth)
                    return fail(error, QStringLiteral("nested too deep"));
                stack_.push_back(state());
                skip_ = 0;
                ++i;
            } else if (c == '}') {
                flushBytes();
                if (stack_.empty())
                    return fail(error, QStringLiteral("unbalanced braces"));
                endGroup();
                skip_ = 0;
                ++i;
                if (stack_.empty())
                    done = true;
            } else if (c == '\\') {
                if (!control(i, error))
                    return false;
            } else if (c == '\r' || c == '\n' || c == '\0') {
                ++i;
            } else {
                if (stack_.empty())
                    return fail(error, QStringLiteral("text outside the document"));
                if (plainStretchFollows(c)) {
                    // Most of a document: ASCII text between control words,
                    // taken as one stretch instead of byte by byte.
                    qsizetype j = i + 1;
                    while (j < n && isPlainText(data_[j]))
                        ++j;
                    stretch(data_.constData() + i, j - i);
                    i = j;
                    continue;
                }
                literal(static_cast<unsigned char>(c));
                ++i;
            }
        }
        if (!done)
            return fail(error, QStringLiteral("cut off"));
        if (damaged_ || highSurrogate_)
            return fail(error, QStringLiteral("lone surrogate"));
        for (; i < n; ++i)
            if (data_[i] != '\r' && data_[i] != '\n' && data_[i] != ' ' && data_[i] != '\0')
                return fail(error, QStringLiteral("unbalanced braces"));
        builder_.finish(cur_.align);
        return true;
    }

private:
    static bool fail(QString *error, const QString &why)
    {
        if (error)
            *error = why;
        return false;
    }

    State &state() { return cur_; }

    void endGroup()
    {
        const Dest leaving = cur_.dest;
        dirty_ = true;
        if (leaving == Dest::FontTable)
            commitFontName(false);
        cur_ = stack_.back();
        stack_.pop_back();
        if (leaving == Dest::FontTable && cur_.dest != Dest::FontTable)
            fontId_ = -1;
    }

    // One control word or symbol starting at data_[i] == '\\'.
    bool control(qsizetype &i, QString *error)
    {
        const qsizetype n = data_.size();
        if (i + 1 >= n)
            return fail(error, QStringLiteral("cut off"));
        const char c = data_[i + 1];
        if (!isLetter(c)) {
            i += 2;
            return symbol(c, i, error);
        }
        qsizetype j = i + 1;
        while (j < n && isLetter(data_[j]) && j - i <= 32)
            ++j;
        if (j - i > 32)
            return fail(error, QStringLiteral("control word too long"));
        // A view into the input: no copy per control word.
        const QByteArrayView word(data_.constData() + i + 1, j - i - 1);
        bool hasParam = false;
        qint64 param = 0;
        bool negative = false;
        if (j < n && data_[j] == '-' && j + 1 < n && isDigit(data_[j + 1])) {
            negative = true;
            ++j;
        }
        while (j < n && isDigit(data_[j])) {
            hasParam = true;
            param = param * 10 + (data_[j] - '0');
            // Parameters are signed 32-bit numbers: a longer one is damage.
            if (param > 2147483648LL)
                return fail(error, QStringLiteral("number out of range"));
            ++j;
        }
        if (negative)
            param = -param;
        else if (param > 2147483647LL)
            return fail(error, QStringLiteral("number out of range"));
        if (j < n && data_[j] == ' ')
            ++j;
        i = j;
        if (word == "bin") {
            // Raw bytes follow; they are never text here.
            flushBytes();
            if (param < 0 || param > n - i)
                return fail(error, QStringLiteral("cut off"));
            i += param;
            return true;
        }
        if (stack_.empty())
            return fail(error, QStringLiteral("text outside the document"));
        if (skip_ > 0 && word != "u") {
            // A control word stands for one character of a \u fallback.
            --skip_;
            return true;
        }
        return keyword(word, hasParam, static_cast<int>(param));
    }

    bool symbol(char c, qsizetype &i, QString *error)
    {
        if (stack_.empty())
            return fail(error, QStringLiteral("text outside the document"));
        switch (c) {
        case '\'': {
            if (i + 2 > data_.size())
                return fail(error, QStringLiteral("cut off"));
            const int hi = hexDigit(data_[i]);
            const int lo = hexDigit(data_[i + 1]);
            i += 2;
            if (hi < 0 || lo < 0)
                return true; // a malformed escape stands for nothing
            const int b = hi * 16 + lo;
            if (skip_ > 0) {
                --skip_;
                return true;
            }
            addByte(static_cast<unsigned char>(b));
            return true;
        }
        case '*':
            cur_.starSeen = true;
            return true;
        case '\\':
        case '{':
        case '}':
            literal(static_cast<unsigned char>(c));
            return true;
        case '~': character(QChar(0x00A0)); return true;
        case '_': character(QChar(0x2011)); return true;
        case '-': return true; // optional hyphen
        case '\r':
        case '\n':
            if (skip_ > 0) {
                --skip_;
                return true;
            }
            return keyword("par", false, 0);
        default: return true;
        }
    }

    bool keyword(QByteArrayView w, bool hasParam, int p)
    {
        State &s = cur_;
        dirty_ = true;
        const bool star = s.starSeen;
        s.starSeen = false;
        // Destinations.
        if (w == "fonttbl") {
            flushBytes();
            s.dest = Dest::FontTable;
            return true;
        }
        if (w == "colortbl") {
            flushBytes();
            s.dest = Dest::ColorTable;
            colourR_ = colourG_ = colourB_ = -1;
            return true;
        }
        if (s.dest == Dest::Skip)
            return true;
        if (skippedDestination(w) || (star && w != "u")) {
            // {\*\unknown ...}: a destination this reader does not know.
            if (star || skippedDestination(w)) {
                flushBytes();
                s.dest = Dest::Skip;
                return true;
            }
        }
        if (w == "uc") {
            s.uc = std::clamp(p, 0, 10);
            return true;
        }
        if (s.dest == Dest::FontTable)
            return fontTableWord(w, hasParam, p);
        if (s.dest == Dest::ColorTable) {
            if (w == "red")
                colourR_ = std::clamp(p, 0, 255);
            else if (w == "green")
                colourG_ = std::clamp(p, 0, 255);
            else if (w == "blue")
                colourB_ = std::clamp(p, 0, 255);
            return true;
        }
        if (w == "u") {
            if (skip_ > 0)
                skip_ = 0;
            flushBytes();
            if (!unicode(p, [this](QChar ch) { character(ch); }))
                return false;
            skip_ = s.uc;
            return true;
        }
        if (w == "ansicpg") {
            if (text::decode(QByteArray("a"), p))
                docCp_ = p;
            return true;
        }
        if (w == "deff") {
            deff_ = p;
            return true;
        }
        // Characters.
        if (w == "par") {
            flushBytes();
            paragraph();
            return true;
        }
        if (w == "line") {
            character(QChar(QChar::LineSeparator));
            return true;
        }
        if (w == "row" || w == "sect") {
            flushBytes();
            paragraph();
            return true;
        }
        if (w == "cell" || w == "nestcell") {
            character(QLatin1Char('\t'));
            return true;
        }
        if (w == "tab") {
            character(QLatin1Char('\t'));
            return true;
        }
        if (const char16_t special = specialCharacter(w)) {
            character(QChar(special));
            return true;
        }
        flushBytes();
        const int on = hasParam ? (p != 0 ? 1 : 0) : 1;
        // Paragraph.
        if (w == "pard") {
            s.align = Qt::AlignLeft;
        } else if (w == "ql" || w == "qj" || w == "qd") {
            s.align = Qt::AlignLeft;
        } else if (w == "qc") {
            s.align = Qt::AlignHCenter;
        } else if (w == "qr") {
            s.align = Qt::AlignRight;
        }
        // Character.
        else if (w == "plain") {
            const Dest d = s.dest;
            const int uc = s.uc, align = s.align;
            s = State();
            s.dest = d;
            s.uc = uc;
            s.align = align;
        } else if (w == "f") {
            s.font = p;
        } else if (w == "fs") {
            if (hasParam && !halfPointsOk(p))
                return false;
            s.halfPoints = hasParam ? p : kDefaultHalfPoints;
        } else if (w == "b") {
            s.bold = on;
        } else if (w == "i") {
            s.italic = on;
        } else if (w == "ul" || w == "uld" || w == "uldb" || w == "ulth" || w == "ulw" || w == "uldash") {
            s.underline = on;
        } else if (w == "ulnone") {
            s.underline = false;
        } else if (w == "strike" || w == "striked") {
            s.strike = on;
        } else if (w == "cf") {
            s.colour = p;
        } else if (w == "rtlch") {
            s.rtl = true;
        } else if (w == "ltrch") {
            s.rtl = false;
        } else if (w == "loch") {
            s.mode = Mode::Loch;
        } else if (w == "hich") {
            s.mode = Mode::Hich;
        } else if (w == "dbch") {
            s.mode = Mode::Dbch;
        } else if (!s.rtl && w == "af") {
            s.aFont = p;
        } else if (w == "afs" && hasParam && !halfPointsOk(p)) {
            return false;
        } else if (!s.rtl && w == "afs") {
            s.aHalfPoints = hasParam ? p : kDefaultHalfPoints;
        } else if (!s.rtl && w == "ab") {
            s.aBold = on;
        } else if (!s.rtl && w == "ai") {
            s.aItalic = on;
        }
        return true;
    }

    bool fontTableWord(QByteArrayView w, bool, int p)
    {
        if (w == "f") {
            commitFontName(false);
            fontId_ = p;
            fontCp_ = 0;
            fontName_.clear();
        } else if (w == "fcharset") {
            fontCp_ = text::codePageOfCharset(p);
        } else if (w == "cpg") {
            if (text::decode(QByteArray("a"), p))
                fontCp_ = p;
        } else if (w == "u") {
            flushBytes();
            if (!unicode(p, [this](QChar ch) { fontName_.append(ch); }))
                return false;
            skip_ = cur_.uc;
        }
        return true;
    }

    // Font sizes in half points: 1 to 1638 points, as word processors take
    // them. Zero, negative or larger sizes are a damaged document.
    static bool halfPointsOk(int p) { return p >= 2 && p <= 3276; }

    // \uN: a signed 16-bit code unit (-32768..-1 stand for 32768..65535) or a
    // larger scalar value up to U+10FFFF. A surrogate must be one half of a
    // pair written as two \u; anything else outside the scalar values, and the
    // non-characters (U+FDD0..U+FDEF, U+xFFFE, U+xFFFF), are damage.
    template <typename Put>
    bool unicode(int p, Put put)
    {
        if (p < -32768 || p > 0x10FFFF)
            return false;
        const char32_t code = static_cast<char32_t>(p < 0 ? p + 65536 : p);
        if ((code >= 0xFDD0 && code <= 0xFDEF) || (code & 0xFFFE) == 0xFFFE)
            return false;
        if (QChar::isHighSurrogate(code)) {
            if (highSurrogate_)
                return false;
            highSurrogate_ = true;
            put(QChar(static_cast<char16_t>(code)));
            return true;
        }
        if (QChar::isLowSurrogate(code) != highSurrogate_)
            return false;
        highSurrogate_ = false;
        if (code > 0xFFFF) {
            put(QChar(QChar::highSurrogate(code)));
            put(QChar(QChar::lowSurrogate(code)));
        } else {
            put(QChar(static_cast<char16_t>(code)));
        }
        return true;
    }

    void commitFontName(bool fromSemicolon)
    {
        flushBytes();
        if (fontId_ < 0 || (!fromSemicolon && fontName_.isEmpty()))
            return;
        QString name = fontName_.trimmed();
        if (!fonts_.contains(fontId_) || !name.isEmpty())
            fonts_.insert(fontId_, {name, fontCp_});
        fontName_.clear();
        if (fromSemicolon)
            fontId_ = -1;
    }

    int codePage() const
    {
        const State &s = cur_;
        if (s.dest == Dest::FontTable)
            return fontCp_ ? fontCp_ : docCp_;
        int f = s.font >= 0 ? s.font : deff_;
        if ((s.mode == Mode::Dbch || s.mode == Mode::Hich) && s.aFont >= 0)
            f = s.aFont;
        auto it = fonts_.find(f);
        if (it != fonts_.end() && it->cp)
            return it->cp;
        return docCp_;
    }

    void addByte(unsigned char b)
    {
        if (cur_.dest == Dest::Skip)
            return;
        const int cp = codePage();
        if (!pending_.isEmpty() && cp != pendingCp_)
            flushBytes();
        pendingCp_ = cp;
        pending_.append(static_cast<char>(b));
    }

    // Bytes waiting for their code page: a double-byte character spans two.
    void flushBytes()
    {
        if (pending_.isEmpty())
            return;
        // ASCII is itself in every code page read here: no converter needed.
        const bool ascii = std::all_of(pending_.cbegin(), pending_.cend(),
                                       [](char b) { return static_cast<unsigned char>(b) < 0x80; });
        const QString s = ascii ? QString::fromLatin1(pending_)
                                : text::decode(pending_, pendingCp_).value_or(QString::fromLatin1(pending_));
        pending_.resize(0); // keeps its memory for the next bytes
        for (QChar ch : s)
            character(ch, false);
    }

    void literal(unsigned char b)
    {
        if (skip_ > 0) {
            --skip_;
            return;
        }
        const State &s = cur_;
        if (s.dest == Dest::Skip)
            return;
        if (s.dest == Dest::ColorTable) {
            if (b == ';') {
                if (colourR_ < 0 && colourG_ < 0 && colourB_ < 0)
                    colours_.push_back(std::nullopt);
                else
                    colours_.push_back(QColor(std::max(colourR_, 0), std::max(colourG_, 0), std::max(colourB_, 0)));
                colourR_ = colourG_ = colourB_ = -1;
            }
            return;
        }
        if (s.dest == Dest::FontTable && b == ';') {
            commitFontName(true);
            return;
        }
        // A trail byte written as itself after an escaped lead byte.
        const bool trail = !pending_.isEmpty() && text::isLeadByte(static_cast<unsigned char>(pending_.back()), pendingCp_)
                           && oddLead();
        if (b >= 0x80 || trail) {
            addByte(b);
            return;
        }
        flushBytes();
        character(QChar(b), false);
    }

    static bool isPlainText(char c)
    {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x80 && b != '\\' && b != '{' && b != '}' && b != '\r' && b != '\n' && b != '\0';
    }

    // What literal() would do with each byte from `c` on is just appending it.
    bool plainStretchFollows(char c) const
    {
        return isPlainText(c) && skip_ == 0 && pending_.isEmpty() && cur_.dest == Dest::Text && !highSurrogate_;
    }

    void stretch(const char *bytes, qsizetype count)
    {
        if (dirty_) {
            builder_.openPendingParagraph();
            builder_.setFormat(format());
            dirty_ = false;
        }
        builder_.appendAscii(bytes, count);
    }

    // True when the pending bytes end in a lead byte still waiting for its trail.
    bool oddLead() const
    {
        int k = 0;
        while (k < pending_.size()) {
            if (text::isLeadByte(static_cast<unsigned char>(pending_[k]), pendingCp_)) {
                if (k + 1 >= pending_.size())
                    return true;
                k += 2;
            } else {
                ++k;
            }
        }
        return false;
    }

    void character(QChar ch, bool flush = true)
    {
        if (flush)
            flushBytes();
        // Text between the two halves of a pair: the high half stands alone.
        if (highSurrogate_ && !ch.isSurrogate())
            damaged_ = true;
        const State &s = cur_;
        if (s.dest == Dest::FontTable) {
            fontName_.append(ch);
            return;
        }
        if (s.dest != Dest::Text)
            return;
        if (dirty_) {
            builder_.openPendingParagraph();
            builder_.setFormat(format());
            dirty_ = false;
        }
        builder_.append(ch);
    }

    RunFormat format() const
    {
        const State &s = cur_;
        const bool assocFirst = s.mode == Mode::Dbch || s.mode == Mode::Hich;
        // Single-byte runs after \\loch take only the regular forms.
        const bool assocToo = s.mode != Mode::Loch;
        auto pick = [assocFirst, assocToo](int regular, int assoc, int def) {
            if (!assocToo)
                assoc = -1;
            const int first = assocFirst ? assoc : regular;
            const int second = assocFirst ? regular : assoc;
            return first >= 0 ? first : (second >= 0 ? second : def);
        };
        RunFormat f;
        int font = s.font >= 0 ? s.font : deff_;
        if (assocFirst && s.aFont >= 0)
            font = s.aFont;
        if (auto it = fonts_.find(font); it != fonts_.end())
            f.family = it->name;
        f.halfPoints = pick(s.halfPoints, s.aHalfPoints, kDefaultHalfPoints);
        f.bold = pick(s.bold, s.aBold, 0) != 0;
        f.italic = pick(s.italic, s.aItalic, 0) != 0;
        f.underline = s.underline;
        f.strike = s.strike;
        if (s.colour > 0 && s.colour < static_cast<int>(colours_.size()))
            f.colour = colours_[static_cast<size_t>(s.colour)];
        return f;
    }

    void paragraph()
    {
        if (cur_.dest == Dest::Text)
            builder_.paragraph(cur_.align);
    }

    const QByteArray &data_;
    DocumentBuilder builder_;
    State cur_;
    std::vector<State> stack_;
    int skip_ = 0;
    int docCp_ = 1252;
    int deff_ = 0;
    QHash<int, FontEntry> fonts_;
    int fontId_ = -1;
    int fontCp_ = 0;
    QString fontName_;
    std::vector<std::optional<QColor>> colours_;
    int colourR_ = -1, colourG_ = -1, colourB_ = -1;
    QByteArray pending_;
    int pendingCp_ = 1252;
    bool dirty_ = true;
    bool highSurrogate_ = false; // a \u high surrogate waits for its low half
    bool damaged_ = false;
};

} // namespace

bool read(const QByteArray &data, QTextDocument &doc, QString *error)
{
    doc.clear();
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    bool ok = false;
    {
        Reader r(data, doc);
        ok = r.run(error);
    }
    doc.setUndoRedoEnabled(undo);
    return ok;
}

} // namespace vx::rtf
