#pragma once
// The shell's pictures, drawn from resources/shell: tool glyphs for the
// launcher buttons, the grip of the bar window, and the about window's pictures.
#include <QColor>
#include <QPixmap>
#include <QString>

namespace shell::icons {

enum class Glyph {
    ImageViewer,
    MediaPlayer,
    CdPlayer,
    PluginViewer,
    TextEditor,
    Launcher,
    Archiver,
    SystemInfo,
    About,
    Exit,
    Help,
    Capture,
};

// A tool glyph, `size` pixels square, on a transparent ground.
QPixmap glyph(Glyph g, int size);

// The bar window's grip: 16 by 16 pixels.
QPixmap grip();

// The mascot in one body colour, `size` pixels square.
QPixmap mascot(const QColor &body, int size);

// Small decorations: a star and a flower, `size` pixels square.
QPixmap star(int size);
QPixmap flower(int size);

// The about window's banner: product mark, name and version line.
QPixmap banner(const QString &name, const QString &version, int width, int height);

// A globe followed by a web address, as a clickable picture.
QPixmap webLink(const QString &address, int width, int height);

} // namespace shell::icons
