#include "sysinfo/form10.h"

#include "suite/settings.h"
#include "testing/baredesktop.h"
#include "testing/harness.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QRegularExpression>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

class RecordingDesktop : public vx::DesktopDriver {
public:
    std::vector<vx::DesktopTool> launched;
    std::vector<vx::DesktopTool> missing; // tools this desktop lacks
    QString trashFailure;
    int trashEmptied = 0;
    int recentCleared = 0;
    bool recentThere = true;
    void launch(vx::DesktopTool tool, vx::Outcome done) override
    {
        const bool there = std::find(missing.begin(), missing.end(), tool) == missing.end();
        if (there)
            launched.push_back(tool);
        vx::tellLater(done, there);
    }
    QString emptyTrash() override
    {
        ++trashEmptied;
        return trashFailure;
    }
    QString clearRecent() override
    {
        ++recentCleared;
        recentThere = false;
        return QString();
    }
    bool hasRecent() override { return recentThere; }
};

class Form10Test : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        auto d = std::make_unique<RecordingDesktop>();
        desktop = d.get();
        vx::setDesktopDriver(std::move(d));
    }
    void TearDown() override
    {
        GuiTest::TearDown();
        vx::setDesktopDriver(nullptr);
    }
    // Lets the search run to its end on the window's event loop.
    static void waitForSearch(Form10 &f) { ASSERT_TRUE(vxtest::waitUntil([&] { return !f.Searching(); })); }
    RecordingDesktop *desktop = nullptr;
    QTemporaryDir tmp;
};

TEST_F(Form10Test, NothingReadAtLoadAndPointersFromTheStore)
{
    suite::SaveSetting(QStringLiteral("AllForm"), QStringLiteral("Pointer"), QStringLiteral("0"));
    Form10 &f = vx::instance<Form10>();
    EXPECT_EQ(f.Caption(), QStringLiteral("Probix Version3.0"));
    EXPECT_EQ(f.MousePointer(), 0);
    EXPECT_EQ(f.SSTab1.MousePointer(), 99);
    EXPECT_EQ(f.SSTab1.Tabs(), 6);
    EXPECT_EQ(f.SSTab1.TabCaption(5), QStringLiteral("ファイル検索"));
    EXPECT_EQ(f.Text2.Text(), QStringLiteral("/bin/sh"));
    EXPECT_TRUE(f.lblTotalPhy.Caption().isEmpty());
    EXPECT_EQ(f.List1.ListCount(), 0);
    EXPECT_TRUE(f.Label32.Caption().isEmpty());
    EXPECT_EQ(f.lblProgress.Caption(), QStringLiteral("検索結果"));
    EXPECT_GE(f.List2.HorizontalExtent(), 2 * f.List2.width() - 10);
    EXPECT_GE(f.List1.HorizontalExtent(), 2 * f.List1.width() - 10);
    EXPECT_TRUE(f.Timer1.running());
}

TEST_F(Form10Test, CheckReportsLinuxFactsInTheirShapes)
{
    Form10 &f = vx::instance<Form10>();
    f.Show();
    f.Drive100.setDrive(QStringLiteral("/"));
    f.Command8.click();

    const QRegularExpression bytes(QStringLiteral("^\\d{1,3}(,\\d{3})*バイト$"));
    for (vx::Label *l : {&f.lblTotalPhy, &f.lblAvailablephy, &f.lblAllPageFile, &f.lblAkiPage, &f.lblAvailable,
                         &f.lblNotYoyaku, &f.Label300, &f.Label500})
        EXPECT_TRUE(bytes.match(l->Caption()).hasMatch()) << l->Name().toStdString() << " " << l->Caption().toStdString();
    EXPECT_TRUE(f.lblUsed.Caption().endsWith(QStringLiteral("％")));
    EXPECT_EQ(f.ProgressBar2.Value(), f.lblUsed.Caption().chopped(1).toInt());

    struct statvfs v{};
    ASSERT_EQ(::statvfs("/", &v), 0);
    const qint64 total = static_cast<qint64>(v.f_blocks) * static_cast<qint64>(v.f_frsize);
    EXPECT_EQ(f.Label500.Caption().remove(',').remove(QStringLiteral("バイト")).toLongLong(), total);
    EXPECT_GE(f.ProgressBar1.Value(), 0);
    EXPECT_LE(f.ProgressBar1.Value(), 100);

    bool ours = false;
    for (int i = 0; i < f.List1.ListCount(); ++i)
        ours = ours || f.List1.List(i) == QCoreApplication::applicationFilePath();
    EXPECT_TRUE(ours);
    char host[300] = {};
    ::gethostname(host, sizeof host - 1);
    EXPECT_EQ(f.Label32.Caption(), QString::fromLocal8Bit(host));
    EXPECT_TRUE(f.Label28.Caption().startsWith(QStringLiteral("システムの表示色数：")));
    EXPECT_TRUE(f.Label28.Caption().endsWith(QStringLiteral(" ビット／ピクセル")));
    ASSERT_EQ(f.List3.ListCount(), 5);
    EXPECT_TRUE(f.List3.List(0).startsWith(QStringLiteral("構造\t")));
    EXPECT_EQ(f.List3.List(1), QStringLiteral("数\t") + QString::number(sysconf(_SC_NPROCESSORS_ONLN)));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$")).match(f.Label9.Caption()).hasMatch());
    if (QFile::exists(QStringLiteral("/etc/os-release"))) {
        EXPECT_FALSE(f.Label33.Caption().isEmpty());
    }
}

TEST_F(Form10Test, UnreadableMemoryLeavesFieldsEmptyAndUptimeTicks)
{
    Form10 &f = vx::instance<Form10>();
    f.ReadMemory = [] { return std::optional<vx::facts::Memory>(); };
    f.Uptime = [] { return 123LL * 3600 * 1000 + 4 * 60 * 1000 + 5 * 1000; };
    f.Command8_Click();
    EXPECT_TRUE(f.lblTotalPhy.Caption().isEmpty());
    EXPECT_TRUE(f.lblUsed.Caption().isEmpty());
    EXPECT_EQ(f.ProgressBar2.Value(), 0);
    EXPECT_FALSE(f.Label32.Caption().isEmpty()); // the report went on
    f.Timer1_Timer();
    EXPECT_EQ(f.Label21.Caption(), QStringLiteral("起動時間  123時間04分05秒"));
}

TEST_F(Form10Test, FileChecksOpenOnlyRegularFiles)
{
    Form10 &f = vx::instance<Form10>();
    const QString dir = tmp.path();
    const QString fifo = dir + "/pipe";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const QString empty = dir + "/empty.txt";
    QFile(empty).open(QIODevice::WriteOnly);
    // A sparse file of 3 GB: no disk used, a size beyond 32 bits.
    const QString big = dir + "/big.bin";
    {
        QFile b(big);
        ASSERT_TRUE(b.open(QIODevice::WriteOnly));
        ASSERT_TRUE(b.resize(3LL << 30));
    }

    f.Text2.setText(dir + '/');
    f.Command6.click();
    EXPECT_EQ(f.Label26.Caption(), QStringLiteral("ファイル(") + dir + QStringLiteral(") は存在しません"));
    f.Text2.setText(fifo); // would block an open for reading
    f.Command6.click();
    EXPECT_TRUE(f.Label26.Caption().endsWith(QStringLiteral(") は存在しません")));
    f.Command13.click();
    f.Text2.setText(empty + '/');
    f.Command6.click();
    EXPECT_EQ(f.Label26.Caption(), QStringLiteral("ファイル(") + empty + QStringLiteral(") は存在します"));

    f.Text2.setText(empty);
    f.Command13.click();
    EXPECT_EQ(f.Label26.Caption(), QStringLiteral("ファイルのサイズは0バイトです。"));
    f.Text2.setText(big);
    f.Command13.click();
    EXPECT_EQ(f.Label26.Caption(), QStringLiteral("ファイルのサイズは3,221,225,472バイトです。"));
    f.Text2.setText(dir);
    f.Command13.click();
    f.Text2.setText(QString());
    f.Command13.click();
    QString none;
    EXPECT_FALSE(f.CheckFileExistence(none));
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              (QStringList{QStringLiteral("取得出来ませんでした"), QStringLiteral("取得出来ませんでした"),
                           QStringLiteral("ファイル名を記入してください")}));
}

TEST_F(Form10Test, BrowseFillsTheNameAndCancelKeepsIt)
{
    Form10 &f = vx::instance<Form10>();
    vxtest::dialogs().files.push_back(std::nullopt);
    f.Command14.click();
    EXPECT_EQ(f.Text2.Text(), QStringLiteral("/bin/sh"));
    ASSERT_EQ(vxtest::dialogs().fileRequests.size(), 1u);
    EXPECT_EQ(vxtest::dialogs().fileRequests[0].title, QStringLiteral("ファイルを開く"));
    EXPECT_EQ(vxtest::dialogs().fileRequests[0].filter, QStringLiteral("すべてのファイル(*.*)|*.*"));
    vxtest::dialogs().files.push_back(QStringList{QStringLiteral("/etc/hostname")});
    f.Command14.click();
    EXPECT_EQ(f.Text2.Text(), QStringLiteral("/etc/hostname"));
}

TEST_F(Form10Test, MemoryCleanUpWithinLimits)
{
    Form10 &f = vx::instance<Form10>();
    vx::facts::Memory m;
    m.totalPhys = qint64(8) << 30;
    m.availPhys = qint64(4) << 30;
    f.ReadMemory = [&m] { return std::optional(m); };
    f.Command18.click();
    EXPECT_EQ(vxtest::dialogs().messageTexts().last(), QStringLiteral("今はお掃除の必要はありません"));
    EXPECT_EQ(f.CleanedBytes(), 0);

    m.availPhys = qint64(1) << 30; // below a quarter
    f.Command = QString();
    f.Command18.click();
    EXPECT_EQ(vxtest::dialogs().messageTexts().last(), QStringLiteral("お掃除完了！"));
    EXPECT_EQ(f.CleanedBytes(), qint64(32) << 20);
    f.Command = QStringLiteral("64");
    f.Command18.click();
    EXPECT_EQ(f.CleanedBytes(), qint64(64) << 20);

    for (const char *bad : {"2048", "-5", "99999999999"}) {
        f.Command = QString::fromLatin1(bad);
        vxtest::dialogs().messages.clear();
        f.Command18.click();
        EXPECT_EQ(f.CleanedBytes(), 0) << bad;
        ASSERT_EQ(vxtest::dialogs().messages.size(), 1u);
        EXPECT_NE(vxtest::dialogs().messages[0].text, QStringLiteral("お掃除完了！"));
    }
    // Never more than half of what is available.
    m.availPhys = qint64(40) << 20;
    f.Command = QStringLiteral("2047");
    f.Command18.click();
    EXPECT_EQ(f.CleanedBytes(), qint64(20) << 20);
}

TEST_F(Form10Test, ShortcutsGoToTheDesktopOrSaySoNone)
{
    Form10 &f = vx::instance<Form10>();
    f.Show();
    f.Command9.click();
    f.Command7.click();
    f.Command3.click();
    f.Command16.click();
    f.Command10.click();
    using T = vx::DesktopTool;
    EXPECT_EQ(desktop->launched, (std::vector<T>{T::FileManager, T::Appearance, T::Power, T::ScreenSaver, T::ShutdownPrompt}));
    QCoreApplication::sendPostedEvents(); // what the desktop told
    EXPECT_TRUE(vxtest::dialogs().messages.empty());

    f.Command2.click();
    EXPECT_EQ(f.SSTab1.Tab(), Form10::FileSearch);
    f.Command1.click();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(desktop->launched.back(), T::SystemAbout);
    EXPECT_EQ(f.SSTab1.Tab(), Form10::FileSearch);
    desktop->missing = {T::SystemAbout, T::ShutdownPrompt};
    f.Command1.click();
    EXPECT_TRUE(vxtest::waitUntil([&] { return f.SSTab1.Tab() == Form10::System; }));
    f.Command10.click();
    ASSERT_TRUE(vxtest::waitUntil([] { return !vxtest::dialogs().messages.empty(); }));
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{QStringLiteral("このデスクトップにはシャットダウンの画面がありません。")});
}

// The desktop's own handler, on a desktop where it cannot open the home folder.
TEST_F(Form10Test, FileManagerThatCannotOpenSaysSoWithoutWaiting)
{
    vx::setDesktopDriver(nullptr);
    Form10 &f = vx::instance<Form10>();
    f.Show();
    for (const bool handler : {false, true}) {
        SCOPED_TRACE(handler ? "a handler that fails" : "no handler");
        vxtest::dialogs().messages.clear();
        vxtest::BareDesktop bare;
        if (handler)
            bare.addProgram(QStringLiteral("xdg-open"), 4);
        QElapsedTimer took;
        took.start();
        f.Command9.click();
        // The handler waits for release(): a window thread that waited for it
        // would only get here a minute later.
        EXPECT_LT(took.elapsed(), 20000);
        EXPECT_TRUE(vxtest::dialogs().messages.empty());
        bare.release();
        ASSERT_TRUE(vxtest::waitUntil([] { return !vxtest::dialogs().messages.empty(); }));
        EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{QStringLiteral("このデスクトップにはファイルマネージャがありません。")});
        EXPECT_EQ(bare.log().value(0), handler ? QStringLiteral("xdg-open ") + QDir::homePath() : QString());
    }
}

TEST_F(Form10Test, TrashAndRecentOnlySayDoneWhenDone)
{
    Form10 &f = vx::instance<Form10>();
    vxtest::dialogs().answers = {vx::vbNo};
    f.Command4.click();
    EXPECT_EQ(desktop->trashEmptied, 0);
    ASSERT_EQ(vxtest::dialogs().messages.size(), 1u); // only the question
    vxtest::dialogs().answers = {vx::vbYes, vx::vbOK, vx::vbYes};
    f.Command4.click();
    EXPECT_EQ(desktop->trashEmptied, 1);
    EXPECT_EQ(vxtest::dialogs().messageTexts().last(), QStringLiteral("ゴミ箱を空にしました。"));
    EXPECT_EQ(vxtest::dialogs().messages.back().icon(), vx::vbInformation);
    desktop->trashFailure = QStringLiteral("/x/Trash/files/a");
    f.Command4.click();
    EXPECT_TRUE(vxtest::dialogs().messageTexts().last().startsWith(QStringLiteral("ゴミ箱を空に出来ませんでした。")));
    f.Command5.click();
    EXPECT_EQ(desktop->recentCleared, 1);
    EXPECT_EQ(vxtest::dialogs().messageTexts().last(), QStringLiteral("最近使ったファイルをクリアしました。"));
    // Nothing left (or never a list): nothing is cleared and it says so.
    f.Command5.click();
    EXPECT_EQ(desktop->recentCleared, 1);
    EXPECT_EQ(vxtest::dialogs().messageTexts().last(), QStringLiteral("クリアする最近使ったファイルはありません。"));
    EXPECT_EQ(vxtest::dialogs().messages.back().icon(), vx::vbInformation);
}

} // namespace
