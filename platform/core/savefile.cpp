#include "savefile.h"

#include "platform/core/fd.h"
#include "platform/core/replacecore.h"
#include "platform/core/sidefile.h"
#include "platform/core/syserror.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

namespace {

constexpr std::string_view kKeepTag = "keep-";
constexpr std::string_view kTempTag = "vxtmp-";

using Failed = SaveResult::Failed;

SaveResult failure(Failed where, int error) { return SaveResult{where, error}; }

// The whole content at the start of `fd`, cut to its length and on the disk.
bool putContent(int fd, const QByteArray &bytes)
{
    return replace::writeAt(fd, bytes.constData(), size_t(bytes.size())) && ::ftruncate(fd, bytes.size()) == 0 &&
           ::fsync(fd) == 0;
}

bool refusedByFolder(int e) { return e == EACCES || e == EPERM || e == EROFS; }

void syncDir(const QByteArray &dir)
{
    Fd fd(::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid())
        (void)::fsync(fd.get());
}

// The same file, rewritten: every name of it shows the new content, and a
// folder that takes no new file is no hindrance.
SaveResult rewriteInPlace(const QString &target, const QByteArray &bytes)
{
    Fd fd(::open(QFile::encodeName(target).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.valid())
        return failure(Failed::File, errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return failure(Failed::File, errno);
    if (!S_ISREG(st.st_mode))
        return failure(Failed::NotRegular, 0);
    // The old content stays in memory until the new one is on the disk, so a
    // failed write can put it back. The copy beside the file is what a crash
    // leaves for the user; a folder the user may not write takes none, and
    // then memory is all there is.
    QByteArray old;
    old.resize(st.st_size);
    if (!replace::readAt(fd.get(), old.data(), size_t(old.size())))
        return failure(Failed::File, errno);
    const SideFiles keep(target, kKeepTag);
    std::string copyName;
    {
        Fd copy = keep.create(copyName, 0600);
        if (!copy.valid() && !refusedByFolder(errno))
            return failure(Failed::File, errno);
        if (copy.valid() && !putContent(copy.get(), old)) {
            const int e = errno;
            ::unlink(keep.path(copyName).constData());
            return failure(Failed::File, e);
        }
        if (!copy.valid())
            copyName.clear();
    }
    const auto dropCopy = [&] {
        if (!copyName.empty())
            ::unlink(keep.path(copyName).constData());
    };
    // A full disk is seen here, before the old content is touched.
    if (!replace::reserve(fd.get(), bytes.size())) {
        const int e = errno;
        dropCopy();
        return failure(Failed::File, e);
    }
    if (!putContent(fd.get(), bytes)) {
        const int e = errno;
        // The copy stays when even this fails.
        if (putContent(fd.get(), old))
            dropCopy();
        return failure(Failed::File, e);
    }
    dropCopy();
    keep.removeLeftovers(SideFiles::Leftovers::All);
    return {};
}

// A new file with the content, renamed over `target` once it is on the
// disk. Failed::Folder when no file can be made beside it.
SaveResult replaceWhole(const QString &target, const QByteArray &bytes, const struct stat *old)
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
    bool ok = replace::reserve(fd.get(), bytes.size()) && putContent(fd.get(), bytes);
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

SaveResult saveUserFile(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return failure(Failed::File, ENOENT);
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        const int e = errno;
        if (e == ENOENT) // a new file (or a link to none: the link gives way to it)
            return replaceWhole(path, bytes, nullptr);
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
        return rewriteInPlace(target, bytes);
    const SaveResult whole = replaceWhole(target, bytes, &st);
    // The file may be written where its folder takes no new one.
    if (whole.failed == Failed::Folder && refusedByFolder(whole.error))
        return rewriteInPlace(target, bytes);
    return whole;
}

} // namespace vx
