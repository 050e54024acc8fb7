#include "media/midi/form22.h"
#include "platform/core/lazylibs.h"
#include "platform/media/midiports.h"
#include "suite/settings.h"
#include "shell/form1.h"
#include "shell/form23.h"
#include "shell/form24.h"
#include "shell/form30.h"
#include "shell/startup.h"
#include "testing/harness.h"

#include <QCoreApplication>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>

#include <sys/wait.h>
#include <unistd.h>

namespace {

class NoPorts : public vx::MidiPortList {
public:
    QStringList outputPorts() override { return {}; }
};

class StartupTest : public vxtest::GuiTest {
protected:
    void TearDown() override
    {
        vx::releaseInstanceLock();
        GuiTest::TearDown();
    }
    static QString lockPath()
    {
        return vx::joinPath(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation),
                            QStringLiteral("VX2002.lock"));
    }
    static void setStyle(const QString &style)
    {
        suite::SaveSetting(QStringLiteral("MainForm"), QStringLiteral("Form"), style);
    }
};

TEST_F(StartupTest, EmptyStoreOpensTheBarWindowAtTheTopLeft)
{
    shell::startUp();
    EXPECT_FALSE(vx::isLoaded<Form24>());
    ASSERT_TRUE(vx::isShown<Form30>());
    Form30 &f = vx::instance<Form30>();
    EXPECT_EQ(f.Left(), 0);
    EXPECT_EQ(f.Top(), 0);
    EXPECT_EQ(f.Combo1.Text(), QStringLiteral("Graphic Rondix"));
    EXPECT_EQ(f.BackColor(), -2147483638);
    EXPECT_EQ(f.Combo1.BackColor(), -2147483643);
    EXPECT_EQ(f.MousePointer(), vx::kPointerCustom);
    EXPECT_FALSE(f.Topmost());
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    EXPECT_EQ(vx::FormRegistry::all().size(), 1u) << "the bar is the only window";
    using vx::LazyLibrary;
    for (LazyLibrary lib : {LazyLibrary::GStreamer, LazyLibrary::Alsa, LazyLibrary::Cdio, LazyLibrary::PrintSupport,
                            LazyLibrary::Jpeg, LazyLibrary::Svg})
        EXPECT_FALSE(vx::lazyLibraryLoaded(lib))
            << "nothing at start plays, mixes, reads a CD, prints, decodes a photo or draws an SVG picture";
}

TEST_F(StartupTest, StoredStyleOpensItsMainWindowOnly)
{
    setStyle(QStringLiteral("Main1"));
    shell::startUp();
    EXPECT_TRUE(vx::isShown<Form1>());
    EXPECT_FALSE(vx::isLoaded<Form24>());
    EXPECT_FALSE(vx::isLoaded<Form30>());
    EXPECT_EQ(vx::instance<Form1>().Left(), 1500);

    vx::FormRegistry::reset();
    vx::releaseInstanceLock();
    setStyle(QStringLiteral("Main2"));
    shell::startUp();
    EXPECT_TRUE(vx::isShown<Form23>());
    EXPECT_FALSE(vx::isLoaded<Form24>());
    EXPECT_FALSE(vx::isLoaded<Form1>());
    EXPECT_FALSE(vx::isLoaded<Form30>());
}

TEST_F(StartupTest, UnknownStyleKeepsTheEmptyStartWindowWhoseClosingEnds)
{
    for (const QString &style : {QStringLiteral("main0"), QStringLiteral("Main0 "), QStringLiteral("Main4")}) {
        SCOPED_TRACE(style.toStdString());
        vx::setEndThrows(true);
        vx::FormRegistry::reset();
        vx::releaseInstanceLock();
        setStyle(style);
        shell::startUp();
        ASSERT_TRUE(vx::isShown<Form24>());
        Form24 &f = vx::instance<Form24>();
        EXPECT_EQ(f.Caption(), QStringLiteral("Form24"));
        EXPECT_EQ(f.ScaleWidth(), 1560);
        EXPECT_EQ(f.ScaleHeight(), 135);
        EXPECT_FALSE(vx::isLoaded<Form30>());
        f.close();
        EXPECT_TRUE(vx::programEnded());
    }
}

TEST_F(StartupTest, MidiChooserStyleShowsTheChooserAloneAndClosingItEnds)
{
    vx::setMidiPortList(std::make_unique<NoPorts>());
    setStyle(QStringLiteral("Main3"));
    shell::startUp();
    EXPECT_FALSE(vx::isLoaded<Form24>());
    ASSERT_TRUE(vx::isShown<Form22>());
    EXPECT_EQ(vx::FormRegistry::all().size(), 1u);
    vx::instance<Form22>().close();
    EXPECT_TRUE(vx::programEnded());
    vx::setMidiPortList(nullptr);
}

TEST_F(StartupTest, SecondCopyIsRefused)
{
    QLockFile running(lockPath());
    ASSERT_TRUE(running.tryLock(0));
    EXPECT_TRUE(vxtest::ends([] { shell::startUp(); }));
    ASSERT_EQ(vxtest::dialogs().messages.size(), 1u);
    EXPECT_EQ(vxtest::dialogs().messages[0].text, QStringLiteral("すでに「Velmora 2002」は起動されています。"));
    EXPECT_EQ(vxtest::dialogs().messages[0].icon(), vx::vbExclamation);
    EXPECT_FALSE(vx::isLoaded<Form30>());
}

TEST_F(StartupTest, LockOfACopyThatDiedIsTakenOver)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(0);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    QFile lock(lockPath());
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(child) + '\n' + QCoreApplication::applicationName().toUtf8() + '\n' +
               QSysInfo::machineHostName().toUtf8() + '\n');
    lock.close();

    shell::startUp();
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    EXPECT_TRUE(vx::isShown<Form30>());
    QFile now(lockPath());
    ASSERT_TRUE(now.open(QIODevice::ReadOnly));
    EXPECT_EQ(now.readLine().trimmed().toLongLong(), QCoreApplication::applicationPid());
}

} // namespace
