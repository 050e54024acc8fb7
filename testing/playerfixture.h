#pragma once
// The fixtures of the players' tests: a fake mixer and a folder of the test's
// own for every media window; for the second and third players a recording
// command interpreter, a playlist folder of (empty) files, the player's own
// section, and the checks their settings windows share.
#include "testing/harness.h"
#include "testing/mediafakes.h"

#include "platform/forms/form.h"
#include "platform/imaging/imagebox.h"
#include "platform/media/mediaplayer.h"
#include "suite/players.h"
#include "suite/settings.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace vxtest {

// A media window's test: the fake mixer and a folder of the test's own; the
// test puts in the command interpreter it needs with useMedia. The windows go
// before the drivers they use.
class MediaWindowTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        auto mixer = std::make_unique<FakeMixer>();
        this->mixer = mixer.get();
        vx::setMixerDriver(std::move(mixer));
        folder = QDir::cleanPath(dir_.path());
    }
    void TearDown() override
    {
        vx::FormRegistry::reset();
        vx::setMediaCommandDriver(nullptr);
        vx::setMixerDriver(nullptr);
        GuiTest::TearDown();
    }
    template <class Driver>
    Driver *useMedia(std::unique_ptr<Driver> driver)
    {
        Driver *d = driver.get();
        vx::setMediaCommandDriver(std::move(driver));
        return d;
    }
    QString path(const char *name) const { return folder + QLatin1Char('/') + QLatin1String(name); }
    // p.bmp (30 x 20, blue), q.jpg (20 x 30, green) and `notAPicture`, text.
    void writePictures(const char *notAPicture)
    {
        writeTestImage(path("p.bmp"), 30, 20, Qt::blue);
        writeTestImage(path("q.jpg"), 20, 30, Qt::green);
        QFile bad(path(notAPicture));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write("not a picture");
    }

    // The reset button deletes the player's section once (with its message,
    // hiding the window) and is silent when there is nothing to delete; the
    // MIDI button, where there is one, shows the chooser modally. `storedKey`
    // was stored before the player took its colour `playerColour` (255).
    static void checkResetAndMidi(vx::Form &settings, QLatin1StringView section, QLatin1StringView storedKey,
                                  const std::function<qint32()> &playerColour, const std::function<void()> &reset,
                                  const std::function<void()> &midi)
    {
        settings.Show();
        reset();
        EXPECT_EQ(suite::GetSetting(section, storedKey, QStringLiteral("-")), QStringLiteral("-"));
        EXPECT_EQ(dialogs().messageTexts(),
                  QStringList{QStringLiteral("初期化はアプリケーションを再起動したときに適用されます")});
        EXPECT_FALSE(settings.Visible());
        EXPECT_EQ(playerColour(), 255) << "the player's look stays";
        settings.Show();
        reset();
        EXPECT_EQ(dialogs().messages.size(), 1u) << "no section: silent";
        EXPECT_TRUE(settings.Visible());
        if (!midi)
            return;
        QString modal;
        dialogs().modalScripts.push_back([&modal](vx::Form &f) { modal = f.Name(); });
        midi();
        EXPECT_EQ(modal, QStringLiteral("Form22"));
    }

    FakeMixer *mixer = nullptr;
    QString folder;

private:
    QTemporaryDir dir_;
};

template <class Player>
class PlaylistPlayerTest : public MediaWindowTest {
protected:
    // `files` are made empty in the folder; `connect` sets the tool's hooks.
    PlaylistPlayerTest(QLatin1StringView section, std::initializer_list<const char *> files,
                       std::function<void()> connect)
        : section_(section), files_(files), connect_(std::move(connect))
    {
    }
    void SetUp() override
    {
        MediaWindowTest::SetUp();
        media = useMedia(std::make_unique<RecordingMedia>());
        connect_();
        for (const char *name : files_) {
            QFile f(path(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
    }
    void TearDown() override
    {
        vx::FormRegistry::reset();
        for (auto p : {suite::players::Player::First, suite::players::Player::Second, suite::players::Player::Third})
            suite::players::join(p, {});
        vx::setMediaPlayerDriverFactory({});
        MediaWindowTest::TearDown();
    }
    // The player on the test folder.
    Player &showFolder()
    {
        Player &p = vx::instance<Player>();
        p.Dir1.setPath(folder);
        return p;
    }
    void store(QLatin1StringView key, const QString &value) const { suite::SaveSetting(section_, key, value); }
    QString stored(QLatin1StringView key) const { return suite::GetSetting(section_, key, QStringLiteral("-")); }
    static QString stored(QLatin1StringView key, QLatin1StringView section)
    {
        return suite::GetSetting(section, key, QStringLiteral("-"));
    }
    // The other players, joined as names recorded when shown ("first").
    QStringList shownPlayers;
    void joinOtherPlayers(std::initializer_list<std::pair<suite::players::Player, const char *>> players)
    {
        for (const auto &[player, name] : players)
            suite::players::join(player, [this, name] { shownPlayers << QString::fromUtf8(name); });
    }
    static QStringList calls(std::initializer_list<const char *> lines)
    {
        QStringList l;
        for (const char *line : lines)
            l << QString::fromUtf8(line);
        return l;
    }

    // The keys stand in the settings file in this order.
    void expectStoredInOrder(std::initializer_list<const char *> keys) const
    {
        QFile f(storeFile());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        qsizetype last = -1;
        for (const char *key : keys) {
            const qsizetype at =
                text.indexOf(QRegularExpression(QStringLiteral("(^|\\n)") + QLatin1String(key) + QLatin1Char('=')));
            EXPECT_GT(at, last) << key;
            last = at;
        }
    }

    // The settings window's skin button: the stored skin is shown in its
    // preview and on the player; cancel and a file that is not a picture change
    // nothing; a picture is shown on both and stored at once.
    void checkSkinButton(QLatin1StringView skinKey, vx::ImageBox &preview, const std::function<vx::ImageBox &()> &playerSkin,
                         const std::function<void()> &click)
    {
        EXPECT_EQ(preview.Picture().image.size(), QSize(30, 20));
        EXPECT_EQ(playerSkin().Picture().image.size(), QSize(30, 20));
        QFile bad(path("bad.jpg"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write("not a picture");
        bad.close();
        dialogs().files = {std::nullopt, QStringList{path("bad.jpg")}};
        click();
        click();
        EXPECT_EQ(stored(skinKey), path("skin.bmp"));
        EXPECT_EQ(playerSkin().Picture().image.size(), QSize(30, 20));
        EXPECT_EQ(dialogs().fileRequests.back().filter,
                  QStringLiteral("画像ファイル(*.bmp,*.jpg,*.gif)|*.bmp;*.jpg;*.gif"));
        writeTestImage(path("other.jpg"), 12, 8, Qt::green);
        dialogs().files = {QStringList{path("other.jpg")}};
        click();
        EXPECT_EQ(stored(skinKey), path("other.jpg"));
        EXPECT_EQ(playerSkin().Picture().image.size(), QSize(12, 8));
        EXPECT_EQ(preview.Picture().image.size(), QSize(12, 8));
    }
    // Stores the skin checkSkinButton starts from.
    void storeSkin(QLatin1StringView skinKey)
    {
        writeTestImage(path("skin.bmp"), 30, 20, Qt::blue);
        store(skinKey, path("skin.bmp"));
    }

    void checkResetAndMidi(vx::Form &settings, QLatin1StringView storedKey, const std::function<qint32()> &playerColour,
                           const std::function<void()> &reset, const std::function<void()> &midi)
    {
        MediaWindowTest::checkResetAndMidi(settings, section_, storedKey, playerColour, reset, midi);
    }

    RecordingMedia *media = nullptr;

private:
    QLatin1StringView section_;
    std::vector<const char *> files_;
    std::function<void()> connect_;
};

} // namespace vxtest
