#pragma once
// Memory for large pictures: the last one let go is kept a moment for the next.
#include <QImage>
#include <QSize>

namespace vx::detail {

// A picture of `size` and `format` over pooled memory; null when the picture
// is small (the decoder then allocates as usual) or memory is short. Check the
// picture's cost first: this memory is not checked again.
QImage pooledImage(QSize size, QImage::Format format);

} // namespace vx::detail
