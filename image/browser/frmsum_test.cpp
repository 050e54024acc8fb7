#include "browser_fixture_test.h"
#include "form18.h"
#include "form33.h"
#include "frmfullscreen.h"
#include "image/viewer/handover.h"
#include "module11.h"
#include "platform/forms/colors.h"

#include <QApplication>
#include <QImageReader>
#include <QMutex>
#include <QPainter>
#include <QSemaphore>
#include <QSet>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <memory>

#include <sys/resource.h>
#include <unistd.h>

using namespace vx;
using vxtest::dialogs;
using vxtest::shell;

namespace {

using FrmSumTest = BrowserTest;

// Holds the decode of files whose name ends with `name` until released.
class DecodeGate {
public:
    explicit DecodeGate(const QString &name)
    {
        // Shared: a reading thread may still hold the hook after the test.
        setReducedDecodeHook([s = state_, name](const QString &path) {
            if (path.endsWith(name)) {
                s->reached.release();
                s->open.tryAcquire(1, 20000);
            }
        });
    }
    ~DecodeGate() { release(); }
    bool reached() { return state_->reached.tryAcquire(1, 20000); }
    void release() { state_->open.release(100); }

private:
    struct State {
        QSemaphore reached;
        QSemaphore open;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

TEST_F(FrmSumTest, LoadRestoresColoursSpeedAndPlaceAndLoadsItsCompanionsHidden)
{
    store("FormColor", QStringLiteral("255"));
    store("FileColor", QStringLiteral("green"));       // not a number: the default
    store("SumColor", QStringLiteral("65280"));
    store("Speed", QStringLiteral("40000"));           // out of range: 5000
    store("FormLeft", QStringLiteral("3000"));
    makePictures(3);
    store("Dir", folder);
    store("Drive", driveOfPath(folder));
    frmSum &b = instance<frmSum>();
    EXPECT_EQ(b.Caption(), QStringLiteral("Graphic Rondix Ⅱ Version1.9"));
    EXPECT_FALSE(b.Visible());
    EXPECT_EQ(b.BackColor(), 255);
    EXPECT_EQ(instance<Form33>().BackColor(), 255);
    EXPECT_EQ(b.File.BackColor(), syscolor::WindowBackground);
    EXPECT_EQ(b.Command1[7]->BackColor(), 65280);
    EXPECT_EQ(b.Picture3.BackColor(), 65280);
    EXPECT_EQ(b.Picture4.ForeColor(), 8454016);
    EXPECT_EQ(instance<Form18>().HScroll1.Value(), 5000);
    EXPECT_FALSE(instance<Form18>().Visible());
    EXPECT_FALSE(instance<frmFullScreen>().Visible());
    EXPECT_EQ(b.Left(), 3000);
    EXPECT_EQ(b.File.Path(), folder);
    EXPECT_EQ(b.Label1.Caption(), QStringLiteral("3"));
    EXPECT_TRUE(b.cmdShow.Enabled());
    EXPECT_FALSE(b.cmdCancel.Enabled());
    EXPECT_FALSE(b.VScroll1.Enabled());
    EXPECT_EQ(visibleCells(b), 0);
    EXPECT_EQ(b.LastCellIndex, 24);
    EXPECT_EQ(b.Command1[6]->Left(), 1815);
    EXPECT_EQ(b.Command1[6]->Top(), 1695);
    EXPECT_TRUE(dialogs().messages.empty());
}

TEST_F(FrmSumTest, StoredFolderFromElsewhereOrGoneLeavesTheStartUpFolder)
{
    const QString start = QDir::cleanPath(QDir::currentPath());
    for (const QString &dir : {QStringLiteral("C:\\Pictures"), path(QStringLiteral("gone"))}) {
        store("Dir", dir);
        store("Drive", QStringLiteral("c:"));
        frmSum &b = instance<frmSum>();
        EXPECT_EQ(b.File.Path(), start) << dir.toStdString();
        EXPECT_TRUE(dialogs().messages.empty());
        b.Unload();
    }
}

TEST_F(FrmSumTest, BuildFillsTheGridInListOrderAndPagesTwoEntriesAStep)
{
    frmSum &b = browserAt(makePictures(26));
    ASSERT_TRUE(build(b));
    EXPECT_EQ(b.ImageList1.Count(), 26);
    EXPECT_EQ(b.ThumbCount, 26);
    EXPECT_TRUE(b.cmdShow.Enabled());
    EXPECT_FALSE(b.cmdCancel.Enabled());
    EXPECT_TRUE(b.VScroll1.Enabled());
    EXPECT_EQ(b.VScroll1.Max(), 1);
    EXPECT_EQ(visibleCells(b), 25);
    EXPECT_EQ(b.Command1[0]->Caption(), QStringLiteral("p00.bmp"));
    b.VScroll1.setValue(1);
    EXPECT_EQ(b.Command1[0]->Caption(), QStringLiteral("p02.bmp"));
    EXPECT_EQ(b.Command1[23]->Caption(), QStringLiteral("p25.bmp"));
    EXPECT_FALSE(b.Command1[24]->Visible());
    EXPECT_EQ(b.Picture4.Fraction(), 0) << "the progress bar is cleared";

    // 25: the bar is on with nothing to scroll; 24: off.
    for (int count : {25, 24}) {
        frmSum &c = browserAt(makePictures(count, 20, 10, QString::number(count)));
        ASSERT_TRUE(build(c));
        EXPECT_EQ(c.VScroll1.Enabled(), count == 25) << count;
        EXPECT_EQ(c.VScroll1.Max(), 0);
        EXPECT_EQ(visibleCells(c), count);
    }
    // A folder change empties the grid.
    b.Dir.setPath(folder + QStringLiteral("/24"));
    b.Dir.setPath(folder);
    EXPECT_EQ(visibleCells(b), 0);
    EXPECT_EQ(b.ImageList1.Count(), 0);
    EXPECT_FALSE(b.VScroll1.Enabled());
}

TEST_F(FrmSumTest, ThumbnailKeepsThePicturesShapeInTheGridColour)
{
    EXPECT_EQ(browser::thumbnailBox(QSize(200, 100), 97), QRect(0, 24, 97, 48));
    EXPECT_EQ(browser::thumbnailBox(QSize(100, 200), 97), QRect(24, 0, 48, 97));
    EXPECT_EQ(browser::thumbnailBox(QSize(50, 50), 97), QRect(0, 0, 97, 97));

    vxtest::writeTestImage(path(QStringLiteral("wide.bmp")), 200, 100, Qt::red);
    writeFile(QStringLiteral("broken.jpg"), QByteArray("\xFF\xD8\xFF\xE0 not really", 15));
    writeFile(QStringLiteral("text.bmp"), "hello");
    store("SumColor", QString::number(rgb(0, 0, 255)));
    frmSum &b = browserAt(folder);
    ASSERT_EQ(b.File.ListCount(), 3);
    ASSERT_TRUE(build(b));
    ASSERT_EQ(b.ThumbCount, 3) << "a broken picture never stops the build";
    const QImage wide = b.ImageList1.Item(3);
    ASSERT_EQ(wide.size(), QSize(97, 97));
    EXPECT_EQ(wide.pixelColor(48, 48), QColor(Qt::red));
    EXPECT_EQ(wide.pixelColor(48, 10), QColor(Qt::blue)) << "above the box: the grid colour";
    EXPECT_EQ(wide.pixelColor(48, 90), QColor(Qt::blue));
    for (int n : {1, 2}) {
        const QImage blank = b.ImageList1.Item(n);
        EXPECT_EQ(blank.pixelColor(48, 48), QColor(Qt::blue)) << "the blank cell of an unreadable file";
    }
}

TEST_F(FrmSumTest, PictureBeyondQtsOwnAllocationLimitStillGetsAThumbnail)
{
    // Qt alone would refuse this picture; our own check accepts it.
    vxtest::writeTestImage(path(QStringLiteral("big.bmp")), 1200, 600, Qt::green);
    QImageReader::setAllocationLimit(1);
    frmSum &b = browserAt(folder);
    ASSERT_TRUE(build(b));
    QImageReader::setAllocationLimit(256);
    EXPECT_EQ(b.ImageList1.Item(1).pixelColor(48, 48), QColor(Qt::green));
}

TEST_F(FrmSumTest, StopDuringTheFifthFileKeepsFiveImagesAndCountsFour)
{
    frmSum &b = browserAt(makePictures(8));
    DecodeGate gate(QStringLiteral("p04.bmp"));
    b.cmdShow_Click();
    EXPECT_FALSE(b.cmdShow.Enabled());
    EXPECT_TRUE(b.cmdCancel.Enabled());
    EXPECT_FALSE(b.Dir.Enabled()) << "the list the build reads stays";
    EXPECT_FALSE(b.Drive.Enabled());
    ASSERT_TRUE(gate.reached());
    ASSERT_TRUE(waitFor([&] { return b.ThumbCount == 4; }));
    EXPECT_GT(b.Picture4.Fraction(), 0.49);
    b.cmdCancel.click();
    gate.release();
    ASSERT_TRUE(waitFor([&] { return !b.building(); }));
    EXPECT_EQ(b.ImageList1.Count(), 5);
    EXPECT_EQ(b.ThumbCount, 4);
    EXPECT_EQ(visibleCells(b), 4);
    EXPECT_TRUE(b.Dir.Enabled());
    EXPECT_TRUE(b.cmdShow.Enabled());
}

TEST_F(FrmSumTest, EveryControlAnswersWhileABuildWaitsForAPicture)
{
    frmSum &b = browserAt(makePictures(3));
    b.Show();
    DecodeGate gate(QStringLiteral("p01.bmp"));
    b.cmdShow_Click();
    ASSERT_TRUE(gate.reached());
    ASSERT_TRUE(waitFor([&] { return b.ImageList1.Count() == 1; }));
    // The window's own events run: a file click opens the picture meanwhile.
    b.File.setListIndex(2);
    EXPECT_TRUE(instance<frmFullScreen>().Visible());
    EXPECT_EQ(instance<frmFullScreen>().Picture1.Width(), 20 * 15);
    gate.release();
    ASSERT_TRUE(waitFor([&] { return !b.building(); }));
    EXPECT_EQ(b.ThumbCount, 3);
}

// The decoding threads leave a core to the window thread and yield to it:
// every one runs at a lower priority (a higher nice value) than the window.
TEST_F(FrmSumTest, DecodingThreadsLeaveACoreAndRunBelowTheWindowThread)
{
    const int limit = browser::thumbnailWorkerLimit();
    EXPECT_EQ(limit, std::max(1, QThread::idealThreadCount() - 1));
    frmSum &b = browserAt(makePictures(3 * limit + 2));
    errno = 0;
    const int windowNice = ::getpriority(PRIO_PROCESS, 0);
    ASSERT_EQ(errno, 0);
    struct Seen {
        QMutex mutex;
        QSet<pid_t> threads;
        QList<int> nices;
        QSemaphore arrived;
        QSemaphore open;
    };
    auto seen = std::make_shared<Seen>();
    // The first decodes wait until as many threads as allowed hold one, so
    // a pool allowed more would have started more.
    setReducedDecodeHook([seen, limit](const QString &) {
        {
            const QMutexLocker lock(&seen->mutex);
            seen->threads.insert(::gettid());
            seen->nices << ::getpriority(PRIO_PROCESS, 0);
        }
        seen->arrived.release();
        seen->open.tryAcquire(1, 20000);
    });
    b.cmdShow_Click();
    ASSERT_TRUE(seen->arrived.tryAcquire(limit, 20000));
    seen->open.release(10000);
    ASSERT_TRUE(waitFor([&] { return !b.building(); }));
    EXPECT_EQ(b.ThumbCount, 3 * limit + 2);
    const QMutexLocker lock(&seen->mutex);
    EXPECT_LE(seen->threads.size(), limit);
    // (A test run at the lowest priority already has nothing below it.)
    for (int nice : seen->nices)
        EXPECT_TRUE(nice > windowNice || windowNice >= 19) << nice << " " << windowNice;
}

// What the window thread gets per picture is already at the cell's size:
// a large picture of a format read whole is reduced on the decoding thread,
// so taking it into the grid costs the window the same whatever the file.
TEST_F(FrmSumTest, PicturesReachTheWindowThreadAlreadyAtTheCellsSize)
{
    const QString dir = makePictures(1, 1600, 1000);
    const int side = 97;
    browser::ThumbnailJob job({dir + QStringLiteral("/p00.bmp")}, side);
    QFuture<ReducedPicture> f = job.result(0);
    f.waitForFinished();
    ASSERT_EQ(f.resultCount(), 1);
    const ReducedPicture picture = f.result();
    EXPECT_EQ(picture.natural, QSize(1600, 1000));
    EXPECT_EQ(picture.image.size(), browser::thumbnailBox(picture.natural, side).size());
}

TEST_F(FrmSumTest, CloseBoxMidBuildStopsTheBuildBeforeTheWindowGoes)
{
    frmSum &b = browserAt(makePictures(6));
    b.Show();
    DecodeGate gate(QStringLiteral("p02.bmp"));
    b.cmdShow_Click();
    ASSERT_TRUE(gate.reached());
    b.close();
    EXPECT_FALSE(isLoaded<frmSum>());
    gate.release();
    // The decodes still running end with nobody to take them.
    QDeadlineTimer settle(300);
    while (!settle.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_FALSE(isLoaded<frmSum>());
    EXPECT_EQ(stored("FormKind"), QStringLiteral("2"));
}

TEST_F(FrmSumTest, CloseAndSwitchOnlyHideAndTheBuildFinishesIntoTheHiddenWindow)
{
    frmSum &b = browserAt(makePictures(4));
    b.Show();
    b.Move(2250, 1800);
    b.Command5_Click();
    ASSERT_TRUE(b.Timer1.Enabled());
    b.cmdShow_Click();
    b.Command2_Click();
    EXPECT_FALSE(b.Visible());
    EXPECT_FALSE(b.Timer1.Enabled()) << "the slide show stops with the window";
    EXPECT_EQ(b.Command5.Caption(), QStringLiteral("スライド再開"));
    ASSERT_TRUE(waitFor([&] { return !b.building(); }));
    EXPECT_EQ(b.ThumbCount, 4);
    EXPECT_EQ(stored("FormKind"), QStringLiteral("2"));
    EXPECT_EQ(stored("Dir"), folder);
    EXPECT_EQ(stored("Drive"), driveOfPath(folder));
    EXPECT_EQ(stored("FormLeft"), QStringLiteral("2250"));
    EXPECT_EQ(stored("FormTop"), QStringLiteral("1800"));
    EXPECT_FALSE(isLoaded<Form33>());

    // The first viewer is the program's to show (the launch tests show it).
    int firstViewerShown = 0;
    viewer::setViewerOpener(viewer::Viewer::First, [&] { ++firstViewerShown; });
    b.Show();
    b.Command3_Click();
    viewer::setViewerOpener(viewer::Viewer::First, nullptr);
    EXPECT_FALSE(b.Visible());
    EXPECT_EQ(firstViewerShown, 1);
    EXPECT_EQ(stored("FormKind"), QStringLiteral("1"));
}

TEST_F(FrmSumTest, EndingTheProgramMidBuildEndsAtOnce)
{
    frmSum &b = browserAt(makePictures(4));
    DecodeGate gate(QStringLiteral("p01.bmp"));
    b.cmdShow_Click();
    ASSERT_TRUE(gate.reached());
    EXPECT_TRUE(vxtest::ends([] { vx::End(); }));
    gate.release();
}

TEST_F(FrmSumTest, FileAndCellClicksOpenFullScreenOrInThePictureWindow)
{
    vxtest::writeTestImage(path(QStringLiteral("a.bmp")), 40, 30);
    vxtest::writeTestImage(path(QStringLiteral("b.bmp")), 60, 20);
    vxtest::writeTestImage(path(QStringLiteral("c.bmp")), 20, 50);
    frmSum &b = browserAt(folder);
    b.Show();
    b.File.setListIndex(1);
    frmFullScreen &full = instance<frmFullScreen>();
    EXPECT_TRUE(full.Visible());
    EXPECT_EQ(full.Picture1.Width(), 60 * 15);
    EXPECT_TRUE(full.Picture1.hasFocus() || QApplication::focusWidget() == nullptr);
    full.Form_Click();
    ASSERT_TRUE(build(b));
    b.Command1[2]->click();
    EXPECT_EQ(b.File.ListIndex(), 2);
    EXPECT_EQ(full.Picture1.Width(), 20 * 15);
    full.Form_Click();
    b.Command1[2]->click();
    EXPECT_TRUE(full.Visible()) << "the selected entry's cell opens it again";
    EXPECT_EQ(full.Picture1.Width(), 20 * 15);
    full.Form_Click();

    // "Window" 1: the picture window, loaded hidden at the browser's load,
    // shows the file clicked (not what it loaded back then).
    store("Window", QStringLiteral("1"));
    ASSERT_TRUE(isLoaded<Form33>());
    b.File.setListIndex(0);
    Form33 &v = instance<Form33>();
    EXPECT_TRUE(v.Visible());
    EXPECT_EQ(v.Image1.Width(), 40 * 15);
    EXPECT_FALSE(full.Visible());
    // A later list click only shows the window, which keeps its picture.
    b.File.setListIndex(1);
    EXPECT_EQ(v.Image1.Width(), 40 * 15);
    // A cell click opens it afresh on the cell's entry.
    b.Command1[1]->click();
    EXPECT_TRUE(instance<Form33>().Visible());
    EXPECT_EQ(instance<Form33>().Image1.Width(), 60 * 15);
}

TEST_F(FrmSumTest, SlideShowWalksTheListAndWrapsAndTheFullScreenCloseResumesLater)
{
    vxtest::writeTestImage(path(QStringLiteral("a.bmp")), 40, 30);
    vxtest::writeTestImage(path(QStringLiteral("b.bmp")), 60, 20);
    vxtest::writeTestImage(path(QStringLiteral("c.bmp")), 20, 50);
    frmSum &b = browserAt(folder);
    b.Show();
    instance<Form18>().HScroll1.setValue(2000);
    b.Command5_Click();
    EXPECT_EQ(b.Timer1.Interval(), 2000);
    EXPECT_EQ(b.Command5.Caption(), QStringLiteral("スライド停止"));
    EXPECT_EQ(b.Command5.ToolTipText(), QStringLiteral("スライドショーを停止します"));
    instance<Form18>().HScroll1.setValue(3000);
    EXPECT_EQ(b.Timer1.Interval(), 3000) << "the settings window's scroll bar acts at once";
    frmFullScreen &full = instance<frmFullScreen>();
    b.Timer1_Timer();
    EXPECT_EQ(b.File.ListIndex(), 0);
    EXPECT_EQ(full.Picture1.Width(), 40 * 15);
    b.Timer1_Timer();
    b.Timer1_Timer();
    EXPECT_EQ(b.File.ListIndex(), 2);
    EXPECT_EQ(full.Picture1.Width(), 20 * 15);
    b.Timer1_Timer();
    EXPECT_EQ(b.File.ListIndex(), 0) << "wraps to the first entry";
    full.Form_Click();
    EXPECT_FALSE(b.Timer1.Enabled());
    EXPECT_EQ(b.Command5.Caption(), QStringLiteral("スライド再開"));
    EXPECT_EQ(b.Command5.ToolTipText(), QStringLiteral("スライドショーを再開します"));

    // An empty folder: nothing happens.
    QDir(folder).mkdir(QStringLiteral("empty"));
    b.Dir.setPath(path(QStringLiteral("empty")));
    EXPECT_FALSE(b.cmdShow.Enabled());
    EXPECT_EQ(b.Label1.Caption(), QStringLiteral("0"));
    b.Timer1_Timer();
    EXPECT_TRUE(dialogs().messages.empty());
}

TEST_F(FrmSumTest, DriveThatFailsShowsTheErrorAndStepsBackToTheLastDrive)
{
    const QString missing = path(QStringLiteral("no-medium"));
    setMountedDrivesOverride({{QStringLiteral("/"), QStringLiteral("root")}, {missing, QStringLiteral("card")}});
    frmSum &b = instance<frmSum>();
    const QString before = b.Drive.Drive();
    b.Drive.setDrive(missing);
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_TRUE(dialogs().messages[0].text.startsWith(QStringLiteral("エラー\n")));
    EXPECT_EQ(dialogs().messages[0].icon(), vbCritical);
    EXPECT_EQ(b.Drive.Drive(), before);
    setMountedDrivesOverride({});
}

TEST_F(FrmSumTest, PropertiesAndSettingsButtons)
{
    makePictures(2);
    frmSum &b = browserAt(folder);
    b.File.setListIndex(1);
    instance<frmFullScreen>().Form_Click();
    b.Command4_Click();
    EXPECT_EQ(shell().properties, QStringList{path(QStringLiteral("p01.bmp"))});
    b.Command8_Click();
    EXPECT_EQ(dialogs().modals, QStringList{QStringLiteral("Form18")});
}

TEST_F(FrmSumTest, CellCaptionsCountCharactersAndAddListIsReadTolerantly)
{
    EXPECT_EQ(Module11::ShortenFileName(QStringLiteral("abcdef.jpg")), QStringLiteral("abcdef.jpg"));
    EXPECT_EQ(Module11::ShortenFileName(QStringLiteral("abcdefg.jpg")), QStringLiteral("abcdefg.jp..."));
    EXPECT_EQ(Module11::ShortenFileName(QStringLiteral("写真の一枚目です.jpg")), QStringLiteral("写真の一枚目です.j..."));
    EXPECT_EQ(Module11::ShortenFileName(QStringLiteral("😀😀😀😀😀😀😀😀😀😀😀")),
              QStringLiteral("😀😀😀😀😀😀😀😀😀😀...")) << "never half a character";

    EXPECT_EQ(Module11::addListFields("a,\"b,c\"\r\nd\n"), (QStringList{"a", "b,c", "d"}));
    QFile f(programDir() + QStringLiteral("/add.dat"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("one,two\r\ntwo,three\r\n");
    f.close();
    EXPECT_EQ(instance<frmSum>().AddList, (QStringList{"one", "two"})) << "a field seen before ends the read";
    unload<frmSum>();
    QFile::remove(f.fileName());
    QDir(programDir()).mkdir(QStringLiteral("add.dat"));
    EXPECT_TRUE(instance<frmSum>().AddList.isEmpty());
    EXPECT_TRUE(dialogs().messages.empty());
}

// Rows holding the caption's colour (green over grey, blue and black).
std::vector<int> captionRows(const QImage &image)
{
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.green() - std::max(c.red(), c.blue()) > 60) {
                rows.push_back(y);
                break;
            }
        }
    return rows;
}

TEST_F(FrmSumTest, CellCaptionsAreDrawnWholeBelowTheThumbnail)
{
    // Tall pictures: the thumbnail takes the whole height it may.
    for (const char *name : {"b.jpg", "Åjg.jpg", "gyp.bmp"})
        vxtest::writeTestImage(path(QString::fromUtf8(name)), 30, 90, Qt::blue);
    frmSum &b = browserAt(folder);
    b.Show();
    ASSERT_TRUE(build(b));
    for (int i = 0; i < 3; ++i) {
        vx::PictureButton &cell = *b.Command1[static_cast<size_t>(i)];
        SCOPED_TRACE(cell.Caption().toStdString());
        cell.setForeColor(0x00FF00);
        const QImage shown = cell.grab().toImage();
        // The same caption in the same font with room all round.
        const QFontMetrics fm(cell.font());
        QImage alone(fm.horizontalAdvance(cell.Caption()) + 20, fm.height() * 3, QImage::Format_RGB32);
        alone.fill(Qt::black);
        {
            QPainter p(&alone);
            p.setFont(cell.font());
            p.setPen(Qt::green);
            p.drawText(10, fm.height() * 2, cell.Caption());
        }
        const std::vector<int> whole = captionRows(alone);
        const std::vector<int> drawn = captionRows(shown);
        ASSERT_FALSE(whole.empty());
        ASSERT_FALSE(drawn.empty());
        EXPECT_EQ(drawn.back() - drawn.front(), whole.back() - whole.front()) << "every row of the caption";
        EXPECT_LT(drawn.back(), shown.height() - 1) << "inside the border";
        // The thumbnail stays above the caption, never under it.
        int pictureBottom = -1;
        for (int y = 0; y < shown.height(); ++y)
            if (const QColor c = shown.pixelColor(shown.width() / 2, y); c.blue() - std::max(c.red(), c.green()) > 100)
                pictureBottom = y;
        EXPECT_GT(pictureBottom, shown.height() / 2) << "a thumbnail is shown";
        EXPECT_LT(pictureBottom, drawn.front());
    }
}

} // namespace
