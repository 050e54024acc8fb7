#include "sysinfo/form10.h"

#include "testing/harness.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThread>

namespace {

class Form10SearchTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        root = tmp.path();
        for (const char *f : {"b.txt", "a.log", ".hidden.txt", "sub/c.txt", ".hsub/d.txt", "日本語/ファイル.TXT"}) {
            QDir(root).mkpath(QFileInfo(root + '/' + f).path());
            QFile file(root + '/' + QString::fromUtf8(f));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }
    static void waitForSearch(Form10 &f)
    {
        ASSERT_TRUE(vxtest::waitUntil([&] { return !f.Searching(); }, 60000));
        QCoreApplication::processEvents();
    }
    static QStringList listed(Form10 &f)
    {
        QStringList l;
        for (int i = 0; i < f.List2.ListCount(); ++i)
            l << f.List2.List(i);
        return l;
    }
    Form10 &searchIn(const QString &folder, const QString &pattern, bool recurse)
    {
        Form10 &f = vx::instance<Form10>();
        f.Show();
        f.SSTab1.setTab(Form10::FileSearch);
        f.Dir1.setPath(folder);
        f.txtFilename.setText(pattern);
        f.chkSubFolder.setValue(recurse ? 1 : 0);
        f.cmdFind.click();
        return f;
    }
    QTemporaryDir tmp;
    QString root;
};

TEST_F(Form10SearchTest, FindsThenShowsTheCountAndTime)
{
    Form10 &f = searchIn(root, QStringLiteral("*.TXT"), true);
    EXPECT_FALSE(f.List2.Visible()); // filled out of sight
    waitForSearch(f);
    const QString r = root + '/';
    EXPECT_EQ(listed(f), (QStringList{r + ".hidden.txt", r + "b.txt", r + ".hsub/d.txt", r + "sub/c.txt",
                                      r + QStringLiteral("日本語/ファイル.TXT")}));
    EXPECT_TRUE(f.List2.Visible());
    // Whole seconds: a busy machine may take one.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^検索結果： 5個    検索時間：[01]秒$"))
                    .match(f.lblProgress.Caption()).hasMatch())
        << f.lblProgress.Caption().toStdString();
    // Paths scroll sideways to twice the list's width.
    QCoreApplication::processEvents();
    EXPECT_GT(f.List2.horizontalScrollBar()->maximum(), f.List2.width() / 2);

    f.chkSubFolder.setValue(0);
    f.txtFilename.setText(QString());
    f.cmdFind.click();
    waitForSearch(f);
    EXPECT_EQ(listed(f), (QStringList{r + ".hidden.txt", r + "a.log", r + "b.txt"}));

    f.txtFilename.setText(QStringLiteral("nothing*"));
    f.cmdFind.click();
    waitForSearch(f);
    EXPECT_EQ(f.List2.ListCount(), 0);
    EXPECT_TRUE(f.lblProgress.Caption().startsWith(QStringLiteral("検索結果： 0個")));
    EXPECT_TRUE(f.List2.Visible());
}

// A tree big enough that the search is still running when it is replaced or
// the window goes.
class BigTree : public Form10SearchTest {
protected:
    void SetUp() override
    {
        Form10SearchTest::SetUp();
        big = tmp.path() + "/big";
        for (int d = 0; d < 100; ++d) {
            const QString sub = big + QStringLiteral("/d%1").arg(d, 3, 10, QLatin1Char('0'));
            QDir().mkpath(sub);
            for (int i = 0; i < 100; ++i)
                QFile(sub + QStringLiteral("/f%1").arg(i)).open(QIODevice::WriteOnly);
        }
    }
    QString big;
};

TEST_F(BigTree, NewSearchReplacesTheRunningOneAndClosingCancels)
{
    Form10 &f = searchIn(big, QString(), true);
    // The first search has sent its paths, but the window has not taken them
    // yet: nothing of it may mix into the second.
    ASSERT_TRUE(vxtest::waitWithoutEvents([&] { return f.SearchFolder().endsWith(QLatin1String("/d099/")); }));
    f.Dir1.setPath(root + "/sub");
    f.cmdFind.click();
    waitForSearch(f);
    EXPECT_EQ(listed(f), QStringList{root + "/sub/c.txt"});

    f.Dir1.setPath(big);
    f.cmdFind.click();
    waitForSearch(f);
    EXPECT_EQ(f.List2.ListCount(), 10000);
    EXPECT_EQ(f.List2.List(0), big + "/d000/f0");
    EXPECT_EQ(f.List2.List(9999), big + "/d099/f99");

    f.cmdFind.click();
    EXPECT_TRUE(f.Searching());
    f.Command12.click(); // unload: the search stops with the window
    EXPECT_FALSE(vx::isLoaded<Form10>());
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(Form10SearchTest, ExportWritesEachPathWithCrLfInUtf8)
{
    Form10 &f = searchIn(root, QStringLiteral("*.txt"), true);
    waitForSearch(f);
    const QString out = tmp.path() + "/list.txt";
    // Cancel writes nothing.
    vxtest::dialogs().files.push_back(std::nullopt);
    f.Command15.click();
    EXPECT_FALSE(QFile::exists(out));
    vxtest::dialogs().files.push_back(QStringList{out});
    f.Command15.click();
    ASSERT_GE(vxtest::dialogs().fileRequests.size(), 2u);
    EXPECT_TRUE(vxtest::dialogs().fileRequests.back().save);
    EXPECT_EQ(vxtest::dialogs().fileRequests.back().filter, QStringLiteral("テキストファイル(*.txt)|*.txt"));
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray expected;
    for (const QString &p : listed(f))
        expected += p.toUtf8() + "\r\n";
    EXPECT_EQ(file.readAll(), expected);
    EXPECT_TRUE(expected.contains("日本語/ファイル.TXT"));
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              (QStringList{QStringLiteral("保存するファイル名.txtと入力して保存してください。"),
                           QStringLiteral("保存するファイル名.txtと入力して保存してください。")}));

    // A file that cannot be written says so, and the old one stays.
    vxtest::dialogs().files.push_back(QStringList{tmp.path() + "/no/such/folder/list.txt"});
    f.Command15.click();
    EXPECT_TRUE(vxtest::dialogs().messageTexts().last().startsWith(QStringLiteral("一覧を保存出来ませんでした。")));

    // A FIFO named as the list is not replaced by it (nor would a device behind a link be).
    const QString fifo = tmp.path() + "/fifo.txt";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    vxtest::dialogs().files.push_back(QStringList{fifo});
    f.Command15.click();
    EXPECT_TRUE(vxtest::dialogs().messageTexts().last().startsWith(QStringLiteral("一覧を保存出来ませんでした。")));
    EXPECT_FALSE(QFileInfo(fifo).isFile());
}

TEST_F(Form10SearchTest, OpenTheChosenEntryAndDriveChange)
{
    Form10 &f = searchIn(root, QStringLiteral("b.*"), false);
    waitForSearch(f);
    f.Command17.click();
    EXPECT_EQ(vxtest::dialogs().messageTexts().last(),
              QStringLiteral("リストの中から起動したいファイルのパスを選択してください"));
    EXPECT_TRUE(vxtest::shell().opened.isEmpty());
    f.List2.setListIndex(0);
    f.Command17.click();
    EXPECT_EQ(vxtest::shell().opened, QStringList{root + "/b.txt"});

    vx::setMountedDrivesOverride({{QStringLiteral("/"), QStringLiteral("root")},
                                  {QStringLiteral("/gone/away"), QStringLiteral("card")}});
    f.Drive1.Refresh();
    f.Dir1.setPath(root);
    vxtest::dialogs().answers = {vx::vbRetry, vx::vbCancel};
    f.Drive1.setDrive(QStringLiteral("/gone/away"));
    ASSERT_EQ(vxtest::dialogs().messages.size(), 3u);
    EXPECT_EQ(vxtest::dialogs().messages.back().style, vx::vbRetryCancel | vx::vbCritical);
    EXPECT_EQ(f.Drive1.Drive(), QStringLiteral("/"));
    EXPECT_EQ(f.Dir1.Path(), root);
    f.Drive1.setDrive(QStringLiteral("/"));
    vx::setMountedDrivesOverride({});
}

} // namespace
