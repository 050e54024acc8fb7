#pragma once
// What a picture file claims before it is decoded: its size in pixels, read
// from its own header, and whether its bytes could encode that many pixels at
// all. A small file claiming a huge picture is refused before any pixel memory
// is taken.
#include <QIODevice>
#include <QImage>
#include <QSize>
#include <QString>

namespace vx {

struct PictureClaim {
    QSize size;             // the canvas the decoder will allocate (empty: header unreadable)
    bool plausible = false; // the file's bytes could encode that many pixels
};

// Reads the header of a seekable device holding a picture of `format`
// ("jpeg", "png", "gif", "bmp", "ico", "cur"); the device's position is kept.
// Rules, from the most each format can pack into one byte:
//   JPEG (Huffman)    every 8 x 8 block costs at least one bit
//   JPEG (arithmetic) at least one byte per 2^18 blocks (the coder's floor)
//   PNG               deflate packs at most 1032 bytes of rows into one
//   GIF               LZW gives at most 2800 pixels per byte
//   BMP               uncompressed: every row present; RLE: 16256 pixels per byte
//   ICO / CUR         the first image's own header by its bitmap or PNG rule,
//                     within the bytes the directory gives it
PictureClaim ReadPictureClaim(QIODevice &device, const QString &format);

// The most memory one picture may take now: the smaller of 2 GiB and half of
// the memory available at this moment.
qint64 PictureMemoryLimit();
// Lowers the limit (for tests); 0 restores the real one.
void setPictureMemoryCap(qint64 bytes);
// Bytes a decoded picture of `size` in `format` costs: a picture of any depth
// but 32 bits is painted from a 32-bit copy, which counts too.
qint64 PictureBytes(QSize size, QImage::Format format);

} // namespace vx
