#include "suite/settings.h"
#include "shell/form1.h"
#include "shell/frmabout.h"
#include "testing/capabilities.h"
#include "testing/files.h"
#include "testing/harness.h"

#include <QDir>
#include <QFile>

namespace {

class Form1Test : public vxtest::GuiTest {
protected:
    // Help viewers are remembered program-wide: none may outlive its test.
    void TearDown() override
    {
        vx::HelpCloseAll();
        GuiTest::TearDown();
    }
    QString memoPath() const { return programDir() + QStringLiteral("/メモ.txt"); }
    QByteArray memo() const
    {
        QFile f(memoPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    void putHelpFile()
    {
        QFile f(programDir() + QStringLiteral("/help.chm"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        vxtest::shell().programs[QStringLiteral("xchm")] = QStringLiteral("/usr/bin/xchm");
    }
};

TEST_F(Form1Test, EmptyStoreOpensAt1500WithTheLayoutsMemoText)
{
    Form1 &f = vx::instance<Form1>();
    EXPECT_EQ(f.Left(), 1500);
    EXPECT_EQ(f.Top(), 1500);
    EXPECT_EQ(f.Text1.Text(), QStringLiteral("ここに入力してからSAVEしてください"));
    EXPECT_EQ(f.Text1.BackColor(), -2147483643);
    EXPECT_EQ(f.Label1.ForeColor(), 0);
    EXPECT_FALSE(f.Topmost());
    EXPECT_FALSE(f.Visible()) << "loaded by another window's touch, it stays hidden";
}

TEST_F(Form1Test, ColoursFromTheStoreAndFallbackForNonNumbers)
{
    const QString s = QStringLiteral("MainForm");
    suite::SaveSetting(s, QStringLiteral("FormColor"), QStringLiteral("255"));
    suite::SaveSetting(s, QStringLiteral("BottonColor"), QStringLiteral("&HFF"));
    suite::SaveSetting(s, QStringLiteral("TextColor"), QStringLiteral("65535"));
    suite::SaveSetting(s, QStringLiteral("TextFontColor"), QStringLiteral("16711680"));
    suite::SaveSetting(s, QStringLiteral("LabelColor"), QStringLiteral("8421504"));
    suite::SaveSetting(s, QStringLiteral("FormLeft"), QStringLiteral("left"));
    suite::SaveSetting(QStringLiteral("AllForm"), QStringLiteral("FormTemae"), QStringLiteral("1"));
    Form1 &f = vx::instance<Form1>();
    EXPECT_EQ(f.BackColor(), 255);
    for (vx::PictureBox *p : f.pictures())
        EXPECT_EQ(p->BackColor(), 255) << p->Name().toStdString();
    for (vx::CommandButton *b : f.buttons())
        EXPECT_EQ(b->BackColor(), -2147483638) << b->Name().toStdString();
    EXPECT_EQ(f.Text1.BackColor(), 65535);
    EXPECT_EQ(f.Text1.ForeColor(), 16711680);
    EXPECT_EQ(f.Label1.ForeColor(), 8421504);
    EXPECT_EQ(f.Label2.ForeColor(), 8421504);
    EXPECT_EQ(f.Left(), 1500);
    EXPECT_TRUE(f.Topmost());
}

TEST_F(Form1Test, MemoIsWrittenAndOverwritten)
{
    Form1 &f = vx::instance<Form1>();
    f.Text1.setText(QStringLiteral("一行目\n二行目"));
    f.Command8.click();
    EXPECT_EQ(memo(), QStringLiteral("一行目\r\n二行目\r\n").toUtf8()) << "line breaks as CR LF throughout";
    ASSERT_EQ(vxtest::dialogs().messages.size(), 1u);
    EXPECT_EQ(vxtest::dialogs().messages[0].text, QStringLiteral("保存されました(^o^)"));
    EXPECT_EQ(vxtest::dialogs().messages[0].icon(), 0);

    f.Text1.setText(QStringLiteral("次"));
    f.Command8.click();
    EXPECT_EQ(memo(), QStringLiteral("次\r\n").toUtf8());
    f.Text1.setText(QStringLiteral("a\u00A0b\u2028c"));
    f.Command8.click();
    EXPECT_EQ(memo(), QByteArray("a\xC2\xA0" "b\r\nc\r\n")) << "a no-break space stays one";

    f.Text1.setText(QString());
    f.Command8.click();
    EXPECT_EQ(memo(), QByteArray("\r\n"));
    EXPECT_EQ(vxtest::dialogs().messages.size(), 4u);
}

// A memo that cannot be written says why in Japanese and the text stays; a
// writable memo in a program folder that takes no new file is saved.
// Root writes anywhere: the check runs again without the powers that let it.
TEST_F(Form1Test, MemoThatCannotBeWrittenIsReportedInJapaneseAndKept)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    const QString base = programDir();
    QFile blocker(base + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QDir().mkpath(base + QStringLiteral("/locked"));
    QDir().mkpath(base + QStringLiteral("/sealed"));
    ASSERT_TRUE(vxtest::writeBytes(base + QStringLiteral("/locked/メモ.txt"), "old"));
    ASSERT_TRUE(QFile::setPermissions(base + QStringLiteral("/locked/メモ.txt"), QFile::ReadOwner));
    ASSERT_TRUE(vxtest::writeBytes(base + QStringLiteral("/sealed/メモ.txt"), "old"));
    ASSERT_TRUE(QFile::setPermissions(base + QStringLiteral("/sealed"), QFile::ReadOwner | QFile::ExeOwner));
    const struct {
        const char *folder;
        QString reason; // "" for a memo that is saved
    } cases[] = {
        {"/blocker/sub", QStringLiteral("保存先のフォルダーが見つかりません。")},
        {"/locked", QStringLiteral("書き込みが許可されていません。")},
        {"/sealed", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.folder);
        const QString folder = base + QLatin1String(c.folder);
        vx::setAppPath(folder);
        Form1 &f = vx::instance<Form1>();
        f.Show();
        vxtest::dialogs().messages.clear();
        f.Text1.setText(QStringLiteral("大事なメモ"));
        f.Command8.click();
        if (c.reason.isEmpty()) {
            EXPECT_EQ(vxtest::readBytes(folder + QStringLiteral("/メモ.txt")), QStringLiteral("大事なメモ\r\n").toUtf8());
            continue;
        }
        ASSERT_EQ(vxtest::dialogs().messages.size(), 1u);
        EXPECT_EQ(vxtest::dialogs().messages[0].icon(), vx::vbExclamation);
        EXPECT_EQ(vxtest::dialogs().messages[0].text,
                  QStringLiteral("メモを保存できませんでした。\n") + folder + QStringLiteral("/メモ.txt\n") + c.reason);
        EXPECT_TRUE(f.Visible());
        EXPECT_EQ(f.Text1.Text(), QStringLiteral("大事なメモ"));
    }
    EXPECT_EQ(vxtest::readBytes(base + QStringLiteral("/locked/メモ.txt")), QByteArray("old"));
    QFile::setPermissions(base + QStringLiteral("/sealed"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(Form1Test, ExitSavesThePositionClosesHelpAndEnds)
{
    putHelpFile();
    Form1 &f = vx::instance<Form1>();
    f.Show();
    f.Move(3000, 2400);
    f.Picture7.Click();
    ASSERT_EQ(vxtest::shell().started,
              QStringList{QStringLiteral("/usr/bin/xchm ") + programDir() + QStringLiteral("/help.chm")});
    EXPECT_TRUE(vxtest::ends([&] { f.Picture12_Click(); }));
    EXPECT_EQ(suite::GetSetting(QStringLiteral("MainForm"), QStringLiteral("FormLeft"), QString()), QStringLiteral("3000"));
    EXPECT_EQ(suite::GetSetting(QStringLiteral("MainForm"), QStringLiteral("FormTop"), QString()), QStringLiteral("2400"));
    EXPECT_EQ(vxtest::shell().stopped.size(), 1u);

    vx::setEndThrows(true);
    f.close();
    EXPECT_TRUE(vx::programEnded()) << "the close box is an exit too";
}

TEST_F(Form1Test, HelpWithoutTheHelpFileSaysSo)
{
    vx::instance<Form1>().Picture7_Click();
    ASSERT_EQ(vxtest::dialogs().messages.size(), 1u);
    EXPECT_TRUE(vxtest::shell().started.isEmpty());
}

TEST_F(Form1Test, AboutButtonAndIconShareOneToggle)
{
    Form1 &f = vx::instance<Form1>();
    f.Command6.click();
    ASSERT_TRUE(vx::isShown<frmAbout>());
    f.Picture8_Click();
    EXPECT_FALSE(vx::isLoaded<frmAbout>());
    f.Picture8_Click();
    EXPECT_TRUE(vx::isShown<frmAbout>());
}

} // namespace
