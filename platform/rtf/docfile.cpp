#include "docfile.h"

#include "platform/core/errors.h"
#include "platform/core/savefile.h"

namespace vx::text {

void writeDocument(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        raise(err::BadFileName);
    const SaveResult r = saveUserFile(path, bytes);
    if (!r.ok())
        throw RuntimeError(r.errorNumber(), r.reason());
}

} // namespace vx::text
