// Each library through its entry points: what we write, other programs read,
// and what other programs write, we read.
#include "testutil_test.h"

#include "cmdline.h"
#include "fsutil.h"
#include "lzh_encode.h"

#include <random>

using namespace arctest;

namespace {

const std::string Q = "\"";

std::map<std::string, std::string> withoutDirs(std::map<std::string, std::string> t)
{
    for (auto it = t.begin(); it != t.end();)
        it = it->second == "<dir>" ? t.erase(it) : std::next(it);
    return t;
}

} // namespace

TEST(CommandLine, QuotesJoinAndNeverMakeSwitches)
{
    const auto t = arc::tokenize("x -d1 \"/d/my pack.lzh\" \"/d/pack\"/ *.* \"-y\" @\"/l/rp.lst\"");
    ASSERT_EQ(t.size(), 7u);
    EXPECT_EQ(t[2].text, "/d/my pack.lzh");
    EXPECT_EQ(t[3].text, "/d/pack/");
    EXPECT_EQ(t[4].text, "*.*");
    const auto cmd = arc::parse("x -d1 \"-y1\" \"/a.lzh\" \"/d/\"", true);
    EXPECT_EQ(cmd.verb, "x");
    EXPECT_EQ(cmd.switches, std::vector<std::string>{"-d1"});
    EXPECT_EQ(cmd.args, (std::vector<std::string>{"-y1", "/a.lzh", "/d/"}));
}

TEST(CommandLine, ListFileLinesJoinTheArguments)
{
    Scratch s;
    writeFile(s / "rp.lst", "\"/w/\" \"my dir\" -d1 \r\n\"/w/\" \"a b.txt\" -d0 \r\n");
    const auto cmd = arc::parse("a -y1 \"/w/x.lzh\" @\"" + (s / "rp.lst") + "\"", true);
    EXPECT_EQ(cmd.args, (std::vector<std::string>{"/w/x.lzh", "/w/", "my dir", "/w/", "a b.txt"}));
    EXPECT_FALSE(cmd.listError);
    EXPECT_TRUE(arc::parse("a \"/x.lzh\" @/missing/list", true).listError);
}

TEST(Lzh, EveryMethodAndHeaderRoundTripsThroughLibarchiveAndLhasa)
{
    Scratch s;
    makeSampleTree(s / "src");
    const auto want = withoutDirs(tree(s / "src"));
    int n = 0;
    for (const std::string h : {"-h0 ", "-h1 ", "-h2 "}) {
        for (const std::string m : {"-jm0 ", "-jm2 ", "-jm3 ", "-jm4 ", "-jma "}) {
            SCOPED_TRACE(h + m);
            const std::string arcPath = s / ("a" + std::to_string(n) + ".lzh");
            const std::string out = s / ("out" + std::to_string(n));
            ++n;
            ASSERT_EQ(call("unlha32.so", "Unlha",
                           "a -d1 -y1 " + h + m + Q + arcPath + Q + " " + Q + (s / "src") + "/" + Q + " *.*"),
                      0);
            if (m == "-jma ") { // Auto: -lh7-, but the incompressible file is stored
                EXPECT_NE(readFile(arcPath).find("-lh7-"), std::string::npos);
                EXPECT_NE(readFile(arcPath).find("-lh0-"), std::string::npos);
            }
            ASSERT_EQ(call("unlha32.so", "Unlha", "x -d1 -y1 " + Q + arcPath + Q + " " + Q + out + Q + "/ *.*"), 0);
            EXPECT_EQ(withoutDirs(tree(out)), want);
            if (haveProgram("lhasa")) {
                const std::string other = s / ("lhasa" + std::to_string(n));
                arc::makeDirs(other);
                ASSERT_EQ(runProgram({"lhasa", "xq", arcPath}, other), 0);
                // lhasa writes the CP932 name's bytes as they are.
                auto got = withoutDirs(tree(other));
                EXPECT_EQ(got.size(), want.size());
                EXPECT_EQ(got["text.txt"], want.at("text.txt"));
                EXPECT_EQ(got["noise.bin"], want.at("noise.bin"));
            }
        }
    }
}

TEST(Lzh, EncoderHandlesRunsSingleSymbolsAndLongInput)
{
    // A block with one symbol only, long runs and a window-sized repeat.
    Scratch s;
    std::mt19937 rng(3);
    std::string chunk(9000, '\0');
    for (char &c : chunk)
        c = static_cast<char>('a' + rng() % 4);
    writeFile(s / "src/one.txt", std::string(200000, 'z'));
    writeFile(s / "src/repeat.txt", chunk + chunk + chunk);
    writeFile(s / "src/x.txt", "x");
    for (const std::string m : {"-jm2 ", "-jm4 "}) {
        const std::string arcPath = s / ("r" + m.substr(3, 1) + ".lzh");
        ASSERT_EQ(call("unlha32.so", "Unlha", "a -d1 -y1 -h2 " + m + Q + arcPath + Q + " " + Q + (s / "src") + "/" + Q + " *.*"), 0);
        const std::string out = s / ("o" + m.substr(3, 1));
        ASSERT_EQ(call("unlha32.so", "Unlha", "x " + Q + arcPath + Q + " " + Q + out + "/" + Q), 0);
        EXPECT_EQ(tree(out), tree(s / "src"));
    }
}

TEST(Lzh, NamesCp932CannotHoldMakeTheArchiveUtf8AndReadBack)
{
    Scratch s;
    writeFile(s / "src/é😀.txt", "utf");
    writeFile(s / "src/日本/名前.txt", "jp");
    for (const std::string h : {"-h0 ", "-h1 ", "-h2 "}) {
        SCOPED_TRACE(h);
        const std::string a = s / ("u" + h.substr(2, 1) + ".lzh");
        ASSERT_EQ(call("unlha32.so", "Unlha", "a -y1 " + h + "-jm2 " + Q + a + Q + " " + Q + (s / "src") + "/" + Q + " *.*"), 0);
        EXPECT_NE(readFile(a).find("名前"), std::string::npos) << "stored as UTF-8";
        EXPECT_EQ(checkArchive("unlha32.so", "UnlhaCheckArchive", a), 1);
        const std::string out = s / ("o" + h.substr(2, 1));
        ASSERT_EQ(call("unlha32.so", "Unlha", "x " + Q + a + Q + " " + Q + out + "/" + Q), 0);
        EXPECT_EQ(withoutDirs(tree(out)), withoutDirs(tree(s / "src")));
    }
}

TEST(Lzh, FirstLevelOneMethodAndThirdHeaderAreRefused)
{
    Scratch s;
    writeFile(s / "a.txt", "abc");
    EXPECT_NE(call("unlha32.so", "Unlha", "a -y1 -h2 -jm1 " + Q + (s / "a.lzh") + Q + " " + Q + (s / "a.txt") + Q), 0);
    EXPECT_NE(call("unlha32.so", "Unlha", "a -y1 -h3 -jm2 " + Q + (s / "a.lzh") + Q + " " + Q + (s / "a.txt") + Q), 0);
    EXPECT_FALSE(exists(s / "a.lzh"));
}

TEST(Lzh, AddingKeepsTheOldEntriesAndAListNamesFoldersWhole)
{
    Scratch s;
    writeFile(s / "w/first.txt", "one");
    writeFile(s / "w/my.dir/in.txt", "two");
    writeFile(s / "w/a b.txt", "three");
    const std::string a = s / "w/first.lzh";
    ASSERT_EQ(call("unlha32.so", "Unlha", "a -y1 -h2 -jm2 " + Q + a + Q + " " + Q + (s / "w/first.txt") + Q), 0);
    writeFile(s / "rp.lst", Q + (s / "w/") + Q + " " + Q + "my.dir" + Q + " -d1 \r\n" + Q + (s / "w/") + Q + " " + Q +
                                 "a b.txt" + Q + " -d0 \r\n");
    ASSERT_EQ(call("unlha32.so", "Unlha", "u -y1 -h2 -jm2 " + Q + a + Q + " @" + Q + (s / "rp.lst") + Q), 0);
    ASSERT_EQ(call("unlha32.so", "Unlha", "x -d1 -y1 " + Q + a + Q + " " + Q + (s / "out") + Q + "/ *.*"), 0);
    EXPECT_EQ(withoutDirs(tree(s / "out")),
              (std::map<std::string, std::string>{{"first.txt", "one"}, {"my.dir/in.txt", "two"}, {"a b.txt", "three"}}));
}

TEST(Zip, RoundTripReadByUnzipAndCp932NamesDecoded)
{
    Scratch s;
    makeSampleTree(s / "src");
    const std::string a = s / "src.zip";
    ASSERT_EQ(call("zip32j.so", "Zip", "-r  -9 " + Q + a + Q + " " + Q + (s / "src") + "/" + Q + " *.*"), 0);
    EXPECT_EQ(checkArchive("unzip32.so", "UnZipCheckArchive", a), 1);
    EXPECT_EQ(checkArchive("unzip32.so", "UnZipCheckArchive", s / "src/text.txt"), 0);
    ASSERT_EQ(call("unzip32.so", "UnZip", "-x -o -q " + Q + a + Q + " " + Q + (s / "out") + "/" + Q + " *.*"), 0);
    EXPECT_EQ(withoutDirs(tree(s / "out")), withoutDirs(tree(s / "src")));
    if (haveProgram("unzip")) {
        arc::makeDirs(s / "unz");
        EXPECT_EQ(runProgram({"unzip", "-q", a, "-d", s / "unz"}), 0);
        EXPECT_EQ(readFile(s / "unz/noise.bin"), readFile(s / "src/noise.bin"));
    }
    if (haveProgram("bsdtar")) {
        arc::makeDirs(s / "bsd");
        EXPECT_EQ(runProgram({"bsdtar", "-xf", a, "-C", s / "bsd"}), 0);
        EXPECT_EQ(withoutDirs(tree(s / "bsd")), withoutDirs(tree(s / "src")));
    }
    // A name in CP932 without the UTF-8 mark.
    std::string sjis;
    ASSERT_TRUE(arc::utf8ToCp932("表示.txt", sjis));
    writeZipEntries(s / "sjis.zip", {{"表示.txt", "data"}}, "CP932");
    ASSERT_NE(readFile(s / "sjis.zip").find(sjis), std::string::npos);
    ASSERT_EQ(call("unzip32.so", "UnZip", "-x -o -q " + Q + (s / "sjis.zip") + Q + " " + Q + (s / "sj") + "/" + Q + " *.*"), 0);
    EXPECT_EQ(readFile(s / "sj/表示.txt"), "data");
    // Info-ZIP on Linux stores UTF-8 names without the mark.
    if (haveProgram("zip")) {
        ASSERT_EQ(runProgram({"zip", "-q", "-r", s / "info.zip", "sub"}, s / "src"), 0);
        ASSERT_EQ(call("unzip32.so", "UnZip", "-x -o -q " + Q + (s / "info.zip") + Q + " " + Q + (s / "iz") + "/" + Q + " *.*"), 0);
        EXPECT_EQ(readFile(s / "iz/sub/deeper/日本語の名前.txt"), "にほんご\n");
    }
}

TEST(Zip, LevelZeroStoresAndAnUpdateFailureKeepsTheArchive)
{
    Scratch s;
    writeFile(s / "w/a.txt", std::string(5000, 'a'));
    const std::string a = s / "w/a.zip";
    ASSERT_EQ(call("zip32j.so", "Zip", "-u  -0 " + Q + a + Q + " " + Q + (s / "w/") + Q + " " + Q + "a.txt" + Q), 0);
    EXPECT_GT(readFile(a).size(), 5000u);
    const std::string before = readFile(a);
    EXPECT_NE(call("zip32j.so", "Zip", "-u  -9 " + Q + a + Q + " " + Q + (s / "w/") + Q + " " + Q + "gone.txt" + Q), 0);
    EXPECT_EQ(readFile(a), before);
    writeFile(s / "w/b.txt", "bee");
    ASSERT_EQ(call("zip32j.so", "Zip", "-u  -9 " + Q + a + Q + " " + Q + (s / "w/") + Q + " " + Q + "b.txt" + Q), 0);
    ASSERT_EQ(call("unzip32.so", "UnZip", "-x -o -q " + Q + a + Q + " " + Q + (s / "o") + "/" + Q + " *.*"), 0);
    EXPECT_EQ(tree(s / "o"), (std::map<std::string, std::string>{{"a.txt", std::string(5000, 'a')}, {"b.txt", "bee"}}));
}

TEST(Cab, OursReadByCabextractAndGcabsReadByUs)
{
    Scratch s;
    makeSampleTree(s / "src");
    const std::string a = s / "src.cab";
    ASSERT_EQ(call("cab32.so", "Cab", "-a -r " + Q + a + Q + " " + Q + (s / "src") + "/" + Q + " *.*"), 0);
    EXPECT_EQ(checkArchive("cab32.so", "CabCheckArchive", a), 1);
    ASSERT_EQ(call("cab32.so", "Cab", "-x -o -q " + Q + a + Q + " " + Q + (s / "out") + "/" + Q + " *.*"), 0);
    EXPECT_EQ(withoutDirs(tree(s / "out")), withoutDirs(tree(s / "src")));
    if (haveProgram("cabextract")) {
        arc::makeDirs(s / "ce");
        EXPECT_EQ(runProgram({"cabextract", "-q", "-d", s / "ce", a}), 0);
        EXPECT_EQ(readFile(s / "ce/sub/inner.txt"), "inner file\n");
    }
    if (haveProgram("gcab")) {
        ASSERT_EQ(runProgram({"gcab", "-c", "-z", s / "g.cab", "text.txt", "sub/inner.txt"}, s / "src"), 0);
        ASSERT_EQ(call("cab32.so", "Cab", "-x -o " + Q + (s / "g.cab") + Q + " " + Q + (s / "gout") + "/" + Q + " *.*"), 0);
        EXPECT_EQ(readFile(s / "gout/sub/inner.txt"), "inner file\n");
    }
}

TEST(Tar, PlainGzipAndBzipRoundTripAndTarReadsThem)
{
    Scratch s;
    makeSampleTree(s / "src");
    for (const std::string sw : {"", "-z9", "-z0", "-B9", "-B0"}) {
        SCOPED_TRACE(sw);
        const std::string a = s / ("t" + sw + ".tar");
        ASSERT_EQ(call("tar32.so", "Tar", "-cv " + sw + " -f " + Q + a + Q + " " + Q + (s / "src") + "/" + Q + " *.*"), 0);
        EXPECT_EQ(checkArchive("tar32.so", "TarCheckArchive", a), 1);
        const std::string out = s / ("o" + sw);
        ASSERT_EQ(call("tar32.so", "Tar", "-xvf " + Q + a + Q + " -o " + Q + out + Q), 0);
        EXPECT_EQ(tree(out), tree(s / "src"));
        const std::string t = s / ("gnu" + sw);
        arc::makeDirs(t);
        EXPECT_EQ(runProgram({"tar", "-xf", a, "-C", t}), 0);
        EXPECT_EQ(tree(t), tree(s / "src"));
        if (haveProgram("bsdtar")) {
            const std::string b = s / ("bsd" + sw);
            arc::makeDirs(b);
            EXPECT_EQ(runProgram({"bsdtar", "-xf", a, "-C", b}), 0);
            EXPECT_EQ(tree(b), tree(s / "src"));
        }
    }
}

TEST(Arj, ArchivesOfTheArjProgramExtract)
{
    if (!haveProgram("arj"))
        GTEST_SKIP() << "arj is not installed";
    Scratch s;
    writeFile(s / "src/a.txt", "alpha");
    writeFile(s / "src/sub/b.txt", "beta");
    // A name that begins with a dot makes `arj` loop unless -jf is given.
    writeFile(s / "src/.dot", "dot");
    ASSERT_EQ(runProgram({"timeout", "60", "arj", "a", "-r", "-y", "-jf", s / "t.arj", "a.txt", "sub", ".dot"}, s / "src"), 0);
    ASSERT_EQ(call("unarj32j.so", "Unarj", "x " + Q + (s / "t.arj") + Q + " " + Q + (s / "out") + "/" + Q + " *.*"), 0);
    EXPECT_EQ(withoutDirs(tree(s / "out")),
              (std::map<std::string, std::string>{{"a.txt", "alpha"}, {"sub/b.txt", "beta"}, {".dot", "dot"}}));
}

TEST(Crc16, MatchesTheKnownCheckValue)
{
    const std::string v = "123456789";
    EXPECT_EQ(arc::lzhCrc16(reinterpret_cast<const uint8_t *>(v.data()), v.size()), 0xBB3D);
}
