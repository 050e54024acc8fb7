// Hand-edited stores: every line a change was not asked to touch comes back
// byte for byte, whatever it holds.
#include "platform/store/store.h"

#include "platform/core/errors.h"
#include "testing/capabilities.h"
#include "testing/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using vxtest::errorOf;
using namespace vx::store;

namespace {

const QString App = QStringLiteral("Velmora 200X");

class StoreLinesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp_.isValid());
        oldXdg_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(tmp_.path()));
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", oldXdg_); }

    static void put(const QByteArray &data)
    {
        QFile f(StorePath(App));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(data);
    }
    static QByteArray raw()
    {
        QFile f(StorePath(App));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir tmp_;
    QByteArray oldXdg_;
};

TEST_F(StoreLinesTest, DeletingASectionKeepsEveryLineAboveIt)
{
    put("[Junk]\nhand-written line\n\n[Tail]\nt=1");
    DeleteSection(App, QStringLiteral("Tail"));
    EXPECT_EQ(raw(), QByteArray("[Junk]\nhand-written line\n\n"));

    const QByteArray nul("\0\0\0", 3);
    put("[A]\na=1\n" + nul + "\n; about B\n[B]\nb=1\n[C]\nc=1\n");
    DeleteSection(App, QStringLiteral("b"));
    EXPECT_EQ(raw(), "[A]\na=1\n" + nul + "\n; about B\n[C]\nc=1\n");
    DeleteSetting(App, QStringLiteral("A"), QStringLiteral("a"));
    EXPECT_EQ(raw(), "[A]\n" + nul + "\n; about B\n[C]\nc=1\n");
    SaveSetting(App, QStringLiteral("a"), QStringLiteral("new"), QStringLiteral("v"));
    EXPECT_EQ(raw(), "[A]\nnew=v\n" + nul + "\n; about B\n[C]\nc=1\n");
}

TEST_F(StoreLinesTest, AMissingLastNewlineStaysMissingWhileThatLineIsLast)
{
    put("[A]\r\nx = 1\r\n[B]\r\ny=2");
    SaveSetting(App, QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("9"));
    EXPECT_EQ(raw(), QByteArray("[A]\r\nx=9\r\n[B]\r\ny=2"));
    SaveSetting(App, QStringLiteral("B"), QStringLiteral("z"), QStringLiteral("3"));
    EXPECT_EQ(raw(), QByteArray("[A]\r\nx=9\r\n[B]\r\ny=2\r\nz=3\r\n"));
}

// One generated line and what the test knows of it.
struct GenLine {
    QByteArray raw;
    int section = -1; // index into the section names, -1 above the first header
    bool header = false;
    int key = -1; // key number of a key line
};

QByteArray junk(QRandomGenerator &rng)
{
    QByteArray out;
    const int n = int(rng.bounded(1, 24));
    for (int i = 0; i < n; ++i) {
        char c;
        do
            c = char(rng.bounded(256));
        while (c == '\n' || (i == 0 && (c == '[' || c == ' ' || c == '\t' || c == '\r' || c == ';' || c == '#')));
        // Junk never names one of our keys: "k<digit>=" cannot start it.
        if (i == 0 && (c == 'k' || c == 'K'))
            c = 'j';
        out += c;
    }
    return out;
}

std::vector<GenLine> generate(QRandomGenerator &rng, const QStringList &sections)
{
    std::vector<GenLine> lines;
    int current = -1;
    const int count = int(rng.bounded(0, 40));
    for (int i = 0; i < count; ++i) {
        GenLine l;
        l.section = current;
        switch (rng.bounded(8)) {
        case 0:
        case 1: {
            current = int(rng.bounded(qsizetype(sections.size())));
            QByteArray name = sections[current].toUtf8();
            if (rng.bounded(2))
                name = name.toLower();
            l.raw = (rng.bounded(2) ? "  [" : "[") + name + (rng.bounded(2) ? "]\r" : "]");
            l.section = current;
            l.header = true;
            break;
        }
        case 2:
        case 3:
            l.key = int(rng.bounded(4));
            l.raw = (rng.bounded(2) ? "K" : "k") + QByteArray::number(l.key) + (rng.bounded(2) ? " = " : "=") +
                    junk(rng);
            break;
        case 4: l.raw = QByteArray(int(rng.bounded(3)), rng.bounded(2) ? ' ' : '\r'); break;
        case 5: l.raw = (rng.bounded(2) ? "; " : "# ") + junk(rng); break;
        case 6: l.raw = QByteArray(int(rng.bounded(1, 5)), '\0') + junk(rng); break;
        default: l.raw = junk(rng); break;
        }
        lines.push_back(l);
    }
    return lines;
}

QByteArray join(const std::vector<const GenLine *> &lines, bool open)
{
    QByteArray out;
    for (const GenLine *l : lines)
        out += l->raw + '\n';
    if (open && !out.isEmpty())
        out.chop(1);
    return out;
}

TEST_F(StoreLinesTest, RandomEditsWriteEveryUntouchedLineBackByteForByte)
{
    const QStringList sections = {QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")};
    QRandomGenerator rng(20261209);
    int checked = 0;
    for (int round = 0; round < 150; ++round) {
        const std::vector<GenLine> doc = generate(rng, sections);
        const bool open = rng.bounded(2) == 1;
        std::vector<const GenLine *> all;
        for (const GenLine &l : doc)
            all.push_back(&l);
        const QByteArray before = join(all, open);
        put(before);
        const int op = int(rng.bounded(3));
        const int s = int(rng.bounded(qsizetype(sections.size() + 1))); // the last is a new section
        const QString section = s < sections.size() ? sections[s] : QStringLiteral("Delta");
        const int k = int(rng.bounded(5)); // 4 is a new key
        const QString key = QStringLiteral("k%1").arg(k);
        const auto inTarget = [&](const GenLine &l) { return l.section == s && !l.header && l.key == k; };
        SCOPED_TRACE(testing::Message() << "round " << round << " op " << op << " " << section.toStdString() << "/"
                                        << key.toStdString() << "\n" << before.toStdString());

        std::vector<const GenLine *> kept;
        int touched = 0;
        for (const GenLine &l : doc) {
            const bool hit = op == 2 ? l.section == s : inTarget(l);
            touched += hit;
            if (!hit)
                kept.push_back(&l);
        }
        const bool lastKept = !doc.empty() && !(op == 2 ? doc.back().section == s : inTarget(doc.back()));
        if (op == 0) {
            const QString value = QStringLiteral("v%1 値").arg(round);
            SaveSetting(App, section, key, value);
            EXPECT_EQ(GetSetting(App, section, key), value);
            // The untouched lines in their order, and only the one key line besides.
            const QList<QByteArray> after = raw().split('\n');
            size_t next = 0;
            for (const QByteArray &line : after)
                if (next < kept.size() && line == kept[next]->raw)
                    ++next;
            EXPECT_EQ(next, kept.size()) << raw().toStdString();
            // Lines as a reader counts them (an open blank last line is no line).
            const auto count = [](const QByteArray &b) { return b.count('\n') + (b.endsWith('\n') || b.isEmpty() ? 0 : 1); };
            const qsizetype added = count(raw()) - (count(before) - touched);
            EXPECT_TRUE(added == 1 || (touched == 0 && (added == 2 || added == 3))) << added << "\n" << raw().toStdString();
        } else {
            const int number = op == 1 ? errorOf([&] { DeleteSetting(App, section, key); })
                                       : errorOf([&] { DeleteSection(App, section); });
            if (touched == 0) {
                EXPECT_EQ(number, vx::err::InvalidCall);
                EXPECT_EQ(raw(), before);
            } else {
                EXPECT_EQ(number, 0);
                EXPECT_EQ(raw(), join(kept, open && lastKept));
            }
        }
        ++checked;
    }
    EXPECT_EQ(checked, 150);
}

ino_t inode(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

TEST_F(StoreLinesTest, AWriteProtectedStoreIsNeitherReplacedNorDeleted)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    const QByteArray before("[S]\nk=v\n[T]\nt=1\n");
    put(before);
    const QString store = StorePath(App);
    ASSERT_TRUE(QFile::setPermissions(store, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const ino_t was = inode(store);
    QString why;
    EXPECT_EQ(errorOf([] { SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("w")); }, &why),
              vx::err::PermissionDenied);
    EXPECT_TRUE(why.startsWith(vx::errorText(vx::err::PermissionDenied)) && why.contains(store)) << qPrintable(why);
    EXPECT_EQ(errorOf([] { DeleteSection(App, QStringLiteral("T")); }), vx::err::PermissionDenied);
    EXPECT_EQ(errorOf([] { DeleteApplication(App); }), vx::err::PermissionDenied);
    // Reading and asking for what is already there need no writing.
    EXPECT_EQ(GetSetting(App, QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("v"));
    EXPECT_EQ(errorOf([] { SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v")); }), 0);
    EXPECT_EQ(raw(), before);
    EXPECT_EQ(inode(store), was);
    const QStringList left = QDir(tmp_.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList({QFileInfo(store).fileName(), QFileInfo(store).fileName() + QStringLiteral(".lock")}));
}

TEST_F(StoreLinesTest, AHardLinkedStoreIsRefusedSayingWhy)
{
    const QByteArray before("[S]\nk=v\n");
    put(before);
    const QString store = StorePath(App);
    const QString other = tmp_.filePath(QStringLiteral("backup-of-settings.ini"));
    ASSERT_EQ(::link(QFile::encodeName(store).constData(), QFile::encodeName(other).constData()), 0);
    QString why;
    EXPECT_EQ(errorOf([] { SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("w")); }, &why),
              vx::err::PermissionDenied);
    EXPECT_TRUE(why.contains(QStringLiteral("ハードリンク"))) << qPrintable(why);
    EXPECT_EQ(errorOf([] { DeleteSection(App, QStringLiteral("S")); }), vx::err::PermissionDenied);
    EXPECT_EQ(raw(), before);
    EXPECT_EQ(inode(store), inode(other));
    // One name again: saved as usual.
    ASSERT_TRUE(QFile::remove(other));
    SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("w"));
    EXPECT_EQ(raw(), QByteArray("[S]\nk=w\n"));
}

// A line the store writes ends as the file's lines do: CR LF in a file whose
// lines end so, LF in a new file. In a mixed file a changed line keeps its
// own ending and a new one takes the ending most lines have.
TEST_F(StoreLinesTest, WrittenLinesEndAsTheFilesLinesDo)
{
    put("; by hand\r\n[S]\r\nk=v\r\nother=1\r\n\r\n[T]\r\nt=1");
    SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("w"));
    EXPECT_EQ(raw(), QByteArray("; by hand\r\n[S]\r\nk=w\r\nother=1\r\n\r\n[T]\r\nt=1"));
    SaveSetting(App, QStringLiteral("S"), QStringLiteral("new"), QStringLiteral("n"));
    SaveSetting(App, QStringLiteral("T"), QStringLiteral("u"), QStringLiteral("2"));
    SaveSetting(App, QStringLiteral("N"), QStringLiteral("x"), QStringLiteral("1"));
    EXPECT_EQ(raw(), QByteArray("; by hand\r\n[S]\r\nk=w\r\nother=1\r\nnew=n\r\n\r\n[T]\r\nt=1\r\nu=2\r\n\r\n"
                                "[N]\r\nx=1\r\n"));
    EXPECT_EQ(GetSetting(App, QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("w"));
    // A new section after an open last line in CR LF.
    put("[S]\r\nk=v");
    SaveSetting(App, QStringLiteral("N"), QStringLiteral("x"), QStringLiteral("1"));
    EXPECT_EQ(raw(), QByteArray("[S]\r\nk=v\r\n\r\n[N]\r\nx=1\r\n"));
    ASSERT_TRUE(QFile::remove(StorePath(App)));
    SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(raw(), QByteArray("[S]\nk=v\n"));
    put("[S]\r\na=1\nb=2\r\nc=3\r\n");
    SaveSetting(App, QStringLiteral("S"), QStringLiteral("a"), QStringLiteral("9"));
    SaveSetting(App, QStringLiteral("S"), QStringLiteral("d"), QStringLiteral("4"));
    EXPECT_EQ(raw(), QByteArray("[S]\r\na=9\nb=2\r\nc=3\r\nd=4\r\n"));
    put("[S]\na=1\r\nb=2\nc=3\n");
    SaveSetting(App, QStringLiteral("S"), QStringLiteral("a"), QStringLiteral("9"));
    SaveSetting(App, QStringLiteral("S"), QStringLiteral("d"), QStringLiteral("4"));
    EXPECT_EQ(raw(), QByteArray("[S]\na=9\r\nb=2\nc=3\nd=4\n"));
}

TEST_F(StoreLinesTest, ALeftoverTempFileSomeoneHoldsIsLeftAlone)
{
    put("[S]\nk=v\n");
    const QString held = StorePath(App) + QStringLiteral(".tmp.4242");
    const QString stale = StorePath(App) + QStringLiteral(".tmp.4343");
    for (const QString &p : {held, stale}) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[S]\nk=half");
    }
    const int fd = ::open(QFile::encodeName(held).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("w"));
    EXPECT_TRUE(QFile::exists(held));
    EXPECT_FALSE(QFile::exists(stale));
    ::close(fd);
    SaveSetting(App, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("x"));
    EXPECT_FALSE(QFile::exists(held));
    EXPECT_EQ(raw(), QByteArray("[S]\nk=x\n"));
}

} // namespace
