#include "pluginpicture.h"

#include "dibconvert.h"
#include "platform/imaging/pictureclaim.h"
#include "spiabi.h"
#include "spihost.h"

#include <QFile>

namespace vx {

namespace {

struct Row {
    const char *extensions[9];
    const char *file;
    bool info;
};

const Row kTable[] = {
    {{"TIF"}, "iftiff.spi", true},
    {{"PPM", "PGM", "PBM"}, "ifpnm.spi", false},
    {{"GIF"}, "ifgif.spi", true},
    {{"CDA", "MPA", "AU", "AIF", "MOV", "MPG", "WAV", "AVI", "MID"}, "ifmm.spi", false},
    {{"TGA"}, "iftga.spi", false},
    {{"FXT"}, "iffxt.spi", false},
    {{"PCX", "PNG"}, "ifpng.spi", false},
    {{"JPEG", "JPG"}, "ifjpeg.spi", true},
    {{"PIC"}, "ifpic.spi", true},
    {{"P2"}, "ifpic2.spi", true},
    {{"MAG"}, "ifmag.spi", true},
    {{"PI"}, "ifpi.spi", true},
    {{"Q4"}, "ifxld4.spi", true},
};

const Row *rowOf(const QString &extension)
{
    for (const Row &row : kTable)
        for (const char *e : row.extensions)
            if (e && extension == QLatin1String(e))
                return &row;
    return nullptr;
}

} // namespace

QString GetUpperExtension(const QString &fileName)
{
    for (int n = 3; n <= 5; ++n) {
        const QString tail = fileName.right(n);
        if (tail.startsWith(QLatin1Char('.')))
            return fileName.right(n - 1).toUpper();
    }
    return fileName.right(5);
}

QString DecodingPlugin(const QString &extension)
{
    const Row *row = rowOf(extension);
    return row ? QString::fromLatin1(row->file) : QString();
}

QString InfoPlugin(const QString &extension)
{
    const Row *row = rowOf(extension);
    return row && row->info ? QString::fromLatin1(row->file) : QString();
}

qint16 LoadPictureViaPlugin(const QString &fileName, CanvasBox &box, qint16 keepSize)
{
    const int savedWidth = box.pxWidth();
    const int savedHeight = box.pxHeight();
    const bool savedVisible = box.Visible();
    box.setVisible(false);
    box.setImage({});

    qint16 code = kNoPlugin;
    QImage drawn;
    const QString plugin = DecodingPlugin(GetUpperExtension(fileName));
    auto getPicture = plugin.isEmpty() ? nullptr
                                       : reinterpret_cast<SpiGetPicture>(BindPluginEntry(plugin, "GetPicture"));
    if (getPicture) {
        SpiHandle info = nullptr;
        SpiHandle bits = nullptr;
        const QByteArray name = QFile::encodeName(fileName);
        code = qint16(getPicture(name.constData(), 0, SPI_INPUT_FILE, &info, &bits, nullptr, 0));
        const auto *infoBytes = static_cast<const unsigned char *>(LocalLock(info));
        const auto *bitsBytes = static_cast<const unsigned char *>(LocalLock(bits));
        if (!infoBytes || !bitsBytes) {
            code = kLockFailed;
        } else {
            drawn = ConvertDib(infoBytes, LocalSize(info), bitsBytes, LocalSize(bits), PictureMemoryLimit());
            if (drawn.isNull())
                code = kNotDrawn;
        }
        if (infoBytes)
            LocalUnlock(info);
        if (bitsBytes)
            LocalUnlock(bits);
        LocalFree(info);
        LocalFree(bits);
    }

    box.setImage(drawn);
    if (keepSize == 0 || drawn.isNull()) {
        box.setPxHeight(savedHeight);
        box.setPxWidth(savedWidth);
    } else {
        box.setPxWidth(drawn.width());
        box.setPxHeight(drawn.height());
    }
    box.setVisible(savedVisible);
    return code;
}

PluginPictureInfo GetPluginPictureInfo(const QString &fileName)
{
    PluginPictureInfo result;
    result.code = kNoPlugin;
    const QString plugin = InfoPlugin(GetUpperExtension(fileName));
    auto getInfo = plugin.isEmpty() ? nullptr
                                    : reinterpret_cast<SpiGetPictureInfo>(BindPluginEntry(plugin, "GetPictureInfo"));
    if (!getInfo)
        return result;
    SpiPictureInfo info{};
    const QByteArray name = QFile::encodeName(fileName);
    result.code = qint16(getInfo(name.constData(), 0, SPI_INPUT_FILE, &info));
    result.left = info.left;
    result.top = info.top;
    result.width = info.width;
    result.height = info.height;
    result.xDensity = info.x_density;
    result.yDensity = info.y_density;
    result.colorDepth = info.colorDepth;
    // No caller reads the text; the block is the caller's to release.
    LocalFree(info.hInfo);
    return result;
}

} // namespace vx
