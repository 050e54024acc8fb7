// Writer: code page 932 throughout, every non-ASCII character as \uN with its
// CP932 bytes (or "?") as the fallback, one group per formatting run.
#include "rtf.h"

#include "codepage.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>

#include <vector>

namespace vx::rtf {

namespace {

QString familyOf(const QTextCharFormat &f, const QFont &base)
{
    const QStringList fams = f.fontFamilies().toStringList();
    if (!fams.isEmpty() && !fams.first().isEmpty())
        return fams.first();
    return base.family();
}

int halfPointsOf(const QTextCharFormat &f, const QFont &base)
{
    double pt = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : base.pointSizeF();
    if (pt <= 0)
        pt = 12;
    return std::clamp(static_cast<int>(pt * 2 + 0.5), 2, 3276);
}

class Writer {
public:
    explicit Writer(const QTextDocument &doc) : doc_(doc), base_(doc.defaultFont()) {}

    QByteArray run(int from, int to)
    {
        const int end = doc_.characterCount() - 1; // the last block's separator is not text
        if (to < 0 || to > end)
            to = end;
        from = std::clamp(from, 0, to);
        fontIndex(base_.family());
        QByteArray body;
        body.reserve((to - from) * 2 + 256);
        // A character whose halves carry different formats is written whole
        // with the first half's.
        bool lowTaken = false;
        for (QTextBlock b = doc_.findBlock(from); b.isValid() && b.position() <= to; b = b.next()) {
            body += "\\pard";
            const Qt::Alignment a = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
            body += (a & Qt::AlignHCenter) ? "\\qc" : (a & Qt::AlignRight) ? "\\qr" : "\\ql";
            body += ' ';
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextFragment frag = it.fragment();
                const int fs = std::max(frag.position(), from);
                const int fe = std::min(frag.position() + frag.length(), to);
                if (fe <= fs)
                    continue;
                // Pictures and other objects are not written; a U+FFFC typed as text is.
                if (frag.charFormat().objectType() != QTextFormat::NoObject)
                    continue;
                QString text = frag.text().mid(fs - frag.position(), fe - fs);
                if (lowTaken && text.front().isLowSurrogate())
                    text.remove(0, 1);
                lowTaken = false;
                if (text.isEmpty())
                    continue;
                const QChar next = doc_.characterAt(fe);
                if (text.back().isHighSurrogate() && next.isLowSurrogate()) {
                    text += next;
                    lowTaken = true;
                }
                runGroup(body, frag.charFormat(), text);
            }
            const bool last = !b.next().isValid() || b.next().position() > to;
            // Every paragraph ends with its mark; the reader drops the one the
            // document ends with, as it does for other writers.
            body += "\\par\n";
            if (last)
                break;
        }
        QByteArray out = "{\\rtf1\\ansi\\ansicpg932\\deff0\\uc1\n{\\fonttbl";
        for (int k = 0; k < fonts_.size(); ++k) {
            out += "{\\f" + QByteArray::number(k) + "\\fnil\\fcharset128 ";
            appendText(out, fonts_[k], true);
            out += ";}";
        }
        out += "}\n{\\colortbl;";
        for (const QColor &c : colours_)
            out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) + "\\blue"
                   + QByteArray::number(c.blue()) + ";";
        out += "}\n";
        out += body;
        out += "}\n";
        return out;
    }

private:
    int fontIndex(const QString &family)
    {
        const int i = fonts_.indexOf(family);
        if (i >= 0)
            return i;
        fonts_.append(family);
        return static_cast<int>(fonts_.size()) - 1;
    }

    int colourIndex(const QColor &c)
    {
        for (size_t k = 0; k < colours_.size(); ++k)
            if (colours_[k].rgb() == c.rgb())
                return static_cast<int>(k) + 1;
        colours_.push_back(c);
        return static_cast<int>(colours_.size());
    }

    void runGroup(QByteArray &out, const QTextCharFormat &f, const QString &text)
    {
        out += "{\\f" + QByteArray::number(fontIndex(familyOf(f, base_)));
        out += "\\fs" + QByteArray::number(halfPointsOf(f, base_));
        if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
            out += "\\cf" + QByteArray::number(colourIndex(f.foreground().color()));
        if (f.fontWeight() >= QFont::DemiBold)
            out += "\\b";
        if (f.fontItalic())
            out += "\\i";
        if (f.fontUnderline())
            out += "\\ul";
        if (f.fontStrikeOut())
            out += "\\strike";
        out += ' ';
        appendText(out, text, false);
        out += '}';
    }

    // Text with RTF escapes; `uc` of the enclosing group starts at 1.
    void appendText(QByteArray &out, const QString &text, bool fontName)
    {
        int uc = 1;
        auto setUc = [&](int n) {
            if (uc != n) {
                out += "\\uc" + QByteArray::number(n);
                uc = n;
            }
        };
        for (qsizetype k = 0; k < text.size(); ++k) {
            char16_t c = text[k].unicode();
            if (c < 0x80) {
                switch (c) {
                case '\\': out += "\\\\"; break;
                case '{': out += "\\{"; break;
                case '}': out += "\\}"; break;
                case '\t': out += "\\tab "; break;
                case '\n': out += "\\line "; break;
                case '\f':
                    if (!fontName)
                        out += "\\page ";
                    break;
                default:
                    if (c >= 0x20 && !(fontName && c == ';'))
                        out += static_cast<char>(c);
                    else if (c < 0x20 && !fontName)
                        appendHex(out, QByteArray(1, static_cast<char>(c))); // the same byte in every code page
                }
                continue;
            }
            if (c == QChar::LineSeparator) {
                out += "\\line ";
                continue;
            }
            if (c == QChar::ParagraphSeparator)
                continue;
            if (QChar::isHighSurrogate(c) && k + 1 < text.size() && text[k + 1].isLowSurrogate()) {
                setUc(0);
                out += "\\u" + QByteArray::number(static_cast<qint16>(c)) + ' ';
                continue;
            }
            // Half a pair is no character: readers refuse it.
            if (QChar::isSurrogate(c) && !(QChar::isLowSurrogate(c) && k > 0 && text[k - 1].isHighSurrogate()))
                c = QChar::ReplacementCharacter;
            const qint16 signedCode = static_cast<qint16>(c);
            QByteArray fallback = cp932(c);
            if (fontName && fallback != "?") {
                // Font names as writers for code page 932 put them: the bytes alone.
                appendHex(out, fallback);
                continue;
            }
            setUc(static_cast<int>(fallback.size()));
            out += "\\u" + QByteArray::number(signedCode);
            if (fallback == "?")
                out += '?';
            else
                appendHex(out, fallback);
        }
    }

    static void appendHex(QByteArray &out, const QByteArray &bytes)
    {
        static const char hex[] = "0123456789abcdef";
        for (char b : bytes) {
            const auto u = static_cast<unsigned char>(b);
            out += "\\'";
            out += hex[u >> 4];
            out += hex[u & 15];
        }
    }

    QByteArray cp932(char16_t c)
    {
        auto it = cache_.find(c);
        if (it != cache_.end())
            return *it;
        QByteArray b;
        if (!QChar::isSurrogate(c))
            b = text::encode(QString(QChar(c)), 932).value_or(QByteArray());
        if (b.isEmpty())
            b = "?";
        cache_.insert(c, b);
        return b;
    }

    const QTextDocument &doc_;
    QFont base_;
    QStringList fonts_;
    std::vector<QColor> colours_;
    QHash<char16_t, QByteArray> cache_;
};

} // namespace

QByteArray write(const QTextDocument &doc, int from, int to)
{
    Writer w(doc);
    return w.run(from, to);
}

} // namespace vx::rtf
