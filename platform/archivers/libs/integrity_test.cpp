// Archives made by other programs: damage is never success, an update never
// hides it, names reach no other program, and what an interrupted save left
// behind goes at the next save.
#include "testutil_test.h"

#include "fsutil.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>

#include <zlib.h>

using namespace arctest;

namespace {

const std::string Q = "\"";

std::string noise(size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char &c : s)
        c = static_cast<char>(rng());
    return s;
}

// Flips 64 bytes in the middle of `needle` (stored data) inside the archive.
// The mask varies: one mask on an even count of words leaves a cabinet's XOR
// checksum as it was.
void flipInside(const std::string &archive, const std::string &needle)
{
    std::string a = readFile(archive);
    const auto at = a.find(needle);
    ASSERT_NE(at, std::string::npos) << archive << ": the data is not stored";
    for (size_t i = 0; i < 64; ++i)
        a[at + needle.size() / 2 + i] ^= static_cast<char>(0x5A + 7 * i);
    writeFile(archive, a);
}

// Everything in the folder, so that a call can be shown to have changed nothing.
// Contents stand as their size and CRC, so that a failure prints briefly.
std::map<std::string, std::string> snapshot(const Scratch &s)
{
    std::map<std::string, std::string> out;
    for (const auto &[name, data] : tree(s.path()))
        out[name] = std::to_string(data.size()) + ":" +
                    std::to_string(::crc32(0, reinterpret_cast<const Bytef *>(data.data()), static_cast<uInt>(data.size())));
    return out;
}

// Names, kinds and sizes only (nothing is opened: FIFOs and devices sit there).
void listNames(const std::string &root, const std::string &rel, std::map<std::string, std::string> &out)
{
    DIR *d = ::opendir((rel.empty() ? root : root + "/" + rel).c_str());
    if (!d)
        return;
    while (dirent *e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (n == "." || n == "..")
            continue;
        const std::string r = rel.empty() ? n : rel + "/" + n;
        struct stat st {};
        ::lstat((root + "/" + r).c_str(), &st);
        out[r] = std::to_string(st.st_mode) + ":" + std::to_string(st.st_size);
        if (S_ISDIR(st.st_mode))
            listNames(root, r, out);
    }
    ::closedir(d);
}
std::map<std::string, std::string> names(const Scratch &s)
{
    std::map<std::string, std::string> out;
    listNames(s.path(), "", out);
    return out;
}

std::string extractLine(const std::string &lib, const std::string &a, const std::string &out)
{
    if (lib == "unlha32.so")
        return "x -d1 -y1 " + Q + a + Q + " " + Q + out + Q + "/ *.*";
    if (lib == "tar32.so")
        return "-xvf " + Q + a + Q + " -o " + Q + out + Q;
    if (lib == "unarj32j.so")
        return "x " + Q + a + Q + " " + Q + out + "/" + Q + " *.*";
    return "-x -o -q " + Q + a + Q + " " + Q + out + "/" + Q + " *.*";
}

std::string entryOf(const std::string &lib)
{
    if (lib == "unlha32.so")
        return "Unlha";
    if (lib == "tar32.so")
        return "Tar";
    if (lib == "unarj32j.so")
        return "Unarj";
    if (lib == "cab32.so")
        return "Cab";
    return "UnZip";
}

struct Made {
    std::string name;   // archive file in the scratch folder
    std::string lib;    // library that extracts it
    std::string needle; // stored bytes to damage ("" for the gzip trailer)
};

} // namespace

// Each archive extracts whole while intact; with bytes flipped inside a stored
// entry (or its gzip trailer), the call fails and the folder is as it was.
TEST(Damage, FlippedBytesInAStoredEntryAreAFailureForEveryMaker)
{
    Scratch s;
    const std::string data = noise(200000, 11);
    writeFile(s / "src/random.bin", data);
    writeFile(s / "src/small.txt", "small\n");
    std::vector<Made> made;
    auto make = [&](const std::string &name, const std::vector<std::string> &argv, const std::string &lib,
                    const std::string &needle) {
        if (!haveProgram(argv[0]))
            return;
        ASSERT_EQ(runProgram(argv, s / "src"), 0) << name;
        made.push_back({name, lib, needle});
    };
    const std::string mid = data.substr(90000, 1000);
    make("z.zip", {"zip", "-q", "-0", s / "z.zip", "random.bin", "small.txt"}, "unzip32.so", mid);
    make("p.zip",
         {"python3", "-c",
          "import zipfile,sys\nwith zipfile.ZipFile(sys.argv[1],'w',zipfile.ZIP_STORED) as z:\n"
          " z.write('random.bin'); z.write('small.txt')",
          s / "p.zip"},
         "unzip32.so", mid);
    // Random bytes stay as they are inside gzip's stored blocks: only the
    // trailer's CRC can tell.
    make("g.tgz", {"tar", "-czf", s / "g.tgz", "random.bin", "small.txt"}, "tar32.so", mid);
    make("b.tbz", {"tar", "-cjf", s / "b.tbz", "random.bin", "small.txt"}, "tar32.so", "");
    make("c.cab", {"gcab", "-c", s / "c.cab", "random.bin", "small.txt"}, "cab32.so", mid);
    make("r.arj", {"arj", "a", "-m0", "-y", s / "r.arj", "random.bin", "small.txt"}, "unarj32j.so", mid);
    // LZH: our own writer, stored, read back by lhasa.
    ASSERT_EQ(call("unlha32.so", "Unlha", "a -y1 -h2 -jm0 " + Q + (s / "l.lzh") + Q + " " + Q + (s / "src/") + Q + " *.*"), 0);
    ASSERT_EQ(runProgram({"lha", "t", s / "l.lzh"}), 0);
    made.push_back({"l.lzh", "unlha32.so", mid});
    ASSERT_GE(made.size(), 6u);

    for (const Made &m : made) {
        SCOPED_TRACE(m.name);
        const std::string a = s / m.name;
        ASSERT_EQ(call(m.lib, entryOf(m.lib), extractLine(m.lib, a, s / ("good-" + m.name))), 0);
        EXPECT_EQ(readFile(s / ("good-" + m.name + "/random.bin")), data);
        arc::removeTree(s / ("good-" + m.name));
        if (m.needle.empty()) { // bzip2: the middle of the stream
            std::string b = readFile(a);
            for (size_t i = 0; i < 64; ++i)
                b[b.size() / 2 + i] ^= 0x5A;
            writeFile(a, b);
        } else {
            flipInside(a, m.needle);
        }
        const auto before = snapshot(s);
        EXPECT_NE(call(m.lib, entryOf(m.lib), extractLine(m.lib, a, s / ("bad-" + m.name))), 0);
        EXPECT_EQ(snapshot(s), before); // no file, no staging folder
    }
    // The gzip trailer alone: the data intact, its CRC wrong.
    if (haveProgram("tar")) {
        ASSERT_EQ(runProgram({"tar", "-czf", s / "t.tgz", "small.txt"}, s / "src"), 0);
        std::string t = readFile(s / "t.tgz");
        t[t.size() - 8] ^= 1;
        writeFile(s / "t.tgz", t);
        EXPECT_NE(call("tar32.so", "Tar", extractLine("tar32.so", s / "t.tgz", s / "trailer")), 0);
        EXPECT_FALSE(exists(s / "trailer"));
        // Two members and trailing zeros (tape padding) are still whole.
        ASSERT_EQ(runProgram({"tar", "-czf", s / "m.tgz", "small.txt"}, s / "src"), 0);
        const std::string one = readFile(s / "m.tgz");
        const std::string two = one + one;
        writeFile(s / "m.tgz", two + std::string(512, '\0'));
        EXPECT_EQ(call("tar32.so", "Tar", extractLine("tar32.so", s / "m.tgz", s / "pad")), 0);
        EXPECT_EQ(readFile(s / "pad/small.txt"), "small\n");
        writeFile(s / "m.tgz", two + "garbage");
        EXPECT_NE(call("tar32.so", "Tar", extractLine("tar32.so", s / "m.tgz", s / "junk")), 0);
    }
}

// Adding to a damaged archive fails and leaves it byte for byte as it was.
TEST(Damage, AnUpdateOfADamagedArchiveFailsAndKeepsIt)
{
    Scratch s;
    const std::string data = noise(150000, 5);
    writeFile(s / "w/random.bin", data);
    writeFile(s / "w/new.txt", "new\n");
    const std::string mid = data.substr(70000, 1000);
    struct Case {
        std::string archive, line;
    };
    std::vector<Case> cases;
    if (haveProgram("zip")) {
        ASSERT_EQ(runProgram({"zip", "-q", "-0", s / "w/z.zip", "random.bin"}, s / "w"), 0);
        flipInside(s / "w/z.zip", mid);
        cases.push_back({s / "w/z.zip", "-u  -9 " + Q + (s / "w/z.zip") + Q + " " + Q + (s / "w/") + Q + " " + Q + "new.txt" + Q});
        cases.push_back({s / "w/z.zip", "-r  -9 " + Q + (s / "w/z.zip") + Q + " " + Q + (s / "w/") + Q + " " + Q + "new.txt" + Q});
    }
    // -lh7-: the compressed data damaged. And stored.
    for (const std::string jm : {"-jm4", "-jm0"}) {
        const std::string a = s / ("w/l" + jm + ".lzh");
        ASSERT_EQ(call("unlha32.so", "Unlha", "a -y1 -h1 " + jm + " " + Q + a + Q + " " + Q + (s / "w/random.bin") + Q), 0);
        std::string b = readFile(a);
        if (jm == "-jm0") {
            flipInside(a, mid);
        } else {
            for (size_t i = 0; i < 16; ++i)
                b[b.size() / 2 + i] ^= 0x5A;
            writeFile(a, b);
        }
        for (const std::string verb : {"u", "a"})
            cases.push_back({a, verb + " -y1 -h1 " + jm + " " + Q + a + Q + " " + Q + (s / "w/new.txt") + Q});
    }
    if (haveProgram("gcab")) {
        ASSERT_EQ(runProgram({"gcab", "-c", s / "w/c.cab", "random.bin"}, s / "w"), 0);
        flipInside(s / "w/c.cab", mid);
        cases.push_back({s / "w/c.cab", "-a -r " + Q + (s / "w/c.cab") + Q + " " + Q + (s / "w/new.txt") + Q});
    }
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        const auto before = snapshot(s);
        const std::string lib = c.archive.find(".zip") != std::string::npos   ? "zip32j.so"
                                : c.archive.find(".cab") != std::string::npos ? "cab32.so"
                                                                                : "unlha32.so";
        const std::string entry = lib == "zip32j.so" ? "Zip" : lib == "cab32.so" ? "Cab" : "Unlha";
        EXPECT_NE(call(lib, entry, c.line), 0);
        EXPECT_EQ(snapshot(s), before);
    }
    if (haveProgram("unzip") && haveProgram("zip")) {
        EXPECT_NE(runProgram({"unzip", "-tq", s / "w/z.zip"}), 0); // still reported damaged
    }
}

// `arj` expands '*' and '?' in an archive name: "ev*.arj" must open that one
// file only, whatever else matches beside it.
TEST(Arj, TheArchiveNameReachesArjAsNoPattern)
{
    if (!haveProgram("arj"))
        GTEST_SKIP() << "arj is not installed";
    Scratch s;
    writeFile(s / "src/harmless.txt", "fine");
    writeFile(s / "src/abcdefghijklmn", "evil");
    arc::makeDirs(s / "d");
    ASSERT_EQ(runProgram({"arj", "a", "-y", s / "d/evx.arj", "harmless.txt"}, s / "src"), 0);
    ASSERT_EQ(::rename((s / "d/evx.arj").c_str(), (s / "d/ev*.arj").c_str()), 0);
    ASSERT_EQ(runProgram({"arj", "a", "-y", s / "evil2.arj", "abcdefghijklmn"}, s / "src"), 0);
    std::string evil = readFile(s / "evil2.arj");
    const auto at = evil.find("abcdefghijklmn");
    ASSERT_NE(at, std::string::npos);
    evil.replace(at, 14, "../../evil.txt");
    const size_t start = evil.rfind(std::string("\x60\xEA", 2), at);
    const uint32_t size = static_cast<uint8_t>(evil[start + 2]) | (static_cast<uint8_t>(evil[start + 3]) << 8);
    const std::string hdr = evil.substr(start + 4, size);
    const uint32_t c = static_cast<uint32_t>(::crc32(0, reinterpret_cast<const Bytef *>(hdr.data()), static_cast<uInt>(hdr.size())));
    for (int k = 0; k < 4; ++k)
        evil[start + 4 + size + k] = static_cast<char>(c >> (8 * k));
    writeFile(s / "d/evil2.arj", evil);
    arc::removeTree(s / "src");
    ::unlink((s / "evil2.arj").c_str());
    ASSERT_EQ(call("unarj32j.so", "Unarj", "x " + Q + (s / "d/ev*.arj") + Q + " " + Q + (s / "d/out") + "/" + Q + " *.*"), 0);
    EXPECT_EQ(tree(s / "d/out"), (std::map<std::string, std::string>{{"harmless.txt", "fine"}}));
    EXPECT_FALSE(exists(s / "evil.txt"));
    EXPECT_FALSE(exists(s / "d/evil.txt"));
    // Switch and list-file marks in the folder and archive names are plain names too.
    const std::string odd = s / "-y !x ?";
    arc::makeDirs(odd);
    ASSERT_EQ(::rename((s / "d/ev*.arj").c_str(), (odd + "/!-a?.arj").c_str()), 0);
    ASSERT_EQ(call("unarj32j.so", "Unarj", "x " + Q + odd + "/!-a?.arj" + Q + " " + Q + odd + "/-o!/" + Q + " *.*"), 0);
    EXPECT_EQ(readFile(odd + "/-o!/harmless.txt"), "fine");
}

// A list's relative names ("sub/", "a.txt" as the window writes them) are
// found below the base folder of the line, not below the current folder.
TEST(Pack, RelativeNamesOfAListFollowTheBaseFolder)
{
    Scratch s;
    writeFile(s / "w/a.txt", "a in w");
    writeFile(s / "w/sub/b.txt", "b in w");
    writeFile(s / "here/sub/b.txt", "b in the current folder");
    writeFile(s / "here/sub/x.txt", "only here");
    writeFile(s / "rp.lst", Q + "sub/" + Q + "\r\n" + Q + "a.txt" + Q + "\r\n");
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(::chdir((s / "here").c_str()), 0);
    const int r = call("zip32j.so", "Zip", "-r -9 " + Q + (s / "w/x.zip") + Q + " " + Q + (s / "w/") + Q + " @" + (s / "rp.lst"));
    // The current folder's own name, as a base folder, is no base either.
    const int r2 = call("zip32j.so", "Zip", "-r -9 " + Q + (s / "w/y.zip") + Q + " " + Q + "sub/" + Q + " *.*");
    ASSERT_EQ(::chdir(cwd), 0);
    ASSERT_EQ(r, 0);
    EXPECT_NE(r2, 0);
    EXPECT_FALSE(exists(s / "w/y.zip"));
    ASSERT_EQ(call("unzip32.so", "UnZip", "-x -o -q " + Q + (s / "w/x.zip") + Q + " " + Q + (s / "o/") + Q + " *.*"), 0);
    EXPECT_EQ(tree(s / "o"), (std::map<std::string, std::string>{
                                 {"a.txt", "a in w"}, {"sub", "<dir>"}, {"sub/b.txt", "b in w"}}));
}

// GNU tar's "-C dir ." names the folder "./": that is the destination itself.
TEST(Tar, DotSlashEntriesAreTheDestination)
{
    Scratch s;
    writeFile(s / "dir/a.txt", "alpha");
    writeFile(s / "dir/sub/b.txt", "beta");
    std::vector<std::vector<std::string>> makers = {{"tar", "-cf", s / "t.tar", "-C", s / "dir", "."},
                                                    {"tar", "-czf", s / "t.tgz", "-C", s / "dir", "."}};
    if (haveProgram("bsdtar"))
        makers.push_back({"bsdtar", "-cf", s / "b.tar", "-C", s / "dir", "."});
    for (const auto &m : makers) {
        SCOPED_TRACE(m[2]);
        ASSERT_EQ(runProgram(m), 0);
        const std::string out = m[2] + ".out";
        ASSERT_EQ(call("tar32.so", "Tar", "-xvf " + Q + m[2] + Q + " -o " + Q + out + Q), 0);
        EXPECT_EQ(tree(out), tree(s / "dir"));
    }
    // A folder whose name holds '?' or '*' is still the folder, not a pattern.
    ASSERT_EQ(call("tar32.so", "Tar", "-xvf " + Q + (s / "t.tar") + Q + " -o " + Q + (s / "q?*") + Q), 0);
    EXPECT_EQ(readFile(s / "q?*/sub/b.txt"), "beta");
    writeTarEntries(s / "up.tar", {{"./", "", AE_IFDIR, 0755}, {"./../x.txt", "out"}});
    EXPECT_NE(call("tar32.so", "Tar", "-xvf " + Q + (s / "up.tar") + Q + " -o " + Q + (s / "up") + Q), 0);
    EXPECT_FALSE(exists(s / "x.txt"));
    writeTarEntries(s / "dotfile.tar", {{".", "a file named dot"}});
    EXPECT_NE(call("tar32.so", "Tar", "-xvf " + Q + (s / "dotfile.tar") + Q + " -o " + Q + (s / "df") + Q), 0);
}

namespace {

// Runs `fn` in a child process started now; its exit status.
template <class Fn>
int inChild(Fn fn)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(fn());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Waits until the clock is past `path`'s change time by more than a second,
// so that a process started afterwards is younger than the file.
void waitUntilOlder(const std::string &path)
{
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (::time(nullptr) <= st.st_ctime + 1 && std::chrono::steady_clock::now() < deadline)
        ::usleep(20000);
}

} // namespace

// What a killed save or extraction left (our own names, older than the
// process, locked by no one) goes at the next save or extraction of that
// archive or folder; anything else stays.
TEST(Leftovers, InterruptedSavesAreRemovedAtTheNextSave)
{
    Scratch s;
    writeFile(s / "w/a.txt", "a");
    const std::string stale = s / "w/.x.zip.vxtmp-AbC123";
    const std::string staleDir = s / "w/.out.vxtmp-Zz9zz9";
    const std::string locked = s / "w/.x.zip.vxtmp-LoCked";
    const std::string notOurs = s / "w/.x.zip.vxtmp-toolong";
    const std::string other = s / "w/.y.zip.vxtmp-AbC123";
    for (const std::string &p : {stale, locked, notOurs, other})
        writeFile(p, std::string(1000, 'x'));
    writeFile(staleDir + "/part.txt", "half");
    const int lockFd = ::open(locked.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(lockFd, 0);
    ASSERT_EQ(::flock(lockFd, LOCK_EX), 0); // another process's save in progress
    waitUntilOlder(staleDir);
    // A leftover younger than the process that saves is its own: kept.
    EXPECT_EQ(call("zip32j.so", "Zip", "-u -9 " + Q + (s / "w/x.zip") + Q + " " + Q + (s / "w/") + Q + " " + Q + "a.txt" + Q), 0);
    EXPECT_TRUE(exists(stale));
    EXPECT_EQ(inChild([&] {
                  return call("zip32j.so", "Zip",
                              "-u -9 " + Q + (s / "w/x.zip") + Q + " " + Q + (s / "w/") + Q + " " + Q + "a.txt" + Q);
              }),
              0);
    EXPECT_FALSE(exists(stale));
    EXPECT_TRUE(exists(locked));
    EXPECT_TRUE(exists(notOurs));
    EXPECT_TRUE(exists(other));
    EXPECT_TRUE(exists(staleDir + "/part.txt"));
    EXPECT_EQ(inChild([&] {
                  return call("unzip32.so", "UnZip", "-x -o -q " + Q + (s / "w/x.zip") + Q + " " + Q + (s / "w/out/") + Q + " *.*");
              }),
              0);
    EXPECT_FALSE(exists(staleDir));
    EXPECT_EQ(readFile(s / "w/out/a.txt"), "a");
    ::close(lockFd);
}

// Beside names of 255 bytes the leftovers carry a cut name; the next save
// finds them all the same, and leaves those of a name that only begins alike.
TEST(Leftovers, LeftoversBesideTheLongestNamesAreFound)
{
    Scratch s;
    std::string stem;
    for (int i = 0; i < 83; ++i)
        stem += "本";
    stem += "x"; // 250 bytes: its archive is named 254
    const std::string archive = s / ("w/" + stem + ".zip");
    const std::string alike = s / ("w/" + stem + "2.zip");
    writeFile(s / "w/a.txt", "a");
    auto leftover = [](const std::string &target, bool folder) {
        std::string name = arc::tempTemplate(target);
        EXPECT_LE(arc::baseName(name).size(), 255u);
        EXPECT_EQ(arc::parentOf(name), arc::parentOf(target));
        if (folder) {
            EXPECT_NE(::mkdtemp(name.data()), nullptr);
            writeFile(name + "/part.txt", "half");
        } else {
            const int fd = ::mkstemp(name.data());
            EXPECT_GE(fd, 0);
            ::close(fd);
        }
        return name;
    };
    const std::string stale = leftover(archive, false);
    const std::string notThis = leftover(alike, false);
    const std::string staleDir = leftover(s / ("w/" + stem), true);
    waitUntilOlder(staleDir);
    EXPECT_EQ(inChild([&] {
                  return call("zip32j.so", "Zip", "-u -9 " + Q + archive + Q + " " + Q + (s / "w/") + Q + " " + Q + "a.txt" + Q);
              }),
              0);
    EXPECT_FALSE(exists(stale));
    EXPECT_TRUE(exists(notThis));
    EXPECT_TRUE(exists(staleDir));
    EXPECT_EQ(inChild([&] {
                  return call("unzip32.so", "UnZip",
                              "-x -o -q " + Q + archive + Q + " " + Q + (s / ("w/" + stem)) + "/" + Q + " *.*");
              }),
              0);
    EXPECT_FALSE(exists(staleDir));
    EXPECT_EQ(readFile(s / ("w/" + stem + "/a.txt")), "a");
}

// An archive the user may not write, or one with a second name, is a failure
// and stays as it was; a link to an archive updates the file it names.
TEST(Leftovers, WriteProtectedAndHardLinkedArchivesAreRefused)
{
    Scratch s;
    writeFile(s / "w/a.txt", "a");
    writeFile(s / "w/b.txt", "b");
    const std::string line = [&](const std::string &a, const std::string &item) {
        return "-u -9 " + Q + a + Q + " " + Q + (s / "w/") + Q + " " + Q + item + Q;
    }(s / "w/x.zip", "a.txt");
    ASSERT_EQ(call("zip32j.so", "Zip", line), 0);
    ASSERT_EQ(::chmod((s / "w/x.zip").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(s.path().c_str(), 0777), 0);
    ASSERT_EQ(::chmod((s / "w").c_str(), 0777), 0);
    const auto before = snapshot(s);
    // As a user who may write the folder but not the archive (root may write anything).
    const int r = inChild([&] {
        if (::geteuid() == 0 && ::setuid(65534) != 0)
            return 99;
        return call("zip32j.so", "Zip", "-u -9 " + Q + (s / "w/x.zip") + Q + " " + Q + (s / "w/") + Q + " " + Q + "b.txt" + Q);
    });
    EXPECT_NE(r, 99);
    EXPECT_NE(r, 0);
    EXPECT_EQ(snapshot(s), before);
    ASSERT_EQ(::chmod((s / "w/x.zip").c_str(), 0644), 0);
    ASSERT_EQ(::link((s / "w/x.zip").c_str(), (s / "w/second.zip").c_str()), 0);
    const auto linked = snapshot(s);
    EXPECT_NE(call("zip32j.so", "Zip", "-u -9 " + Q + (s / "w/x.zip") + Q + " " + Q + (s / "w/") + Q + " " + Q + "b.txt" + Q), 0);
    EXPECT_NE(call("unlha32.so", "Unlha", "a -y1 " + Q + (s / "w/x.zip") + Q + " " + Q + (s / "w/b.txt") + Q), 0);
    EXPECT_EQ(snapshot(s), linked);
    ::unlink((s / "w/second.zip").c_str());
    ASSERT_EQ(::symlink("x.zip", (s / "w/link.zip").c_str()), 0);
    ASSERT_EQ(call("zip32j.so", "Zip", "-u -9 " + Q + (s / "w/link.zip") + Q + " " + Q + (s / "w/") + Q + " " + Q + "b.txt" + Q), 0);
    struct stat st {};
    ASSERT_EQ(::lstat((s / "w/link.zip").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(call("unzip32.so", "UnZip", "-x -o -q " + Q + (s / "w/x.zip") + Q + " " + Q + (s / "o/") + Q + " *.*"), 0);
    EXPECT_EQ(tree(s / "o"), (std::map<std::string, std::string>{{"a.txt", "a"}, {"b.txt", "b"}}));
}

// A FIFO, a link to /dev/zero, a folder named like an archive and a 4 GB
// sparse file: every check and extraction of the eight libraries answers at
// once, and nothing is written.
TEST(UserFiles, NoCheckOrExtractionBlocksOrReadsWithoutEnd)
{
    Scratch s;
    std::vector<std::string> hostile;
    for (const std::string ext : {"lzh", "zip", "cab", "arj", "rar", "tar"}) {
        const std::string fifo = s / ("in/fifo." + ext);
        const std::string zero = s / ("in/zero." + ext);
        const std::string dir = s / ("in/dir." + ext);
        const std::string big = s / ("in/big." + ext);
        arc::makeDirs(dir);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
        ASSERT_EQ(::symlink("/dev/zero", zero.c_str()), 0);
        const int fd = ::open(big.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 4LL << 30), 0);
        ::close(fd);
        hostile.insert(hostile.end(), {fifo, zero, dir, big});
    }
    const auto before = names(s);
    struct Lib {
        std::string file, entry, check;
    };
    const std::vector<Lib> libs = {{"unlha32.so", "Unlha", "UnlhaCheckArchive"}, {"unzip32.so", "UnZip", "UnZipCheckArchive"},
                                   {"cab32.so", "Cab", "CabCheckArchive"},       {"tar32.so", "Tar", "TarCheckArchive"},
                                   {"unarj32j.so", "Unarj", ""},                 {"unrar32.so", "Unrar", ""}};
    for (const std::string &h : hostile) {
        for (const Lib &l : libs) {
            SCOPED_TRACE(l.file + " " + h);
            const auto t0 = std::chrono::steady_clock::now();
            int result = 0;
            const pid_t pid = ::fork();
            if (pid == 0) {
                ::alarm(20);
                if (!l.check.empty() && checkArchive(l.file, l.check, h) != 0)
                    ::_exit(1);
                std::string line = extractLine(l.file, h, s / "out");
                if (l.file == "unrar32.so")
                    line = "-x " + Q + h + Q + " " + Q + (s / "out/") + Q;
                ::_exit(call(l.file, l.entry, line) == 0 ? 2 : 0);
            }
            int status = 0;
            ::waitpid(pid, &status, 0);
            result = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            EXPECT_EQ(result, 0);
            // Work done at once takes well under a second; an endless read
            // meets the alarm. The bound leaves room for a loaded machine.
            EXPECT_LT(secs, 10.0);
        }
        // RAR's own entry, and compression naming the file.
        EXPECT_EQ(inChild([&] {
                      ::alarm(20);
                      void *lib = ::dlopen("unrar.so", RTLD_NOW | RTLD_LOCAL);
                      auto fn = lib ? reinterpret_cast<int32_t (*)(const char *, const char *, int32_t)>(::dlsym(lib, "RarExtract"))
                                    : nullptr;
                      return fn && fn(h.c_str(), (s / "out").c_str(), 1) != 0 ? 0 : 1;
                  }),
                  0);
    }
    EXPECT_EQ(names(s), before);
}
