// Extraction never escapes its folder, and a failed one leaves nothing behind.
#include "testutil_test.h"

#include "fsutil.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

using namespace arctest;

namespace {

const std::string Q = "\"";

int untar(const std::string &archive, const std::string &dest)
{
    return call("tar32.so", "Tar", "-xvf " + Q + archive + Q + " -o " + Q + dest + Q);
}

// Nothing but the archive itself is left in the folder.
void expectOnlyArchive(const Scratch &s, const std::string &archiveName)
{
    const auto t = tree(s.path());
    ASSERT_EQ(t.size(), 1u) << t.begin()->first << " ... " << t.rbegin()->first;
    EXPECT_EQ(t.begin()->first, archiveName);
}

void put16(std::string &s, size_t at, uint32_t v)
{
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8);
}
void add16(std::string &s, uint32_t v) { s.append(2, '\0'); put16(s, s.size() - 2, v); }
void add32(std::string &s, uint32_t v) { add16(s, v & 0xFFFF); add16(s, v >> 16); }

uint32_t crc(const std::string &s, size_t from = 0, size_t n = std::string::npos)
{
    const std::string part = s.substr(from, n);
    return static_cast<uint32_t>(::crc32(0, reinterpret_cast<const Bytef *>(part.data()), static_cast<uInt>(part.size())));
}

// A RAR 4 archive of stored entries, laid out by hand.
std::string storedRar(const std::vector<std::pair<std::string, std::string>> &entries, bool breakData = false)
{
    std::string r = std::string("Rar!\x1a\x07\x00", 7);
    std::string main;
    add16(main, 0);
    main += '\x73';
    add16(main, 0);
    add16(main, 13);
    add16(main, 0);
    add32(main, 0);
    put16(main, 0, crc(main, 2) & 0xFFFF);
    r += main;
    for (const auto &[name, data] : entries) {
        std::string h;
        add16(h, 0);
        h += '\x74';
        add16(h, 0x8000);
        add16(h, static_cast<uint32_t>(32 + name.size()));
        add32(h, static_cast<uint32_t>(data.size()));
        add32(h, static_cast<uint32_t>(data.size()));
        h += '\x02';
        add32(h, crc(data));
        add32(h, (45u << 25) | (1u << 21) | (1u << 16));
        h += '\x14';
        h += '\x30';
        add16(h, static_cast<uint32_t>(name.size()));
        add32(h, 0x20);
        h += name;
        put16(h, 0, crc(h, 2) & 0xFFFF);
        r += h;
        std::string d = data;
        if (breakData && !d.empty())
            d[0] ^= 0x55;
        r += d;
    }
    std::string end;
    add16(end, 0);
    end += '\x7b';
    add16(end, 0x4000);
    add16(end, 7);
    put16(end, 0, crc(end, 2) & 0xFFFF);
    return r + end;
}

} // namespace

TEST(Escape, ParentAbsoluteAndBackslashNamesAreRefused)
{
    for (const std::string bad : {"../evil.txt", "a/../../evil.txt", "/tmp/vxarc-abs-evil.txt", "..\\evil.txt", "C:evil"}) {
        SCOPED_TRACE(bad);
        Scratch s;
        writeZipEntries(s / "bad.zip", {{"good.txt", "fine"}, {bad, "evil"}}, "UTF-8");
        EXPECT_NE(call("unzip32.so", "UnZip", "-x -o -q " + Q + (s / "bad.zip") + Q + " " + Q + (s / "d/out") + "/" + Q + " *.*"), 0);
        EXPECT_FALSE(exists("/tmp/vxarc-abs-evil.txt"));
        EXPECT_FALSE(exists(s / "d/out"));
        // Neither the file nor a staging folder is left beside the destination.
        EXPECT_EQ(tree(s / "d").size(), 0u);
    }
}

TEST(Escape, LinksLeadingOutAndWritesThroughLinksAreRefused)
{
    const std::vector<std::vector<RawEntry>> sets = {
        {{"l", "", AE_IFLNK, 0777, "../../outside"}},
        {{"l", "", AE_IFLNK, 0777, "/etc"}},
        {{"sub/", "", AE_IFDIR, 0755}, {"l", "", AE_IFLNK, 0777, "sub"}, {"l/x.txt", "through"}},
        {{"h", "", AE_IFREG, 0644, "", "/etc/passwd"}},
        {{"h", "", AE_IFREG, 0644, "", "../outside"}},
        {{"dev", "", AE_IFCHR, 0644}},
        {{"fifo", "", AE_IFIFO, 0644}},
    };
    for (size_t i = 0; i < sets.size(); ++i) {
        SCOPED_TRACE(i);
        Scratch s;
        writeTarEntries(s / "m.tar", sets[i]);
        EXPECT_NE(untar(s / "m.tar", s / "out"), 0);
        expectOnlyArchive(s, "m.tar");
    }
}

TEST(Escape, InsideLinksStaySetIdBitsGoAndOddNamesAreFiles)
{
    Scratch s;
    writeTarEntries(s / "ok.tar", {{"a.txt", "A"},
                                   {"link", "", AE_IFLNK, 0777, "a.txt"},
                                   {"hard", "", AE_IFREG, 0644, "", "a.txt"},
                                   {"suid", "x", AE_IFREG, 04755},
                                   {"q\"uote", "q"},
                                   {"line\nbreak", "n"}});
    ASSERT_EQ(untar(s / "ok.tar", s / "out"), 0);
    EXPECT_EQ(readFile(s / "out/link"), "A");
    EXPECT_EQ(readFile(s / "out/hard"), "A");
    struct stat st {};
    ASSERT_EQ(::stat((s / "out/suid").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0755u);
    EXPECT_EQ(readFile(s / "out/q\"uote"), "q");
    EXPECT_EQ(readFile(s / "out/line\nbreak"), "n");
}

TEST(Damage, TruncatedArchivesAndUnwritableFoldersLeaveNothing)
{
    Scratch s;
    std::string big;
    for (int i = 0; i < 20000; ++i)
        big += std::to_string(i * 7919) + ",";
    writeZipEntries(s / "full.zip", {{"a.txt", big}, {"b.txt", big}}, "UTF-8");
    const std::string whole = readFile(s / "full.zip");
    writeFile(s / "cut.zip", whole.substr(0, whole.size() * 2 / 3));
    ::unlink((s / "full.zip").c_str());
    EXPECT_NE(call("unzip32.so", "UnZip", "-x -o -q " + Q + (s / "cut.zip") + Q + " " + Q + (s / "out") + "/" + Q + " *.*"), 0);
    expectOnlyArchive(s, "cut.zip");
    // A destination below a file cannot be made.
    writeZipEntries(s / "ok.zip", {{"a.txt", "a"}}, "UTF-8");
    EXPECT_NE(call("unzip32.so", "UnZip", "-x -o -q " + Q + (s / "ok.zip") + Q + " " + Q + (s / "cut.zip/x") + "/" + Q), 0);
    EXPECT_NE(call("unzip32.so", "UnZip", "-x -o -q " + Q + (s / "missing.zip") + Q + " " + Q + (s / "o") + "/" + Q), 0);
    EXPECT_FALSE(exists(s / "o"));
}

TEST(Rar, StoredEntriesWithCp932NamesAndTheirCrcsAreChecked)
{
    Scratch s;
    std::string hyou; // "表" ends in the byte 0x5C
    ASSERT_TRUE(arc::utf8ToCp932("表.txt", hyou));
    ASSERT_NE(hyou.find('\\'), std::string::npos);
    writeFile(s / "a.rar", storedRar({{hyou, "table"}, {"dir\\b.txt", "bee"}}));
    ASSERT_EQ(call("unrar32.so", "Unrar", "-x " + Q + (s / "a.rar") + Q + " " + Q + (s / "out/") + Q), 0);
    EXPECT_EQ(readFile(s / "out/表.txt"), "table");
    EXPECT_EQ(readFile(s / "out/dir/b.txt"), "bee");
    ASSERT_EQ(call("unrar32.so", "Unrar", "e " + Q + (s / "a.rar") + Q + " " + Q + (s / "flat") + Q + "/ *.*"), 0);
    EXPECT_EQ(readFile(s / "flat/b.txt"), "bee");

    writeFile(s / "bad.rar", storedRar({{"a.txt", "good data"}}, true));
    EXPECT_NE(call("unrar32.so", "Unrar", "-x " + Q + (s / "bad.rar") + Q + " " + Q + (s / "bad/") + Q), 0);
    EXPECT_FALSE(exists(s / "bad"));
    writeFile(s / "evil.rar", storedRar({{"..\\evil.txt", "x"}}));
    EXPECT_NE(call("unrar32.so", "Unrar", "-x " + Q + (s / "evil.rar") + Q + " " + Q + (s / "e/") + Q), 0);
    EXPECT_FALSE(exists(s / "evil.txt"));
}

TEST(Arj, AnUnsafeNameRefusesTheWholeArchive)
{
    if (!haveProgram("arj"))
        GTEST_SKIP() << "arj is not installed";
    Scratch s;
    writeFile(s / "src/abcdefghijklmnop", "evil");
    writeFile(s / "src/ok.txt", "ok");
    ASSERT_EQ(runProgram({"arj", "a", "-y", s / "t.arj", "ok.txt", "abcdefghijklmnop"}, s / "src"), 0);
    std::string a = readFile(s / "t.arj");
    const auto at = a.find("abcdefghijklmnop");
    ASSERT_NE(at, std::string::npos);
    a.replace(at, 16, "a/../../evil.txt");
    // Mend the header's CRC: it follows the header, whose size precedes it.
    size_t start = a.rfind(std::string("\x60\xEA", 2), at);
    ASSERT_NE(start, std::string::npos);
    const uint32_t size = static_cast<uint8_t>(a[start + 2]) | (static_cast<uint8_t>(a[start + 3]) << 8);
    const uint32_t c = crc(a, start + 4, size);
    for (int k = 0; k < 4; ++k)
        a[start + 4 + size + k] = static_cast<char>(c >> (8 * k));
    writeFile(s / "t.arj", a);
    arc::removeTree(s / "src");
    EXPECT_NE(call("unarj32j.so", "Unarj", "x " + Q + (s / "t.arj") + Q + " " + Q + (s / "in/out") + "/" + Q + " *.*"), 0);
    EXPECT_FALSE(exists(s / "evil.txt"));
    EXPECT_FALSE(exists(s.path() + "/../evil.txt"));
    EXPECT_FALSE(exists(s / "in/out"));
}

TEST(Rar, ALaterEntryOfTheSameNameReplacesTheFirst)
{
    Scratch s;
    writeFile(s / "d.rar", storedRar({{"a.txt", "one"}, {"a.txt", "two"}, {"b.txt", "bee"}}));
    ASSERT_EQ(call("unrar32.so", "Unrar", "-x " + Q + (s / "d.rar") + Q + " " + Q + (s / "out/") + Q), 0);
    EXPECT_EQ(readFile(s / "out/a.txt"), "two");
    EXPECT_EQ(readFile(s / "out/b.txt"), "bee");
    // A damaged header is no archive.
    std::string bad = storedRar({{"a.txt", "one"}});
    bad[7 + 13 + 30] ^= 1;
    writeFile(s / "h.rar", bad);
    EXPECT_NE(call("unrar32.so", "Unrar", "-x " + Q + (s / "h.rar") + Q + " " + Q + (s / "h/") + Q), 0);
    EXPECT_FALSE(exists(s / "h"));
}

// RAR and ARJ archives named 255 bytes extract into folders of 251 bytes, as
// the window's drop boxes ask.
TEST(LongNames, RarAndArjExtractIntoFoldersOfTheLongestNames)
{
    Scratch s;
    std::string stem;
    for (int i = 0; i < 83; ++i)
        stem += "本";
    stem += "xx"; // 251 bytes
    writeFile(s / (stem + ".rar"), storedRar({{"a.txt", "rar"}}));
    ASSERT_EQ(call("unrar32.so", "Unrar", "-x " + Q + (s / (stem + ".rar")) + Q + " " + Q + (s / stem) + "/" + Q), 0);
    EXPECT_EQ(readFile(s / (stem + "/a.txt")), "rar");
    if (!haveProgram("arj"))
        GTEST_SKIP() << "arj is not installed";
    writeFile(s / "src/b.txt", "arj");
    ASSERT_EQ(runProgram({"timeout", "60", "arj", "a", "-y", s / "t.arj", "b.txt"}, s / "src"), 0);
    ASSERT_EQ(::rename((s / "t.arj").c_str(), (s / (stem + ".arj")).c_str()), 0);
    ASSERT_EQ(call("unarj32j.so", "Unarj", "x " + Q + (s / (stem + ".arj")) + Q + " " + Q + (s / stem) + "/" + Q + " *.*"), 0);
    EXPECT_EQ(readFile(s / (stem + "/b.txt")), "arj");
}
