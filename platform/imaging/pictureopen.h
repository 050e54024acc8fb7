#pragma once
// The first steps of every picture read, shared by the full and the reduced
// read: a regular file opened, its format by signature, the reader's limit.
#include "picture.h"

#include <QByteArray>
#include <QString>

namespace vx::detail {

// "bmp", "jpeg", "gif", "png", "ico", "cur", or "" for anything else.
QString pictureFormatOf(const QByteArray &head);
// A descriptor of the regular file at `path`; raises 53/76/70/75/481 as
// LoadPicture does. The caller closes it.
int openPictureFile(const QString &path, PictureSource &source);
// Qt's allocation limit for readers, in bytes (rounded up to a megabyte).
void setReaderAllocationLimit(qint64 bytes);

} // namespace vx::detail
