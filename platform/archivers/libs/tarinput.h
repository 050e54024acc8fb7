#pragma once
#include <archive.h>
#include <bzlib.h>
#include <sys/types.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace arc {

// The bytes of a TAR archive: read as they are, or unpacked from gzip or
// bzip2 with every member's own check (zlib and libbz2 test the CRC and the
// length; libarchive's gzip reader skips the trailer).
struct TarInput {
    enum Kind { Plain, Gzip, Bzip2 };

    explicit TarInput(int f) : fd(f), in(kChunk), out(kChunk)
    {
        unsigned char magic[3] = {};
        const ssize_t n = ::pread(fd, magic, sizeof magic, 0);
        if (n >= 2 && magic[0] == 0x1F && magic[1] == 0x8B)
            kind = Gzip;
        else if (n == 3 && magic[0] == 'B' && magic[1] == 'Z' && magic[2] == 'h')
            kind = Bzip2;
    }
    ~TarInput() { endMember(); }
    TarInput(const TarInput &) = delete;
    TarInput &operator=(const TarInput &) = delete;

    // Bytes into `out`: their count, 0 at the end, -1 on damage.
    ssize_t produce()
    {
        if (damaged)
            return -1;
        if (kind == Plain) {
            for (;;) {
                const ssize_t n = ::read(fd, out.data(), out.size());
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0)
                    damaged = true;
                return n;
            }
        }
        for (;;) {
            if (!inMember) {
                if (!nextMember())
                    return damaged ? -1 : 0;
                continue;
            }
            if (pos == len && !refill()) {
                damaged = true; // the stream ends inside a member
                return -1;
            }
            size_t used = 0;
            size_t made = 0;
            bool end = false;
            if (kind == Gzip) {
                z.next_in = in.data() + pos;
                z.avail_in = static_cast<uInt>(len - pos);
                z.next_out = out.data();
                z.avail_out = static_cast<uInt>(out.size());
                const int r = ::inflate(&z, Z_NO_FLUSH);
                used = (len - pos) - z.avail_in;
                made = out.size() - z.avail_out;
                if (r == Z_STREAM_END)
                    end = true;
                else if (r != Z_OK && r != Z_BUF_ERROR)
                    damaged = true;
            } else {
                bz.next_in = reinterpret_cast<char *>(in.data() + pos);
                bz.avail_in = static_cast<unsigned>(len - pos);
                bz.next_out = reinterpret_cast<char *>(out.data());
                bz.avail_out = static_cast<unsigned>(out.size());
                const int r = ::BZ2_bzDecompress(&bz);
                used = (len - pos) - bz.avail_in;
                made = out.size() - bz.avail_out;
                if (r == BZ_STREAM_END)
                    end = true;
                else if (r != BZ_OK)
                    damaged = true;
            }
            pos += used;
            if (damaged)
                return -1;
            if (end)
                endMember();
            else if (!used && !made && pos < len)
                return damaged = true, -1; // no progress
            if (made)
                return static_cast<ssize_t>(made);
        }
    }

    // Reads what is left: false when a check fails.
    bool drain()
    {
        if (kind == Plain)
            return !damaged;
        for (;;) {
            const ssize_t n = produce();
            if (n < 0)
                return false;
            if (n == 0)
                return true;
        }
    }

    int64_t skipPlain(int64_t request)
    {
        const off_t here = ::lseek(fd, 0, SEEK_CUR);
        struct stat st {};
        if (here < 0 || ::fstat(fd, &st) != 0)
            return 0;
        const int64_t left = st.st_size > here ? st.st_size - here : 0;
        const int64_t n = std::min(request, left);
        return ::lseek(fd, n, SEEK_CUR) < 0 ? 0 : n;
    }

    int fd;
    Kind kind = Plain;
    bool damaged = false;

private:
    static constexpr size_t kChunk = 1 << 18;

    bool refill()
    {
        if (eof)
            return false;
        if (pos > 0) {
            std::memmove(in.data(), in.data() + pos, len - pos);
            len -= pos;
            pos = 0;
        }
        while (len < in.size()) {
            const ssize_t n = ::read(fd, in.data() + len, in.size() - len);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                eof = true;
                if (n < 0)
                    damaged = true;
                break;
            }
            len += static_cast<size_t>(n);
            break;
        }
        return len > pos;
    }

    // Starts the next member, or at the end of the input returns false. What
    // follows the last member may only be zeros (tape padding).
    bool nextMember()
    {
        while (len - pos < 3 && refill()) {
        }
        if (pos == len)
            return false;
        const unsigned char *p = in.data() + pos;
        const size_t have = len - pos;
        const bool more = kind == Gzip ? have >= 2 && p[0] == 0x1F && p[1] == 0x8B
                                       : have >= 3 && p[0] == 'B' && p[1] == 'Z' && p[2] == 'h';
        if (!more) {
            for (;;) {
                for (size_t i = pos; i < len; ++i)
                    if (in[i]) {
                        damaged = true;
                        return false;
                    }
                pos = len;
                if (!refill())
                    return false;
            }
        }
        if (kind == Gzip) {
            z = z_stream{};
            if (::inflateInit2(&z, 15 + 16) != Z_OK)
                return damaged = true, false;
        } else {
            bz = bz_stream{};
            if (::BZ2_bzDecompressInit(&bz, 0, 0) != BZ_OK)
                return damaged = true, false;
        }
        inMember = true;
        return true;
    }
    void endMember()
    {
        if (!inMember)
            return;
        if (kind == Gzip)
            ::inflateEnd(&z);
        else
            ::BZ2_bzDecompressEnd(&bz);
        inMember = false;
    }

    std::vector<unsigned char> in;
    size_t pos = 0;
    size_t len = 0;
    bool eof = false;
    bool inMember = false;
    z_stream z {};
    bz_stream bz {};

public:
    std::vector<unsigned char> out;
};

// libarchive's read and skip callbacks over a TarInput.
la_ssize_t tarRead(struct archive *a, void *data, const void **buf);
la_int64_t tarSkip(struct archive *, void *data, la_int64_t request);

} // namespace arc
