#include "platform/system/system.h"
#include "testing/baredesktop.h"
#include "testing/files.h"
#include "testing/harness.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDir>
#include <QElapsedTimer>
#include <QUrl>

#include <optional>

namespace {

// The outside helpers as they are, on a desktop that has none of its own.
class OutsideTest : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        vx::setShellDriver(vx::makeRealShellDriver());
    }
    void TearDown() override
    {
        vx::HelpCloseAll();
        GuiTest::TearDown();
    }
};

TEST_F(OutsideTest, HelpThatNoProgramShowsSaysSoWithoutWaiting)
{
    struct Row {
        const char *what;
        std::vector<std::pair<QString, int>> programs; // name, exit code
        bool shown;
        QStringList tried;
    };
    const Row rows[] = {
        {"nothing on the path", {}, false, {}},
        {"the desktop's handler fails", {{"xdg-open", 3}}, false, {"xdg-open"}},
        {"a viewer fails, the handler shows it", {{"xchm", 1}, {"xdg-open", 0}}, true, {"xchm", "xdg-open"}},
        {"both viewers fail, so does the handler", {{"xchm", 1}, {"kchmviewer", 2}, {"xdg-open", 4}}, false,
         {"xchm", "kchmviewer", "xdg-open"}},
        {"the first viewer shows it", {{"xchm", 0}, {"kchmviewer", 0}, {"xdg-open", 0}}, true, {"xchm"}},
    };
    const QString help = vxtest::writeIn(programDir(), QStringLiteral("help.chm"), "ITSF");
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        vxtest::dialogs().messages.clear();
        vxtest::BareDesktop desktop;
        for (const auto &[name, code] : r.programs)
            desktop.addProgram(name, code);
        std::optional<bool> shown;
        QElapsedTimer took;
        took.start();
        vx::HelpDisplayContents(help, [&](bool ok) { shown = ok; });
        // The programs wait for release(): a window thread that waited for
        // them would only get here once they gave up, a minute later.
        EXPECT_LT(took.elapsed(), 20000);
        EXPECT_FALSE(desktop.log().join(QLatin1Char('\n')).contains(QLatin1String("ended")));
        desktop.release();
        ASSERT_TRUE(vxtest::waitUntil([&] { return shown.has_value(); }));
        EXPECT_EQ(*shown, r.shown);
        QStringList tried;
        for (const QString &line : desktop.log())
            if (!line.endsWith(QLatin1String(" ended"))) {
                EXPECT_EQ(line.section(QLatin1Char(' '), 1), help);
                tried << line.section(QLatin1Char(' '), 0, 0);
            }
        EXPECT_EQ(tried, r.tried);
        EXPECT_EQ(vxtest::dialogs().messageTexts(),
                  r.shown ? QStringList{}
                          : QStringList{QStringLiteral("ヘルプを表示するプログラムが見つかりません。\n") + help});
        vx::HelpCloseAll();
    }
}

TEST_F(OutsideTest, AddressesThatNothingOpensSaySoWithoutWaiting)
{
    const QString page = QStringLiteral("https://velmora.example/a b");
    const QString document = vxtest::writeIn(programDir(), QStringLiteral("IEで起動.htm"), "x");
    struct Row {
        const char *what;
        QString target;
        std::optional<int> handler; // exit code of xdg-open, when on the path
        QString handedTo;
    };
    const Row rows[] = {
        {"no handler on the path", page, std::nullopt, {}},
        {"no program takes the address", page, 3, QStringLiteral("https://velmora.example/a%20b")},
        {"the program it started failed", document, 4, document},
        {"opened", document, 0, document},
        {"mail", QStringLiteral("mailto:support@velmora.example"), 0, QStringLiteral("mailto:support@velmora.example")},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        vxtest::dialogs().messages.clear();
        vxtest::BareDesktop desktop;
        if (r.handler)
            desktop.addProgram(QStringLiteral("xdg-open"), *r.handler);
        std::optional<bool> shown;
        QElapsedTimer took;
        took.start();
        vx::ShellOpen(r.target, [&](bool ok) { shown = ok; });
        EXPECT_LT(took.elapsed(), 20000);
        desktop.release();
        ASSERT_TRUE(vxtest::waitUntil([&] { return shown.has_value(); }));
        const bool opened = r.handler == 0;
        EXPECT_EQ(*shown, opened);
        if (r.handler) {
            EXPECT_EQ(desktop.log().value(0), QStringLiteral("xdg-open ") + r.handedTo);
        }
        EXPECT_EQ(vxtest::dialogs().messageTexts(),
                  opened ? QStringList{} : QStringList{QStringLiteral("開くことができませんでした。\n") + r.target});
    }
}

// A file manager on the bus: it answers ShowItemProperties, or never does.
class FileManager : public QDBusVirtualObject {
public:
    bool answers = true;
    QStringList asked;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        if (message.member() != QLatin1String("ShowItemProperties"))
            return false;
        asked << message.arguments().value(0).toStringList();
        if (answers)
            connection.send(message.createReply());
        return true;
    }
    QString introspect(const QString &) const override { return {}; }
};

TEST_F(OutsideTest, PropertiesThatNoFileManagerShowsSaySoWithoutWaiting)
{
    vxtest::BareDesktop desktop;
    if (!desktop.startBus())
        GTEST_SKIP() << "dbus-daemon is not installed";
    const QString file = vxtest::writeIn(programDir(), QStringLiteral("a b.txt"), "x");
    const QString failed = QStringLiteral("プロパティを表示できませんでした。\n") + file;
    auto ask = [&] {
        std::optional<bool> shown;
        vx::ShowFileProperties(file, [&](bool ok) { shown = ok; });
        EXPECT_TRUE(vxtest::waitUntil([&] { return shown.has_value(); }));
        return shown.value_or(true);
    };

    EXPECT_FALSE(ask()) << "nobody on the bus";
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{failed});

    // The file manager lives on this very thread: a call that blocked it
    // would never be answered.
    QDBusConnection service = QDBusConnection::connectToBus(desktop.busAddress(), QStringLiteral("filemanager"));
    ASSERT_TRUE(service.isConnected());
    FileManager manager;
    ASSERT_TRUE(service.registerVirtualObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager));
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    vxtest::dialogs().messages.clear();
    EXPECT_TRUE(ask());
    EXPECT_EQ(manager.asked, QStringList{QUrl::fromLocalFile(file).toString()});
    EXPECT_TRUE(vxtest::dialogs().messages.empty());

    manager.answers = false;
    EXPECT_FALSE(ask()) << "no answer in time";
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{failed});
    EXPECT_EQ(manager.asked.size(), 2);

    service.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
    QDBusConnection::disconnectFromBus(QStringLiteral("filemanager"));
}

} // namespace
