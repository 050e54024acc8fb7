// Reader: a flat loop over the bytes with an explicit group stack, so neither
// depth nor size of the input reaches the machine stack.
#include "rtf.h"

#include "codepage.h"
#include "rtf_builder.h"
#include "rtf_bytes.h"
#include "rtf_state.h"
#include "rtf_words.h"

#include <QColor>
#include <QHash>
#include <QTextDocument>

#include <algorithm>
#include <optional>
#include <vector>

namespace vx::rtf {

namespace {

constexpr int kMaxDepth = 1000;

struct FontEntry {
    QString name;
    int cp = 0; // 0: the document's code page
};

class Reader {
public:
    Reader(const QByteArray &data, QTextDocument &doc)
        : begin_(data.constData()), end_(data.constData() + data.size()), builder_(doc)
    {
    }

    bool run(QString *error)
    {
        if (!QByteArrayView(begin_, end_ - begin_).startsWith("{\\rtf"))
            return fail(error, QStringLiteral("not rich text"));
        const char *p = begin_;
        bool done = false;
        while (p < end_ && !done) {
            const char c = *p;
            if (c == '{') {
                flushBytes();
                if (static_cast<int>(stack_.size()) >= kMaxDepth)
                    return fail(error, QStringLiteral("nested too deep"));
                stack_.push_back(cur_);
                skip_ = 0;
                ++p;
            } else if (c == '}') {
                flushBytes();
                if (stack_.empty())
                    return fail(error, QStringLiteral("unbalanced braces"));
                endGroup();
                skip_ = 0;
                ++p;
                if (stack_.empty())
                    done = true;
            } else if (c == '\\') {
                if (!control(p, error))
                    return false;
            } else if (c == '\r' || c == '\n' || c == '\0') {
                ++p;
            } else if (stack_.empty()) {
                return fail(error, QStringLiteral("text outside the document"));
            } else if (isPlainText(c) && skip_ == 0 && pending_.empty() && !highSurrogate_
                       && (cur_.dest == Dest::Text || cur_.dest == Dest::Skip)) {
                // What literal() would do with each byte of the stretch: append
                // it, or drop it in a skipped destination.
                const char *q = plainEnd(p + 1, end_);
                if (cur_.dest == Dest::Text) {
                    beginText();
                    builder_.appendAscii(p, q - p);
                }
                p = q;
            } else {
                literal(static_cast<unsigned char>(c));
                ++p;
            }
        }
        if (!done)
            return fail(error, QStringLiteral("cut off"));
        if (damaged_ || highSurrogate_)
            return fail(error, QStringLiteral("lone surrogate"));
        for (; p < end_; ++p)
            if (*p != '\r' && *p != '\n' && *p != ' ' && *p != '\0')
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

    void endGroup()
    {
        const Dest leaving = cur_.dest;
        dirty_ = true;
        cp_ = 0;
        if (leaving == Dest::FontTable)
            commitFontName(false);
        cur_ = stack_.back();
        stack_.pop_back();
        if (leaving == Dest::FontTable && cur_.dest != Dest::FontTable)
            fontId_ = -1;
    }

    // One control word or symbol starting at *p == '\\'.
    bool control(const char *&p, QString *error)
    {
        if (end_ - p < 2)
            return fail(error, QStringLiteral("cut off"));
        const char c = p[1];
        if (!isLetter(c)) {
            p += 2;
            return symbol(c, p, error);
        }
        ControlWord cw;
        const char *why = nullptr;
        const char *next = readControlWord(p + 1, end_, cw, why);
        if (!next)
            return fail(error, QString::fromLatin1(why));
        p = next;
        const Word word = cw.word;
        const qint64 param = cw.param;
        if (word.kw == Kw::Bin) {
            // Raw bytes follow; they are never text here.
            flushBytes();
            if (param < 0 || param > end_ - p)
                return fail(error, QStringLiteral("cut off"));
            p += param;
            return true;
        }
        if (stack_.empty())
            return fail(error, QStringLiteral("text outside the document"));
        if (skip_ > 0 && word.kw != Kw::U) {
            // A control word stands for one character of a \u fallback.
            --skip_;
            return true;
        }
        return keyword(word, cw.hasParam, static_cast<int>(param));
    }

    bool symbol(char c, const char *&p, QString *error)
    {
        if (stack_.empty())
            return fail(error, QStringLiteral("text outside the document"));
        switch (c) {
        case '\'': {
            if (end_ - p < 2)
                return fail(error, QStringLiteral("cut off"));
            const int hi = hexDigit(p[0]);
            const int lo = hexDigit(p[1]);
            p += 2;
            if (hi < 0 || lo < 0)
                return true; // a malformed escape stands for nothing
            if (skip_ > 0) {
                --skip_;
                return true;
            }
            addByte(static_cast<unsigned char>(hi * 16 + lo));
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
            return keyword({Kw::Par}, false, 0);
        default: return true;
        }
    }

    bool keyword(Word w, bool hasParam, int p)
    {
        State &s = cur_;
        cp_ = 0; // the code page of escaped bytes is found again when needed
        const bool star = s.starSeen;
        s.starSeen = false;
        // Destinations.
        switch (w.kw) {
        case Kw::Fonttbl:
            flushBytes();
            s.dest = Dest::FontTable;
            return true;
        case Kw::Colortbl:
            flushBytes();
            s.dest = Dest::ColorTable;
            colourR_ = colourG_ = colourB_ = -1;
            return true;
        default: break;
        }
        if (s.dest == Dest::Skip)
            return true;
        if (w.kw == Kw::Skipped || (star && w.kw != Kw::U)) {
            // {\*\unknown ...}: a destination this reader does not know.
            flushBytes();
            s.dest = Dest::Skip;
            return true;
        }
        if (w.kw == Kw::Uc) {
            s.uc = std::clamp(p, 0, 10);
            return true;
        }
        if (s.dest == Dest::FontTable)
            return fontTableWord(w.kw, p);
        if (s.dest == Dest::ColorTable) {
            if (w.kw == Kw::Red)
                colourR_ = std::clamp(p, 0, 255);
            else if (w.kw == Kw::Green)
                colourG_ = std::clamp(p, 0, 255);
            else if (w.kw == Kw::Blue)
                colourB_ = std::clamp(p, 0, 255);
            return true;
        }
        switch (w.kw) {
        // The document.
        case Kw::U:
            skip_ = 0;
            flushBytes();
            if (!unicode(p, [this](QChar ch) { character(ch); }))
                return false;
            skip_ = s.uc;
            return true;
        case Kw::Ansicpg:
            if (text::decode(QByteArray("a"), p))
                docCp_ = p;
            return true;
        case Kw::Deff:
            deff_ = p;
            dirty_ = true;
            return true;
        // Characters.
        case Kw::Par:
        case Kw::Row:
        case Kw::Sect:
            flushBytes();
            paragraph();
            return true;
        case Kw::Line: character(QChar(QChar::LineSeparator)); return true;
        case Kw::Cell:
        case Kw::Tab: character(QLatin1Char('\t')); return true;
        case Kw::Special: character(QChar(w.ch)); return true;
        default: break;
        }
        flushBytes();
        // The words that follow change how text looks: the next text takes
        // its format again. (Destinations change only inside a group, whose
        // end does the same.)
        dirty_ = true;
        return applyFormatWord(s, w.kw, hasParam, p);
    }

    bool fontTableWord(Kw w, int p)
    {
        if (w == Kw::F) {
            commitFontName(false);
            fontId_ = p;
            fontCp_ = 0;
            fontName_.clear();
        } else if (w == Kw::Fcharset) {
            fontCp_ = text::codePageOfCharset(p);
        } else if (w == Kw::Cpg) {
            if (text::decode(QByteArray("a"), p))
                fontCp_ = p;
        } else if (w == Kw::U) {
            flushBytes();
            if (!unicode(p, [this](QChar ch) { fontName_.append(ch); }))
                return false;
            skip_ = cur_.uc;
        }
        return true;
    }

    // \uN: a signed 16-bit code unit (-32768..-1 stand for 32768..65535) or a
    // larger scalar value up to U+10FFFF. A surrogate must be one half of a
    // pair written as two \u; anything else outside the scalar values is
    // damage. Noncharacters (U+FFFF as \u-1) are text like any other.
    template <typename Put>
    bool unicode(int p, Put put)
    {
        if (p < -32768 || p > 0x10FFFF)
            return false;
        const char32_t code = static_cast<char32_t>(p < 0 ? p + 65536 : p);
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
        if (!fonts_.contains(fontId_) || !name.isEmpty()) {
            fonts_.insert(fontId_, {name, fontCp_});
            ++tables_;
            dirty_ = true;
            cp_ = 0;
        }
        fontName_.clear();
        if (fromSemicolon)
            fontId_ = -1;
    }

    int codePage()
    {
        if (cp_ != 0)
            return cp_;
        const State &s = cur_;
        if (s.dest == Dest::FontTable)
            return cp_ = fontCp_ ? fontCp_ : docCp_;
        int f = s.font >= 0 ? s.font : deff_;
        if ((s.mode == Mode::Dbch || s.mode == Mode::Hich) && s.aFont >= 0)
            f = s.aFont;
        auto it = fonts_.constFind(f);
        return cp_ = it != fonts_.cend() && it->cp ? it->cp : docCp_;
    }

    void addByte(unsigned char b)
    {
        if (cur_.dest == Dest::Skip)
            return;
        const int cp = codePage();
        if (!pending_.empty() && cp != pending_.codePage())
            flushBytes();
        pending_.add(b, cp);
    }

    void flushBytes()
    {
        pending_.flush([this](QChar ch) { character(ch, false); });
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
                ++tables_;
                dirty_ = true;
                colourR_ = colourG_ = colourB_ = -1;
            }
            return;
        }
        if (s.dest == Dest::FontTable && b == ';') {
            commitFontName(true);
            return;
        }
        // A trail byte written as itself after an escaped lead byte.
        if (b >= 0x80 || pending_.waitingForTrail()) {
            addByte(b);
            return;
        }
        flushBytes();
        character(QChar(b), false);
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
        beginText();
        builder_.append(ch);
    }

    // Before text: the builder takes the current format if it changed.
    void beginText()
    {
        if (!dirty_)
            return;
        dirty_ = false;
        builder_.openPendingParagraph();
        const FormatKey key = formatKeyOf(cur_, deff_, static_cast<int>(colours_.size()), tables_);
        if (haveKey_ && key == key_)
            return;
        key_ = key;
        haveKey_ = true;
        builder_.setFormat(format(key));
    }

    RunFormat format(const FormatKey &k) const
    {
        RunFormat f;
        if (auto it = fonts_.find(k.font); it != fonts_.end())
            f.family = it->name;
        f.halfPoints = k.halfPoints;
        f.bold = k.bold;
        f.italic = k.italic;
        f.underline = k.underline;
        f.strike = k.strike;
        if (k.colour > 0)
            f.colour = colours_[static_cast<size_t>(k.colour)];
        return f;
    }

    void paragraph()
    {
        if (cur_.dest == Dest::Text)
            builder_.paragraph(cur_.align);
    }

    const char *begin_;
    const char *end_;
    DocumentBuilder builder_;
    State cur_;
    std::vector<State> stack_;
    int skip_ = 0;
    int docCp_ = 1252;
    int deff_ = 0;
    int cp_ = 0; // the code page of escaped bytes here; 0: to be found again
    QHash<int, FontEntry> fonts_;
    int fontId_ = -1;
    int fontCp_ = 0;
    QString fontName_;
    std::vector<std::optional<QColor>> colours_;
    int colourR_ = -1, colourG_ = -1, colourB_ = -1;
    unsigned tables_ = 0;
    PendingBytes pending_;
    bool dirty_ = true;
    FormatKey key_;
    bool haveKey_ = false;
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
