#include "suite/filedialogs.h"

#include "testing/harness.h"

using namespace vxtest;

class FileDialogsTest : public GuiTest {};

TEST_F(FileDialogsTest, SaveAndOpenAskTheDriverWithTheirTitlesAndFilters)
{
    const QString filter = QStringLiteral("テキストファイル(*.txt)") + QChar(0) + QStringLiteral("*.txt") + QChar(0);
    const QString longPath = QStringLiteral("/tmp/") + QString(300, QLatin1Char('a')) + QStringLiteral(".txt");
    dialogs().files.push_back(QStringList{longPath});
    EXPECT_EQ(suite::ShowSaveFileDialog(nullptr, filter), longPath); // no 250-character limit

    dialogs().files.push_back(QStringList{QStringLiteral("/bin/sh")});
    const QString exe = QStringLiteral("実行ファイル") + QChar(0) + QStringLiteral("*") + QChar(0);
    EXPECT_EQ(suite::ShowOpenFileDialogPreview(nullptr, exe), QStringLiteral("/bin/sh"));

    ASSERT_EQ(dialogs().fileRequests.size(), 2u);
    const vx::FileDialogRequest &save = dialogs().fileRequests[0];
    EXPECT_TRUE(save.save);
    EXPECT_FALSE(save.preview);
    EXPECT_EQ(save.title, QStringLiteral("ファイルを保存する"));
    EXPECT_EQ(save.filter, QStringLiteral("テキストファイル(*.txt)|*.txt"));
    const vx::FileDialogRequest &open = dialogs().fileRequests[1];
    EXPECT_FALSE(open.save);
    EXPECT_TRUE(open.preview);
    EXPECT_EQ(open.title, QStringLiteral("ファイルを開く"));
    EXPECT_EQ(open.filter, QStringLiteral("実行ファイル|*"));
}

TEST_F(FileDialogsTest, CancelGivesAnEmptyPath)
{
    dialogs().files.push_back(std::nullopt);
    dialogs().files.push_back(std::nullopt);
    EXPECT_EQ(suite::ShowSaveFileDialog(nullptr, QStringLiteral("a") + QChar(0) + QStringLiteral("*.a") + QChar(0)),
              QString());
    EXPECT_EQ(suite::ShowOpenFileDialogPreview(nullptr, QString()), QString());
}

TEST(FilterPairs, PairsBecomeTheDriversFilter)
{
    EXPECT_EQ(suite::filterFromPairs(QString()), QString());
    // A description without its pattern still lists every file.
    EXPECT_EQ(suite::filterFromPairs(QStringLiteral("全て")), QStringLiteral("全て|*.*"));
    const QString two = QStringLiteral("A") + QChar(0) + QStringLiteral("*.a") + QChar(0) + QStringLiteral("B") +
                        QChar(0) + QStringLiteral("*.b;*.c") + QChar(0);
    EXPECT_EQ(suite::filterFromPairs(two), QStringLiteral("A|*.a|B|*.b;*.c"));
}
