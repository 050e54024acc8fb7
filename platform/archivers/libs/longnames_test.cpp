// Names as long as the file system takes (255 bytes), plain and Japanese:
// every library writes, updates and extracts them with the command lines the
// archive window sends.
#include "testutil_test.h"

#include "fsutil.h"

#include <algorithm>

using namespace arctest;

namespace {

const std::string Q = "\"";

// A name of exactly `bytes` bytes ending in `ext`: Japanese characters of
// three bytes each (or plain letters), padded with 'x'.
std::string nameOf(size_t bytes, bool japanese, const std::string &ext = std::string())
{
    const size_t room = bytes - ext.size();
    std::string out;
    if (japanese)
        for (size_t i = 0; i < room / 3; ++i)
            out += "本";
    out += std::string(room - out.size(), japanese ? 'x' : 'a');
    return out + ext;
}

struct Format {
    const char *label;
    const char *lib;
    const char *entry;
    const char *readLib;
    const char *readEntry;
    std::string ext;
    // The window's lines: one dropped file, one dropped folder, a dropped archive.
    std::string (*file)(const std::string &archive, const std::string &folder, const std::string &name);
    std::string (*folder)(const std::string &archive, const std::string &folder);
    std::string (*extract)(const std::string &archive, const std::string &dest);
};

const Format kFormats[] = {
    {"ZIP", "zip32j.so", "Zip", "unzip32.so", "UnZip", ".zip",
     [](const std::string &a, const std::string &f, const std::string &n) {
         return "-u  -9 " + Q + a + Q + " " + Q + f + "/" + Q + " " + Q + n + Q;
     },
     [](const std::string &a, const std::string &d) { return "-r  -9 " + Q + a + Q + " " + Q + d + "/" + Q + " *.*"; },
     [](const std::string &a, const std::string &d) { return "-x -o -q " + Q + a + Q + " " + Q + d + "/" + Q + " *.*"; }},
    {"TAR", "tar32.so", "Tar", "tar32.so", "Tar", ".tar",
     [](const std::string &a, const std::string &f, const std::string &n) {
         return "-cv  -f " + Q + a + Q + " " + Q + f + "/" + Q + " " + Q + n + Q;
     },
     [](const std::string &a, const std::string &d) { return "-cv  -f " + Q + a + Q + " " + Q + d + "/" + Q + " *.*"; },
     [](const std::string &a, const std::string &d) { return "-xvf " + Q + a + Q + " -o " + Q + d + "/" + Q + " *.*"; }},
    {"TGZ", "tar32.so", "Tar", "tar32.so", "Tar", ".tgz",
     [](const std::string &a, const std::string &f, const std::string &n) {
         return "-cv -z6 -f " + Q + a + Q + " " + Q + f + "/" + Q + " " + Q + n + Q;
     },
     [](const std::string &a, const std::string &d) { return "-cv -z6 -f " + Q + a + Q + " " + Q + d + "/" + Q + " *.*"; },
     [](const std::string &a, const std::string &d) { return "-xvf " + Q + a + Q + " -o " + Q + d + "/" + Q + " *.*"; }},
    {"LZH", "unlha32.so", "Unlha", "unlha32.so", "Unlha", ".lzh",
     [](const std::string &a, const std::string &f, const std::string &n) {
         return "a -y1 -h2 -jm2 " + Q + a + Q + " " + Q + f + "/" + n + Q;
     },
     [](const std::string &a, const std::string &d) {
         return "a -d1 -y1 -h2 -jm2 " + Q + a + Q + " " + Q + d + "/" + Q + " *.*";
     },
     [](const std::string &a, const std::string &d) { return "x -d1 -y1 " + Q + a + Q + " " + Q + d + "/" + Q + " *.*"; }},
    {"CAB", "cab32.so", "Cab", "cab32.so", "Cab", ".cab",
     [](const std::string &a, const std::string &f, const std::string &n) {
         return "-a -r " + Q + a + Q + " " + Q + f + "/" + n + Q;
     },
     [](const std::string &a, const std::string &d) { return "-a -r " + Q + a + Q + " " + Q + d + "/" + Q + " *.*"; },
     [](const std::string &a, const std::string &d) { return "-x -o " + Q + a + Q + " " + Q + d + "/" + Q + " *.*"; }},
};

// Nothing but the named entries in a folder (no leftovers of ours beside them).
std::vector<std::string> namesIn(const std::string &dir)
{
    std::vector<std::string> out;
    for (const auto &[name, data] : tree(dir))
        if (name.find('/') == std::string::npos)
            out.push_back(name);
    return out;
}

std::vector<std::string> sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

} // namespace

// A dropped file whose archive name is 255 bytes: created, updated with a
// second file, then extracted into a folder of 251 bytes.
TEST(LongNames, ArchivesOfTheLongestNamesAreWrittenUpdatedAndExtracted)
{
    for (const Format &f : kFormats) {
        for (const bool japanese : {false, true}) {
            SCOPED_TRACE(std::string(f.label) + (japanese ? " Japanese" : " plain"));
            Scratch s;
            const std::string stem = nameOf(251, japanese);
            const std::string file = stem + ".txt";
            const std::string second = nameOf(255, !japanese, ".dat");
            writeFile(s / ("w/" + file), "first");
            writeFile(s / ("w/" + second), "second");
            const std::string archive = s / ("w/" + stem + f.ext);
            ASSERT_EQ(call(f.lib, f.entry, f.file(archive, s / "w", file)), 0);
            // ZIP, LZH and CAB add to the archive; TAR writes it anew.
            ASSERT_EQ(call(f.lib, f.entry, f.file(archive, s / "w", second)), 0);
            EXPECT_EQ(namesIn(s / "w"), sorted({second, stem + f.ext, file}));
            ASSERT_EQ(call(f.readLib, f.readEntry, f.extract(archive, s / ("w/" + stem))), 0);
            const std::string out = s / ("w/" + stem);
            EXPECT_EQ(readFile(out + "/" + second), "second");
            if (f.ext != ".tar" && f.ext != ".tgz") {
                EXPECT_EQ(readFile(out + "/" + file), "first");
            }
            EXPECT_EQ(namesIn(s / "w").size(), 4u);
        }
    }
}

// A dropped folder of 251 bytes holding names of 255 bytes: its archive is
// named 255 bytes, and extraction puts every name back.
TEST(LongNames, FoldersWithTheLongestNamesRoundTrip)
{
    for (const Format &f : kFormats) {
        SCOPED_TRACE(f.label);
        Scratch s;
        const std::string folder = nameOf(251, true);
        const std::string inner = nameOf(255, true, ".txt");
        const std::string plain = nameOf(255, false);
        writeFile(s / ("w/" + folder + "/" + inner), "本文");
        writeFile(s / ("w/" + folder + "/sub/" + plain), "plain");
        const auto want = tree(s / ("w/" + folder));
        const std::string archive = s / ("w/" + folder + f.ext);
        ASSERT_EQ(call(f.lib, f.entry, f.folder(archive, s / ("w/" + folder))), 0);
        arc::removeTree(s / ("w/" + folder));
        ASSERT_EQ(call(f.readLib, f.readEntry, f.extract(archive, s / ("w/" + folder))), 0);
        EXPECT_EQ(tree(s / ("w/" + folder)), want);
        EXPECT_EQ(namesIn(s / "w"), sorted({folder, folder + f.ext}));
    }
}
