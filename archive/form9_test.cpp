#include "arcsmpcommon.h"
#include "form9_fixture_test.h"
#include "keys.h"

#include "platform/archivers/loader/archivers.h"
#include "platform/core/errors.h"
#include "suite/settings.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <QElapsedTimer>
#include <QTimer>
#include <QDateTime>

#include <sys/stat.h>
#include <unistd.h>
#include <QStandardPaths>

using vxtest::dialogs;

namespace {

const QString Q = QStringLiteral("\"");

vxtest::MessageRecord lastMessage()
{
    return dialogs().messages.empty() ? vxtest::MessageRecord{} : dialogs().messages.back();
}

} // namespace

TEST_F(Form9Test, LoadShowsVersionsPanesAndDefaults)
{
    fake->versions = {{QStringLiteral("unlha32.so"), 312}, {QStringLiteral("unzip32.so"), 5},
                      {QStringLiteral("cab32.so"), 1000}};
    fake->missing = {QStringLiteral("tar32.so"), QStringLiteral("yz1.so"), QStringLiteral("ungca32.so")};
    Form9 &w = window();
    EXPECT_EQ(w.Caption(), QStringLiteral("Cramlet＆Loosel Version4.1"));
    EXPECT_TRUE(w.Label11.Caption().startsWith(QStringLiteral("UNLHA32.DLL Version3.12 ")));
    EXPECT_TRUE(w.Label12.Caption().startsWith(QStringLiteral("UNZIP32.DLL Version0.05 ")));
    EXPECT_TRUE(w.Label13.Caption().startsWith(QStringLiteral("CAB32.DLL Version10.0 ")));
    EXPECT_EQ(w.Label17.Caption(), QStringLiteral("TAR32.DLLが見つかりません"));
    EXPECT_EQ(w.Label18.Caption(), QStringLiteral("YZ1.DLLが見つかりません"));
    EXPECT_TRUE(w.Label16.Caption().startsWith(QStringLiteral("UNRAR32.DLL Version1.00 ")));
    ASSERT_EQ(w.SSTab1.Tabs(), 8);
    EXPECT_EQ(w.SSTab1.tabText(6), QStringLiteral("TAR"));
    EXPECT_TRUE(w.Text1.Text().endsWith(QStringLiteral("このボックスにLZHファイルをドロップしてください。\nまたは、LZH形式で圧縮したいファイル、フォルダを\nドロップしてください。")));
    EXPECT_TRUE(w.Text6.Text().endsWith(QStringLiteral("このボックスにRARファイルをドロップしてください。")));
    EXPECT_EQ(w.Text7.ToolTipText(), QStringLiteral("ここにTARファイルをドロップしてください"));
    EXPECT_EQ(w.Command2.Caption(), QStringLiteral("ファイルを選択（解凍専用）"));
    EXPECT_EQ(w.Command3.Caption(), QStringLiteral("ファイルを選択(解凍専用)"));
    EXPECT_EQ(w.Command7.Caption(), QStringLiteral("ファイルを選択"));
    EXPECT_EQ(w.File7.Pattern(), QStringLiteral("*.tar;*.tgz;*.tbz"));
    EXPECT_EQ(w.Dir1.Path(), QDir::currentPath());
    // Options at their defaults; plain TAR has no level.
    EXPECT_EQ(w.GetLhaOptions(w.Combo3.ListIndex(), w.Combo2.ListIndex()), QStringLiteral("-h2 -jm2 "));
    EXPECT_EQ(w.Combo2.List(5), QStringLiteral(" Auto：データ率により決定"));
    EXPECT_EQ(w.GetZipLevelOption(), QStringLiteral(" -9 "));
    EXPECT_EQ(w.GetTarOptions(w.Combo1.ListIndex()), QString());
    EXPECT_FALSE(w.HScroll1.isEnabled());
    EXPECT_FALSE(w.Label1_6.isEnabled());
    EXPECT_EQ(w.Check1.Value(), 0);
    EXPECT_TRUE(dialogs().messages.empty());
}

TEST_F(Form9Test, DesktopBoxAndLzhFolderAreKeptAcrossClosing)
{
    for (const auto &[stored, ticked] : std::vector<std::pair<QString, int>>{
             {QStringLiteral("1"), 1}, {QStringLiteral("1.0"), 1}, {QStringLiteral("0"), 0}, {QStringLiteral("2"), 0},
             {QStringLiteral("yes"), 0}}) {
        suite::SaveSetting(archive::keys::kSection, QStringLiteral("DesktopEX"), stored);
        EXPECT_EQ(window().Check1.Value(), ticked) << stored.toStdString();
        vx::unload<Form9>();
    }
    Form9 &w = window();
    w.Check1.setValue(1);
    w.Dir1.setPath(root);
    w.Dir2.setPath(QDir::rootPath());
    w.Command1_Click();
    EXPECT_FALSE(vx::isLoaded<Form9>());
    EXPECT_EQ(suite::GetSetting(QStringLiteral("Multimedia Rondix2"), QStringLiteral("Dir"), QString()), root);
    EXPECT_EQ(suite::GetSetting(archive::keys::kSection, QStringLiteral("desktopEX"), QString()), QStringLiteral("1"));
    EXPECT_EQ(window().Check1.Value(), 1);
}

TEST_F(Form9Test, ListClicksSendEachPanesCommandLine)
{
    touch(QStringLiteral("d/pack.lzh"));
    touch(QStringLiteral("d/pack.zip"));
    touch(QStringLiteral("d/pack.cab"));
    touch(QStringLiteral("d/pack.gca"));
    touch(QStringLiteral("d/pack.arj"));
    touch(QStringLiteral("d/pack.rar"));
    touch(QStringLiteral("d/Pack.TAR.tar"));
    touch(QStringLiteral("d/pack.tgz"));
    touch(QStringLiteral("d/pack.yz1"));
    const QString d = path(QStringLiteral("d/"));
    const QString a = d + QStringLiteral("pack");
    clickFile(1, path("d"), QStringLiteral("pack.lzh"));
    EXPECT_EQ(window().Label21.Caption(), QStringLiteral("1/1"));
    clickFile(2, path("d"), QStringLiteral("pack.zip"));
    clickFile(3, path("d"), QStringLiteral("pack.cab"));
    clickFile(5, path("d"), QStringLiteral("pack.arj"));
    clickFile(6, path("d"), QStringLiteral("pack.rar"));
    clickFile(7, path("d"), QStringLiteral("Pack.TAR.tar"));
    clickFile(7, path("d"), QStringLiteral("pack.tgz"));
    EXPECT_EQ(window().Label27.Caption(), QStringLiteral("2/2"));
    // The position is read as what it shows, its refresh as its description.
    for (vx::Label *position : {&window().Label21, &window().Label27}) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(position);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(QAccessible::Name), position->Caption());
        EXPECT_TRUE(a->text(QAccessible::Description).endsWith(QStringLiteral("の一覧を更新")));
    }
    clickFile(8, path("d"), QStringLiteral("pack.yz1"));
    EXPECT_EQ(fake->lines(), (QStringList{
                                 "x -d1 -y1 " + Q + a + ".lzh" + Q + " " + Q + d + "pack" + Q + "/ *.*",
                                 "-x -o -q " + Q + a + ".zip" + Q + " " + Q + d + "pack/" + Q + " *.*",
                                 "-x -o -q " + Q + a + ".cab" + Q + " " + Q + d + "pack/" + Q + " *.*",
                                 "x " + Q + a + ".arj" + Q + " " + Q + d + "pack/" + Q + " *.*",
                                 "e " + Q + a + ".rar" + Q + " " + Q + d + "pack" + Q + "/ *.*",
                                 "-xvf " + Q + d + "Pack.TAR.tar" + Q + " -o " + Q + d + "Pack" + Q,
                                 "-xvf " + Q + a + ".tgz" + Q + " -o " + Q + d + "pack" + Q,
                                 "x " + Q + a + ".yz1" + Q + " " + Q + d + Q,
                             }));
    EXPECT_EQ(fake->calls[4].owner, 777u) << "RAR calls name the launcher";
    EXPECT_EQ(fake->calls[0].owner, window().ownHandle());
    EXPECT_EQ(launcherReads, 1);
    ASSERT_EQ(dialogs().messages.size(), 8u);
    EXPECT_EQ(lastMessage().text, QStringLiteral("解凍に成功しました。(^o^)"));
    EXPECT_EQ(lastMessage().title, QStringLiteral("成功○"));
    EXPECT_EQ(lastMessage().icon(), vx::vbInformation);
    // The GCA library does not exist here: its message, and the program goes on.
    fake->missing = {QStringLiteral("ungca32.so")};
    EXPECT_FALSE(vxtest::ends([&] { clickFile(4, path("d"), QStringLiteral("pack.gca")); }));
    EXPECT_EQ(lastMessage().text, QStringLiteral("UnGCA32.DLLが見つかりません!!"));
    EXPECT_EQ(lastMessage().title, QStringLiteral("Error"));
    EXPECT_EQ(lastMessage().icon(), vx::vbCritical);
    EXPECT_EQ(fake->calls.size(), 8u);
}

TEST_F(Form9Test, DesktopBoxSendsExtractionToTheDesktop)
{
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", root.toLocal8Bit());
    struct Restore {
        QByteArray value;
        ~Restore() { qputenv("HOME", value); }
    } restore{home};
    touch(QStringLiteral("d/pack.lzh"));
    Form9 &w = window();
    w.Check1.setValue(1);
    const QString desktop = mdlDesktop::GetDesktopPath();
    EXPECT_TRUE(QFileInfo(desktop).isDir()) << "made when missing";
    EXPECT_NE(desktop, QStringLiteral("/"));
    clickFile(1, path("d"), QStringLiteral("pack.lzh"));
    ASSERT_EQ(fake->calls.size(), 1u);
    EXPECT_EQ(fake->calls[0].line,
              "x -d1 -y1 " + Q + path("d/pack.lzh") + Q + " " + Q + desktop + "/pack" + Q + "/ *.*");
}

TEST_F(Form9Test, SelectButtonsOpenTheirDialogAndCancelDoesNothing)
{
    touch(QStringLiteral("p/pack.lzh"));
    Form9 &w = window();
    dialogs().files.push_back(QStringList{path("p/pack.lzh")});
    w.Command2_Click();
    ASSERT_EQ(dialogs().fileRequests.size(), 1u);
    EXPECT_EQ(dialogs().fileRequests[0].filter, QStringLiteral("LZHファイル(*.lzh)|*.lzh"));
    ASSERT_EQ(fake->calls.size(), 1u);
    EXPECT_EQ(fake->calls[0].entry, QStringLiteral("Unlha"));
    ASSERT_EQ(dialogs().messages.size(), 1u);
    // Cancel, also after an earlier choice: nothing runs, nothing shows.
    dialogs().files.push_back(std::nullopt);
    w.Command2_Click();
    dialogs().files.push_back(std::nullopt);
    w.Command8_Click();
    EXPECT_EQ(fake->calls.size(), 1u);
    EXPECT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().fileRequests[2].filter, QStringLiteral("TARファイル(*.tar)|*.tar"));
    // A failing library gives the failure report.
    fake->results = {5};
    dialogs().files.push_back(QStringList{path("p/pack.lzh")});
    w.Command2_Click();
    EXPECT_EQ(lastMessage().text, QStringLiteral("解凍に失敗しました。(T.T)"));
    EXPECT_EQ(lastMessage().title, QStringLiteral("失敗×"));
    EXPECT_EQ(lastMessage().icon(), vx::vbCritical);
}

TEST_F(Form9Test, RarNeedsBothLibrariesAndAMissingOneStopsOnlyThatStep)
{
    fake->missing = {QStringLiteral("unrar.so")};
    Form9 &w = window();
    EXPECT_FALSE(vxtest::ends([&] { w.Command7_Click(); }));
    EXPECT_TRUE(dialogs().fileRequests.empty());
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_EQ(dialogs().messages[0].text, QStringLiteral("UNRAR.DLLが見つかりません!!"));
    fake->missing = {QStringLiteral("unrar32.so"), QStringLiteral("unrar.so")};
    w.Text6_OLEDragDrop({path("a.rar")});
    EXPECT_EQ(lastMessage().text, QStringLiteral("UNRAR32.DLLが見つかりません!!"));
    EXPECT_EQ(dialogs().messages.size(), 2u);
    EXPECT_TRUE(vx::isLoaded<Form9>());
}

TEST_F(Form9Test, NamesThatCouldChangeTheCommandAreRefused)
{
    Form9 &w = window();
    for (const QString &bad : {QStringLiteral("a\"b.lzh"), QStringLiteral("a\nb.lzh"), QStringLiteral("a\rb.lzh")}) {
        dialogs().files.push_back(QStringList{path(bad)});
        w.Command2_Click();
        EXPECT_EQ(lastMessage().text, QStringLiteral("解凍に失敗しました。(T.T)"));
        QString item = path(QStringLiteral("dir") + bad);
        w.CompressZipFolder(item);
        EXPECT_EQ(lastMessage().text, QStringLiteral("圧縮に失敗しました。(T.T)"));
        w.Text3_OLEDragDrop({path("ok.txt"), item});
        EXPECT_EQ(lastMessage().text, QStringLiteral("圧縮に失敗しました。(T.T)"));
    }
    EXPECT_TRUE(fake->calls.empty());
}

TEST_F(Form9Test, TwoWayBoxesExtractArchivesAndCompressEverythingElse)
{
    touch(QStringLiteral("w/x.tar.gz"));
    touch(QStringLiteral("w/X.TAR.GZ"));
    touch(QStringLiteral("w/a.txt"));
    touch(QStringLiteral("w/data.zip"));
    QDir().mkpath(path("w/my dir"));
    fake->archives = {path("w/x.tar.gz"), path("w/X.TAR.GZ"), path("w/data.zip")};
    Form9 &w = window();
    w.Text7_OLEDragDrop({path("w/x.tar.gz")});
    w.Text7_OLEDragDrop({path("w/X.TAR.GZ")});
    w.Text2_OLEDragDrop({path("w/data.zip")});
    w.Text8_OLEDragDrop({path("w/data.zip")});
    w.Text1_OLEDragDrop({path("w/a.txt")});
    w.Text2_OLEDragDrop({path("w/my dir")});
    w.Text3_OLEDragDrop({path("w/a.txt")});
    const QString d = path("w/");
    EXPECT_EQ(fake->lines(), (QStringList{
                                 "-xvf " + Q + d + "x.tar.gz" + Q + " -o " + Q + d + "x/" + Q + " *.*",
                                 "-xvf " + Q + d + "X.TAR.GZ" + Q + " -o " + Q + d + "X/" + Q + " *.*",
                                 "-x -o -q " + Q + d + "data.zip" + Q + " " + Q + d + "data/" + Q + " *.*",
                                 "x " + Q + d + "data.zip" + Q + " " + Q + d + Q + " *.*",
                                 "a -y1 -h2 -jm2 " + Q + d + "a.lzh" + Q + " " + Q + d + "a.txt" + Q,
                                 "-r  -9 " + Q + d + "my dir.zip" + Q + " " + Q + d + "my dir/" + Q + " *.*",
                                 "-a -r " + Q + d + "a.cab" + Q + " " + Q + d + "a.txt" + Q,
                             }));
    EXPECT_EQ(fake->calls[0].owner, 777u);
    EXPECT_EQ(fake->calls[4].owner, w.ownHandle());
    EXPECT_EQ(dialogs().messages.back().text, QStringLiteral("圧縮に成功しました。(^o^)"));
    // A real drop on the box reaches its handler.
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path("w/a.txt"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.Text3, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.Text3, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(fake->calls.back().line, "-a -r " + Q + d + "a.cab" + Q + " " + Q + d + "a.txt" + Q);
    EXPECT_EQ(fake->calls.size(), 8u);
    // No YZ1 library here: its message when it is first needed.
    fake->missing = {QStringLiteral("yz1.so")};
    w.Text8_OLEDragDrop({path("w/a.txt")});
    EXPECT_EQ(lastMessage().text, QStringLiteral("Yz1.DLLが見つかりません!!"));
    // Nor ZIP32J: it has no message of its own.
    fake->missing = {QStringLiteral("zip32j.so")};
    w.Text2_OLEDragDrop({path("w/a.txt")});
    EXPECT_EQ(lastMessage().text, QStringLiteral("圧縮に失敗しました。(T.T)"));
}

TEST_F(Form9Test, SeveralItemsGoThroughAPrivateResponseFile)
{
    touch(QStringLiteral("w/a b.txt"));
    touch(QStringLiteral("w/first.last/notes"));
    QDir().mkpath(path("w/my.dir"));
    Form9 &w = window();
    const QString d = path("w/");
    const QStringList items = {path("w/my.dir"), path("w/a b.txt")};
    w.Text1_OLEDragDrop(items);
    w.Text7_OLEDragDrop(items);
    w.Text2_OLEDragDrop(items);
    w.Text3_OLEDragDrop(items);
    w.Text8_OLEDragDrop(items);
    ASSERT_EQ(fake->calls.size(), 5u);
    const QString list = fake->calls[0].line.section(QStringLiteral(" @"), 1).remove(QLatin1Char('"'));
    EXPECT_FALSE(list.startsWith(programDir()));
    EXPECT_FALSE(list.contains(QLatin1Char(' ')));
    EXPECT_FALSE(QFileInfo::exists(list)) << "deleted after the call";
    EXPECT_EQ(fake->calls[0].line, "a -y1 -h2 -jm2 " + Q + d + "my.lzh" + Q + " @" + Q + list + Q);
    EXPECT_EQ(fake->calls[0].listFile,
              Q + d + Q + " " + Q + "my.dir" + Q + " -d1 \r\n" + Q + d + Q + " " + Q + "a b.txt" + Q + " -d0 \r\n");
    EXPECT_EQ(fake->calls[1].listFile, Q + d + Q + " " + Q + "my.dir" + Q + "\r\n" + Q + d + Q + " " + Q + "a b.txt" + Q + "\r\n");
    EXPECT_TRUE(fake->calls[1].line.startsWith("-cv  -f " + Q + d + "my.tar" + Q + " @" + Q));
    EXPECT_EQ(fake->calls[2].listFile, Q + "my.dir/" + Q + "\r\n" + Q + "a b.txt" + Q + "\r\n");
    EXPECT_TRUE(fake->calls[2].line.startsWith("-r  -9 " + Q + d + "my.zip" + Q + " " + Q + d + Q + " @/"));
    EXPECT_EQ(fake->calls[3].listFile, Q + "my.dir/*.*" + Q + "\r\n" + Q + "a b.txt" + Q + "\r\n");
    EXPECT_EQ(fake->calls[4].line, "c " + Q + d + "my.yz1" + Q + " " + Q + d + Q + "  " + Q + "my.dir" + Q + " " + Q + "a b.txt" + Q);
    // Only the file name's extension is stripped.
    w.Text1_OLEDragDrop({path("w/first.last/notes")});
    EXPECT_EQ(fake->calls.back().line,
              "a -y1 -h2 -jm2 " + Q + path("w/first.last/notes.lzh") + Q + " " + Q + path("w/first.last/notes") + Q);
}

TEST_F(Form9Test, OverwriteQuestionsKeepTheOldArchiveUnlessTheNewOneIsWritten)
{
    touch(QStringLiteral("w/a.txt"));
    touch(QStringLiteral("w/a.lzh"), "old archive");
    touch(QStringLiteral("w/a.tar"), "old tar");
    Form9 &w = window();
    const QString d = path("w/");
    dialogs().answers = {vx::vbYes};
    fake->results = {9};
    w.Text1_OLEDragDrop({path("w/a.txt")});
    EXPECT_EQ(dialogs().messages[0].title, QStringLiteral("上書き確認"));
    EXPECT_EQ(dialogs().messages[0].text,
              d + "a.lzhはすでに存在しています。\r\nファイルを上書きしますか?\r\n(はいで上書き,いいえで追加圧縮,キャンセルで圧縮中止)");
    EXPECT_EQ(dialogs().messages[0].buttons(), vx::vbYesNoCancel);
    EXPECT_EQ(lastMessage().text, QStringLiteral("圧縮に失敗しました。(T.T)"));
    QFile old(path("w/a.lzh"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old archive"));
    EXPECT_EQ(QDir(path("w")).entryList(QDir::Files | QDir::Hidden).size(), 3);
    dialogs().answers = {vx::vbNo};
    w.Text1_OLEDragDrop({path("w/a.txt")});
    EXPECT_EQ(fake->calls.back().line, "u -y1 -h2 -jm2 " + Q + d + "a.lzh" + Q + " " + Q + d + "a.txt" + Q);
    dialogs().answers = {vx::vbCancel};
    const size_t before = fake->calls.size();
    w.Text1_OLEDragDrop({path("w/a.txt")});
    EXPECT_EQ(lastMessage().text, QStringLiteral("圧縮をキャンセルしました。"));
    EXPECT_EQ(lastMessage().title, QStringLiteral("Failed"));
    dialogs().answers = {vx::vbNo};
    w.Text7_OLEDragDrop({path("w/a.txt")});
    EXPECT_EQ(dialogs().messages[dialogs().messages.size() - 2].text,
              d + "a.tarはすでに存在しています。\r\nファイルを上書きしますか?\r\n(はいで上書き,いいえで圧縮中止)");
    EXPECT_EQ(fake->calls.size(), before);
}

TEST_F(Form9Test, OptionWarningsAndTarFormats)
{
    Form9 &w = window();
    dialogs().answers = {vx::vbNo};
    w.Combo2.setListIndex(3);
    EXPECT_EQ(w.Combo2.ListIndex(), 2);
    EXPECT_EQ(dialogs().messages[0].title, QStringLiteral("Warning"));
    EXPECT_EQ(dialogs().messages[0].text, QStringLiteral("この圧縮形式は配布が禁止されていますので、通常の圧縮には利用しないことを推奨します。\r\nlh6形式を利用しますか？"));
    dialogs().answers = {vx::vbYes, vx::vbYes};
    w.Combo2.setListIndex(3);
    EXPECT_EQ(w.GetLhaOptions(w.Combo3.ListIndex(), w.Combo2.ListIndex()), QStringLiteral("-h2 -jm3 "));
    w.Combo2.setListIndex(4);
    EXPECT_EQ(dialogs().messages.size(), 3u) << "lh7 asks again";
    dialogs().answers = {vx::vbNo};
    w.Combo3.setListIndex(3);
    EXPECT_EQ(w.Combo3.ListIndex(), 2);
    w.Combo3.setListIndex(0);
    EXPECT_EQ(dialogs().messages.size(), 4u);
    w.Combo1.setListIndex(1);
    EXPECT_TRUE(w.HScroll1.isEnabled());
    w.HScroll1.setValue(0);
    EXPECT_EQ(w.GetTarOptions(1), QStringLiteral("-z0"));
    EXPECT_EQ(w.TarExtension(), QStringLiteral(".tgz"));
    w.HScroll2.setValue(0);
    EXPECT_EQ(w.GetZipLevelOption(), QStringLiteral(" -0 "));
    touch(QStringLiteral("w/a.txt"));
    w.Text7_OLEDragDrop({path("w/a.txt")});
    EXPECT_EQ(fake->calls.back().line, "-cv -z0 -f " + Q + path("w/a.tgz") + Q + " " + Q + path("w/") + Q + " " + Q + "a.txt" + Q);
    w.Combo1.setListIndex(0);
    EXPECT_FALSE(w.Label1_5.isEnabled());
}

TEST_F(Form9Test, PathHelpers)
{
    QString base, file;
    EXPECT_EQ(ArcsmpCommon::SplitArchivePath(QStringLiteral("/a.b/file"), base, file), QStringLiteral("/a.b/"));
    EXPECT_EQ(base, QStringLiteral("file"));
    EXPECT_EQ(ArcsmpCommon::SplitArchivePath(QStringLiteral("/a/data.tar.lzh"), base, file), QStringLiteral("/a/"));
    EXPECT_EQ(base, QStringLiteral("data.tar"));
    EXPECT_THROW(ArcsmpCommon::SplitArchivePath(QStringLiteral("noslash"), base, file), vx::RuntimeError);
    EXPECT_EQ(ArcsmpCommon::StripExtension(QStringLiteral("/a/file.txt")), QStringLiteral("/a/file"));
    EXPECT_EQ(ArcsmpCommon::StripExtension(QStringLiteral("/a.b/file")), QStringLiteral("/a.b/file"));
    EXPECT_EQ(ArcsmpCommon::StripExtension(QStringLiteral("/a/.hidden")), QStringLiteral("/a/.hidden"));
    EXPECT_THROW(ArcsmpCommon::StripExtension(QString()), vx::RuntimeError);
    EXPECT_EQ(ArcsmpCommon::PathSeparatorFor(QStringLiteral("/")), QString());
    EXPECT_EQ(ArcsmpCommon::PathSeparatorFor(QStringLiteral("/tools")), QStringLiteral("/"));
}

TEST_F(Form9Test, KeyboardMovesOnlySelectAndEnterExtracts)
{
    touch(QStringLiteral("k/a.zip"));
    touch(QStringLiteral("k/b.zip"));
    Form9 &w = window();
    w.Dir2.setPath(path("k"));
    w.File2.setListIndex(0);
    w.File2.setListIndex(1);
    EXPECT_TRUE(fake->calls.empty());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&w.File2, &enter);
    ASSERT_EQ(fake->calls.size(), 1u);
    EXPECT_TRUE(fake->calls[0].line.contains(QStringLiteral("b.zip")));
    EXPECT_EQ(w.Label22.Caption(), QStringLiteral("2/2"));
}

TEST_F(Form9Test, GcaArjAndRarBoxes)
{
    touch(QStringLiteral("r/one.rar"));
    touch(QStringLiteral("r/two.arj"));
    Form9 &w = window();
    w.Text6_OLEDragDrop({path("r/one.rar"), path("r/ignored.rar")});
    w.Text5_OLEDragDrop({path("r/two.arj"), path("r/ignored.arj")});
    EXPECT_EQ(fake->lines(), (QStringList{"-x " + Q + path("r/one.rar") + Q + " " + Q + path("r/one/") + Q,
                                          "x " + Q + path("r/two.arj") + Q + " " + Q + path("r/two/") + Q + " *.*"}));
    EXPECT_TRUE(QFileInfo(path("r/one")).isDir());
    // A failed RAR extraction takes away the folder it made.
    QDir().rmdir(path("r/one"));
    fake->results = {3};
    w.Text6_OLEDragDrop({path("r/one.rar")});
    EXPECT_FALSE(QFileInfo::exists(path("r/one")));
    EXPECT_EQ(lastMessage().text, QStringLiteral("解凍に失敗しました。(T.T)"));
    // GCA: every archive in turn, one report for the last.
    fake->results = {0, 0, 4};
    w.Text4_OLEDragDrop({path("r/a.gca"), path("r/b.gca"), path("r/c.gca")});
    ASSERT_EQ(fake->calls.size(), 6u);
    EXPECT_EQ(fake->calls[5].line, "e " + Q + path("r/c.gca") + Q + " " + Q + path("r/c") + Q + "/ *.*");
    EXPECT_EQ(lastMessage().text, QStringLiteral("解凍に失敗しました。(T.T)"));
    EXPECT_EQ(w.Label24.Caption(), QString());
}

TEST_F(Form9Test, RealLibrariesThroughTheWindow)
{
    vx::archivers::setBackend(nullptr);
    if (vx::archivers::searchLibrary("zip32j.so").empty())
        GTEST_SKIP() << "the archiver libraries are not beside the tests";
    touch(QStringLiteral("real/src/a.txt"), "alpha");
    touch(QStringLiteral("real/src/日本/b.txt"), "beta");
    Form9 &w = window();
    EXPECT_TRUE(w.Label12.Caption().startsWith(QStringLiteral("UNZIP32.DLL Version1.00")));
    w.Text2_OLEDragDrop({path("real/src")});
    ASSERT_TRUE(QFileInfo(path("real/src.zip")).isFile());
    w.Text1_OLEDragDrop({path("real/src")});
    ASSERT_TRUE(QFileInfo(path("real/src.lzh")).isFile());
    QDir(path("real/src")).removeRecursively();
    clickFile(2, path("real"), QStringLiteral("src.zip"));
    QFile b(path("real/src/日本/b.txt"));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_EQ(b.readAll(), QByteArray("beta"));
    QDir(path("real/src")).removeRecursively();
    w.Text1_OLEDragDrop({path("real/src.lzh")});
    QFile a(path("real/src/a.txt"));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), QByteArray("alpha"));
    for (const auto &m : dialogs().messages)
        EXPECT_EQ(m.title, QStringLiteral("成功○")) << m.text.toStdString();
    EXPECT_EQ(dialogs().messages.size(), 4u);
}

// The archive a drop overwrites or adds to keeps its mode and group; the
// first one follows the umask.
TEST_F(Form9Test, AnArchiveOverwrittenOrAddedToKeepsItsMode)
{
    vx::archivers::setBackend(nullptr);
    if (vx::archivers::searchLibrary("unlha32.so").empty() || vx::archivers::searchLibrary("tar32.so").empty())
        GTEST_SKIP() << "the archiver libraries are not beside the tests";
    touch(QStringLiteral("m/a.txt"), "alpha");
    Form9 &w = window();
    const auto modeOf = [&](const QString &p) {
        struct stat st {};
        EXPECT_EQ(::stat(QFile::encodeName(p).constData(), &st), 0);
        return st.st_mode & 07777;
    };
    const struct {
        const char *what;
        void (Form9::*drop)(const QStringList &);
        const char *archive;
        int answer;
    } cases[] = {
        {"LZH overwritten", &Form9::Text1_OLEDragDrop, "m/a.lzh", vx::vbYes},
        {"LZH added to", &Form9::Text1_OLEDragDrop, "m/a.lzh", vx::vbNo},
        {"TAR overwritten", &Form9::Text7_OLEDragDrop, "m/a.tar", vx::vbYes},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QString archive = path(c.archive);
        if (!QFileInfo::exists(archive)) {
            const mode_t mask = ::umask(027);
            (w.*c.drop)({path("m/a.txt")});
            ::umask(mask);
            ASSERT_TRUE(QFileInfo(archive).isFile());
            EXPECT_EQ(modeOf(archive), 0640u) << "a new archive";
        }
        ASSERT_EQ(::chmod(QFile::encodeName(archive).constData(), 0600), 0);
        ASSERT_EQ(::chown(QFile::encodeName(archive).constData(), uid_t(-1), 4321), 0);
        dialogs().answers = {c.answer};
        (w.*c.drop)({path("m/a.txt")});
        EXPECT_EQ(lastMessage().title, QStringLiteral("成功○")) << lastMessage().text.toStdString();
        EXPECT_EQ(modeOf(archive), 0600u);
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(archive).constData(), &st), 0);
        EXPECT_EQ(st.st_gid, 4321u);
    }
}

TEST_F(Form9Test, BrowsingChainFollowsDrivesAndFoldersAndRefreshes)
{
    touch(QStringLiteral("b/one.zip"));
    QDir().mkpath(path("gone"));
    vx::setMountedDrivesOverride({{QStringLiteral("/"), QStringLiteral("disk")}, {root, QStringLiteral("data")},
                                  {path("gone"), QStringLiteral("card")}});
    Form9 &w = window();
    w.Drive2.Refresh();
    w.Drive2.setDrive(root);
    EXPECT_EQ(w.Dir2.Path(), root);
    w.Dir2.setPath(path("b"));
    EXPECT_EQ(w.File2.ListCount(), 1);
    touch(QStringLiteral("b/two.zip"));
    w.Label22_Click();
    EXPECT_EQ(w.File2.ListCount(), 2);
    // A drive that cannot be read: the run-time's message, the lists stay.
    QDir(path("gone")).removeRecursively();
    w.Drive2.setDrive(path("gone"));
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_FALSE(dialogs().messages[0].text.isEmpty());
    EXPECT_EQ(w.Dir2.Path(), path("b"));
    EXPECT_EQ(w.File2.ListCount(), 2);
    vx::setMountedDrivesOverride({});
}

TEST_F(Form9Test, AHostileArchiveThroughTheWindowLandsNothingOutside)
{
    vx::archivers::setBackend(nullptr);
    if (vx::archivers::searchLibrary("unzip32.so").empty())
        GTEST_SKIP() << "the archiver libraries are not beside the tests";
    touch(QStringLiteral("in/deep/good.zip"), storedZip("good.txt", "fine"));
    touch(QStringLiteral("in/deep/slip.zip"), storedZip("../../evil.txt", "evil"));
    fake = nullptr;
    Form9 &w = window();
    clickFile(2, path("in/deep"), QStringLiteral("good.zip"));
    EXPECT_EQ(lastMessage().text, QStringLiteral("解凍に成功しました。(^o^)"));
    EXPECT_TRUE(QFileInfo::exists(path("in/deep/good/good.txt")));
    w.Text2_OLEDragDrop({path("in/deep/slip.zip")});
    EXPECT_EQ(lastMessage().text, QStringLiteral("解凍に失敗しました。(T.T)"));
    EXPECT_FALSE(QFileInfo::exists(path("in/evil.txt")));
    EXPECT_FALSE(QFileInfo::exists(path("evil.txt")));
    EXPECT_FALSE(QFileInfo::exists(path("in/deep/slip")));
    EXPECT_EQ(QDir(path("in/deep")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 3)
        << "the two archives and the good folder only";
}

// With the real libraries: a FIFO, a link to /dev/zero, a folder named like an
// archive and a 4 GB sparse file dropped on every box answer at once, and a
// long compression leaves the window thread answering.
TEST_F(Form9Test, HostileDropsAnswerAtOnceAndLongWorkLeavesTheWindowAnswering)
{
    vx::archivers::setBackend(nullptr);
    if (vx::archivers::searchLibrary("zip32j.so").empty())
        GTEST_SKIP() << "the archiver libraries are not beside the tests";
    QDir().mkpath(path("h/dir.zip"));
    const QByteArray fifo = QFile::encodeName(path("h/fifo.lzh"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path("h/zero.zip")));
    {
        QFile big(path("h/big.cab"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(4LL << 30));
    }
    Form9 &w = window();
    const QStringList hostile = {path("h/fifo.lzh"), path("h/zero.zip"), path("h/big.cab")};
    using Drop = void (Form9::*)(const QStringList &);
    // The boxes that only extract; and LZH and CAB, which refuse a file over
    // their 32-bit sizes before reading it.
    const Drop drops[] = {&Form9::Text1_OLEDragDrop, &Form9::Text3_OLEDragDrop, &Form9::Text5_OLEDragDrop,
                          &Form9::Text6_OLEDragDrop};
    for (const QString &h : hostile)
        for (Drop d : drops) {
            SCOPED_TRACE(h.toStdString());
            QElapsedTimer t;
            t.start();
            (w.*d)({h});
            EXPECT_LT(t.elapsed(), 2000);
        }
    for (Drop d : {&Form9::Text2_OLEDragDrop, &Form9::Text7_OLEDragDrop})
        for (const QString &h : {path("h/fifo.lzh"), path("h/zero.zip")}) {
            QElapsedTimer t;
            t.start();
            (w.*d)({h});
            EXPECT_LT(t.elapsed(), 2000);
        }
    for (const auto &m : dialogs().messages)
        EXPECT_NE(m.title, QStringLiteral("成功○")) << m.text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("h/big.lzh")));
    EXPECT_FALSE(QFileInfo::exists(path("h/big.cab.cab")));

    // A large file: the window thread keeps answering while it is packed.
    {
        QFile big(path("w/large.bin"));
        QDir().mkpath(path("w"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(300LL << 20));
    }
    int ticks = 0;
    qint64 longest = 0;
    QElapsedTimer since;
    since.start();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        longest = std::max(longest, since.restart());
        ++ticks;
    });
    timer.start(20);
    const size_t before = dialogs().messages.size();
    w.Text7_OLEDragDrop({path("w/large.bin")});
    timer.stop();
    ASSERT_EQ(dialogs().messages.size(), before + 1);
    EXPECT_EQ(dialogs().messages.back().title, QStringLiteral("成功○"));
    EXPECT_GT(ticks, 0);
    EXPECT_LT(longest, 1000);
}

// Overwriting an archive with a second name fails before anything moves.
TEST_F(Form9Test, OverwriteRefusesALinkedArchiveBeforeItMoves)
{
    touch(QStringLiteral("o/a.txt"), "new");
    touch(QStringLiteral("o/a.lzh"), "old archive");
    ASSERT_EQ(::link(QFile::encodeName(path("o/a.lzh")).constData(), QFile::encodeName(path("o/second.lzh")).constData()), 0);
    Form9 &w = window();
    dialogs().answers = {vx::vbYes};
    w.Text1_OLEDragDrop({path("o/a.txt")});
    EXPECT_TRUE(fake->calls.empty());
    ASSERT_EQ(dialogs().messages.size(), 2u);
    EXPECT_EQ(dialogs().messages.back().title, QStringLiteral("失敗×"));
    // With the second name gone, the overwrite goes ahead.
    ::unlink(QFile::encodeName(path("o/second.lzh")).constData());
    dialogs().answers = {vx::vbYes};
    w.Text1_OLEDragDrop({path("o/a.txt")});
    EXPECT_EQ(fake->calls.size(), 1u);
}
