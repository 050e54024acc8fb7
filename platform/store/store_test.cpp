#include "platform/store/lock.h"
#include "platform/store/store.h"

#include "platform/core/errors.h"
#include "testing/errors.h"
#include "testing/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using vxtest::errorOf;

using namespace vx::store;

namespace {

const QString App = QStringLiteral("Velmora 200X");

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp_.isValid());
        oldXdg_ = qgetenv("XDG_CONFIG_HOME");
        oldHome_ = qgetenv("HOME");
        setConfigDir(tmp_.path() + QStringLiteral("/config"));
    }
    void TearDown() override
    {
        qputenv("XDG_CONFIG_HOME", oldXdg_);
        qputenv("HOME", oldHome_);
        detail::setLockTimeout(10000);
    }
    void setConfigDir(const QString &dir) { qputenv("XDG_CONFIG_HOME", dir.toUtf8()); }
    QString path(const QString &name) const { return tmp_.path() + QLatin1Char('/') + name; }

    QTemporaryDir tmp_;
    QByteArray oldXdg_, oldHome_;
};

using vxtest::readBytes;
using vxtest::writeBytes;

// Error number thrown by fn, 0 when it returned normally.
// Runs fn in a child process; only plain store calls belong in there.
pid_t spawn(const std::function<void()> &fn)
{
    const pid_t pid = fork();
    if (pid == 0) {
        int status = 0;
        try {
            fn();
        } catch (...) {
            status = 1;
        }
        _exit(status);
    }
    return pid;
}

bool exitedCleanly(pid_t pid)
{
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Every line of a store we wrote is a header, a key line or a separator.
bool wellFormed(const QByteArray &raw)
{
    if (!raw.isEmpty() && !raw.endsWith('\n'))
        return false;
    const QList<QByteArray> lines = raw.split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QByteArray &l = lines[i];
        if (!l.isEmpty() && !(l.startsWith('[') && l.endsWith(']')) && !l.contains('='))
            return false;
    }
    return true;
}

QString key(int i) { return QStringLiteral("k%1").arg(i); }

TEST_F(StoreTest, RoundTripsAwkwardNamesAndValues)
{
    const QStringList names = {
        QStringLiteral("Window Position"), QStringLiteral("Save & Load"), QStringLiteral("設定　画面"),
        QStringLiteral("Ａ＆Ｂ"), QStringLiteral("a=b"), QStringLiteral("[x]"), QStringLiteral("; not a comment"),
        QStringLiteral("#hash"), QStringLiteral(" padded "), QStringLiteral("back\\slash"),
    };
    const QStringList values = {
        QString(), QStringLiteral("  both ends  "), QStringLiteral("line1\nline2\r\nline3\r"),
        QStringLiteral("C:\\Temp\\n"), QStringLiteral("a=b=c ; not a comment"), QStringLiteral(";#[x]"),
        QStringLiteral("\t tab\t"), QStringLiteral("漢字　かな　カナ　"), QStringLiteral("\\s\\x41\\u0041"),
        QString(QChar(0)) + QStringLiteral("nul"), QString(QChar(0xD800)) + QStringLiteral("lone"),
        QStringLiteral("😀 emoji"), QString(5000, QLatin1Char('x')),
    };
    for (const QString &section : names)
        for (qsizetype i = 0; i < values.size(); ++i)
            SaveSetting(App, section, names[i % names.size()] + QString::number(i), values[i]);

    EXPECT_EQ(Sections(App), names);
    for (const QString &section : names) {
        ASSERT_EQ(Keys(App, section).size(), values.size()) << qPrintable(section);
        for (qsizetype i = 0; i < values.size(); ++i)
            EXPECT_EQ(GetSetting(App, section, names[i % names.size()] + QString::number(i), QStringLiteral("?")),
                      values[i]) << qPrintable(section) << " " << i;
    }

    const QByteArray raw = readBytes(StorePath(App));
    EXPECT_TRUE(wellFormed(raw));
    EXPECT_TRUE(raw.contains(QStringLiteral("[設定　画面]").toUtf8())); // readable UTF-8, not escaped
    EXPECT_EQ(GetSetting(App, names[0], QStringLiteral("nope"), QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_EQ(GetSetting(App, QStringLiteral("nope"), QStringLiteral("k"), QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_EQ(GetSetting(QStringLiteral("Other"), names[0], names[0] + '0', QStringLiteral("def")),
              QStringLiteral("def"));
    EXPECT_EQ(errorOf([] { SaveSetting(App, QString(), QStringLiteral("k"), QStringLiteral("v")); }), 5);
}

TEST_F(StoreTest, StorePathFollowsTheEnvironment)
{
    EXPECT_EQ(StorePath(App), path(QStringLiteral("config/Velmora 200X.ini")));
    SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("config/Velmora 200X.ini"))));

    qputenv("HOME", path(QStringLiteral("home")).toUtf8());
    for (const char *xdg : {"", "relative/dir"}) {
        qputenv("XDG_CONFIG_HOME", xdg);
        EXPECT_EQ(StorePath(App), path(QStringLiteral("home/.config/Velmora 200X.ini")));
        EXPECT_EQ(GetSetting(App, QStringLiteral("S"), QStringLiteral("k")), QString());
    }
    SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("home"));
    EXPECT_EQ(GetSetting(App, QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("home"));
}

TEST_F(StoreTest, NamesIgnoreCaseAndKeepTheFirstSpelling)
{
    SaveSetting(App, QStringLiteral("Window"), QStringLiteral("Left"), QStringLiteral("1"));
    SaveSetting(App, QStringLiteral("Other"), QStringLiteral("x"), QStringLiteral("2"));
    SaveSetting(App, QStringLiteral("WINDOW"), QStringLiteral("LEFT"), QStringLiteral("10"));
    SaveSetting(App, QStringLiteral("window"), QStringLiteral("Top"), QStringLiteral("20"));

    EXPECT_EQ(Sections(App), QStringList({QStringLiteral("Window"), QStringLiteral("Other")}));
    EXPECT_EQ(Keys(App, QStringLiteral("wInDoW")), QStringList({QStringLiteral("Left"), QStringLiteral("Top")}));
    EXPECT_EQ(GetSetting(App, QStringLiteral("window"), QStringLiteral("left")), QStringLiteral("10"));

    DeleteSetting(App, QStringLiteral("WINDOW"), QStringLiteral("top"));
    EXPECT_EQ(Keys(App, QStringLiteral("Window")), QStringList({QStringLiteral("Left")}));
    DeleteSection(App, QStringLiteral("OTHER"));
    EXPECT_EQ(Sections(App), QStringList({QStringLiteral("Window")}));
    // The blank line above [Other] is a line of [Window]: it stays.
    EXPECT_EQ(readBytes(StorePath(App)), QByteArray("[Window]\nLeft=10\n\n"));
}

TEST_F(StoreTest, DeletingWhatIsMissingThrowsInvalidCallAndChangesNothing)
{
    EXPECT_EQ(errorOf([] { DeleteApplication(App); }), 5);
    EXPECT_EQ(errorOf([] { DeleteSection(App, QStringLiteral("S")); }), 5);
    EXPECT_EQ(errorOf([] { DeleteSetting(App, QStringLiteral("S"), QStringLiteral("k")); }), 5);
    EXPECT_FALSE(QDir(path(QStringLiteral("config"))).exists()) << "a failed delete created the folder";

    SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));
    const QByteArray before = readBytes(StorePath(App));
    EXPECT_EQ(errorOf([] { DeleteSetting(App, QStringLiteral("S"), QStringLiteral("nokey")); }), 5);
    EXPECT_EQ(errorOf([] { DeleteSetting(App, QStringLiteral("nosection"), QStringLiteral("k")); }), 5);
    EXPECT_EQ(errorOf([] { DeleteSection(App, QStringLiteral("nosection")); }), 5);
    EXPECT_EQ(readBytes(StorePath(App)), before);

    // A section left empty still exists; once it is gone the application is too.
    DeleteSetting(App, QStringLiteral("S"), QStringLiteral("k"));
    EXPECT_EQ(Sections(App), QStringList({QStringLiteral("S")}));
    EXPECT_EQ(errorOf([] { DeleteSetting(App, QStringLiteral("S"), QStringLiteral("k")); }), 5);
    DeleteSection(App, QStringLiteral("S"));
    EXPECT_EQ(errorOf([] { DeleteApplication(App); }), 5);

    SaveSetting(App, QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v"));
    SaveSetting(App, QStringLiteral("B"), QStringLiteral("k"), QStringLiteral("v"));
    DeleteApplication(App);
    EXPECT_FALSE(QFile::exists(StorePath(App)));
    EXPECT_TRUE(Sections(App).isEmpty());
    EXPECT_EQ(errorOf([] { DeleteApplication(App); }), 5);
}

TEST_F(StoreTest, ChangesLeaveOtherSectionsByteForByte)
{
    QDir().mkpath(path(QStringLiteral("config")));
    const QByteArray top = "; written by hand\r\n\n[Colors]\n  Back Color = red  \n# keep me\nC:\\path=x\\y\n\n";
    const QByteArray middle = "; about fonts\n[Fonts]\nName=Mincho\n\n";
    const QByteArray bottom = "[Last]\nk = v";
    writeBytes(StorePath(App), top + middle + bottom);

    EXPECT_EQ(GetSetting(App, QStringLiteral("colors"), QStringLiteral("back color")), QStringLiteral("red"));
    EXPECT_EQ(GetSetting(App, QStringLiteral("Colors"), QStringLiteral("C:\\path")), QStringLiteral("x\\y"));

    // A section runs from its header to the next: the comment above [Fonts]
    // sits in [Colors] and stays.
    DeleteSection(App, QStringLiteral("Fonts"));
    EXPECT_EQ(readBytes(StorePath(App)), top + "; about fonts\n" + bottom);

    SaveSetting(App, QStringLiteral("Colors"), QStringLiteral("Fore Color"), QStringLiteral("blue"));
    SaveSetting(App, QStringLiteral("New"), QStringLiteral("a"), QStringLiteral("1"));
    EXPECT_EQ(readBytes(StorePath(App)),
              "; written by hand\r\n\n[Colors]\n  Back Color = red  \n# keep me\nC:\\path=x\\y\nFore Color=blue\n\n"
              "; about fonts\n[Last]\nk = v\n\n[New]\na=1\n");

    // A dotfile symlink keeps pointing at the real file.
    const QString real = path(QStringLiteral("real.ini"));
    ASSERT_TRUE(QFile::rename(StorePath(App), real));
    ASSERT_TRUE(QFile::link(real, StorePath(App)));
    SaveSetting(App, QStringLiteral("New"), QStringLiteral("a"), QStringLiteral("2"));
    EXPECT_TRUE(QFileInfo(StorePath(App)).isSymLink());
    EXPECT_TRUE(readBytes(real).endsWith("[New]\na=2\n"));
}

TEST_F(StoreTest, TwoProcessesWritingTheSameSectionLoseNothing)
{
    constexpr int count = 400;
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> children;
    for (const char *who : {"a", "b"}) {
        children.push_back(spawn([&, who] {
            close(gate[1]);
            char c;
            if (read(gate[0], &c, 1) < 0) // released together when the parent closes its end
                throw 1;
            for (int i = 0; i < count; ++i)
                SaveSetting(App, QStringLiteral("Shared"), who + key(i), QString::number(i));
        }));
    }
    close(gate[0]);
    close(gate[1]);
    for (pid_t pid : children)
        EXPECT_TRUE(exitedCleanly(pid));

    const QStringList keys = Keys(App, QStringLiteral("Shared"));
    EXPECT_EQ(keys.size(), 2 * count);
    for (const char *who : {"a", "b"}) {
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(keys.contains(who + key(i))) << who << i;
        EXPECT_EQ(GetSetting(App, QStringLiteral("Shared"), who + key(count - 1)), QString::number(count - 1));
    }
}

TEST_F(StoreTest, DeletedSectionIsNotRevivedByAConcurrentWriter)
{
    constexpr int count = 300;
    int signal[2];
    ASSERT_EQ(pipe(signal), 0);
    const pid_t writer = spawn([&] {
        close(signal[0]);
        for (int i = 0; i < count; ++i) {
            SaveSetting(App, QStringLiteral("Racy"), key(i), QString::number(i));
            SaveSetting(App, QStringLiteral("Calm"), key(i), QString::number(i));
            if ((i == 100 || i == 200) && write(signal[1], "x", 1) != 1)
                throw 1;
        }
    });
    const pid_t deleter = spawn([&] {
        close(signal[1]);
        char c;
        for (int round = 0; round < 2; ++round) {
            if (read(signal[0], &c, 1) != 1)
                throw 1;
            DeleteSection(App, QStringLiteral("Racy"));
        }
    });
    close(signal[0]);
    close(signal[1]);
    ASSERT_TRUE(exitedCleanly(writer));
    ASSERT_TRUE(exitedCleanly(deleter));

    EXPECT_TRUE(wellFormed(readBytes(StorePath(App))));
    EXPECT_EQ(Keys(App, QStringLiteral("Calm")).size(), count);
    // What survives is exactly the keys written after the second delete.
    const QStringList racy = Keys(App, QStringLiteral("Racy"));
    const int first = count - int(racy.size());
    EXPECT_GT(first, 200);
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(racy.contains(key(i)), i >= first) << i;
}

TEST_F(StoreTest, KilledWriterLeavesAWholeStore)
{
    SaveSetting(App, QStringLiteral("Before"), QStringLiteral("k"), QStringLiteral("v"));
    for (int round = 0; round < 6; ++round) {
        const QString section = QStringLiteral("Round%1").arg(round);
        const pid_t pid = spawn([&] {
            for (int i = 0;; ++i)
                SaveSetting(App, section, key(i), QString::number(i));
        });
        // The delay is the input: each round kills the writer at another point.
        usleep(useconds_t(20000 + 15000 * round));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);

        EXPECT_TRUE(wellFormed(readBytes(StorePath(App))));
        EXPECT_EQ(GetSetting(App, QStringLiteral("Before"), QStringLiteral("k")), QStringLiteral("v"));
        const QStringList keys = Keys(App, section);
        for (int i = 0; i < keys.size(); ++i)
            ASSERT_EQ(keys[i], key(i)) << "round " << round;
        // The dead writer's lock went with it.
        SaveSetting(App, section, QStringLiteral("after"), QStringLiteral("ok"));
        EXPECT_EQ(GetSetting(App, section, QStringLiteral("after")), QStringLiteral("ok"));
    }
    const QStringList temps = QDir(path(QStringLiteral("config"))).entryList({QStringLiteral("*.tmp.*")}, QDir::Files | QDir::Hidden);
    EXPECT_TRUE(temps.isEmpty()) << qPrintable(temps.join(' '));
}

TEST_F(StoreTest, LeftoverTempFilesDoNotBreakTheStore)
{
    SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));
    const QString store = StorePath(App);
    writeBytes(store + QStringLiteral(".tmp.99999"), "[S]\nk=trunc");
    writeBytes(store + QStringLiteral(".tmp.1"), QByteArray());
    // Belongs to another application whose name only starts like ours.
    const QString neighbour = path(QStringLiteral("config/Velmora 200X.ini.tmp.x.ini"));
    writeBytes(neighbour, "[N]\nk=v\n");

    EXPECT_EQ(GetSetting(App, QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("v"));
    SaveSetting(App, QStringLiteral("S"), QStringLiteral("k2"), QStringLiteral("v2"));
    EXPECT_EQ(readBytes(store), QByteArray("[S]\nk=v\nk2=v2\n"));
    EXPECT_FALSE(QFile::exists(store + QStringLiteral(".tmp.99999")));
    EXPECT_FALSE(QFile::exists(store + QStringLiteral(".tmp.1")));
    EXPECT_TRUE(QFile::exists(neighbour));
}

TEST_F(StoreTest, UnwritableStoreThrowsNamingThePath)
{
    writeBytes(path(QStringLiteral("plain")), "not a folder");
    setConfigDir(path(QStringLiteral("plain/config")));
    QString description;
    const int number =
        errorOf([] { SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v")); }, &description);
    EXPECT_TRUE(number == vx::err::PathFileAccess || number == vx::err::PermissionDenied) << number;
    EXPECT_TRUE(description.contains(path(QStringLiteral("plain")))) << qPrintable(description);
    EXPECT_EQ(GetSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_TRUE(Sections(App).isEmpty());

    // A store that cannot be read must not be overwritten with a fresh one.
    setConfigDir(path(QStringLiteral("config")));
    ASSERT_TRUE(QDir().mkpath(StorePath(App)));
    EXPECT_EQ(GetSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_NE(errorOf([] { SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v")); }), 0);
    EXPECT_TRUE(QFileInfo(StorePath(App)).isDir());
}

TEST_F(StoreTest, BusyLockTimesOutAndRecovers)
{
    SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("old"));
    const int held = open(QFile::encodeName(StorePath(App) + QStringLiteral(".lock")).constData(), O_RDWR);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX), 0);

    detail::setLockTimeout(200);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(errorOf([] { SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("new")); }),
              vx::err::PermissionDenied);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_EQ(GetSetting(App, QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("old"));

    close(held);
    detail::setLockTimeout(5000);
    SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("new"));
    EXPECT_EQ(GetSetting(App, QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("new"));
}

} // namespace
