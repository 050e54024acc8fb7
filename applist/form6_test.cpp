#include "applist_fixture_test.h"
#include "platform/forms/filelists.h"

namespace {

class Form6Test : public AppListTest {
protected:
    // The registration window at the program folder, as from a loaded Form5.
    Form6 &browser()
    {
        storeList({path(QStringLiteral("alpha"))});
        vx::instance<Form5>();
        Form6 &f = vx::instance<Form6>();
        f.Dir1.setPath(folder);
        f.Show();
        return f;
    }
    static void choose(Form6 &f, const char *name)
    {
        for (int i = 0; i < f.File1.ListCount(); ++i)
            if (f.File1.List(i) == QLatin1String(name))
                f.File1.setListIndex(i);
        ASSERT_EQ(f.File1.FileName(), QLatin1String(name));
    }
};

TEST_F(Form6Test, FileListShowsTheProgramsOnly)
{
    Form6 &f = browser();
    EXPECT_EQ(f.File1.Path(), folder);
    QStringList names;
    for (int i = 0; i < f.File1.ListCount(); ++i)
        names << f.File1.List(i);
    EXPECT_EQ(names, (QStringList{QStringLiteral("alpha"), QStringLiteral("beta")}))
        << "no hidden file, no file that may not run, no folder";
    EXPECT_EQ(f.File1.ToolTipText(), QStringLiteral("追加するアプリケーションを選択してください"));
}

TEST_F(Form6Test, RegistrationAsksThenStoresAppendsAndHides)
{
    Form6 &f = browser();
    Form5 &list = vx::instance<Form5>();
    choose(f, "beta");
    vxtest::dialogs().answers = {vx::vbOK};
    f.AddProgram.click();
    ASSERT_EQ(vxtest::dialogs().messages.size(), 1u);
    const vxtest::MessageRecord &asked = vxtest::dialogs().messages[0];
    EXPECT_EQ(asked.text, QStringLiteral("選択したアプリケーションを登録しますか？"));
    EXPECT_EQ(asked.buttons(), vx::vbOKCancel);
    EXPECT_EQ(asked.icon(), 0);
    EXPECT_EQ(asked.title, QStringLiteral("アプリケーションの登録"));
    EXPECT_EQ(stored(QStringLiteral("AppCount")), QStringLiteral("2"));
    EXPECT_EQ(stored(QStringLiteral("2")), path(QStringLiteral("beta")));
    EXPECT_EQ(listed(list), (QStringList{path(QStringLiteral("alpha")), path(QStringLiteral("beta"))}));
    EXPECT_EQ(f.RegisteredCount, 2);
    EXPECT_FALSE(f.Visible());
    EXPECT_TRUE(vx::isLoaded<Form6>());

    // A double click registers as well; Cancel stores nothing and hides too.
    f.Show();
    choose(f, "alpha");
    vxtest::dialogs().answers = {vx::vbCancel};
    f.File1.DblClick();
    EXPECT_EQ(vxtest::dialogs().messages.size(), 2u);
    EXPECT_EQ(stored(QStringLiteral("AppCount")), QStringLiteral("2"));
    EXPECT_EQ(stored(QStringLiteral("3")), QStringLiteral("-"));
    EXPECT_EQ(list.List1.ListCount(), 2);
    EXPECT_FALSE(f.Visible());
}

TEST_F(Form6Test, AddWithoutAChosenFileDoesNothing)
{
    Form6 &f = browser();
    ASSERT_EQ(f.File1.ListIndex(), -1);
    f.AddProgram.click();
    EXPECT_TRUE(vxtest::dialogs().messages.empty()) << "nothing to ask about";
    EXPECT_EQ(stored(QStringLiteral("AppCount")), QStringLiteral("1"));
    EXPECT_EQ(stored(QStringLiteral("2")), QStringLiteral("-"));
    EXPECT_TRUE(f.Visible());
}

TEST_F(Form6Test, HundredFirstRegistrationIsRefused)
{
    Form6 &f = browser();
    suite::SaveSetting(applist::keys::kSection, applist::keys::kAppCount, QStringLiteral("100"));
    choose(f, "beta");
    f.AddProgram.click();
    ASSERT_EQ(vxtest::dialogs().messages.size(), 1u) << "refused before anything is asked";
    EXPECT_EQ(vxtest::dialogs().messages[0].icon(), vx::vbExclamation);
    EXPECT_TRUE(vxtest::dialogs().messages[0].text.contains(QStringLiteral("100")));
    EXPECT_EQ(stored(QStringLiteral("AppCount")), QStringLiteral("100"));
    EXPECT_EQ(stored(QStringLiteral("101")), QStringLiteral("-"));

    // A count past the limit (an outside edit) takes none either.
    suite::SaveSetting(applist::keys::kSection, applist::keys::kAppCount, QStringLiteral("250"));
    f.Show();
    choose(f, "beta");
    f.AddProgram.click();
    EXPECT_EQ(stored(QStringLiteral("AppCount")), QStringLiteral("250"));
    EXPECT_EQ(stored(QStringLiteral("251")), QStringLiteral("-"));
}

TEST_F(Form6Test, FolderAndDriveChangesFollowQuietly)
{
    Form6 &f = browser();
    f.Dir1.setPath(path(QStringLiteral("tools")));
    EXPECT_EQ(f.File1.Path(), path(QStringLiteral("tools")));
    EXPECT_EQ(f.File1.ListCount(), 0);

    // A drive that cannot be read leaves the folder where it was, unsaid.
    vx::setMountedDrivesOverride({{QStringLiteral("/"), QStringLiteral("root")},
                                  {folder + QStringLiteral("/gone"), QStringLiteral("CARD")}});
    f.Drive1.Refresh();
    f.Drive1.setDrive(folder + QStringLiteral("/gone"));
    EXPECT_EQ(f.Dir1.Path(), path(QStringLiteral("tools")));
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    vx::setMountedDrivesOverride({});

    f.BackBtn.click();
    EXPECT_FALSE(f.Visible());
    EXPECT_TRUE(vx::isLoaded<Form6>());
}

} // namespace
