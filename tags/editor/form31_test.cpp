#include "form31.h"
#include "player.h"

#include "suite/ending.h"
#include "suite/settings.h"
#include "tags/id3/fixture_test.h"
#include "tags/keys.h"
#include "testing/capabilities.h"
#include "testing/harness.h"

#include "platform/core/errors.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenuBar>

#include <sys/stat.h>
#include <unistd.h>

using namespace ID3Module;
using namespace id3test;
using vx::instance;
using vx::isLoaded;

namespace {

// Stands in for the second player: a playlist of names in one folder.
class FakePlayer : public tags::TagPlayer {
public:
    QString folder;
    QStringList entries;
    int index = -1;
    QString status = QStringLiteral("playing");
    bool nextEnabled = true;
    bool listsEnabled = false;
    QStringList calls;
    QString speed = QStringLiteral("1.5");
    QString title;
    QString author;

    QString folderPath() override { return folder; }
    QString fileName() override { return index >= 0 ? entries.value(index) : QString(); }
    int listIndex() override { return index; }
    int listCount() override { return static_cast<int>(entries.size()); }
    void setListIndex(int i) override
    {
        if (i < -1 || i >= entries.size())
            vx::raise(vx::err::InvalidProperty);
        index = i;
        calls << QStringLiteral("select %1").arg(i);
    }
    void setStatusText(const QString &t) override { status = t; }
    void setNextEnabled(bool on) override { nextEnabled = on; }
    void setListsEnabled(bool on) override { listsEnabled = on; }
    void stop() override { calls << QStringLiteral("stop"); }
    void setMediaFileName(const QString &p) override { calls << QStringLiteral("file ") + p; }
    void setRate(double r) override { calls << QStringLiteral("rate %1").arg(r); }
    QString mediaInfoString(int which) override { return which == 8 ? title : author; }
    void play() override { calls << QStringLiteral("play"); }
    QString playSpeedText() override { return speed; }
};

class Form31Test : public vxtest::GuiTest {
protected:
    void SetUp() override
    {
        vxtest::GuiTest::SetUp();
        player.folder = dir.path();
        tags::setPlayerSource([this] { return &player; });
    }
    void TearDown() override
    {
        tags::setPlayerSource(nullptr);
        vxtest::GuiTest::TearDown();
    }
    QString put(const QString &name, const QByteArray &data)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return dir.filePath(name);
    }
    static QByteArray content(const QString &p)
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // The editor opened on entry `index` of the playlist.
    Form31 &openOn(const QStringList &entries, int index)
    {
        player.entries = entries;
        player.index = index;
        return instance<Form31>();
    }
    QStringList messages() const { return vxtest::dialogs().messageTexts(); }

    QTemporaryDir dir;
    FakePlayer player;
    const QByteArray audio = mpegFrames(6);
};

TEST_F(Form31Test, ControlsCaptionsGenresMenusAndShortcuts)
{
    tags::setPlayerSource(nullptr);
    Form31 &f = instance<Form31>();
    EXPECT_EQ(f.Caption(), QStringLiteral("Multimedia Rondix Ⅱ Tag Editor Ver.1.0β"));
    EXPECT_EQ(f.CurrentFile, QString());
    EXPECT_EQ(f.AudioStart, 1);
    ASSERT_EQ(f.GenreCombo.ListCount(), 126);
    EXPECT_EQ(f.GenreCombo.List(0), QStringLiteral("ブルース"));
    EXPECT_EQ(f.GenreCombo.List(14), QStringLiteral("R&B"));
    EXPECT_EQ(f.GenreCombo.List(108), QStringLiteral("首相"));
    EXPECT_EQ(f.GenreCombo.List(125), QStringLiteral("ダンスホール"));
    EXPECT_EQ(f.VersionCombo.ListCount(), 5);
    EXPECT_EQ(f.VersionCombo.List(4), QStringLiteral("タグなし"));
    EXPECT_EQ(f.VersionCombo.ListIndex(), 0);
    EXPECT_TRUE(f.OptionLatin.Value());
    EXPECT_EQ(f.UnsynchronisationCheck.Value(), 0);
    EXPECT_EQ(f.Open.action()->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(f.FileSave.action()->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(f.Quit.action()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    EXPECT_EQ(f.Paste.action()->shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));
    EXPECT_EQ(f.FileSaveAs.Caption(), QStringLiteral("名前をつけて保存..."));
    EXPECT_EQ(f.TitleText.editor()->accessibleName(), QString()) << "the box holds the editor";
    EXPECT_EQ(f.TitleText.accessibleName(), QStringLiteral("タイトル"));
    EXPECT_EQ(f.Label3.buddy(), &f.TitleText);
    EXPECT_EQ(qobject_cast<QLineEdit *>(f.YearText.editor())->maxLength(), 4);
    EXPECT_EQ(qobject_cast<QLineEdit *>(f.TrackText.editor())->maxLength(), 2);
    // Both sets are on screen: the ID3v2 one is no longer below the window.
    f.Show();
    EXPECT_TRUE(f.ID3v2Frame.isVisible());
    EXPECT_LE(f.ID3v2Frame.Top() + f.ID3v2Frame.Height(), f.ScaleHeight());
    EXPECT_LE(f.ID3v2Frame.Left() + f.ID3v2Frame.Width(), f.ScaleWidth());
    EXPECT_TRUE(vxtest::ends([&] { f.Quit.click(); }));
}

TEST_F(Form31Test, VersionListSwitchesTheFieldSetsByEnabledState)
{
    tags::setPlayerSource(nullptr);
    Form31 &f = instance<Form31>();
    EXPECT_TRUE(f.ID3v1Frame.isEnabled());
    EXPECT_FALSE(f.ID3v2Frame.isEnabled());
    f.VersionCombo.setListIndex(3);
    EXPECT_FALSE(f.ID3v1Frame.isEnabled());
    EXPECT_TRUE(f.ID3v2Frame.isEnabled());
    f.VersionCombo.setListIndex(4);
    EXPECT_TRUE(f.ID3v2Frame.isEnabled()) << "no tag changes neither";
    f.VersionCombo.setListIndex(1);
    EXPECT_TRUE(f.ID3v1Frame.isEnabled());
    EXPECT_FALSE(f.ID3v2Frame.isEnabled());
}

TEST_F(Form31Test, ThirtyByteBoxesCountCodePageBytes)
{
    tags::setPlayerSource(nullptr);
    Form31 &f = instance<Form31>();
    f.TitleText.setText(QString(31, QLatin1Char('a')));
    EXPECT_EQ(f.TitleText.Text(), QString(30, QLatin1Char('a')));
    f.CommentText.setText(QString(14, QChar(0x3042)) + QStringLiteral("ab"));
    EXPECT_EQ(f.CommentText.Text(), QString(14, QChar(0x3042)) + QStringLiteral("ab"));
    f.CommentText.setText(QString(15, QChar(0x3042)) + QStringLiteral("x"));
    EXPECT_EQ(f.CommentText.Text(), QString(15, QChar(0x3042)));
    EXPECT_EQ(f.CommentText.SelStart(), 15);
    f.ArtistText.setText(QString(30, QChar(0xFF71))); // half-width kana: one byte each
    EXPECT_EQ(f.ArtistText.Text().size(), 30);
    f.AlbumText.setText(QString(20, QChar(0x6F22)));
    EXPECT_EQ(f.AlbumText.Text().size(), 15);
}

TEST_F(Form31Test, LoadsTheEntryAndSavesID3v11Unchanged)
{
    const QString p = put("a.mp3", audio + v1Block("Title", "Note", 7, 13, "1999"));
    const QByteArray before = content(p);
    Form31 &f = openOn({QStringLiteral("a.mp3")}, 0);
    EXPECT_EQ(f.CurrentFile, p);
    EXPECT_EQ(f.FileNameText.Caption(), p);
    // Assistive technology reads the file shown, and the inner frame by its own caption.
    QAccessibleInterface *file = QAccessible::queryAccessibleInterface(&f.FileNameText);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->text(QAccessible::Name), p);
    EXPECT_EQ(file->text(QAccessible::Description), QStringLiteral("ファイル"));
    QAccessibleInterface *encoding = QAccessible::queryAccessibleInterface(&f.EncodingFrame);
    ASSERT_NE(encoding, nullptr);
    EXPECT_EQ(encoding->text(QAccessible::Name), QStringLiteral("エンコード"));
    EXPECT_EQ(f.VersionCombo.ListIndex(), 1);
    EXPECT_EQ(f.CurrentTagKind, 1);
    EXPECT_EQ(f.TitleText.Text(), QStringLiteral("Title"));
    EXPECT_EQ(f.TrackText.Text(), QStringLiteral("7"));
    EXPECT_EQ(f.YearText.Text(), QStringLiteral("1999"));
    EXPECT_EQ(f.GenreCombo.ListIndex(), 13);
    EXPECT_EQ(f.CommentText.Text(), QStringLiteral("Note"));
    f.FileSave.click();
    EXPECT_EQ(content(p), before);
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no backup left";
}

TEST_F(Form31Test, GenresPastTheListAndMissingSkinsDoNotStopTheLoad)
{
    suite::SaveSetting(tags::keys::kPlayerSection, tags::keys::kSkin, dir.filePath(QStringLiteral("none.jpg")));
    const QString p = put("g.mp3", audio + v1Block("T", "kept", 0, 255));
    Form31 &f = openOn({QStringLiteral("g.mp3")}, 0);
    EXPECT_TRUE(f.Image1.Picture().isNull());
    EXPECT_EQ(f.GenreCombo.ListIndex(), -1);
    EXPECT_EQ(f.CommentText.Text(), QStringLiteral("kept"));
    f.FileSave.click();
    EXPECT_EQ(content(p).at(content(p).size() - 1), '\xFF') << "the genre byte is written back";
    f.GenreCombo.setListIndex(8);
    f.FileSave.click();
    EXPECT_EQ(content(p).at(content(p).size() - 1), '\x08');
    f.Unload();

    vxtest::writeTestImage(dir.filePath(QStringLiteral("skin.png")), 20, 10);
    suite::SaveSetting(tags::keys::kPlayerSection, tags::keys::kSkin, dir.filePath(QStringLiteral("skin.png")));
    EXPECT_EQ(instance<Form31>().Image1.Picture().image.size(), QSize(20, 10));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(Form31Test, ID3v2FieldsTrackSplitAndLaterVersions)
{
    struct Case {
        const char *track;
        QString number;
        QString total;
    };
    const Case cases[] = {{"3/12", QStringLiteral("3"), QStringLiteral("12")},
                          {"/12", QStringLiteral("/12"), QString()},
                          {"7", QStringLiteral("7"), QString()}};
    for (const Case &c : cases) {
        const QByteArray tag = tagV2(3, 0x80, frame23("TRCK", latin(c.track)) + frame23("TPE1", latin("P")) +
                                                  frame23("TYER", latin("2003")) +
                                                  frame23("COMM", QByteArray("\0jpnd\0body", 10)));
        put("v2.mp3", tag + audio);
        Form31 &f = openOn({QStringLiteral("v2.mp3")}, 0);
        EXPECT_EQ(f.VersionCombo.ListIndex(), 3);
        EXPECT_EQ(f.AudioStart, tag.size() + 1);
        EXPECT_EQ(f.TrackText2.Text(), c.number) << c.track;
        EXPECT_EQ(f.TrackText3.Text(), c.total) << c.track;
        EXPECT_EQ(f.PerformerText.Text(), QStringLiteral("P"));
        EXPECT_EQ(f.YearText2.Text(), QStringLiteral("2003"));
        EXPECT_EQ(f.CommentText2.Text(), QStringLiteral("d"));
        EXPECT_EQ(f.CommentText3.Text(), QStringLiteral("body"));
        EXPECT_EQ(f.UnsynchronisationCheck.Value(), 1);
        f.Unload();
    }
    // A saved 7 with no total stays 7.
    Form31 &f = instance<Form31>();
    f.UnsynchronisationCheck.setValue(0);
    f.FileSave.click();
    EXPECT_EQ(ReadID3v2Tag(dir.filePath(QStringLiteral("v2.mp3"))).Track, QStringLiteral("7"));
    f.Unload();

    const QByteArray v24 = tagV2(4, 0, frame23("TIT2", bytes({3}) + "new"));
    const QString p = put("v24.mp3", v24 + audio);
    Form31 &g = openOn({QStringLiteral("v24.mp3")}, 0);
    EXPECT_EQ(g.VersionCombo.ListIndex(), 4);
    EXPECT_EQ(g.AudioStart, v24.size() + 1);
    g.VersionCombo.setListIndex(3);
    g.TitleText2.setText(QStringLiteral("Replaced"));
    vxtest::dialogs().answers = {vx::vbYes}; // the tag it could not read goes
    g.FileSave.click();
    EXPECT_EQ(ReadID3v2Tag(p).Title, QStringLiteral("Replaced"));
    EXPECT_EQ(content(p).mid(ReadID3v2Tag(p).TagSize + 10), audio);
    EXPECT_EQ(g.CurrentTagKind, 3);
}

TEST_F(Form31Test, AudioStartFollowsEverySave)
{
    const QString p = put("s.mp3", audio);
    Form31 &f = openOn({QStringLiteral("s.mp3")}, 0);
    EXPECT_EQ(f.VersionCombo.ListIndex(), 4);
    f.VersionCombo.setListIndex(2);
    f.OptionUnicode.setValue(true);
    f.TitleText2.setText(QStringLiteral("二"));
    f.FileSave.click();
    EXPECT_EQ(f.AudioStart, ReadID3v2Tag(p).TagSize + 11);
    f.TitleText2.setText(QStringLiteral("三番目"));
    f.VersionCombo.setListIndex(3);
    f.FileSave.click();
    EXPECT_EQ(content(p).mid(int(f.AudioStart) - 1), audio) << "the second save copied from the new start";
    // ID3v1 goes behind the audio; the ID3v2 tag before it stays.
    const qint64 start = f.AudioStart;
    const QByteArray tag = content(p).left(int(start) - 1);
    f.VersionCombo.setListIndex(0);
    f.TitleText.setText(QStringLiteral("One"));
    f.FileSave.click();
    EXPECT_EQ(f.AudioStart, start);
    EXPECT_EQ(content(p), tag + audio + content(p).right(128));
    f.VersionCombo.setListIndex(4);
    f.FileSave.click();
    EXPECT_EQ(content(p), audio);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(Form31Test, SaveAndCloseMovesThePlayerOnAndSavesEvenAtTheEnd)
{
    put("a.mp3", audio);
    put("b.mp3", audio);
    put("c.mp3", audio);
    player.title = QStringLiteral("Song");
    player.author = QStringLiteral("Singer");
    Form31 &f = openOn({QStringLiteral("a.mp3"), QStringLiteral("b.mp3"), QStringLiteral("c.mp3")}, 0);
    f.VersionCombo.setListIndex(0);
    f.TitleText.setText(QStringLiteral("A"));
    f.Command2.click();
    EXPECT_FALSE(isLoaded<Form31>());
    EXPECT_EQ(ReadID3v1Tag(dir.filePath(QStringLiteral("a.mp3"))).Title, QStringLiteral("A"));
    EXPECT_EQ(player.calls, (QStringList{QStringLiteral("select 1"), QStringLiteral("stop"),
                                         QStringLiteral("file ") + dir.filePath(QStringLiteral("b.mp3")),
                                         QStringLiteral("rate 1.5"), QStringLiteral("play")}));
    EXPECT_EQ(player.status, QStringLiteral("Song / Singer"));
    EXPECT_TRUE(player.listsEnabled);

    // Onto the last entry: only the next button changes.
    player.calls.clear();
    player.title.clear();
    player.author.clear();
    Form31 &g = instance<Form31>();
    g.VersionCombo.setListIndex(0);
    g.Command2.click();
    EXPECT_EQ(player.calls, QStringList{QStringLiteral("select 2")});
    EXPECT_FALSE(player.nextEnabled);
    EXPECT_EQ(player.status, QString());

    // The last entry itself: saved, the player stays.
    player.calls.clear();
    Form31 &h = instance<Form31>();
    h.VersionCombo.setListIndex(1);
    h.TrackText.setText(QStringLiteral("5"));
    h.Command2.click();
    EXPECT_FALSE(isLoaded<Form31>());
    EXPECT_TRUE(player.calls.isEmpty());
    EXPECT_EQ(ReadID3v1Tag(dir.filePath(QStringLiteral("c.mp3"))).Track, 5);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(Form31Test, FailedSavesSayWhyAndKeepTheWindowAndTheFile)
{
    const QString p = put("f.mp3", audio);
    Form31 &f = openOn({QStringLiteral("f.mp3")}, 0);
    f.VersionCombo.setListIndex(0);
    f.TitleText.setText(QStringLiteral("Café"));
    f.Command2.click();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().at(0).contains(QStringLiteral("Café")));
    EXPECT_EQ(vxtest::dialogs().messages.at(0).icon(), vx::vbExclamation);
    EXPECT_TRUE(isLoaded<Form31>());
    EXPECT_EQ(content(p), audio);
    // Without a player the save still happens.
    tags::setPlayerSource(nullptr);
    f.TitleText.setText(QStringLiteral("Omega"));
    f.Command2.click();
    EXPECT_FALSE(isLoaded<Form31>());
    EXPECT_EQ(ReadID3v1Tag(p).Title, QStringLiteral("Omega"));
}

TEST_F(Form31Test, EndingWithUnsavedEditsAsksAndEndsOnlyOnceSaved)
{
    const QByteArray old = audio + v1Block("Old", "", 1, 2);
    const QString p = put("e.mp3", old);
    Form31 &f = openOn({QStringLiteral("e.mp3")}, 0);
    const auto quit = [&f] {
        vx::setEndThrows(true);
        return vxtest::ends([&f] { f.Quit_Click(); });
    };
    const QString ask = QStringLiteral("変更を保存しますか?");
    // Loading filled every box: no edit yet, so the end asks nothing.
    EXPECT_FALSE(f.HasUnsavedChanges());
    EXPECT_TRUE(quit());
    EXPECT_TRUE(messages().isEmpty());

    f.TitleText.setText(QStringLiteral("New"));
    EXPECT_TRUE(f.HasUnsavedChanges());
    vxtest::dialogs().answers = {vx::vbCancel};
    EXPECT_FALSE(quit());
    ASSERT_EQ(messages(), QStringList{ask});
    EXPECT_EQ(vxtest::dialogs().messages.back().buttons(), vx::vbYesNoCancel);
    vxtest::dialogs().answers = {vx::vbNo};
    EXPECT_TRUE(quit());
    EXPECT_EQ(content(p), old);

    // Yes, but the save is refused (no file by that name any more): the program goes on.
    const QString aside = dir.filePath(QStringLiteral("aside.mp3"));
    ASSERT_TRUE(QFile::rename(p, aside));
    ASSERT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0600), 0);
    vxtest::dialogs().answers = {vx::vbYes, vx::vbOK};
    EXPECT_FALSE(quit());
    EXPECT_TRUE(messages().last().contains(QStringLiteral("通常のファイルではありません"))) << qPrintable(messages().last());
    ASSERT_TRUE(QFile::remove(p));
    ASSERT_TRUE(QFile::rename(aside, p));
    EXPECT_EQ(content(p), old);
    vxtest::dialogs().answers = {vx::vbYes};
    EXPECT_TRUE(quit());
    EXPECT_EQ(ReadID3v1Tag(p).Title, QStringLiteral("New"));
    EXPECT_FALSE(f.HasUnsavedChanges());

    // Any field, the version list or an option is an edit too; a save clears it.
    f.UnsynchronisationCheck.setValue(1);
    EXPECT_TRUE(f.HasUnsavedChanges());
    f.FileSave_Click();
    EXPECT_FALSE(f.HasUnsavedChanges());
    f.VersionCombo.setListIndex(KindNone);
    EXPECT_TRUE(f.HasUnsavedChanges());
    vxtest::dialogs().answers = {vx::vbCancel};
    EXPECT_FALSE(suite::toolsAgreeToEnd()) << "the tag editor is in the program's list";
}

TEST_F(Form31Test, ClosingWithUnsavedEditsAsksAsTheEndDoes)
{
    const QByteArray old = tagV2(3, 0, frame23("TIT2", latin("Old"))) + audio;
    const QString p = put("c.mp3", old);
    const QString ask = QStringLiteral("変更を保存しますか?");
    auto &d = vxtest::dialogs();
    const auto edit = [&] {
        Form31 &f = openOn({QStringLiteral("c.mp3")}, 0);
        f.TitleText2.setText(QStringLiteral("New"));
        return &f;
    };
    // Nothing edited: closes without a word.
    openOn({QStringLiteral("c.mp3")}, 0).Command1.click();
    EXPECT_FALSE(isLoaded<Form31>());
    EXPECT_TRUE(messages().isEmpty());

    // The close button and the close box: Cancel stays, No closes unsaved.
    for (const bool box : {false, true}) {
        Form31 *f = edit();
        f->Show();
        const auto close = [&] { box ? (void)f->close() : f->Command1.click(); };
        d.answers = {vx::vbCancel};
        close();
        ASSERT_TRUE(isLoaded<Form31>()) << box;
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(messages().last(), ask);
        EXPECT_EQ(d.messages.back().buttons(), vx::vbYesNoCancel);
        d.answers = {vx::vbNo};
        close();
        EXPECT_FALSE(isLoaded<Form31>()) << box;
        EXPECT_EQ(content(p), old);
    }

    // Yes closes only once the save went through.
    Form31 *f = edit();
    const QString aside = dir.filePath(QStringLiteral("aside.mp3"));
    ASSERT_TRUE(QFile::rename(p, aside));
    ASSERT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0600), 0);
    d.answers = {vx::vbYes, vx::vbOK};
    f->Command1.click();
    EXPECT_TRUE(isLoaded<Form31>());
    EXPECT_TRUE(messages().last().contains(QStringLiteral("通常のファイルではありません")));
    EXPECT_TRUE(f->HasUnsavedChanges());
    ASSERT_TRUE(QFile::remove(p));
    ASSERT_TRUE(QFile::rename(aside, p));
    d.answers = {vx::vbYes};
    f->Command1.click();
    EXPECT_FALSE(isLoaded<Form31>());
    EXPECT_EQ(ReadID3v2Tag(p).Title, QStringLiteral("New"));
    EXPECT_EQ(messages().count(ask), 6);
}

TEST_F(Form31Test, ACodePageTitleCutByAnotherTaggerShowsAndSaves)
{
    const QString kana = QString(14, QChar(0x3042));
    const QByteArray cut = "a" + ToCodePage(kana) + "\x82"; // 30 bytes, the last a lone first byte
    const QString p = put("cut.mp3", audio + v1Block(cut, "", 3, 13));
    Form31 &f = openOn({QStringLiteral("cut.mp3")}, 0);
    EXPECT_EQ(f.TitleText.Text(), QStringLiteral("a") + kana);
    f.ArtistText.setText(QStringLiteral("歌手"));
    f.FileSave.click();
    EXPECT_TRUE(messages().isEmpty()) << qPrintable(messages().value(0));
    const ID3v1TagRecord r = ReadID3v1Tag(p);
    EXPECT_EQ(r.Title, QStringLiteral("a") + kana);
    EXPECT_EQ(r.Artist, QStringLiteral("歌手"));
    EXPECT_EQ(content(p).left(audio.size()), audio);
}

TEST_F(Form31Test, ATagSizePastTheFileEndNeverTakesTheAudio)
{
    const QByteArray frames = frame23("TIT2", latin("Old")) + frame23("TYER", latin("1999"));
    const auto oversized = [&](const QByteArray &behind) {
        return QByteArray("ID3\x03\0\0", 6) + syncsafe(1 << 20) + frames + QByteArray(32, '\0') + behind;
    };
    // The audio behind the frames is found and kept, a trailing ID3v1 block aside.
    const QString p = put("over.mp3", oversized(audio));
    Form31 &f = openOn({QStringLiteral("over.mp3")}, 0);
    EXPECT_EQ(f.TitleText2.Text(), QStringLiteral("Old"));
    f.TitleText2.setText(QStringLiteral("New"));
    f.FileSave.click();
    EXPECT_TRUE(messages().isEmpty()) << qPrintable(messages().value(0));
    EXPECT_EQ(ReadID3v2Tag(p).Title, QStringLiteral("New"));
    EXPECT_EQ(content(p).mid(ReadID3v2Tag(p).TagSize + 10), audio);
    f.Unload();

    // Nothing that looks like audio: every save is refused, saying why, and the file stays.
    const QByteArray odd = oversized(QByteArray(3000, 'z'));
    const QString q = put("odd.mp3", odd);
    Form31 &g = openOn({QStringLiteral("odd.mp3")}, 0);
    for (const int version : {KindV23, KindV1, KindNone}) {
        g.VersionCombo.setListIndex(version);
        g.FileSave.click();
        ASSERT_FALSE(messages().isEmpty()) << version;
        EXPECT_TRUE(messages().last().contains(QStringLiteral("音声データ"))) << qPrintable(messages().last());
    }
    EXPECT_EQ(messages().size(), 3);
    EXPECT_EQ(content(q), odd);
    EXPECT_TRUE(isLoaded<Form31>());
}

TEST_F(Form31Test, ATagItCannotReadGoesOnlyWithTheUsersWord)
{
    const QByteArray v24 = tagV2(4, 0, frame23("TIT2", bytes({3}) + "four"));
    const QByteArray block = v1Block("Kept", "", 1, 2);
    const QByteArray old = v24 + audio + block;
    const QString p = put("v24.mp3", old);
    put("next.mp3", audio);
    Form31 &f = openOn({QStringLiteral("v24.mp3"), QStringLiteral("next.mp3")}, 0);
    EXPECT_EQ(f.VersionCombo.ListIndex(), KindNone);
    auto &d = vxtest::dialogs();
    // A plain save (no tag) asks, naming both tags; No changes nothing.
    d.answers = {vx::vbNo};
    f.FileSave.click();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().at(0).contains(QStringLiteral("ID3v2.4"))) << qPrintable(messages().at(0));
    EXPECT_TRUE(messages().at(0).contains(QStringLiteral("ID3v1 タグも削除されます")));
    EXPECT_EQ(d.messages.back().buttons(), vx::vbYesNo);
    EXPECT_EQ(content(p), old);
    // Save and close asks before the player moves.
    d.answers = {vx::vbNo};
    f.Command2.click();
    EXPECT_TRUE(isLoaded<Form31>());
    EXPECT_TRUE(player.calls.isEmpty());
    EXPECT_EQ(content(p), old);
    // Saved as ID3v1 (the boxes show the old block), only the block changes: nothing to ask.
    EXPECT_EQ(f.TitleText.Text(), QStringLiteral("Kept"));
    f.VersionCombo.setListIndex(KindV1);
    f.TitleText.setText(QStringLiteral("Mine"));
    const int asked = static_cast<int>(messages().size());
    f.FileSave.click();
    EXPECT_EQ(messages().size(), asked);
    EXPECT_EQ(content(p), v24 + audio + content(p).right(128));
    EXPECT_EQ(ReadID3v1Tag(p).Title, QStringLiteral("Mine"));
    // Save as leaves the file itself alone.
    const QString copy = dir.filePath(QStringLiteral("copy.mp3"));
    d.files = {QStringList{copy}};
    f.FileSaveAs.click();
    EXPECT_EQ(messages().size(), asked);
    EXPECT_EQ(content(copy), content(p));

    // Yes: the file then holds what the window shows.
    f.Unload();
    put("v24.mp3", old);
    Form31 &g = openOn({QStringLiteral("v24.mp3")}, 0);
    d.answers = {vx::vbYes};
    g.FileSave.click();
    EXPECT_EQ(content(p), audio);
    g.VersionCombo.setListIndex(KindV23);
    g.FileSave.click();
    EXPECT_EQ(messages().count(), asked + 1) << "asked once";
    g.Unload();

    // A tag read only in part (a frame runs past its end), and a header no version names.
    const QByteArray broken = tagV2(3, 0, frame23("TIT2", latin("First")) + "TPE1" + be32(5000) + bytes({0, 0}) + "xx");
    const QByteArray strange = tagV2(0xFF, 0, QByteArray(20, 'q'));
    struct Case {
        QByteArray tag;
        QString says;
    };
    for (const Case &c : {Case{broken, QStringLiteral("ID3v2.3 タグは壊れていて")},
                          Case{strange, QStringLiteral("読めない ID3v2.255 タグ")}}) {
        const QString q = put("odd.mp3", c.tag + audio);
        Form31 &h = openOn({QStringLiteral("odd.mp3")}, 0);
        d.messages.clear();
        d.answers = {vx::vbNo};
        h.FileSave.click();
        ASSERT_EQ(messages().size(), 1);
        EXPECT_TRUE(messages().at(0).contains(c.says)) << qPrintable(messages().at(0));
        EXPECT_FALSE(messages().at(0).contains(QStringLiteral("ID3v1")));
        EXPECT_EQ(content(q), c.tag + audio);
        d.answers = {vx::vbYes};
        h.FileSave.click();
        EXPECT_EQ(content(q).right(audio.size()), audio);
        EXPECT_NE(content(q), c.tag + audio);
        h.Unload();
    }
}

TEST_F(Form31Test, AYearTheTagCannotHoldIsRefusedBeforeAnythingMoves)
{
    const QByteArray old = tagV2(3, 0, frame23("TYER", latin("1999"))) + audio;
    const QString p = put("y.mp3", old);
    put("z.mp3", audio);
    Form31 &f = openOn({QStringLiteral("y.mp3"), QStringLiteral("z.mp3")}, 0);
    for (const char *year : {"70000", "-1", "10000", "9999.5"}) {
        f.YearText2.setText(QString::fromLatin1(year));
        f.FileSave.click();
        f.Command2.click();
        ASSERT_EQ(messages().size(), 2) << year;
        for (const QString &m : messages()) {
            EXPECT_TRUE(m.contains(QStringLiteral("年「%1」").arg(QString::fromLatin1(year))) &&
                        m.contains(QStringLiteral("0 から 9999")))
                << qPrintable(m);
        }
        vxtest::dialogs().messages.clear();
    }
    EXPECT_TRUE(isLoaded<Form31>());
    EXPECT_TRUE(player.calls.isEmpty());
    EXPECT_EQ(content(p), old);
    // The ID3v1 box too, and only the box of the tag being written counts.
    f.VersionCombo.setListIndex(KindV1);
    f.YearText.setText(QStringLiteral("-5"));
    f.FileSave.click();
    EXPECT_EQ(messages().size(), 1);
    EXPECT_EQ(content(p), old);
    f.YearText.setText(QString());
    f.FileSave.click();
    EXPECT_EQ(ReadID3v1Tag(p).Year, 0);
    EXPECT_EQ(content(p).right(128).mid(93, 4), QByteArray(4, '\0')) << "no year typed, none written";
    f.VersionCombo.setListIndex(KindV23);
    f.YearText2.setText(QStringLiteral("9999"));
    f.FileSave.click();
    EXPECT_EQ(ReadID3v2Tag(p).Year, 9999);
    EXPECT_EQ(messages().size(), 1);
    f.Unload();

    // A year in the file that no tag of ours can hold shows as it is, and stays as it is.
    const QByteArray far = tagV2(3, 0, frame23("TYER", latin("70000"))) + audio;
    put("far.mp3", far);
    Form31 &g = openOn({QStringLiteral("far.mp3")}, 0);
    EXPECT_EQ(g.YearText2.Text(), QStringLiteral("70000"));
    g.TitleText2.setText(QStringLiteral("t"));
    g.FileSave.click();
    EXPECT_EQ(messages().size(), 1);
    EXPECT_EQ(ReadID3v2Tag(dir.filePath(QStringLiteral("far.mp3"))).YearText, QStringLiteral("70000"));
}

TEST_F(Form31Test, AProtectedFileSaysItCannotBeWrittenAndStays)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    const QByteArray old = audio + v1Block("Old", "", 1, 2);
    const QString p = put("ro.mp3", old);
    ASSERT_TRUE(QFile::setPermissions(p, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    Form31 &f = openOn({QStringLiteral("ro.mp3")}, 0);
    f.TitleText.setText(QStringLiteral("New"));
    f.FileSave.click();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().at(0).startsWith(QStringLiteral("タグを保存できませんでした。ファイルは元のままです。\n") +
                                            vx::errorText(vx::err::PermissionDenied)))
        << qPrintable(messages().at(0));
    EXPECT_EQ(content(p), old);
    EXPECT_TRUE(f.HasUnsavedChanges());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("ro.mp3")});
}

TEST_F(Form31Test, OpeningAFifoOrAFolderAnswersAtOnce)
{
    const QString fifo = dir.filePath(QStringLiteral("pipe.mp3"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.filePath(QStringLiteral("folder.mp3"));
    ASSERT_TRUE(QDir().mkpath(folder));
    Form31 &f = openOn({QStringLiteral("pipe.mp3")}, 0); // the player's entry is the FIFO
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().at(0).contains(QStringLiteral("通常のファイルではありません"))) << qPrintable(messages().at(0));
    EXPECT_TRUE(f.CurrentFile.isEmpty());
    QElapsedTimer timer;
    timer.start();
    vxtest::dialogs().files = {QStringList{folder}, QStringList{fifo}};
    f.Open.click();
    f.Open.click();
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(messages().size(), 3);
    EXPECT_TRUE(f.CurrentFile.isEmpty());
}

TEST_F(Form31Test, OpenAndSaveAsFollowTheDialogs)
{
    const QString a = put("a.mp3", tagV2(3, 0, frame23("TRCK", latin("4/9")) + frame23("TYER", latin("1990"))) +
                                       audio);
    const QString b = put("b.mp3", audio + v1Block("B", "", 2, 3));
    const QString other = put("other.mp3", QByteArray(3000, 'z'));
    Form31 &f = openOn({QStringLiteral("a.mp3")}, 0);
    auto &d = vxtest::dialogs();
    d.files = {std::nullopt, QStringList{b}};
    f.Open.click();
    EXPECT_EQ(f.CurrentFile, a) << "cancel changes nothing";
    EXPECT_EQ(f.TrackText3.Text(), QStringLiteral("9"));
    f.Open.click();
    EXPECT_EQ(d.fileRequests.at(1).fileName, a);
    EXPECT_EQ(f.CurrentFile, b);
    EXPECT_EQ(f.TrackText2.Text(), QString()) << "the previous file's boxes are emptied";
    EXPECT_EQ(f.TrackText3.Text(), QString());
    EXPECT_EQ(f.YearText2.Text(), QString());
    EXPECT_EQ(f.TitleText.Text(), QStringLiteral("B"));

    d.files = {std::nullopt, QStringList{other}};
    f.FileSaveAs.click();
    EXPECT_EQ(content(other), QByteArray(3000, 'z'));
    f.TitleText.setText(QStringLiteral("Copy"));
    f.FileSaveAs.click();
    EXPECT_TRUE(d.fileRequests.back().save);
    EXPECT_EQ(content(other), audio + BuildID3v1Block(ReadID3v1Tag(other), true));
    EXPECT_EQ(ReadID3v1Tag(other).Title, QStringLiteral("Copy"));
    EXPECT_EQ(ReadID3v1Tag(b).Title, QStringLiteral("B"));
    EXPECT_EQ(f.CurrentFile, other);
    EXPECT_EQ(f.FileNameText.Caption(), other);

    // A file that cannot be read: said so, and nothing is left to save over.
    d.files = {QStringList{dir.filePath(QStringLiteral("gone.mp3"))}};
    f.Open.click();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().at(0).startsWith(QStringLiteral("ファイルを読み込めませんでした。")));
    EXPECT_EQ(f.CurrentFile, QString());
    f.FileSave.click();
    EXPECT_EQ(messages().size(), 2);
    EXPECT_TRUE(isLoaded<Form31>());
}

TEST_F(Form31Test, EditMenuWorksOnTheFocusedBox)
{
    tags::setPlayerSource(nullptr);
    Form31 &f = instance<Form31>();
    f.Show();
    QApplication::setActiveWindow(&f);
    f.TitleText.setText(QStringLiteral("clip"));
    auto *line = qobject_cast<QLineEdit *>(f.TitleText.editor());
    line->setFocus();
    if (QApplication::focusWidget() != line)
        GTEST_SKIP() << "no keyboard focus on this platform";
    line->selectAll();
    f.Cut.click();
    EXPECT_EQ(f.TitleText.Text(), QString());
    f.Paste.click();
    f.Paste.click();
    EXPECT_EQ(f.TitleText.Text(), QStringLiteral("clipclip"));
}

// Files tagged by common taggers: a save of one edited title keeps every other
// frame as stored, the comments' language, an ID3v1 block behind the audio,
// the audio; a save with no edit keeps even frames nobody can read here.
TEST_F(Form31Test, ASaveChangesOnlyTheFieldTheUserEdited)
{
    const QByteArray block = v1Block("Old v1", "", 3, 17, "    ");
    const auto joined = [](const QList<QByteArray> &frames) { return frames.join(); };
    const QByteArray compressed = frame23("TIT2", qCompress(wide(QStringLiteral("圧縮された題"))), 0x80);
    const QList<QByteArray> sealedFrames{compressed, frame23("TPE1", wide(QStringLiteral("山田太郎")))};
    struct Case {
        const char *name;
        QByteArray tag;
        QByteArray trailing;
        bool edit;
    };
    const Case cases[] = {
        {"v2.3 UTF-16", tagV2(3, 0, joined(richFrames(3))), {}, true},
        {"v2.3 unsynchronised", tagV2(3, 0x80, unsynced(joined(richFrames(3)))), {}, true},
        {"v2.2", tagV2(2, 0, joined(richFrames(2))), {}, true},
        {"v2.3 and ID3v1", tagV2(3, 0, joined(richFrames(3))), block, true},
        {"v2.3 compressed title, no edit", tagV2(3, 0, joined(sealedFrames)), block, false},
    };
    for (const Case &c : cases) {
        const QByteArray old = c.tag + audio + c.trailing;
        const QString p = put("rich.mp3", old);
        Form31 &f = openOn({QStringLiteral("rich.mp3")}, 0);
        EXPECT_TRUE(f.OptionUnicode.Value()) << c.name << ": the encoding follows the tag";
        EXPECT_EQ(f.YearText2.Text(), QString()) << c.name;
        if (c.edit)
            f.TitleText2.setText(QStringLiteral("朝の歌"));
        f.FileSave.click();
        EXPECT_TRUE(messages().isEmpty()) << c.name << ": nothing to ask";
        QList<QByteArray> expected = framesOf(c.tag);
        if (c.edit)
            expected[0] = c.tag[3] == 3 ? frame23("TIT2", wide(QStringLiteral("朝の歌")))
                                        : frame22("TT2", wide(QStringLiteral("朝の歌")));
        const QByteArray now = content(p);
        EXPECT_EQ(framesOf(now), expected) << c.name;
        EXPECT_EQ(now[5], c.tag[5]) << c.name << ": unsynchronisation as read";
        EXPECT_TRUE(now.endsWith(audio + c.trailing)) << c.name;
        if (!c.edit) {
            EXPECT_EQ(now, old) << c.name;
        }
        EXPECT_EQ(ReadID3v2Tag(p).Performer, QStringLiteral("山田太郎")) << c.name;
        f.Unload();
    }
}

// Another version (or no tag) cannot keep everything: the save names what
// goes first, and No leaves the file as it was.
TEST_F(Form31Test, WhatAnotherVersionCannotHoldIsNamedBeforeItGoes)
{
    const QByteArray old = tagV2(3, 0, richFrames(3).join()) + audio;
    const QString p = put("rich.mp3", old);
    Form31 &f = openOn({QStringLiteral("rich.mp3")}, 0);
    auto &d = vxtest::dialogs();
    f.VersionCombo.setListIndex(KindV22);
    d.answers = {vx::vbNo};
    f.FileSave.click();
    ASSERT_EQ(messages().size(), 1);
    const QString asked = messages().at(0);
    EXPECT_TRUE(asked.contains(QStringLiteral("PRIV（プライベートデータ）")) && asked.contains(QStringLiteral("ID3v2.2")))
        << qPrintable(asked);
    EXPECT_FALSE(asked.contains(QStringLiteral("APIC")) || asked.contains(QStringLiteral("TCOM")))
        << "ID3v2.2 has a picture and a composer frame";
    EXPECT_EQ(content(p), old);
    // Yes: every frame but the private one, as ID3v2.2 has it.
    d.answers = {vx::vbYes};
    f.FileSave.click();
    EXPECT_EQ(framesOf(content(p)), richFrames(2));
    EXPECT_TRUE(content(p).endsWith(audio));
    // And back: ID3v2.3 has a place for everything.
    d.messages.clear();
    f.VersionCombo.setListIndex(KindV23);
    f.FileSave.click();
    EXPECT_TRUE(messages().isEmpty());
    QList<QByteArray> back = richFrames(3);
    back.removeIf([](const QByteArray &frame) { return frame.startsWith("PRIV"); });
    EXPECT_EQ(framesOf(content(p)), back);
    f.Unload();

    // No tag: what no box shows is named; the shown fields go unnamed.
    put("rich.mp3", old);
    Form31 &g = openOn({QStringLiteral("rich.mp3")}, 0);
    d.messages.clear();
    g.VersionCombo.setListIndex(KindNone);
    d.answers = {vx::vbNo};
    g.FileSave.click();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().at(0).contains(QStringLiteral("USLT（歌詞）"))) << qPrintable(messages().at(0));
    EXPECT_FALSE(messages().at(0).contains(QStringLiteral("TIT2")));
    EXPECT_EQ(content(p), old);
}

// Years as typed: full-width digits are digits; anything else is refused
// before the file moves; an empty box writes no year.
TEST_F(Form31Test, YearsAreTakenAsTyped)
{
    struct Case {
        const char16_t *typed;
        const char *written; // nullptr: refused; "": no year
    };
    const Case cases[] = {
        {u"２００１", "2001"}, {u" 99", "0099"}, {u"12", "0012"}, {u"0", "0000"}, {u"", ""},
        {u"平成13", nullptr},  {u"abc", nullptr},   {u"20O1", nullptr}, {u"13年", nullptr},
    };
    const QByteArray old = tagV2(3, 0, frame23("TIT2", latin("t"))) + audio;
    for (const Case &c : cases) {
        const QString typed = QString::fromUtf16(c.typed);
        for (int version : {KindV1, KindV23}) {
            const QString p = put("y.mp3", old);
            Form31 &f = openOn({QStringLiteral("y.mp3")}, 0);
            f.VersionCombo.setListIndex(version);
            (version == KindV1 ? f.YearText : f.YearText2).setText(typed);
            f.FileSave.click();
            const std::string what = typed.toStdString() + " v" + std::to_string(version);
            if (!c.written) {
                ASSERT_EQ(messages().size(), 1) << what;
                EXPECT_TRUE(messages().at(0).contains(QStringLiteral("年「%1」").arg(typed))) << what;
                EXPECT_EQ(content(p), old) << what;
                vxtest::dialogs().answers = {vx::vbNo}; // the edit not saved: closing asks
            } else if (version == KindV1) {
                EXPECT_EQ(content(p).right(128).mid(93, 4), QByteArray(c.written).leftJustified(4, '\0')) << what;
            } else {
                EXPECT_EQ(ReadID3v2Tag(p).YearText, QString::fromLatin1(c.written)) << what;
                EXPECT_EQ(content(p).contains("TYER"), *c.written != 0) << what;
            }
            f.Unload();
            vxtest::dialogs().messages.clear();
        }
    }
    // A blank year field of an ID3v1 block loads empty and stays blank.
    const QString p = put("v1.mp3", audio + v1Block("T", "", 1, 2, "    "));
    Form31 &f = openOn({QStringLiteral("v1.mp3")}, 0);
    EXPECT_EQ(f.YearText.Text(), QString());
    f.FileSave.click();
    EXPECT_EQ(content(p), audio + v1Block("T", "", 1, 2, QByteArray(4, '\0')));
}

} // namespace
