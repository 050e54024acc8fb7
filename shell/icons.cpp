#include "icons.h"

#include "suite/artwork.h"

#include <QFont>
#include <QPainter>
#include <QRegularExpression>

// The drawings are compiled into this static library, where nothing else
// refers to them: registered by hand before the first one is drawn.
static void registerShellArtwork() { Q_INIT_RESOURCE(shell); }

namespace shell::icons {

namespace {

QString artwork(const char *file)
{
    static const bool registered = (registerShellArtwork(), true);
    (void)registered;
    return QStringLiteral(":/shell/") + QLatin1String(file);
}

QPixmap draw(const char *file, QSize size)
{
    return QPixmap::fromImage(suite::drawArtwork(artwork(file), size));
}

const char *glyphFile(Glyph g)
{
    switch (g) {
    case Glyph::ImageViewer: return "image-viewer.svg";
    case Glyph::MediaPlayer: return "media-player.svg";
    case Glyph::CdPlayer: return "cd-player.svg";
    case Glyph::PluginViewer: return "plugin-viewer.svg";
    case Glyph::TextEditor: return "text-editor.svg";
    case Glyph::Launcher: return "launcher.svg";
    case Glyph::Archiver: return "archiver.svg";
    case Glyph::SystemInfo: return "system-info.svg";
    case Glyph::About: return "about.svg";
    case Glyph::Exit: return "exit.svg";
    case Glyph::Help: return "help.svg";
    case Glyph::Capture: return "capture.svg";
    }
    return "";
}

// mascot.svg is drawn in its light blue body: another body colour takes the
// places of that colour and of its lighter and darker tones, in one pass so a
// new tone is never replaced again.
QByteArray recolouredMascot(const QColor &body)
{
    const QByteArray svg = suite::artworkData(artwork("mascot.svg"));
    const QColor blue(0x7E, 0xC8, 0xF0);
    const std::pair<QColor, QColor> tones[] = {
        {blue, body}, {blue.lighter(135), body.lighter(135)}, {blue.darker(150), body.darker(150)}};
    static const QRegularExpression hex(QStringLiteral("#[0-9a-fA-F]{6}"));
    const QString text = QString::fromUtf8(svg);
    QString out;
    qsizetype from = 0;
    for (auto it = hex.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(text).mid(from, m.capturedStart() - from);
        QString colour = m.captured();
        for (const auto &[was, now] : tones)
            if (QColor::fromString(colour).rgb() == was.rgb())
                colour = now.name();
        out += colour;
        from = m.capturedEnd();
    }
    out += QStringView(text).mid(from);
    return out.toUtf8();
}

} // namespace

QPixmap glyph(Glyph g, int size) { return draw(glyphFile(g), QSize(size, size)); }

QPixmap grip()
{
    // Painted here rather than from a drawing: the bar window shows it at
    // start, and drawings need Qt's SVG library, which loads on first use.
    // Two columns of five dark dots, each with a light edge below and right.
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const QColor light(0xFF, 0xFF, 0xFF), dark(0x60, 0x64, 0x6C);
    for (int row = 0; row < 5; ++row) {
        for (int x : {5, 9}) {
            const int y = 2 + row * 3;
            p.fillRect(x + 1, y + 1, 2, 2, light);
            p.fillRect(x, y, 2, 2, dark);
        }
    }
    p.end();
    return QPixmap::fromImage(img);
}

QPixmap mascot(const QColor &body, int size)
{
    return QPixmap::fromImage(suite::drawArtworkData(recolouredMascot(body), QSize(size, size)));
}

QPixmap star(int size) { return draw("star.svg", QSize(size, size)); }

QPixmap flower(int size) { return draw("flower.svg", QSize(size, size)); }

QPixmap banner(const QString &name, const QString &version, int width, int height)
{
    QPixmap pm(width, height);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // the mark, a square as high as the banner; name and version beside it
    const double m = height;
    suite::drawArtwork(p, artwork("banner-mark.svg"), QRectF(0, 0, m, m));
    QFont big = p.font();
    big.setBold(true);
    big.setPixelSize(std::max(10, height * 2 / 5));
    p.setFont(big);
    p.setPen(QColor(0x1F, 0x2D, 0x3D));
    const QRectF text(m + 10, 0, width - m - 10, height);
    p.drawText(text.adjusted(0, 2, 0, -height / 2.0), Qt::AlignLeft | Qt::AlignBottom, name);
    QFont small = p.font();
    small.setBold(false);
    small.setPixelSize(std::max(9, height / 4));
    p.setFont(small);
    p.setPen(QColor(0x50, 0x5A, 0x68));
    p.drawText(text.adjusted(0, height / 2.0 + 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, version);
    return pm;
}

QPixmap webLink(const QString &address, int width, int height)
{
    QPixmap pm(width, height);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // the globe, a square as high as the picture; the address beside it
    suite::drawArtwork(p, artwork("globe.svg"), QRectF(0, 0, height, height));
    const double d = height - 4;
    QFont f = p.font();
    f.setUnderline(true);
    f.setPixelSize(std::max(9, height * 3 / 5));
    p.setFont(f);
    p.setPen(QColor(0x1F, 0x5F, 0xC0));
    p.drawText(QRectF(d + 8, 0, width - d - 8, height), Qt::AlignLeft | Qt::AlignVCenter, address);
    return pm;
}

} // namespace shell::icons
