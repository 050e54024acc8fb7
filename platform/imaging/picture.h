#pragma once
// Pictures as the windows hold them: the decoded image plus the format it came
// from (a picture loaded from an icon keeps that format when saved).
#include <QImage>
#include <QString>

namespace vx {

struct Picture {
    QImage image;
    QString format; // lower-case source format: "bmp", "jpeg", "gif", "ico", "cur", "wmf", "emf", ...
    bool isNull() const { return image.isNull(); }
    // Natural size in twips (15 per pixel).
    double widthTwips() const { return image.width() * 15.0; }
    double heightTwips() const { return image.height() * 15.0; }
};

// Loads a picture file. "" gives an empty picture. A missing file raises
// error 53 (or 76 for a missing folder); a file that is not a picture this
// system can decode raises 481.
Picture LoadPicture(const QString &path);

// Writes the picture in bitmap format (an icon keeps its icon format). The
// file is replaced only once the new one is complete. Raises 481 for an empty
// picture, 75/76/70 when the file cannot be written.
void SavePicture(const Picture &picture, const QString &path);

// Puts the picture on the clipboard; false when there is no picture.
bool CopyPictureToClipboard(const Picture &picture);
// The clipboard's picture (empty when it holds none).
Picture ClipboardPicture();

// Prints the picture at the page origin at its natural size on the default
// printer and ends the job. Returns an error text ("" on success): no picture,
// no printer. Tests send the job to a PDF file instead (setPrintToFile).
QString PrintPicture(const Picture &picture);
void setPrintToFile(const QString &pdfPath); // "" restores the default printer

// A copy of the screen area (global pixels); the part outside the screens is black.
QImage GrabScreenArea(const QRect &area);

} // namespace vx
