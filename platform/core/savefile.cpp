#include "savefile.h"

#include "platform/core/errors.h"
#include "platform/core/fd.h"
#include "platform/core/replacecore.h"
#include "platform/core/sidefile.h"
#include "platform/core/syserror.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <new>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

namespace {

constexpr std::string_view kKeepTag = "keep-";
constexpr std::string_view kTempTag = "vxtmp-";

using Failed = SaveResult::Failed;

SaveResult failure(Failed where, int error) { return SaveResult{where, error}; }

// The content is `size` bytes long and on the disk.
bool finish(int fd, qint64 size) { return ::ftruncate(fd, size) == 0 && ::fsync(fd) == 0; }

bool refusedByFolder(int e) { return e == EACCES || e == EPERM || e == EROFS; }

void syncDir(const QByteArray &dir)
{
    Fd fd(::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        (void)::fsync(fd.get());
}

// The same file, rewritten: every name of it shows the new content, and a
// folder that takes no new file is no hindrance.
SaveResult rewriteInPlace(const QString &target, const StreamedContent &content)
{
    Fd fd(::open(QFile::encodeName(target).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.valid())
        return failure(Failed::File, errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return failure(Failed::File, errno);
    if (!S_ISREG(st.st_mode))
        return failure(Failed::NotRegular, 0);
    // The old content is held until the new one is on the disk, so a failed
    // write can put it back: in a copy beside the file, which is what a crash
    // leaves for the user, or in memory where the folder takes no copy.
    const SideFiles keep(target, kKeepTag);
    std::string copyName;
    Fd held = keep.create(copyName, 0600);
    if (!held.valid()) {
        if (!refusedByFolder(errno))
            return failure(Failed::File, errno);
        copyName.clear();
        if (st.st_size > content.holdLimit)
            return failure(Failed::TooLarge, EFBIG);
        held.reset(::memfd_create("vx-keep", MFD_CLOEXEC));
        if (!held.valid())
            return failure(Failed::File, errno);
    }
    const auto dropCopy = [&] {
        if (!copyName.empty())
            ::unlink(keep.path(copyName).constData());
    };
    SaveSink copy(held.get());
    if (!copy.copy(fd.get(), 0, st.st_size) || !finish(held.get(), st.st_size)) {
        const int e = errno;
        dropCopy();
        return failure(Failed::File, e);
    }
    // A full disk is seen here, before the old content is touched.
    if (!replace::reserve(fd.get(), content.size)) {
        const int e = errno;
        dropCopy();
        return failure(Failed::File, e);
    }
    SaveSink out(fd.get());
    if (!content.write(held.get(), out) || !finish(fd.get(), out.written())) {
        const int e = errno;
        // The copy stays when even this fails.
        SaveSink back(fd.get());
        if (back.copy(held.get(), 0, st.st_size) && finish(fd.get(), st.st_size))
            dropCopy();
        return failure(Failed::File, e);
    }
    dropCopy();
    keep.removeLeftovers(SideFiles::Leftovers::All);
    return {};
}

// A new file with the content, renamed over `target` once it is on the
// disk. Failed::Folder when no file can be made beside it.
SaveResult replaceWhole(const QString &target, const StreamedContent &content, const struct stat *old)
{
    const SideFiles temp(target, kTempTag);
    temp.removeLeftovers(SideFiles::Leftovers::StaleAndUnheld);
    std::string name;
    Fd fd = temp.create(name, old ? 0600 : 0666);
    if (!fd.valid())
        return failure(Failed::Folder, errno);
    const QByteArray tempPath = temp.path(name);
    if (old)
        replace::keepModeAndOwner(fd.get(), *old);
    SaveSink out(fd.get());
    bool ok = replace::reserve(fd.get(), content.size) && content.write(-1, out) && finish(fd.get(), out.written());
    // A failed close is a write-back error.
    int e = errno;
    if (::close(fd.release()) != 0 && ok) {
        ok = false;
        e = errno;
    }
    if (ok && ::rename(tempPath.constData(), QFile::encodeName(target).constData()) != 0) {
        ok = false;
        e = errno;
    }
    if (!ok) {
        ::unlink(tempPath.constData());
        return failure(Failed::File, e);
    }
    syncDir(temp.dir());
    SideFiles(target, kKeepTag).removeLeftovers(SideFiles::Leftovers::All);
    return {};
}

} // namespace

QString SaveResult::reason() const
{
    switch (failed) {
    case Failed::Nothing: return QString();
    case Failed::NotRegular: return QStringLiteral("通常のファイルではありません。");
    case Failed::TooLarge:
        return QStringLiteral("保存先のフォルダーに書き込めないため、ファイルをその場で書き直すことになりますが、"
                              "大きすぎて元の内容を控えておけません。書き込めるフォルダーに移してから保存してください。");
    case Failed::Folder:
        switch (error) {
        case ENOENT:
        case ENOTDIR: return QStringLiteral("保存先のフォルダーが見つかりません。");
        case EACCES:
        case EPERM: return QStringLiteral("保存先のフォルダーへの書き込みが許可されていません。");
        default: break;
        }
        break;
    case Failed::File:
        switch (error) {
        case EACCES:
        case EPERM: return QStringLiteral("書き込みが許可されていません。");
        case EFBIG: return QStringLiteral("ファイルが大きすぎて書き込めません。");
        default: break;
        }
        break;
    }
    return systemReason(error);
}

int SaveResult::errorNumber() const
{
    switch (failed) {
    case Failed::Nothing: return 0;
    case Failed::NotRegular:
    case Failed::TooLarge: return err::PathFileAccess;
    case Failed::Folder:
    case Failed::File: break;
    }
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS: return err::PermissionDenied;
    case ENOENT:
    case ENOTDIR: return failed == Failed::Folder ? err::PathNotFound : err::PathFileAccess;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return err::DiskFull;
    case ENAMETOOLONG: return err::BadFileName;
    case EISDIR: return err::PathFileAccess;
    default: return err::DeviceIO;
    }
}

bool SaveSink::write(const char *data, qint64 size)
{
    if (!replace::writeAt(fd_, data, std::size_t(size), written_))
        return false;
    written_ += size;
    return true;
}

bool SaveSink::copy(int src, qint64 from, qint64 to)
{
    constexpr qint64 kChunk = qint64(1) << 20;
    std::unique_ptr<char[]> buf(new (std::nothrow) char[kChunk]);
    if (!buf) {
        errno = ENOMEM;
        return false;
    }
    for (qint64 at = from; at < to;) {
        const qint64 n = std::min(kChunk, to - at);
        if (!replace::readAt(src, buf.get(), std::size_t(n), at) || !write(buf.get(), n))
            return false;
        at += n;
    }
    return true;
}

SaveResult saveUserFile(const QString &path, const QByteArray &bytes)
{
    return saveUserFile(path, StreamedContent{bytes.size(), [&bytes](int, SaveSink &out) {
                                                  return out.write(bytes.constData(), bytes.size());
                                              }});
}

SaveResult saveUserFile(const QString &path, const StreamedContent &content)
{
    if (path.isEmpty())
        return failure(Failed::File, ENOENT);
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        const int e = errno;
        if (e == ENOENT) // a new file (or a link to none: the link gives way to it)
            return replaceWhole(path, content, nullptr);
        return failure(e == ENOTDIR || e == EACCES ? Failed::Folder : Failed::File, e);
    }
    if (!S_ISREG(st.st_mode))
        return failure(Failed::NotRegular, 0);
    // A link is followed: its target is the file.
    char *real = ::realpath(native.constData(), nullptr);
    if (!real)
        return failure(Failed::File, errno);
    const QString target = QFile::decodeName(real);
    std::free(real);
    // A rename over the file would ignore its write protection.
    if (::faccessat(AT_FDCWD, QFile::encodeName(target).constData(), W_OK, AT_EACCESS) != 0)
        return failure(Failed::File, errno);
    if (st.st_nlink > 1)
        return rewriteInPlace(target, content);
    const SaveResult whole = replaceWhole(target, content, &st);
    // The file may be written where its folder takes no new one.
    if (whole.failed == Failed::Folder && refusedByFolder(whole.error))
        return rewriteInPlace(target, content);
    return whole;
}

} // namespace vx
