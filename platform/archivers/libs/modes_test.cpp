// An archive every library rewrites keeps its mode and group; a new one
// follows the umask.
#include "testutil_test.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace arctest;

namespace {

const std::string Q = "\"";

struct Writer {
    const char *format;
    const char *lib;
    const char *entry;
    const char *ext;
    // The command that adds `file` (a name in `folder`) to `archive`.
    std::string (*line)(const std::string &archive, const std::string &folder, const std::string &file);
};

const Writer kWriters[] = {
    {"ZIP", "zip32j.so", "Zip", ".zip",
     [](const std::string &a, const std::string &d, const std::string &f) {
         return "-u  -9 " + Q + a + Q + " " + Q + d + "/" + Q + " " + Q + f + Q;
     }},
    {"LZH", "unlha32.so", "Unlha", ".lzh",
     [](const std::string &a, const std::string &d, const std::string &f) {
         return "u -y1 -h2 -jm2 " + Q + a + Q + " " + Q + d + "/" + Q + " " + Q + f + Q;
     }},
    {"TAR", "tar32.so", "Tar", ".tar",
     [](const std::string &a, const std::string &d, const std::string &f) {
         return "-cv -f " + Q + a + Q + " " + Q + d + "/" + Q + " " + Q + f + Q;
     }},
    {"CAB", "cab32.so", "Cab", ".cab",
     [](const std::string &a, const std::string &d, const std::string &f) {
         return "-a -r " + Q + a + Q + " " + Q + d + "/" + Q + " " + Q + f + Q;
     }},
};

struct stat statOf(const std::string &path)
{
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

} // namespace

TEST(ArchiveModes, AnUpdatedArchiveKeepsItsModeAndGroupAndANewOneFollowsTheUmask)
{
    for (const Writer &w : kWriters) {
        SCOPED_TRACE(w.format);
        Scratch s;
        writeFile(s / "w/one.txt", "one");
        writeFile(s / "w/two.txt", "two");
        const std::string a = s / (std::string("w/a") + w.ext);
        const mode_t oldMask = ::umask(027);
        const int made = call(w.lib, w.entry, w.line(a, s / "w", "one.txt"));
        ::umask(oldMask);
        ASSERT_EQ(made, 0);
        EXPECT_EQ(statOf(a).st_mode & 07777, 0640u) << "a new archive";

        ASSERT_EQ(::chmod(a.c_str(), 0600), 0);
        // Root may give it any group; others keep a group they belong to.
        const gid_t group = ::geteuid() == 0 ? 4321 : ::getegid();
        ASSERT_EQ(::chown(a.c_str(), uid_t(-1), group), 0);
        ASSERT_EQ(call(w.lib, w.entry, w.line(a, s / "w", "two.txt")), 0);
        const struct stat after = statOf(a);
        EXPECT_EQ(after.st_mode & 07777, 0600u) << "an updated archive";
        EXPECT_EQ(after.st_gid, group);
        EXPECT_NE(readFile(a).find("two.txt"), std::string::npos) << "the file was added";
    }
}
