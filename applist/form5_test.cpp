#include "applist_fixture_test.h"
#include "platform/store/store.h"

#include <QApplication>
#include <QFileInfo>
#include <QFocusEvent>
#include <QTest>

namespace {

using Form5Test = AppListTest;

const QString kAsk = QStringLiteral("アプリケーションを登録してください。");

TEST_F(Form5Test, EmptyStoreRegistersInsideTheLoad)
{
    vxtest::dialogs().answers = {vx::vbOK, vx::vbOK}; // the request, then the question
    vxtest::dialogs().modalScripts.push_back([this](vx::Form &w) {
        auto &f = dynamic_cast<Form6 &>(w);
        f.Dir1.setPath(folder);
        f.File1.setListIndex(1);
        f.AddProgram.click();
    });
    Form5 &f = vx::instance<Form5>();
    EXPECT_EQ(vxtest::dialogs().modals, QStringList{QStringLiteral("Form6")});
    ASSERT_EQ(vxtest::dialogs().messages.size(), 2u);
    EXPECT_EQ(vxtest::dialogs().messages[0].text, kAsk);
    EXPECT_EQ(vxtest::dialogs().messages[0].style, vx::vbOKOnly);
    EXPECT_EQ(listed(f), QStringList{path(QStringLiteral("beta"))});
    EXPECT_EQ(stored(QStringLiteral("AppCount")), QStringLiteral("1"));
    EXPECT_EQ(stored(QStringLiteral("1")), path(QStringLiteral("beta")));
    EXPECT_FALSE(f.AppDel.Enabled());
}

TEST_F(Form5Test, EmptyStoreBackLeavesAnEmptyListAndRunAllStartsNothing)
{
    QStringList started;
    applist::setStarter([&](const QString &p, QString *) {
        started << p;
        return true;
    });
    vxtest::dialogs().modalScripts.push_back([](vx::Form &w) { dynamic_cast<Form6 &>(w).BackBtn.click(); });
    Form5 &f = vx::instance<Form5>();
    EXPECT_EQ(f.List1.ListCount(), 0);
    f.Run.click();
    EXPECT_TRUE(started.isEmpty());
    EXPECT_EQ(vxtest::dialogs().messages.size(), 1u);
}

TEST_F(Form5Test, LoadListsTheStoreInKeyOrderAndAListClickEnablesDelete)
{
    storeList({QStringLiteral("/opt/b"), QStringLiteral("/opt/a"), QStringLiteral("/opt/c")});
    Form5 &f = vx::instance<Form5>();
    EXPECT_EQ(listed(f), (QStringList{QStringLiteral("/opt/b"), QStringLiteral("/opt/a"), QStringLiteral("/opt/c")}));
    EXPECT_FALSE(f.AppDel.Enabled());
    // Taking the focus picks no entry: delete stays off until one is chosen.
    f.Show();
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&f.List1, &focus);
    EXPECT_EQ(f.List1.ListIndex(), -1);
    EXPECT_FALSE(f.AppDel.Enabled());
    f.List1.setListIndex(1);
    EXPECT_TRUE(f.AppDel.Enabled());
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    EXPECT_EQ(f.Caption(), QStringLiteral("Kinvoke Version1.4"));
}

TEST_F(Form5Test, DeleteClosesUpTheKeys)
{
    storeList({QStringLiteral("/opt/one"), QStringLiteral("/opt/two"), QStringLiteral("/opt/three")});
    Form5 &f = vx::instance<Form5>();
    f.List1.setListIndex(1);
    f.AppDel.click();
    EXPECT_EQ(listed(f), (QStringList{QStringLiteral("/opt/one"), QStringLiteral("/opt/three")}));
    EXPECT_EQ(stored(QStringLiteral("AppCount")), QStringLiteral("2"));
    EXPECT_EQ(stored(QStringLiteral("1")), QStringLiteral("/opt/one"));
    EXPECT_EQ(stored(QStringLiteral("2")), QStringLiteral("/opt/three"));
    EXPECT_EQ(stored(QStringLiteral("3")), QStringLiteral("/opt/three")) << "left behind, never read";
    EXPECT_FALSE(f.AppDel.Enabled());
    EXPECT_EQ(f.List1.ListIndex(), -1) << "no line is shown chosen while delete is off";
    EXPECT_TRUE(f.List1.selectedItems().isEmpty());

    // With nothing selected (not reachable by the buttons) nothing changes.
    f.List1.setListIndex(-1);
    f.AppDel_Click();
    EXPECT_EQ(f.List1.ListCount(), 2);
    EXPECT_EQ(stored(QStringLiteral("AppCount")), QStringLiteral("2"));

    // Any click on a line enables delete, also on the line chosen already;
    // the last line goes too.
    f.Show();
    const auto click = [&f](int row) {
        QTest::mouseClick(f.List1.viewport(), Qt::LeftButton, {}, f.List1.visualItemRect(f.List1.item(row)).center());
    };
    click(1);
    EXPECT_TRUE(f.AppDel.Enabled());
    f.AppDel.click();
    EXPECT_FALSE(f.AppDel.Enabled());
    f.List1.setListIndex(0);
    f.AppDel.setEnabled(false);
    click(0);
    EXPECT_TRUE(f.AppDel.Enabled()) << "a click on the line already chosen";
    f.AppDel.click();
    EXPECT_EQ(f.List1.ListCount(), 0);
    EXPECT_EQ(stored(QStringLiteral("AppCount")), QStringLiteral("0"));
}

TEST_F(Form5Test, DeletingTheLastEntryAsksForANewOne)
{
    storeList({QStringLiteral("/opt/only")});
    Form5 &f = vx::instance<Form5>();
    f.List1.setListIndex(0);
    f.AppDel.click();
    EXPECT_EQ(stored(QStringLiteral("AppCount")), QStringLiteral("0"));
    EXPECT_EQ(stored(QStringLiteral("1")), QStringLiteral("/opt/only"));
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{kAsk});
    EXPECT_EQ(vxtest::dialogs().modals, QStringList{QStringLiteral("Form6")});
}

TEST_F(Form5Test, CountThatIsNotANumberIsZeroAndLosesNothing)
{
    suite::SaveSetting(applist::keys::kSection, QStringLiteral("1"), QStringLiteral("/opt/kept"));
    for (const char *count : {"many", "-3", "99999"}) {
        SCOPED_TRACE(count);
        suite::SaveSetting(applist::keys::kSection, applist::keys::kAppCount, QString::fromLatin1(count));
        vxtest::dialogs().messages.clear();
        Form5 &f = vx::instance<Form5>();
        EXPECT_EQ(f.List1.ListCount(), 0);
        EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{kAsk});
        EXPECT_EQ(stored(QStringLiteral("AppCount")), QString::fromLatin1(count));
        EXPECT_EQ(stored(QStringLiteral("1")), QStringLiteral("/opt/kept"));
        f.Exit.click();
        EXPECT_FALSE(vx::isLoaded<Form5>());
    }
}

TEST_F(Form5Test, CountPastTheLimitShowsAndStartsTheFirstHundredAndDeleteKeepsTheRest)
{
    QStringList paths;
    for (int k = 1; k <= 103; ++k)
        paths << QStringLiteral("/opt/p%1").arg(k);
    storeList(paths);
    QStringList started;
    applist::setStarter([&](const QString &p, QString *) {
        started << p;
        return true;
    });
    Form5 &f = vx::instance<Form5>();
    EXPECT_EQ(listed(f), paths.mid(0, 100));
    f.Run.click();
    EXPECT_EQ(started, paths.mid(0, 100));

    f.List1.setListIndex(4);
    f.AppDel.click();
    paths.removeAt(4);
    EXPECT_EQ(stored(QStringLiteral("AppCount")), QStringLiteral("102"));
    for (int k = 1; k <= 102; ++k)
        ASSERT_EQ(stored(QString::number(k)), paths[k - 1]) << k;
    EXPECT_EQ(listed(f), paths.mid(0, 100)) << "the next one moves into view";

    // A count far past the keys there are writes no keys that were not there.
    suite::SaveSetting(applist::keys::kSection, applist::keys::kAppCount, QStringLiteral("30000"));
    f.List1.setListIndex(0);
    f.AppDel.click();
    EXPECT_EQ(stored(QStringLiteral("AppCount")), QStringLiteral("29999"));
    EXPECT_EQ(stored(QStringLiteral("101")), paths[101]);
    EXPECT_EQ(vx::store::Keys(suite::kApp, applist::keys::kSection).size(), 104) << "AppCount and 103 entries";
}

TEST_F(Form5Test, RunAllStartsEveryStoredPathInKeyOrder)
{
    storeList({QStringLiteral("/opt/b"), QStringLiteral("/opt/a"), QStringLiteral("/opt/b")});
    Form5 &f = vx::instance<Form5>();
    // The store, not the list, says what runs.
    suite::SaveSetting(applist::keys::kSection, QStringLiteral("2"), QStringLiteral("/opt/new"));
    QStringList started;
    applist::setStarter([&](const QString &p, QString *) {
        started << p;
        return true;
    });
    f.Run.click();
    EXPECT_EQ(started, (QStringList{QStringLiteral("/opt/b"), QStringLiteral("/opt/new"), QStringLiteral("/opt/b")}));
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
}

TEST_F(Form5Test, RunAllStartsRealProgramsWithoutAShellAndNamesEveryFailure)
{
    // Would-be side effects of a shell land here.
    QTemporaryDir work;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work.path()));

    const QString hostile = script(QStringLiteral("run me; touch hacked1 $(touch hacked2) `touch hacked3` \"q\" 'r'"),
                                   QStringLiteral("hostile"));
    const QString notRunnable = path(QStringLiteral("readme.txt"));
    const QString missing = path(QStringLiteral("gone"));
    storeList({path(QStringLiteral("alpha")), missing, hostile, QString(), path(QStringLiteral("beta")),
               notRunnable, path(QStringLiteral("tools")), path(QStringLiteral("alpha")), QStringLiteral("beta")});
    Form5 &f = vx::instance<Form5>();
    f.Show();
    f.showMinimized();
    f.Run.click();

    EXPECT_EQ(runs(QStringLiteral("alpha"), 2), 2) << "a path registered twice starts twice";
    EXPECT_EQ(runs(QStringLiteral("beta")), 1);
    // Its mark is left by the program itself: a shell reading the name would
    // have run "run" and the touches instead.
    EXPECT_EQ(runs(QStringLiteral("hostile")), 1) << "the whole name is the program";
    for (const char *trace : {"hacked1", "hacked2", "hacked3"})
        EXPECT_FALSE(QFileInfo::exists(work.path() + QLatin1Char('/') + QLatin1String(trace))) << trace;

    ASSERT_EQ(vxtest::dialogs().messages.size(), 1u) << "one message for every failure";
    const vxtest::MessageRecord &m = vxtest::dialogs().messages[0];
    EXPECT_EQ(m.icon(), vx::vbExclamation);
    for (const QString &failed : {missing, notRunnable, path(QStringLiteral("tools")), QStringLiteral("beta")})
        EXPECT_TRUE(m.text.contains(failed)) << failed.toStdString();
    EXPECT_TRUE(m.text.contains(QStringLiteral("4番"))) << "the empty entry is named by its number";
    EXPECT_FALSE(m.text.contains(path(QStringLiteral("alpha"))));
    EXPECT_FALSE(m.text.contains(hostile));
    EXPECT_FALSE(f.windowState() & Qt::WindowMinimized) << "restored after run-all";
    EXPECT_TRUE(vx::isShown<Form5>());

    ASSERT_TRUE(QDir::setCurrent(before));
}

TEST_F(Form5Test, FontTakesSizeBoldAndItalicAndCancelKeepsIt)
{
    storeList({QStringLiteral("/opt/a")});
    Form5 &f = vx::instance<Form5>();
    const QString face = f.List1.font().family();
    vx::FontChoice chosen;
    chosen.name = QStringLiteral("Serif Elsewhere");
    chosen.size = 18;
    chosen.bold = true;
    chosen.italic = true;
    vxtest::dialogs().fonts = {chosen, std::nullopt};
    f.Command1.click();
    EXPECT_EQ(f.List1.font().pointSizeF(), 18);
    EXPECT_TRUE(f.List1.font().bold());
    EXPECT_TRUE(f.List1.font().italic());
    EXPECT_EQ(f.List1.font().family(), face) << "the face is not taken";
    f.Command1.click();
    EXPECT_EQ(f.List1.font().pointSizeF(), 18);
    EXPECT_TRUE(f.List1.font().bold());
    EXPECT_TRUE(vx::store::Keys(suite::kApp, applist::keys::kSection).size() == 2) << "nothing saved";
}

TEST_F(Form5Test, ListScrollsSidewaysToItsLongestPath)
{
    const QString longPath = QStringLiteral("/opt/") + QString(200, QLatin1Char('x')) + QStringLiteral("/tool");
    storeList({QStringLiteral("/opt/a"), longPath});
    Form5 &f = vx::instance<Form5>();
    const int needed = f.List1.fontMetrics().horizontalAdvance(longPath);
    EXPECT_GE(f.List1.HorizontalExtent(), needed);
    EXPECT_GT(f.List1.HorizontalExtent(), f.List1.width());

    f.List1.setListIndex(1);
    f.AppDel.click();
    EXPECT_LT(f.List1.HorizontalExtent(), f.List1.width()) << "the extent follows the paths left";
    vx::FontChoice big;
    big.size = 24;
    vxtest::dialogs().fonts = {big};
    const int before = f.List1.HorizontalExtent();
    f.Command1.click();
    EXPECT_GT(f.List1.HorizontalExtent(), before);
}

} // namespace
