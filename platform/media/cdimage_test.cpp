// The real device layer: CUE/BIN images the tests write, played to the null
// sink in real time; the drive path where there is no drive; the door ioctls
// on a plain file.
#include "cdaudio.h"
#include "cdimages_test.h"
#include "cuesheet.h"
#include "mci.h"

#include "testing/mediacommands.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace vx;

namespace {

class CdImageTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        saved_ = qgetenv(cd::kDeviceVariable);
        setMediaCommandDriver(makeMediaCommandInterpreter());
    }
    void TearDown() override
    {
        setMediaCommandDriver(nullptr);
        if (saved_.isNull())
            qunsetenv(cd::kDeviceVariable);
        else
            qputenv(cd::kDeviceVariable, saved_);
        GuiTest::TearDown();
    }
    QString path(const char *name) const { return dir_.filePath(QString::fromUtf8(name)); }
    // Points the device at `cue` and opens it.
    static int openAt(const QString &cue)
    {
        qputenv(cd::kDeviceVariable, QFile::encodeName(cue));
        return mciSendString(QStringLiteral("open cdaudio alias cd wait shareable"));
    }
    static QString ask(const char *command) { return vxtest::mciAsk(QString::fromUtf8(command)); }
    static int send(const char *command) { return mciSendString(QString::fromUtf8(command)); }

private:
    QTemporaryDir dir_;
    QByteArray saved_;
};

TEST_F(CdImageTest, ThreeTrackImageReadsPlaysPausesSeeksAndSkips)
{
    // 1 s, 2 s and 1.5 s.
    ASSERT_TRUE(cdtest::writeImage(path("three.cue"), {{75}, {150}, {112}}));
    ASSERT_EQ(openAt(path("three.cue")), 0);
    ASSERT_EQ(send("set cd time format tmsf wait"), 0);
    EXPECT_EQ(ask("status cd media present"), QStringLiteral("true"));
    EXPECT_EQ(ask("status cd number of tracks wait"), QStringLiteral("3"));
    EXPECT_EQ(ask("status cd length wait"), QStringLiteral("00:04:37"));
    EXPECT_EQ(ask("status cd length track 2"), QStringLiteral("00:02:00"));
    EXPECT_EQ(ask("status cd length track 3"), QStringLiteral("00:01:37"));
    ASSERT_EQ(send("seek cd to 2"), 0);
    EXPECT_EQ(ask("status cd position"), QStringLiteral("02:00:00:00"));

    ASSERT_EQ(send("play cd"), 0);
    ASSERT_TRUE(vxtest::waitUntil([] { return ask("status cd position").mid(9).toInt() >= 20; }))
        << "the position moves while playing";
    ASSERT_EQ(send("pause cd"), 0);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("paused"));
    const QString at = ask("status cd position");
    EXPECT_TRUE(at.startsWith(QLatin1String("02:00:00:"))) << at.toStdString();

    // A skip forward while paused, in milliseconds: lands 1.2 s later, stopped.
    ASSERT_EQ(send("set cd time format milliseconds"), 0);
    const qint64 ms = ask("status cd position wait").toLongLong();
    EXPECT_GE(ms, 1000 + 250);
    ASSERT_EQ(send(QStringLiteral("seek cd to %1").arg(ms + 1200).toUtf8().constData()), 0);
    EXPECT_EQ(ask("status cd position").toLongLong(), (ms + 1200) * 75 / 1000 * 1000 / 75) << "whole frames of 1/75 s";
    EXPECT_EQ(send(QStringLiteral("seek cd to %1").arg(ms + 5000).toUtf8().constData()), mci::OutOfRange);
    ASSERT_EQ(send("set cd time format tmsf"), 0);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("stopped"));

    // Play from the last track to the end of the disc.
    ASSERT_EQ(send("play cd from 3"), 0);
    const qint64 took = vxtest::playToEnd(QStringLiteral("cd"));
    ASSERT_GE(took, 0) << "a track of 1.5 s ends";
    EXPECT_GT(took, 1200) << "in real time";
    EXPECT_EQ(ask("status cd position"), QStringLiteral("03:00:01:37"));
    EXPECT_EQ(send("close cd"), 0);
}

TEST_F(CdImageTest, OneTrackDataFirstAndTruncatedImages)
{
    ASSERT_TRUE(cdtest::writeImage(path("one.cue"), {{75}}));
    ASSERT_EQ(openAt(path("one.cue")), 0);
    EXPECT_EQ(ask("status cd number of tracks"), QStringLiteral("1"));
    EXPECT_EQ(ask("status cd length track 1"), QStringLiteral("00:01:00"));
    ASSERT_EQ(send("close cd"), 0);

    ASSERT_TRUE(cdtest::writeImage(path("data.cue"), {{150, false}, {75}, {75}}));
    ASSERT_EQ(openAt(path("data.cue")), 0);
    EXPECT_EQ(ask("status cd number of tracks"), QStringLiteral("3"));
    ASSERT_EQ(send("play cd from 1"), 0);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("playing"));
    EXPECT_TRUE(ask("status cd position").startsWith(QLatin1String("02:"))) << "music starts at track 2";
    // The program ending mid-disc: the interpreter goes with its devices, at once.
    QElapsedTimer end;
    end.start();
    setMediaCommandDriver(makeMediaCommandInterpreter());
    EXPECT_LT(end.elapsed(), 1000);

    // The BIN ends 20 frames into the last track, mid-sector: play stops there.
    ASSERT_TRUE(cdtest::writeImage(path("cut.cue"), {{75}, {75}}, 55 * cd::kSectorBytes - 100));
    ASSERT_EQ(openAt(path("cut.cue")), 0);
    ASSERT_EQ(send("play cd from 2"), 0);
    EXPECT_GE(vxtest::playToEnd(QStringLiteral("cd")), 0);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("stopped"));
    EXPECT_EQ(ask("status cd position"), QStringLiteral("02:00:00:20")) << "stopped at the last whole sector";
    EXPECT_EQ(send("close cd"), 0);
}

// A sheet whose data file is a FIFO is no disc, at once: the image reader
// never waits on it.
TEST_F(CdImageTest, ASheetNamingAFifoIsNoDisc)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.bin")).constData(), 0600), 0);
    QFile sheet(path("pipe.cue"));
    ASSERT_TRUE(sheet.open(QIODevice::WriteOnly));
    sheet.write("FILE \"pipe.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    sheet.close();
    cd::CdAudioDevice::setCallTimeout(2000);
    ASSERT_EQ(openAt(path("pipe.cue")), 0);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(ask("status cd media present"), QStringLiteral("false"));
    EXPECT_LT(t.elapsed(), 1500);
    EXPECT_EQ(send("close cd"), 0);
    cd::CdAudioDevice::setCallTimeout(5000);
}

TEST_F(CdImageTest, NoDriveAndADoorCommandOnAPlainFileFailWithTheirErrors)
{
    EXPECT_EQ(openAt(path("nothing/here")), mci::NoDrive);
    EXPECT_EQ(openAt(QDir::tempPath()), mci::NoDrive) << "a folder is no drive";
    EXPECT_EQ(send("status cd mode"), mci::NotOpen);
    qunsetenv(cd::kDeviceVariable);
    EXPECT_EQ(cd::devicePath(), QStringLiteral("/dev/cdrom"));
    if (!QFileInfo::exists(QStringLiteral("/dev/cdrom"))) {
        EXPECT_EQ(send("open cdaudio alias cd wait shareable"), mci::NoDrive);
        EXPECT_EQ(mciGetErrorString(mci::NoDrive), QStringLiteral("CDドライブが見つかりません。"));
    }

    ASSERT_TRUE(cdtest::writeImage(path("plain.cue"), {{75}, {75}}));
    ASSERT_EQ(openAt(path("plain.cue")), 0);
    ASSERT_EQ(send("play cd from 1"), 0);
    EXPECT_EQ(send("set cd door open"), mci::NoDoor);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("stopped")) << "playback stops before the door is tried";
    EXPECT_EQ(send("set cd door closed"), mci::NoDoor);
    EXPECT_EQ(mciGetErrorString(mci::NoDoor), QStringLiteral("このデバイスはトレイを開閉できません。"));
    EXPECT_EQ(cd::moveDoor(path("nothing/here"), true), mci::NoDrive);
}

// What a sheet makes, read straight from the image: the FILE lines name the
// data whatever the sheet is called, files follow one another, gaps are
// silence, MOTOROLA data is swapped, and nothing reads past the data.
TEST_F(CdImageTest, TheFileLinesMakeTheDiscSectorBySector)
{
    ASSERT_TRUE(cdtest::writeBytes(path("one part.bin"), cdtest::markedSectors(1, 300, true)));
    ASSERT_TRUE(cdtest::writeBytes(path("part2.bin"), cdtest::markedSectors(2, 200)));
    // A file named as the sheet is, of another size, is not the data.
    ASSERT_TRUE(cdtest::writeBytes(path("Mix.bin"), cdtest::markedSectors(3, 900)));
    const QByteArray sheet = "\xEF\xBB\xBFREM GENRE Pop\r\n"
                             "title \"\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\"\r\n"
                             "file \"one part.bin\" motorola\r\n"
                             "  track 01 audio\r\n"
                             "    index 01 00:00:00\r\n"
                             "  Track 02 Audio\r\n"
                             "    PreGap 00:00:10\r\n"
                             "    Index 01 00:02:00\r\n"
                             "FILE part2.bin BINARY\r\n"
                             "  TRACK 03 AUDIO\r\n"
                             "    INDEX 00 00:00:00\r\n"
                             "    INDEX 01 00:00:50\r\n";
    ASSERT_TRUE(cdtest::writeBytes(path("Mix.cue"), sheet));
    const QStringList before = QDir(path("")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    std::shared_ptr<cd::CdMedium> image;
    ASSERT_EQ(cd::openCueImage(path("Mix.cue"), image), 0);
    cd::Toc toc;
    ASSERT_EQ(image->readToc(toc), 0);
    EXPECT_EQ(toc.tracks, (std::vector<cd::Track>{{0, 160, true}, {160, 360, true}, {360, 510, true}}))
        << "10 sectors of silence before track 2, the second file's pregap ends track 2";
    EXPECT_EQ(toc.refused, 0);
    const auto read = [&](qint32 lsn, int count) {
        QByteArray b(count * cd::kSectorBytes, 'x');
        return image->readAudio(lsn, count, b.data()) == 0 ? cdtest::sectorMarks(b) : std::vector<int>{};
    };
    EXPECT_EQ(read(0, 1), std::vector<int>{1000});
    EXPECT_EQ(read(148, 4), (std::vector<int>{1148, 1149, 0, 0}));
    EXPECT_EQ(read(158, 3), (std::vector<int>{0, 0, 1150}));
    EXPECT_EQ(read(308, 3), (std::vector<int>{1298, 1299, 2000}));
    EXPECT_EQ(read(509, 1), std::vector<int>{2199});
    EXPECT_TRUE(read(509, 2).empty()) << "nothing past the data";

    // The same through the device: three tracks, times from the named data.
    image.reset();
    ASSERT_EQ(openAt(path("Mix.cue")), 0);
    EXPECT_EQ(ask("status cd number of tracks"), QStringLiteral("3"));
    EXPECT_EQ(ask("status cd length"), QStringLiteral("00:06:60"));
    EXPECT_EQ(ask("status cd length track 2"), QStringLiteral("00:02:50"));
    ASSERT_EQ(send("play cd from 2"), 0);
    EXPECT_EQ(ask("status cd mode"), QStringLiteral("playing"));
    const auto holdsData = [&] {
        const auto fds = QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::AllEntries | QDir::System);
        return std::any_of(fds.begin(), fds.end(),
                           [&](const QFileInfo &fd) { return fd.symLinkTarget() == path("part2.bin"); });
    };
    EXPECT_TRUE(holdsData());
    ASSERT_EQ(send("close cd"), 0);
    EXPECT_TRUE(vxtest::waitUntil([&] { return !holdsData(); })) << "the data files are closed with the device";
    EXPECT_EQ(QDir(path("")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before)
        << "nothing is written beside the user's files";
    QFile again(path("Mix.cue"));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), sheet);

    // A sheet in the Japanese code page, its folder written the other system's way.
    ASSERT_TRUE(QDir(path("")).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(cdtest::writeBytes(path("sub/\xE6\xAD\x8C.bin"), cdtest::audioSectors(300)));
    ASSERT_TRUE(cdtest::writeBytes(path("sjis.cue"), "FILE \"sub\\\x89\xCC.bin\" BINARY\n"
                                                     "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                                     "  TRACK 02 AUDIO\n    INDEX 01 00:01:00\n"));
    ASSERT_EQ(openAt(path("sjis.cue")), 0);
    EXPECT_EQ(ask("status cd length track 2"), QStringLiteral("00:03:00"));
    ASSERT_EQ(send("close cd"), 0);
}

// A track that starts past the end of the data is left out, the one before
// ends with the data, and no seek passes it.
TEST_F(CdImageTest, SeeksStopAtTheEndOfTheData)
{
    // 12 s of data; the sheet puts track 3 at ten minutes.
    ASSERT_TRUE(cdtest::writeBytes(path("short.bin"), cdtest::audioSectors(900)));
    ASSERT_TRUE(cdtest::writeBytes(path("short.cue"), "FILE \"short.bin\" BINARY\n"
                                                      "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                                      "  TRACK 02 AUDIO\n    INDEX 01 00:04:00\n"
                                                      "  TRACK 03 AUDIO\n    INDEX 01 10:00:00\n"));
    ASSERT_EQ(openAt(path("short.cue")), 0);
    EXPECT_EQ(send("seek cd to 3"), mci::OutOfRange);
    ASSERT_EQ(send("set cd time format milliseconds"), 0);
    EXPECT_EQ(send("seek cd to 12001"), mci::OutOfRange);
    ASSERT_EQ(send("seek cd to 12000"), 0);
    EXPECT_EQ(ask("status cd position"), QStringLiteral("12000"));
    ASSERT_EQ(send("close cd"), 0);
}

// A FILE line naming something that is not a file of raw sound, or a sheet
// that makes no disc: no disc at once, and every command says why.
TEST_F(CdImageTest, SheetsThatMakeNoDiscSayWhy)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.bin")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(path("")).mkdir(QStringLiteral("folder.bin")));
    ASSERT_TRUE(cdtest::writeBytes(path("ok.bin"), cdtest::audioSectors(150)));
    ASSERT_TRUE(cdtest::writeBytes(path("Twin.bin"), cdtest::audioSectors(75)));
    ASSERT_TRUE(cdtest::writeBytes(path("TWIN.bin"), cdtest::audioSectors(75)));
    const auto sheet = [](const QByteArray &file, const char *rest = "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n") {
        return QByteArray("FILE ") + file + "\n" + rest;
    };
    const struct {
        QByteArray sheet;
        int error;
        const char *text;
    } cases[] = {
        {sheet("\"Album Disc.bin\" BINARY"), mci::CueDataMissing,
         "CUEシートが指すファイル「Album Disc.bin」が見つかりません。"},
        // Two files match but for letter case: neither is taken.
        {sheet("\"twin.BIN\" BINARY"), mci::CueDataMissing, "CUEシートが指すファイル「twin.BIN」が見つかりません。"},
        {sheet("\"PIPE.BIN\" BINARY"), mci::CueDataUnreadable,
         "CUEシートが指す「PIPE.BIN」はふつうのファイルではないため、読めません。"},
        {sheet(QByteArray("\"ok.bin\0x\" BINARY", 17)), mci::BadCueSheet, "CUEシート「s.cue」の1行目を読めません。"},
        {sheet("\"pipe.bin\" BINARY"), mci::CueDataUnreadable,
         "CUEシートが指す「pipe.bin」はふつうのファイルではないため、読めません。"},
        {sheet("\"/dev/zero\" BINARY"), mci::CueDataUnreadable,
         "CUEシートが指す「/dev/zero」はふつうのファイルではないため、読めません。"},
        {sheet("folder.bin BINARY"), mci::CueDataUnreadable,
         "CUEシートが指す「folder.bin」はふつうのファイルではないため、読めません。"},
        {sheet("\"ok.bin\" MP3"), mci::CueDataFormat,
         "CUEシートが指すファイル「ok.bin」の形式(MP3)は再生できません。CDの音をそのまま収めたBINファイル(BINARY)だけを再生できます。"},
        {sheet("\"ok.bin\" BINARY", ""), mci::BadCueSheet, "CUEシート「s.cue」にトラックがありません。"},
        {sheet("\"ok.bin\" BINARY", "  TRACK 01 AUDIO\n    INDEX 01 00:61:00\n"), mci::BadCueSheet,
         "CUEシート「s.cue」の3行目を読めません。"},
        {sheet("\"ok.bin\" BINARY", "  TRACK 01 AUDIO\n    INDEX 01 00:02:00\n"), mci::BadCueSheet,
         "CUEシート「s.cue」のトラックはどれも、ファイルのデータの終わりより後から始まっています。"},
        {sheet("\"ok.bin\" BINARY", "  TRACK 01 AUDIO\n    INDEX 00 00:01:00\n"), mci::BadCueSheet,
         "CUEシート「s.cue」のトラック1にINDEX 01がありません。"},
        {sheet("\"ok.bin\" BINARY", "  TRACK 01 AUDIO\n    INDEX 01 00:01:00\n  TRACK 02 AUDIO\n    INDEX 01 00:00:10\n"),
         mci::BadCueSheet, "CUEシート「s.cue」のトラック2の始まりが前の位置より前にあります。"},
    };
    cd::CdAudioDevice::setCallTimeout(2000);
    for (const auto &c : cases) {
        ASSERT_TRUE(cdtest::writeBytes(path("s.cue"), c.sheet));
        ASSERT_EQ(openAt(path("s.cue")), 0);
        QElapsedTimer t;
        t.start();
        EXPECT_EQ(ask("status cd media present"), QStringLiteral("false")) << c.text;
        EXPECT_EQ(send("play cd"), c.error) << c.text;
        EXPECT_EQ(mciGetErrorString(c.error), QString::fromUtf8(c.text));
        EXPECT_LT(t.elapsed(), 1500);
        ASSERT_EQ(send("close cd"), 0);
    }
    cd::CdAudioDevice::setCallTimeout(5000);

    // The missing file put in place: the same sheet is a disc now.
    ASSERT_TRUE(cdtest::writeBytes(path("s.cue"), sheet("\"Album Disc.bin\" BINARY")));
    ASSERT_EQ(openAt(path("s.cue")), 0);
    EXPECT_EQ(send("play cd"), mci::CueDataMissing);
    ASSERT_TRUE(QFile::copy(path("ok.bin"), path("Album Disc.bin")));
    EXPECT_EQ(ask("status cd number of tracks"), QStringLiteral("1"));
    EXPECT_EQ(send("close cd"), 0);

    // A folder too large to look through: a name in other letter case is
    // not looked for there.
    const int usual = cd::setFolderLookLimit(3);
    ASSERT_TRUE(cdtest::writeBytes(path("s.cue"), sheet("\"ALBUM DISC.BIN\" BINARY")));
    ASSERT_EQ(openAt(path("s.cue")), 0);
    EXPECT_EQ(send("play cd"), mci::CueDataMissing);
    cd::setFolderLookLimit(usual);
    EXPECT_EQ(ask("status cd number of tracks"), QStringLiteral("1")) << "a folder it looks through";
    EXPECT_EQ(send("close cd"), 0);
}

// Sheets as rippers write them, each read straight from the image: the disc
// it makes and what chosen sectors read (the marks of markedSectors; 0 for
// silence, which is also what every sector of a data track reads).
TEST_F(CdImageTest, SheetsAsRippersWriteThemMakeTheirDisc)
{
    const auto data = [](int count, int bytes, char fill) { return QByteArray(qsizetype(count) * bytes, fill); };
    const auto marked = [](int tag, int count) { return cdtest::markedSectors(tag, count); };
    struct Read {
        qint32 lsn;
        int count;
        std::vector<int> marks; // empty: the read fails
    };
    const struct {
        const char *what;
        std::vector<std::pair<const char *, QByteArray>> files;
        QByteArray sheet;
        std::vector<cd::Track> tracks;
        std::vector<Read> reads;
    } cases[] = {
        {"gaps appended to the file before, one BIN per track",
         {{"01.bin", marked(1, 300)}, {"02.bin", marked(2, 200)}},
         "REM DISCID 00000000\nFILE \"01.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
         "  TRACK 02 AUDIO\n    INDEX 00 00:03:00\nFILE \"02.bin\" BINARY\n    INDEX 01 00:00:00\n",
         {{0, 300, true}, {300, 500, true}},
         {{224, 2, {1224, 1225}}, {299, 2, {1299, 2000}}, {499, 1, {2199}}, {500, 1, {}}}},
        {"the gap of a data track, appended to the sound before it, is its own",
         {{"01.bin", marked(1, 225) + data(75, 2048, 0x11)}, {"02.bin", data(100, 2048, 0x11)}},
         "FILE \"01.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
         "  TRACK 02 MODE1/2048\n    INDEX 00 00:03:00\nFILE \"02.bin\" BINARY\n    INDEX 01 00:00:00\n",
         {{0, 300, true}, {300, 400, false}},
         {{224, 2, {1224, 0}}, {299, 2, {0, 0}}, {399, 1, {0}}}},
        {"sectors of 2048, 2324 and 2336 bytes, each read at its size",
         {{"mixed.bin", marked(1, 150) + data(100, 2048, 0x11) + marked(3, 150) + data(30, 2324, 0x22)
                            + data(20, 2336, 0x33)}},
         "FILE \"mixed.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 MODE1/2048\n    INDEX 01 00:02:00\n"
         "  TRACK 03 AUDIO\n    INDEX 01 00:03:25\n  TRACK 04 MODE2/2324\n    INDEX 01 00:05:25\n"
         "  TRACK 05 MODE2/2336\n    INDEX 01 00:05:55\n",
         {{0, 150, true}, {150, 250, false}, {250, 400, true}, {400, 430, false}, {430, 450, false}},
         {{149, 2, {1149, 0}}, {248, 3, {0, 0, 3000}}, {399, 2, {3149, 0}}, {448, 2, {0, 0}}, {450, 1, {}}}},
        {"a data track whose INDEX 01 is past the data goes, its data with it",
         {{"cut.bin", marked(1, 150) + data(100, 2048, 0x11)}},
         "FILE \"cut.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
         "  TRACK 02 MODE1/2048\n    INDEX 00 00:02:00\n    INDEX 01 00:04:00\n",
         {{0, 150, true}},
         {{149, 1, {1149}}, {150, 1, {}}}},
        {"a name written in other letter case",
         {{"CaseDisc.BIN", marked(1, 150)}},
         "FILE \"casedisc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    INDEX 01 00:01:00\n",
         {{0, 75, true}, {75, 150, true}},
         {{149, 1, {1149}}}},
        {"a name in another system's folder, in other letter case",
         {{"sub/Track 1.Bin", marked(1, 150)}},
         "FILE \"sub\\TRACK 1.BIN\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n",
         {{0, 150, true}},
         {{0, 1, {1000}}}},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        for (const auto &[name, bytes] : c.files)
            ASSERT_TRUE(cdtest::writeBytes(dir.filePath(QString::fromUtf8(name)), bytes)) << c.what;
        const QString cue = dir.filePath(QStringLiteral("disc.cue"));
        ASSERT_TRUE(cdtest::writeBytes(cue, c.sheet));
        std::shared_ptr<cd::CdMedium> image;
        ASSERT_EQ(cd::openCueImage(cue, image), 0) << c.what;
        cd::Toc toc;
        ASSERT_EQ(image->readToc(toc), 0) << c.what;
        EXPECT_EQ(toc.refusal, QString()) << c.what;
        EXPECT_EQ(toc.tracks, c.tracks) << c.what;
        for (const Read &r : c.reads) {
            QByteArray b(r.count * cd::kSectorBytes, 'x');
            const bool read = image->readAudio(r.lsn, r.count, b.data()) == 0;
            EXPECT_EQ(read ? cdtest::sectorMarks(b) : std::vector<int>{}, r.marks) << c.what << " at " << r.lsn;
        }
    }
}

} // namespace
