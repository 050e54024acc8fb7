#include "capture/form11.h"
#include "capture/screen.h"
#include "image/magnifier/form13.h"
#include "suite/settings.h"
#include "testing/files.h"
#include "testing/harness.h"
#include "testing/smalldisk.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>

namespace {

class FakeScreen : public capture::ScreenSource {
public:
    bool readable = true;
    int whole = 0;
    int active = 0;
    std::function<void()> onGrab;
    std::optional<QImage> wholeScreen() override
    {
        ++whole;
        if (onGrab)
            onGrab();
        return readable ? std::optional(picture(Qt::green, 64, 48)) : std::nullopt;
    }
    std::optional<QImage> activeWindow() override
    {
        ++active;
        return readable ? std::optional(picture(Qt::blue, 30, 20)) : std::nullopt;
    }
    static QImage picture(Qt::GlobalColor c, int w, int h)
    {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(c);
        return img;
    }
};

class Form11Test : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        QGuiApplication::clipboard()->clear();
        auto s = std::make_unique<FakeScreen>();
        screen = s.get();
        capture::setScreenSource(std::move(s));
    }
    void TearDown() override
    {
        GuiTest::TearDown();
        capture::setScreenSource(nullptr);
        vx::setPrintToFile(QString());
        QGuiApplication::clipboard()->clear();
    }
    FakeScreen *screen = nullptr;
    QTemporaryDir tmp;
};

TEST_F(Form11Test, CaptureTenSecondsLaterStopsItsTimerBeforeTheMessage)
{
    Form11 &f = vx::instance<Form11>();
    f.Show();
    EXPECT_EQ(f.Caption(), QStringLiteral("Snapvane Version3.0"));
    EXPECT_FALSE(f.Timer1.Enabled());
    f.Command7.click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{QStringLiteral("OKを押してから10秒後にキャプチャします")});
    EXPECT_TRUE(f.Timer2.Enabled());
    EXPECT_EQ(f.Timer2.Interval(), 10000);
    EXPECT_FALSE(f.Timer1.Enabled());

    // Stopped before the grab, so before any message it leads to.
    bool runningAtGrab = true;
    screen->onGrab = [&] { runningAtGrab = f.Timer2.Enabled(); };
    f.Timer2_Timer();
    EXPECT_FALSE(runningAtGrab);
    EXPECT_EQ(vxtest::dialogs().messageTexts().last(), QStringLiteral("キャプチャ完了！"));
    EXPECT_EQ(screen->whole, 1);
    EXPECT_EQ(f.Image1.Picture().image.size(), QSize(64, 48));
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(64, 48));

    f.Command8.click();
    EXPECT_TRUE(f.Timer1.Enabled());
    f.Timer1_Timer();
    EXPECT_FALSE(f.Timer1.Enabled());
    EXPECT_EQ(screen->active, 1);
    EXPECT_EQ(f.Image1.Picture().image.pixelColor(0, 0), QColor(Qt::blue));
}

TEST_F(Form11Test, WithoutAReadableScreenNothingChanges)
{
    Form11 &f = vx::instance<Form11>();
    screen->readable = false;
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    const QImage before = f.Image1.Picture().image;
    f.Command8_Click();
    f.Timer1_Timer();
    EXPECT_FALSE(f.Timer1.Enabled());
    EXPECT_TRUE(vxtest::dialogs().messageTexts().last().contains(QStringLiteral("X11")));
    EXPECT_EQ(f.Image1.Picture().image, before);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

TEST_F(Form11Test, RealScreenGivesTheWholeVirtualDesktop)
{
    capture::setScreenSource(nullptr);
    const auto shot = capture::screenSource().wholeScreen();
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->size(), QGuiApplication::primaryScreen()->virtualGeometry().size());
    // No window manager here: the active window is the whole screen.
    const auto active = capture::screenSource().activeWindow();
    ASSERT_TRUE(active);
    EXPECT_EQ(active->size(), shot->size());
}

TEST_F(Form11Test, SaveWritesABitmapAndCancelWritesNothing)
{
    Form11 &f = vx::instance<Form11>();
    const QString out = tmp.filePath("shot.bmp");
    // Before any capture the stored picture is saved.
    vxtest::dialogs().files.push_back(QStringList{out});
    f.Command2.click();
    ASSERT_TRUE(QFile::exists(out));
    QImage saved(out);
    EXPECT_EQ(saved.size(), Form11::storedPicture().image.size());
    EXPECT_FLOAT_EQ(f.Image1.Width(), 10620);
    EXPECT_FLOAT_EQ(f.Image1.Height(), 7320);
    EXPECT_EQ(vxtest::dialogs().messageTexts().last(), QStringLiteral("保存されました(^o^)"));
    EXPECT_EQ(vxtest::dialogs().fileRequests.back().filter, QStringLiteral("BMPファイル (*.bmp)|*.bmp"));

    // Cancel: the last file is not written again, and no success is claimed.
    QFile::remove(out);
    vxtest::dialogs().messages.clear();
    vxtest::dialogs().files.push_back(std::nullopt);
    f.Command2.click();
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_TRUE(vxtest::dialogs().messages.empty());

    f.Image1.setWidth(5000);
    vxtest::dialogs().files.push_back(QStringList{tmp.filePath("no/such/folder/x.bmp")});
    f.Command2.click();
    EXPECT_TRUE(vxtest::dialogs().messageTexts().last().startsWith(QStringLiteral("保存出来ませんでした。")));
    EXPECT_FLOAT_EQ(f.Image1.Width(), 5000);
}

// A disk that fills part-way through the bitmap, or is full from the start,
// gives the system's reason; the old file stays and no temporary one is left.
TEST_F(Form11Test, ASaveOnAFullDiskSaysSo)
{
    vxtest::SmallDisk disk(1024 * 1024);
    if (!disk.ok())
        GTEST_SKIP() << "no small file system to fill: " << disk.why().toStdString();
    Form11 &f = vx::instance<Form11>();
    QImage big(400, 300, QImage::Format_RGB32); // a bitmap of about 352 KB
    big.fill(Qt::red);
    f.Image1.setPicture(vx::Picture{big, QStringLiteral("bmp"), {}});
    const QString old = disk.path() + QStringLiteral("/old.bmp");
    ASSERT_TRUE(vxtest::writeBytes(old, "the user's own bytes"));
    const struct {
        const char *what;
        qint64 left;
        QString target;
    } cases[] = {
        {"a little room left, new file", 64 * 1024, disk.path() + QStringLiteral("/new.bmp")},
        {"a little room left, over a file", 64 * 1024, old},
        {"no room left", 0, disk.path() + QStringLiteral("/new.bmp")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(disk.leaveFree(c.left));
        vxtest::dialogs().messages.clear();
        vxtest::dialogs().files.push_back(QStringList{c.target});
        f.Command2.click();
        EXPECT_EQ(vxtest::dialogs().messageTexts(),
                  QStringList{QStringLiteral("保存出来ませんでした。\nディスクの空き容量が不足しています。\n") + c.target});
        EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.bmp")});
        EXPECT_EQ(vxtest::readBytes(old), QByteArray("the user's own bytes"));
    }
}

TEST_F(Form11Test, ZoomAndReset)
{
    Form11 &f = vx::instance<Form11>();
    f.Image1.setHeight(10000);
    f.Image1.setWidth(10000);
    for (int i = 0; i < 3; ++i)
        f.Command10.click();
    EXPECT_NEAR(f.Image1.Height(), 7290, 0.01);
    EXPECT_NEAR(f.Image1.Width(), 7290, 0.01);
    f.Command11.click();
    EXPECT_NEAR(f.Image1.Width(), 8019, 0.01);
    f.Command9.click();
    EXPECT_FALSE(f.Image1.Stretch());
    EXPECT_FLOAT_EQ(f.Image1.Width(), Form11::storedPicture().image.width() * 15.0f);

}

TEST_F(Form11Test, CopyShowAndPrintTheClipboard)
{
    Form11 &f = vx::instance<Form11>();
    f.Command4.click();
    EXPECT_EQ(vxtest::dialogs().messageTexts().last(), QStringLiteral("クリップボードに保存されました(^o^)"));
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), Form11::storedPicture().image.size());

    QGuiApplication::clipboard()->setImage(FakeScreen::picture(Qt::red, 12, 10));
    f.Command1.click();
    EXPECT_EQ(f.Image1.Picture().image.size(), QSize(12, 10));
    QGuiApplication::clipboard()->setText(QStringLiteral("no picture"));
    f.Command1.click();
    EXPECT_TRUE(f.Image1.Picture().isNull());
    f.Command4.click();
    EXPECT_EQ(vxtest::dialogs().messageTexts().last(), QStringLiteral("クリップボードにコピー出来ませんでした。"));
    f.Command3.click(); // nothing on the clipboard, nothing shown
    EXPECT_EQ(vxtest::dialogs().messageTexts().last(), QStringLiteral("印刷する画像がありません。"));

    const QString pdf = tmp.filePath("print.pdf");
    vx::setPrintToFile(pdf);
    QGuiApplication::clipboard()->setImage(FakeScreen::picture(Qt::red, 40, 30));
    vxtest::dialogs().messages.clear();
    f.Command3.click();
    EXPECT_EQ(f.Image1.Picture().image.size(), QSize(40, 30)); // the clipboard's picture is shown too
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    // With text on the clipboard the shown picture is printed.
    QFile::remove(pdf);
    QGuiApplication::clipboard()->setText(QStringLiteral("text"));
    f.Command3.click();
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(f.Image1.Picture().image.size(), QSize(40, 30));
}

TEST_F(Form11Test, ClosingClearsOnlyItsOwnClipboardAndTheMagnifier)
{
    suite::SaveSetting(QStringLiteral("MainForm"), QStringLiteral("Pointer"), QStringLiteral("0"));
    Form11 &f = vx::instance<Form11>();
    f.Show();
    f.Command6.click();
    EXPECT_TRUE(vx::isShown<Form13>());
    f.Command6.click();
    EXPECT_FALSE(vx::isLoaded<Form13>());
    f.Command6.click();
    f.Command4.click();
    f.Command5.click();
    EXPECT_FALSE(vx::isLoaded<Form11>());
    EXPECT_FALSE(vx::isLoaded<Form13>());
    EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());

    // Someone else's clipboard content stays.
    Form11 &g = vx::instance<Form11>();
    g.Command4.click();
    QGuiApplication::clipboard()->setText(QStringLiteral("another program's"));
    g.Unload();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("another program's"));
    // Hiding keeps the picture on the clipboard.
    Form11 &h = vx::instance<Form11>();
    h.Show();
    h.Command4.click();
    h.Hide();
    EXPECT_FALSE(QGuiApplication::clipboard()->image().isNull());
}

} // namespace
