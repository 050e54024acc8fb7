#pragma once
// What a group of rich text says about its text, and the format that follows
// from it.
#include "rtf_words.h"

namespace vx::rtf {

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

// The format of the text as numbers: comparing it is cheap, and the run's
// format is built only when it changes. `tables` counts changes of the font
// and colour tables, which the numbers point into.
struct FormatKey {
    int font = 0, halfPoints = 0, colour = 0;
    bool bold = false, italic = false, underline = false, strike = false;
    unsigned tables = 0;
    bool operator==(const FormatKey &) const = default;
};

// The format of the text in state `s`, where the default font is `deff`,
// the colour table holds `colours` entries and the tables changed `tables` times.
FormatKey formatKeyOf(const State &s, int deff, int colours, unsigned tables);

// Applies a paragraph or character formatting word to `s`; false when its
// value is damage (a font size out of range).
bool applyFormatWord(State &s, Kw kw, bool hasParam, int p);

} // namespace vx::rtf
