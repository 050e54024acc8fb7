#pragma once
// The one way a user's file (a document, a picture, the memo, an exported
// list) is replaced on disk, so that a failure at any moment leaves the old
// content whole and says why in the user's words.
#include <QByteArray>
#include <QString>

#include <functional>
#include <limits>

namespace vx {

struct SaveResult {
    enum class Failed {
        Nothing,    // saved
        File,       // the file itself (protected, disk full, ...)
        Folder,     // the folder it goes in (missing, may not be written)
        NotRegular, // a folder, FIFO or device: never replaced
        TooLarge,   // to be rewritten in place, but too large to hold meanwhile
    };
    Failed failed = Failed::Nothing;
    int error = 0; // errno of the step that failed

    bool ok() const { return failed == Failed::Nothing; }
    // Why it failed, as a sentence ("" when saved).
    QString reason() const;
    // The run-time error number callers tell failures apart by (0 when saved).
    int errorNumber() const;
};

// Replaces the content of the file `path` names with `bytes` (a new file
// when there is none, with the mode the umask gives). A link is followed:
// the file it names takes the content. Nothing is written over a file the
// user may not write, nor over anything that is not a regular file.
//
// A file with one name is written to a new file beside it
// (".name.vxtmp-XXXXXX"), which takes the old one's mode, owner and group
// where the system allows, and is renamed over it once it is on the disk.
// A file with several names (hard links), or one in a folder the user may
// not write, is rewritten in place so that it stays the same file: a copy of
// the old content is kept beside it (".name.keep-XXXXXX") where the folder
// allows, and a failed write puts the old content back. Side names are cut
// to fit beside a name of 255 bytes and locked while the save runs; what a
// killed save left is removed by the next save of the same file.
SaveResult saveUserFile(const QString &path, const QByteArray &bytes);

// Where streamed content goes, in order from its start. Both steps answer
// false with errno set when they fail.
class SaveSink {
public:
    explicit SaveSink(int fd) : fd_(fd) {}
    bool write(const char *data, qint64 size);
    // Bytes [from, to) of the file `src` (a file that ends sooner is EIO).
    bool copy(int src, qint64 from, qint64 to);
    qint64 written() const { return written_; }

private:
    int fd_;
    qint64 written_ = 0;
};

// New content too large to build in memory, written as it is made.
struct StreamedContent {
    qint64 size = 0; // what `write` puts, claimed on the disk first
    // Writes the content (false with errno set when it cannot). `held` is the
    // old content of a file rewritten in place, to read from instead of the
    // file; -1 when the file stays as it was until the new one replaces it.
    std::function<bool(int held, SaveSink &out)> write;
    // In a folder that takes no copy beside the file, the old content is held
    // in memory while the file is rewritten in place: a larger file is
    // refused (Failed::TooLarge) and stays as it was.
    qint64 holdLimit = std::numeric_limits<qint64>::max();
};

// The same save as above, the content streamed.
SaveResult saveUserFile(const QString &path, const StreamedContent &content);

} // namespace vx
