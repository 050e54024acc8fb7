#pragma once
// Turns the two blocks an image plug-in hands over (a bitmap information
// header with its colour table, and the pixel rows) into a picture, after
// checking that every byte it reads lies inside the blocks.
#include <QImage>

#include <cstddef>

namespace vx {

// Depths 1, 4 and 8 (colour table), 16 and 32 (plain or with channel masks)
// and 24; rows bottom-up or (negative height) top-down. Run-length rows,
// planes other than 1, a colour table or rows outside their block, and
// pictures whose 32-bit copy exceeds `memoryLimit` bytes give a null image.
QImage ConvertDib(const unsigned char *info, size_t infoBytes, const unsigned char *bits, size_t bitsBytes,
                  qint64 memoryLimit);

} // namespace vx
