#pragma once
// Pictures as the windows hold them: the decoded image plus the format it came
// from (a picture loaded from an icon keeps that format when saved).
#include <QImage>
#include <QString>

#include <functional>
#include <memory>

namespace vx {

// The file a picture was decoded from, as it was then.
struct PictureSource {
    qint64 bytes = -1;
    qint64 modifiedNs = 0;
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const PictureSource &) const = default;
};

class PictureRows;

struct Picture {
    QImage image;
    QString format; // lower-case source format: "bmp", "jpeg", "gif", "ico", "cur", "wmf", "emf", ...
    PictureSource source; // empty for pictures not loaded from a file
    // Set while the pixels still arrive (LoadPictureWhileShown): only the
    // rows it reports may be read until it is finished.
    std::shared_ptr<PictureRows> rows = nullptr;
    bool isNull() const { return image.isNull(); }
    // Natural size in twips (15 per pixel).
    double widthTwips() const { return image.width() * 15.0; }
    double heightTwips() const { return image.height() * 15.0; }
};

// Loads a picture file. "" gives an empty picture. A missing file raises
// error 53 (or 76 for a missing folder); a file that is not a picture this
// system can decode raises 481, and so does anything but a regular file (a
// FIFO or device would never end). The size the header claims is checked
// before any pixel memory is taken: a claim the file's bytes cannot encode
// raises 481, a picture above PictureMemoryLimit() raises 7. A long decode
// shows the busy pointer.
Picture LoadPicture(const QString &path);

// LoadPicture for a picture that goes straight into an image box: the same
// checks and errors, but a large photo (JPEG) returns once its size is known
// and its rows decode on a worker thread, top first; the box paints each
// row as it arrives and hands the picture out whole. Anything else loads as
// LoadPicture does.
Picture LoadPictureWhileShown(const QString &path);
// Waits until every row of `picture` arrived (at once for a whole picture).
void WaitForPicture(const Picture &picture);

// True when `picture` was loaded from the file now at `path`, unchanged since:
// showing it again needs no second decode.
bool IsPictureOf(const Picture &picture, const QString &path);

// Frees the memory kept for the next large picture (it also goes by itself
// after an idle second), and nothing let go is kept until the next large
// picture loads. Call when the pictures' window hides or unloads.
void ReleaseSparePictureMemory();
// Bytes kept for the next large picture (for tests).
qint64 SparePictureMemory();
// Run just before pixels are decoded (for tests).
void setPictureDecodeHook(std::function<void()> hook);

// Writes the picture in bitmap format (an icon keeps its icon format)
// through the suite's one save step (platform/core/savefile.h): the old file
// stays whole on failure, a protected one is never written. Raises 481 for
// an empty picture, 75/76/70 when the file cannot be written, 61 when the
// disk is full; the description is the reason in the user's words, a line
// break and the path.
void SavePicture(const Picture &picture, const QString &path);
// SavePicture, with a failure told to the user ("画像を保存できませんでした。",
// the reason and the file). False when it failed.
bool SavePictureSayingWhy(const Picture &picture, const QString &path);

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
// Sees every area GrabScreenArea copies (for tests).
void setScreenGrabHook(std::function<void(const QRect &)> hook);

} // namespace vx
