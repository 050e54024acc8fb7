#include "rtf_state.h"

#include "rtf_builder.h"

#include <Qt>

namespace vx::rtf {

namespace {

// Font sizes in half points: 1 to 1638 points, as word processors take
// them. Zero, negative or larger sizes are a damaged document.
bool halfPointsOk(int p) { return p >= 2 && p <= 3276; }

} // namespace

FormatKey formatKeyOf(const State &s, int deff, int colours, unsigned tables)
{
    const bool assocFirst = s.mode == Mode::Dbch || s.mode == Mode::Hich;
    // Single-byte runs after \loch take only the regular forms.
    const bool assocToo = s.mode != Mode::Loch;
    auto pick = [assocFirst, assocToo](int regular, int assoc, int def) {
        if (!assocToo)
            assoc = -1;
        const int first = assocFirst ? assoc : regular;
        const int second = assocFirst ? regular : assoc;
        return first >= 0 ? first : (second >= 0 ? second : def);
    };
    FormatKey k;
    k.font = s.font >= 0 ? s.font : deff;
    if (assocFirst && s.aFont >= 0)
        k.font = s.aFont;
    k.halfPoints = pick(s.halfPoints, s.aHalfPoints, kDefaultHalfPoints);
    k.bold = pick(s.bold, s.aBold, 0) != 0;
    k.italic = pick(s.italic, s.aItalic, 0) != 0;
    k.underline = s.underline;
    k.strike = s.strike;
    k.colour = s.colour > 0 && s.colour < colours ? s.colour : 0;
    k.tables = tables;
    return k;
}

bool applyFormatWord(State &s, Kw kw, bool hasParam, int p)
{
    const int on = hasParam ? (p != 0 ? 1 : 0) : 1;
    switch (kw) {
    // Paragraph.
    case Kw::Pard:
    case Kw::Ql: s.align = Qt::AlignLeft; break;
    case Kw::Qc: s.align = Qt::AlignHCenter; break;
    case Kw::Qr: s.align = Qt::AlignRight; break;
    // Character.
    case Kw::Plain: {
        const Dest d = s.dest;
        const int uc = s.uc, align = s.align;
        s = State();
        s.dest = d;
        s.uc = uc;
        s.align = align;
        break;
    }
    case Kw::F: s.font = p; break;
    case Kw::Fs:
        if (hasParam && !halfPointsOk(p))
            return false;
        s.halfPoints = hasParam ? p : kDefaultHalfPoints;
        break;
    case Kw::B: s.bold = on; break;
    case Kw::I: s.italic = on; break;
    case Kw::Ul: s.underline = on; break;
    case Kw::Ulnone: s.underline = false; break;
    case Kw::Strike: s.strike = on; break;
    case Kw::Cf: s.colour = p; break;
    case Kw::Rtlch: s.rtl = true; break;
    case Kw::Ltrch: s.rtl = false; break;
    case Kw::Loch: s.mode = Mode::Loch; break;
    case Kw::Hich: s.mode = Mode::Hich; break;
    case Kw::Dbch: s.mode = Mode::Dbch; break;
    // Right-to-left associated forms say nothing about the text read here.
    case Kw::Af:
        if (!s.rtl)
            s.aFont = p;
        break;
    case Kw::Afs:
        if (hasParam && !halfPointsOk(p))
            return false;
        if (!s.rtl)
            s.aHalfPoints = hasParam ? p : kDefaultHalfPoints;
        break;
    case Kw::Ab:
        if (!s.rtl)
            s.aBold = on;
        break;
    case Kw::Ai:
        if (!s.rtl)
            s.aItalic = on;
        break;
    default: break;
    }
    return true;
}

} // namespace vx::rtf
