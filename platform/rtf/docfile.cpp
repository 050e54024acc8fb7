#include "docfile.h"

#include "platform/core/errors.h"
#include "platform/core/savefile.h"

#include <cerrno>

namespace vx::text {

namespace {

// The error number a caller tells failures apart by; the description is the
// reason in the user's words.
int errorNumber(const SaveResult &r)
{
    switch (r.failed) {
    case SaveResult::Failed::Nothing: return 0;
    case SaveResult::Failed::NotRegular:
    case SaveResult::Failed::TooLarge: return err::PathFileAccess;
    case SaveResult::Failed::Folder:
    case SaveResult::Failed::File: break;
    }
    switch (r.error) {
    case EACCES:
    case EPERM:
    case EROFS: return err::PermissionDenied;
    case ENOENT:
    case ENOTDIR: return err::PathNotFound;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return err::DiskFull;
    case ENAMETOOLONG: return err::BadFileName;
    case EISDIR: return err::PathFileAccess;
    default: return err::DeviceIO;
    }
}

} // namespace

void writeDocument(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        raise(err::BadFileName);
    const SaveResult r = saveUserFile(path, bytes);
    if (!r.ok())
        throw RuntimeError(errorNumber(r), r.reason());
}

} // namespace vx::text
