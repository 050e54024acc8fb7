#pragma once
// A picture read straight at a small size: the decoder reduces while it reads
// (JPEG by its scaled DCT), so a large photo never costs its full size in
// memory. Safe on any thread.
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

namespace vx {

struct ReducedPicture {
    QImage image;  // at the size `target` gave
    QSize natural; // the picture's own size
};

// Reads `path` at target(natural size). The same checks as LoadPicture come
// first (regular file, format by signature, the header's claim against the
// file's bytes and against the memory there is) and raise the same errors;
// a target that is empty raises 481.
ReducedPicture LoadReducedPicture(const QString &path, const std::function<QSize(QSize)> &target);

// Run on the reading thread just before pixels are decoded (for tests).
void setReducedDecodeHook(std::function<void(const QString &)> hook);

} // namespace vx
