#pragma once
// The thumbnail browser's procedures: drawing one thumbnail, the build, the
// grid page, the cell caption and the "add.dat" reader.
#include "platform/imaging/reducedpicture.h"

#include <QImage>
#include <QString>
#include <QStringList>

class frmSum;

namespace vx {
class PictureBox;
}

namespace Module11 {

// The thumbnail of a picture read reduced (or of nothing, for a file that
// could not be read): dest's square in its back colour, the picture in the
// box thumbnailBox gives. The image is also dest's picture.
QImage DrawThumbnail(vx::PictureBox &dest, const vx::ReducedPicture &picture);
// Starts building the thumbnails of the browser's whole file list.
void BuildThumbnails(frmSum &form);
// Fills the grid from the image list at the scroll position.
void ShowThumbnailPage(frmSum &form);
// The cell caption: the name when it has fewer than 11 characters, else its
// first 10 characters and "...".
QString ShortenFileName(const QString &name);
// The fields of "add.dat" in the program folder, read until the end or the
// first fault (a field seen before, an unreadable file).
void LoadAddList(QStringList &addList);
// The fields of comma- or line-separated text; a quoted field may hold commas.
QStringList addListFields(const QByteArray &text);

} // namespace Module11
