#pragma once
// Extraction that cannot escape its folder: every entry is checked, written
// into a private folder beside the destination and moved into place only when
// the whole archive was read without error.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct archive;

namespace arc {

enum class Format { Lzh, Zip, Cab, Tar, Rar };

struct ExtractRequest {
    std::string archive;
    std::string dest;                  // folder; created when missing
    bool keepPaths = true;             // false: every file lands in dest itself
    std::vector<std::string> patterns; // empty or "*.*": every entry
};

// What a format reader may know better than libarchive about entry i (0-based
// among file headers): the real name and the data's CRC-32.
struct EntryOverride {
    std::optional<std::string> name;
    std::optional<uint32_t> crc32;
};
using OverrideFn = std::function<EntryOverride(size_t index)>;

int extractArchive(Format fmt, const ExtractRequest &req, const OverrideFn &override = {});

// One entry of an archive as a reader hands it over. `type` holds the file
// type bits as stat() does (S_IFREG, S_IFDIR, S_IFLNK, ...).
struct SourceEntry {
    std::string name; // UTF-8 as stored
    unsigned type = 0100000;
    std::string symlink;
    std::optional<std::string> hardlink;
    unsigned perm = 0644;
    std::optional<long long> mtime;
    std::optional<uint32_t> crc32;
};

inline constexpr int kEndOfArchive = 1; // next(): no more entries; read(): no more data

class EntrySource {
public:
    virtual ~EntrySource() = default;
    // Ok with the next entry, kEndOfArchive, or an error result.
    virtual int next(SourceEntry &entry) = 0;
    // Ok with a block of the current entry's data at `offset`, kEndOfArchive
    // after its last block, or an error result.
    virtual int read(const void *&buf, size_t &size, int64_t &offset) = 0;
};

// The checked extraction of whatever a source holds; `wholeCheck`, when
// given, runs after the last entry and fails the extraction with false.
int extractFrom(EntrySource &source, const ExtractRequest &req, const std::function<bool()> &wholeCheck = {});

// True when libarchive reads the file as an archive of the format.
bool isArchiveOf(Format fmt, const std::string &path);

struct TarInput;

// A libarchive reader over the archive opened as a user's file (regular files
// only, never a blocking open). TAR streams are unpacked here rather than by
// libarchive, which never checks a gzip trailer.
class Reader {
public:
    Reader();
    ~Reader();
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;
    ::archive *get() const { return a_; }
    // After the last entry: the rest of a compressed stream is read, and
    // false returned when its checks (CRC, length) fail or data follows.
    bool finish();

private:
    friend std::unique_ptr<Reader> openReader(Format, const std::string &, const char *, int *);
    ::archive *a_ = nullptr;
    int fd_ = -1;
    std::unique_ptr<TarInput> tar_;
};

// Opens a reader for the format (shared with the writers that add to an
// existing archive). nullptr on failure, with the result code in `why`.
std::unique_ptr<Reader> openReader(Format fmt, const std::string &path, const char *lzhCharset = "CP932",
                                   int *why = nullptr);

// What a libarchive result of reading a header or data means for us: Ok, or
// Damaged. Data warnings (a CRC mismatch) are damage; of header warnings only
// those about names, which we decode ourselves, pass.
int headerResult(::archive *a, int r);
int dataResult(int r);

// A name decoded to UTF-8 when the archive gave bytes of another code page.
std::string toUtf8Name(const std::string &raw);

} // namespace arc
