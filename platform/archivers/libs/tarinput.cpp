#include "tarinput.h"

namespace arc {

la_ssize_t tarRead(struct archive *a, void *data, const void **buf)
{
    auto *t = static_cast<TarInput *>(data);
    const ssize_t n = t->produce();
    if (n < 0) {
        archive_set_error(a, EIO, "damaged compressed data");
        return ARCHIVE_FATAL;
    }
    *buf = t->out.data();
    return n;
}

la_int64_t tarSkip(struct archive *, void *data, la_int64_t request)
{
    auto *t = static_cast<TarInput *>(data);
    return t->kind == TarInput::Plain ? t->skipPlain(request) : 0;
}

} // namespace arc
