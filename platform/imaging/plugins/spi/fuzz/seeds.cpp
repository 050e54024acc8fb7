// Writes a few small pictures of every format our plug-ins read, as the
// fuzzers' starting points: seeds <folder>.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

static void put(const QString &dir, const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(dir);
    QFile f(dir + QLatin1Char('/') + name);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

static QByteArray encode(const QImage &img, const char *format)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    QImageWriter(&buf, format).write(img);
    return bytes;
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    QImage img(13, 7, QImage::Format_RGB32);
    img.fill(Qt::red);
    QPainter(&img).fillRect(5, 0, 8, 7, Qt::blue);
    put(out + "/iftiff", "a.tif", encode(img, "tiff"));
    put(out + "/iftiff", "g.tif", encode(img.convertToFormat(QImage::Format_Grayscale8), "tiff"));
    put(out + "/ifjpeg", "a.jpg", encode(img, "jpeg"));
    put(out + "/ifjpeg", "g.jpg", encode(img.convertToFormat(QImage::Format_Grayscale8), "jpeg"));
    put(out + "/ifpnm", "a.ppm", encode(img, "ppm"));
    put(out + "/ifpnm", "a.pgm", encode(img.convertToFormat(QImage::Format_Grayscale8), "pgm"));
    put(out + "/ifpnm", "a.pbm", encode(img.convertToFormat(QImage::Format_Mono), "pbm"));
    put(out + "/ifpnm", "p.ppm", QByteArray("P3\n2 1\n255\n255 0 0 0 0 255\n"));
    put(out + "/ifpng", "a.png", encode(img, "png"));
    put(out + "/ifpng", "i.png", encode(img.convertToFormat(QImage::Format_Indexed8), "png"));
    // PCX: 8 bits, run-length rows, palette at the end.
    QByteArray pcx(128, '\0');
    pcx[0] = 0x0A; pcx[1] = 5; pcx[2] = 1; pcx[3] = 8; pcx[8] = 12; pcx[10] = 6; pcx[65] = 1; pcx[66] = 14;
    for (int y = 0; y < 7; ++y)
        pcx.append(char(0xC5)).append(char(1)).append(char(0xC9)).append(char(2));
    pcx.append(char(12)).append(QByteArray(768, '\x40'));
    put(out + "/ifpng", "a.pcx", pcx);
    // TGA: uncompressed 24 bits, and run-length 8 bits with a colour map.
    QByteArray tga(18, '\0');
    tga[2] = 2; tga[12] = 13; tga[14] = 7; tga[16] = 24;
    for (int i = 0; i < 13 * 7; ++i)
        tga.append(char(255)).append(char(0)).append(char(i));
    put(out + "/iftga", "a.tga", tga);
    QByteArray rle(18, '\0');
    rle[1] = 1; rle[2] = 9; rle[5] = 2; rle[7] = 24; rle[12] = 13; rle[14] = 7; rle[16] = 8;
    rle.append(QByteArray("\xff\x00\x00\x00\x00\xff", 6));
    for (int y = 0; y < 7; ++y)
        rle.append(char(0x84)).append(char(0)).append(char(0x87)).append(char(1));
    put(out + "/iftga", "r.tga", rle);
    // GIF: two colours, a clear code after every second pixel.
    QByteArray gif("GIF89a\x0d\x00\x07\x00\x81\x00\x00", 13);
    gif.append(QByteArray("\xff\x00\x00\x00\x00\xff\x00\x00\x00\x00\x00\x00", 12));
    gif.append(QByteArray(",\x00\x00\x00\x00\x0d\x00\x07\x00\x00\x02", 11));
    QByteArray data;
    quint32 acc = 0;
    int bits = 0, n = 0;
    auto code = [&](int c) {
        acc |= quint32(c) << bits;
        for (bits += 3; bits >= 8; bits -= 8, acc >>= 8)
            data.append(char(acc & 0xFF));
    };
    for (int i = 0; i < 13 * 7; ++i) {
        if (n++ % 2 == 0)
            code(4);
        code(i % 13 < 5 ? 0 : 1);
    }
    code(5);
    if (bits)
        data.append(char(acc & 0xFF));
    gif.append(char(data.size())).append(data).append('\0').append(';');
    put(out + "/ifgif", "a.gif", gif);
    // The converter: header length byte, then a 3 x 2 bitmap of 24 bits.
    QByteArray dib(1, '\0');
    dib.append(QByteArray("\x28\0\0\0\x03\0\0\0\x02\0\0\0\x01\0\x18\0", 16)).append(QByteArray(24, '\0'));
    dib.append(QByteArray(24, '\x7f'));
    put(out + "/dibconvert", "a.dib", dib);
    return 0;
}
