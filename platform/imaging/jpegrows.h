#pragma once
#include "picture.h"

#include <QSize>

namespace vx::detail {

// Starts decoding the colour JPEG open at `fd` (of `size`) row by row on a
// worker; an empty picture when this decoder does not take it (the caller
// then decodes as usual). `fd` stays the caller's.
Picture startJpegRows(int fd, QSize size);

} // namespace vx::detail
