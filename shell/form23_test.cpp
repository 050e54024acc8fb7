#include "suite/settings.h"
#include "shell/form23.h"
#include "testing/harness.h"

#include <QFile>

namespace {

class Form23Test : public vxtest::GuiTest {
protected:
    // Help viewers are remembered program-wide: none may outlive its test.
    void TearDown() override
    {
        vx::HelpCloseAll();
        GuiTest::TearDown();
    }
    void putHelpFile()
    {
        QFile f(programDir() + QStringLiteral("/help.chm"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        vxtest::shell().programs[QStringLiteral("xchm")] = QStringLiteral("/usr/bin/xchm");
    }
};

TEST_F(Form23Test, EmptyStoreAtTheTopLeftWithButtonColour)
{
    suite::SaveSetting(QStringLiteral("MainForm2"), QStringLiteral("BottonColor"), QStringLiteral("32768"));
    Form23 &f = vx::instance<Form23>();
    EXPECT_EQ(f.Left(), 0);
    EXPECT_EQ(f.Top(), 0);
    EXPECT_EQ(f.ScaleWidth(), 5940);
    EXPECT_EQ(f.ScaleHeight(), 495);
    for (vx::CommandButton *b : f.buttons())
        EXPECT_EQ(b->BackColor(), 32768) << b->Name().toStdString();
}

TEST_F(Form23Test, ExitSavesThePositionAndLeavesHelpOpen)
{
    putHelpFile();
    Form23 &f = vx::instance<Form23>();
    f.Show();
    f.Move(450, 600);
    f.Command11.click();
    ASSERT_EQ(vxtest::shell().started.size(), 1);
    EXPECT_TRUE(vxtest::ends([&] { f.Command10_Click(); }));
    EXPECT_EQ(suite::GetSetting(QStringLiteral("MainForm2"), QStringLiteral("FormLeft"), QString()), QStringLiteral("450"));
    EXPECT_EQ(suite::GetSetting(QStringLiteral("MainForm2"), QStringLiteral("FormTop"), QString()), QStringLiteral("600"));
    EXPECT_TRUE(vxtest::shell().stopped.empty());
}

} // namespace
