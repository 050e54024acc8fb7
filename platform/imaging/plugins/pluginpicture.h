#pragma once
// Pictures decoded by image plug-ins: the plug-in is chosen by the file's
// extension, its bitmap checked and drawn 1:1 into a canvas box.
#include "canvasbox.h"

#include <QString>

namespace vx {

struct PluginPictureInfo {
    qint32 left = 0;
    qint32 top = 0;
    qint32 width = 0;
    qint32 height = 0;
    quint16 xDensity = 0;
    quint16 yDensity = 0;
    qint16 colorDepth = 0;
    quintptr textInfo = 0; // always 0 here: the text block is freed at once
    qint16 code = 0;
};

// Codes besides the plug-in's own.
inline constexpr qint16 kNoPlugin = 9;     // no plug-in for the extension, or its file or entry point missing
inline constexpr qint16 kLockFailed = 10;  // a block handed over was null
inline constexpr qint16 kNotDrawn = 11;    // the blocks did not hold a bitmap that could be drawn

// The extension of 2 to 4 characters, upper-cased, or the name's last five
// characters unchanged when it has none.
QString GetUpperExtension(const QString &fileName);

// The plug-in file serving `extension` for decoding / for the information
// record ("" when none does).
QString DecodingPlugin(const QString &extension);
QString InfoPlugin(const QString &extension);

// Decodes the file into the box's image; with keepSize 0 the box keeps its
// displayed size, else it takes the bitmap's. Returns the plug-in's code or
// one of the codes above. The box is empty unless a bitmap was drawn.
qint16 LoadPictureViaPlugin(const QString &fileName, CanvasBox &box, qint16 keepSize);

// The plug-in's information record of the file.
PluginPictureInfo GetPluginPictureInfo(const QString &fileName);

} // namespace vx
