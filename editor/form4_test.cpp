#include "editor_fixture_test.h"
#include "form27.h"
#include "form37.h"
#include "form38.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextDocument>

#include "platform/rtf/rtf.h"
#include "testing/capabilities.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace vx;
using editor::kEditCaption;
using editor::kModifiedCaption;
using editor::kReadCaption;

namespace {

const QString kSaved = QStringLiteral("保存されました(^o^)");
const QString kHint = QStringLiteral("ファイル名.txtやファイル名.htmなどと入力して保存してください。");
const QString kAsk = QStringLiteral("変更を保存しますか?");

TEST_F(EditorTest, CaptionFollowsTypingModeSwitchAndListSelection)
{
    Form4 &e = editorAt();
    EXPECT_EQ(e.Caption(), kEditCaption);
    type(e, QStringLiteral("x"));
    EXPECT_EQ(e.Caption(), kModifiedCaption);
    type(e, QStringLiteral("y"));
    EXPECT_EQ(e.Caption(), kModifiedCaption);
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("xy"));

    // Read mode refuses typing and shows its own caption; the marker comes back
    // with edit mode.
    e.Command3_Click();
    EXPECT_EQ(e.Caption(), kReadCaption);
    EXPECT_TRUE(e.RichTextBox1.ReadOnly());
    type(e, QStringLiteral("z"));
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("xy"));
    EXPECT_EQ(e.Caption(), kReadCaption);
    e.IDMChange.click();
    EXPECT_EQ(e.Caption(), kModifiedCaption);
    EXPECT_FALSE(e.RichTextBox1.ReadOnly());
    vxtest::dialogs().answers.push_back(vbNo);
    e.Command8_Click();
    EXPECT_EQ(e.Caption(), kEditCaption);
    vxtest::dialogs().messages.clear();

    // Keys that change nothing leave the caption alone (Delete at the end,
    // arrows); a change by command marks it.
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    QCoreApplication::sendEvent(&e.RichTextBox1, &del);
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QCoreApplication::sendEvent(&e.RichTextBox1, &left);
    EXPECT_EQ(e.Caption(), kEditCaption);
    e.RichTextBox1.setSelText(QStringLiteral("pasted"));
    EXPECT_EQ(e.Caption(), kModifiedCaption);

    // A list selection asks first; No loads and drops the marker.
    type(e, QStringLiteral("q"));
    vxtest::dialogs().answers.push_back(vbNo);
    e.File1.setListIndex(0);
    EXPECT_EQ(e.Caption(), kEditCaption);
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("alpha\nsecond line\n"));
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{kAsk});
}

TEST_F(EditorTest, ListSelectionLoadsAndSetsButtonsAndLabel)
{
    Form4 &e = editorAt();
    ASSERT_EQ(e.File1.ListCount(), 3) << "the safety filter hides d.log";
    EXPECT_FALSE(e.Command21.isEnabled());
    EXPECT_FALSE(e.Command22.isEnabled());
    e.Command22_Click(); // nothing selected: the first entry
    EXPECT_EQ(e.File1.ListIndex(), 0);
    EXPECT_EQ(e.Label1.Caption(), QStringLiteral("1/3"));
    EXPECT_FALSE(e.Command21.isEnabled());
    EXPECT_TRUE(e.Command22.isEnabled());
    e.Command22_Click();
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("日本語\n～\n")) << "CP932 text";
    e.Command22_Click();
    EXPECT_EQ(e.Label1.Caption(), QStringLiteral("3/3"));
    EXPECT_FALSE(e.Command22.isEnabled());
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("Title\nbody"));
    e.RichTextBox1.setSelStart(0);
    e.RichTextBox1.setSelLength(2);
    EXPECT_TRUE(e.RichTextBox1.SelBold());
    EXPECT_EQ(e.RichTextBox1.SelFontSize(), 16);
    e.Command21_Click();
    EXPECT_EQ(e.File1.ListIndex(), 1);

    // The filter: off lists d.log, on hides it again.
    e.Check1.setValue(0);
    EXPECT_EQ(e.File1.ListCount(), 4);
    EXPECT_FALSE(e.IDMSYSTEMSAFETY.Checked());
    EXPECT_EQ(e.Check1.ToolTipText(), QStringLiteral("OFF：システム属性を読み込みますので気をつけてください"));
    e.Check1.setValue(1);
    EXPECT_EQ(e.File1.ListCount(), 3);
    EXPECT_TRUE(e.IDMSYSTEMSAFETY.Checked());

    // An empty folder disables both.
    e.Command22_Click();
    QTemporaryDir empty;
    e.Dir1.setPath(empty.path());
    EXPECT_FALSE(e.Command21.isEnabled());
    EXPECT_FALSE(e.Command22.isEnabled());
}

TEST_F(EditorTest, BadFilesLoadNothingAndSaySo)
{
    Form4 &e = editorAt();
    write("e.txt", QByteArray("\x81\x20\xff\xfe", 4));
    write("f.rtf", "{\\rtf1\\ansi broken");
    ASSERT_EQ(mkfifo(path("g.txt").toLocal8Bit().constData(), 0600), 0);
    e.File1.Refresh();
    e.RichTextBox1.setText(QStringLiteral("previous"));
    auto select = [&e](const char *name) {
        for (int i = 0; i < e.File1.ListCount(); ++i)
            if (e.File1.List(i) == QLatin1String(name))
                e.File1.setListIndex(i);
    };
    for (const char *name : {"f.rtf", "g.txt"}) { // the list leaves out the FIFO
        select(name);
        EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("previous")) << name;
    }
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              QStringList{QStringLiteral("ファイルを開けませんでした。\n") + path("f.rtf") +
                          QStringLiteral("\nファイル形式が不正です。")});
    // Bytes that no encoding reads load as they are.
    select("e.txt");
    EXPECT_EQ(e.RichTextBox1.Text(), QString::fromUtf16(u"\uF781 \uF7FF\uF7FE"));

    // Dropped files: loaded in turn; the first failure says so and stops.
    vxtest::dialogs().messages.clear();
    e.File1_OLEDragDrop({path("a.txt"), path("f.rtf"), path("b.txt")});
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("alpha\nsecond line\n"));
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              QStringList{QStringLiteral("対応しているテキストファイルをドロップしてください")});
}

TEST_F(EditorTest, OverwriteSaveKeepsEncodingAndBreaks)
{
    Form4 &e = editorAt();
    e.File1.setListIndex(1); // b.txt, CP932 with CR LF
    e.RichTextBox1.setSelStart(0);
    type(e, QStringLiteral("新"));
    e.Command18_Click();
    EXPECT_EQ(read(path("b.txt")), QByteArray("\x90\x56\x93\xfa\x96\x7b\x8c\xea\r\n\x81\x60\r\n"))
        << "the text ended with a break: none is added";
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{kSaved});
    EXPECT_EQ(e.Caption(), kEditCaption);
    e.Command18_Click();
    EXPECT_EQ(read(path("b.txt")).size(), 14) << "saving again does not grow the file";

    // Text without a final break gets none.
    e.RichTextBox1.setText(QStringLiteral("x"));
    e.IDMSave.click();
    EXPECT_EQ(read(path("b.txt")), QByteArray("x"));

    // Read mode refuses both saves.
    e.Command3_Click();
    vxtest::dialogs().messages.clear();
    e.Command18_Click();
    e.IDMNewsave.click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              QStringList(2, QStringLiteral("リードモードでは保存はできません")));
}

TEST_F(EditorTest, OverwriteSaveWithoutAFileAsksForOne)
{
    Form4 &e = editorAt();
    type(e, QStringLiteral("n"));
    vxtest::dialogs().files.push_back(std::nullopt);
    e.Command18_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{kHint});
    ASSERT_EQ(vxtest::dialogs().fileRequests.size(), 1u);
    EXPECT_TRUE(vxtest::dialogs().fileRequests[0].save);
    EXPECT_EQ(vxtest::dialogs().fileRequests[0].filter, QStringLiteral("テキストファイル(*.txt)|*.txt"));
    EXPECT_EQ(e.Caption(), kModifiedCaption) << "cancel keeps the marker";

    // A new name is accepted.
    vxtest::dialogs().messages.clear();
    vxtest::dialogs().files.push_back(QStringList{path("new.txt")});
    e.Command18_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), (QStringList{kHint, kSaved}));
    EXPECT_EQ(read(path("new.txt")), QByteArray("n\r\n")) << "a new document: UTF-8 with CR LF";
    EXPECT_EQ(e.Caption(), kEditCaption);
}

TEST_F(EditorTest, SaveAsAndRichTextSaveWriteNothingOnCancel)
{
    Form4 &e = editorAt();
    e.RichTextBox1.setText(QStringLiteral("text"));
    vxtest::dialogs().files.push_back(std::nullopt);
    e.Command6_Click();
    EXPECT_EQ(vxtest::dialogs().fileRequests.back().fileName, QStringLiteral("noname.txt"));
    vxtest::dialogs().files.push_back(std::nullopt);
    e.Command17_Click();
    EXPECT_EQ(vxtest::dialogs().fileRequests.back().fileName, QStringLiteral("noname.wri"));
    EXPECT_FALSE(QFile::exists(QStringLiteral("noname.txt")));
    EXPECT_FALSE(QFile::exists(QStringLiteral("noname.wri")));

    vxtest::dialogs().files.push_back(QStringList{path("as.txt")});
    e.IDMNewsave.click();
    EXPECT_EQ(read(path("as.txt")), QByteArray("text\r\n"));
    e.Command3_Click(); // the rich text save works in read mode too
    vxtest::dialogs().files.push_back(QStringList{path("out.rtf")});
    e.IDMRTF.click();
    QTextDocument doc;
    ASSERT_TRUE(vx::rtf::read(read(path("out.rtf")), doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("text"));
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    EXPECT_EQ(e.Caption(), kReadCaption);
}

TEST_F(EditorTest, MenuOpenLoadsTheChosenFileAndKeepsTheList)
{
    Form4 &e = editorAt();
    e.File1.setListIndex(0);
    QTemporaryDir other;
    const QString outside = other.path() + QStringLiteral("/x.txt");
    {
        QFile f(outside);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("outside");
    }
    type(e, QStringLiteral("m"));
    vxtest::dialogs().files.push_back(QStringList{outside});
    vxtest::dialogs().answers.push_back(vbNo);
    e.IDMOpenFile.click();
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("outside"));
    EXPECT_EQ(e.File1.ListIndex(), 0);
    EXPECT_EQ(e.Label1.Caption(), QStringLiteral("1/3"));
    EXPECT_EQ(e.Caption(), kEditCaption);
    EXPECT_EQ(vxtest::dialogs().fileRequests[0].filter,
              QStringLiteral("テキストファイル (*.txt)|*.txt|HTMLファイル (*.html)|*.htm;*.html"));
    type(e, QStringLiteral("m"));
    vxtest::dialogs().files.push_back(std::nullopt);
    e.IDMOpenFile_Click();
    EXPECT_EQ(e.Caption(), kModifiedCaption) << "cancel changes nothing";
}

TEST_F(EditorTest, CloseStoresTheTenKeysAndAsksOnlyWithUnsavedChanges)
{
    Form4 &e = editorAt();
    e.Show();
    e.File1.setListIndex(0);
    instance<Form27>().Show();
    instance<Form38>().Show();
    instance<Form37>().Show();
    e.RichTextBox1.setSelStart(0);
    e.RichTextBox1.setSelLength(3);
    e.RichTextBox1.setSelBold(true);
    e.RichTextBox1.setSelFontSize(10.5);
    e.RichTextBox1.setSelColor(255);
    e.RichTextBox1.setBackColor(65280);
    e.Command1_Click();
    EXPECT_FALSE(e.Visible());
    EXPECT_TRUE(isLoaded<Form4>());
    EXPECT_FALSE(isLoaded<Form27>() || isLoaded<Form37>() || isLoaded<Form38>());
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    EXPECT_EQ(stored(QStringLiteral("PaparColor")), QStringLiteral("65280"));
    EXPECT_EQ(stored(QStringLiteral("FontBold")), QStringLiteral("True"));
    EXPECT_EQ(stored(QStringLiteral("FontItalic")), QStringLiteral("False"));
    EXPECT_EQ(stored(QStringLiteral("FontSize")), QStringLiteral("10.5"));
    EXPECT_EQ(stored(QStringLiteral("FontColor")), QStringLiteral("255"));
    EXPECT_EQ(stored(QStringLiteral("Font")), e.RichTextBox1.SelFontName());
    EXPECT_EQ(stored(QStringLiteral("Dir")), folder);
    EXPECT_EQ(stored(QStringLiteral("Drive")), e.Drive1.Drive());
    EXPECT_NE(stored(QStringLiteral("FormLeft")), QStringLiteral("-"));
    EXPECT_NE(stored(QStringLiteral("FormTop")), QStringLiteral("-"));

    // Modified: Yes saves to the list file and keeps the window shown.
    e.Show();
    e.RichTextBox1.setSelStart(0);
    type(e, QStringLiteral("Z"));
    vxtest::dialogs().answers.push_back(vbYes);
    e.IDMEnd.click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), (QStringList{kAsk, kSaved}));
    EXPECT_TRUE(e.Visible());
    EXPECT_TRUE(read(path("a.txt")).startsWith("Zalpha"));
    // No hides without saving.
    type(e, QStringLiteral("Y"));
    vxtest::dialogs().answers.push_back(vbNo);
    e.Command1_Click();
    EXPECT_FALSE(e.Visible());
    EXPECT_TRUE(read(path("a.txt")).startsWith("Zalpha"));
}

TEST_F(EditorTest, TitleBarCloseKeepsTheTextWhenTheWantedSaveFails)
{
    Form4 &e = vx::instance<Form4>(); // no file selected
    e.Show();
    type(e, QStringLiteral("k"));
    vxtest::dialogs().answers.push_back(vbYes);
    vxtest::dialogs().files.push_back(std::nullopt); // the recovery dialog is cancelled
    e.close();
    EXPECT_TRUE(isLoaded<Form4>());
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("k"));
    vxtest::dialogs().answers.push_back(vbNo);
    e.close();
    EXPECT_FALSE(isLoaded<Form4>());
}

TEST_F(EditorTest, LoadRestoresFolderAndPositionQuietly)
{
    store(QStringLiteral("Dir"), folder);
    store(QStringLiteral("Drive"), QStringLiteral("/"));
    store(QStringLiteral("FormLeft"), QStringLiteral("3000"));
    store(QStringLiteral("FormTop"), QStringLiteral("abc"));
    Form4 &e = instance<Form4>();
    EXPECT_EQ(e.Dir1.Path(), folder);
    EXPECT_EQ(e.Left(), 3000);
    EXPECT_EQ(e.Top(), 1500);
    e.Unload();
    store(QStringLiteral("Dir"), QStringLiteral("D:\\docs"));
    store(QStringLiteral("Drive"), QStringLiteral("d: [DATA]"));
    Form4 &again = instance<Form4>();
    EXPECT_EQ(again.Caption(), kEditCaption);
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
}

TEST_F(EditorTest, BackupAndPositionDisplay)
{
    Form4 &e = editorAt();
    EXPECT_TRUE(e.Timer1.running());
    EXPECT_EQ(e.Timer2.Interval(), 60000);
    e.Timer1_Timer();
    EXPECT_EQ(e.StatusBar1.PanelText(2), QStringLiteral("縦:1行/1行 横:1列/1列"));
    QStringList lines;
    for (int i = 0; i < 10; ++i)
        lines << QString(20, QLatin1Char('a'));
    e.RichTextBox1.setText(lines.join(QLatin1Char('\n')));
    e.Show();
    QCoreApplication::processEvents();
    e.RichTextBox1.setSelStart(42);
    e.Timer1_Timer();
    EXPECT_EQ(e.StatusBar1.PanelText(2), QStringLiteral("縦:3行/10行 横:1列/11列"));
    e.RichTextBox1.setSelStart(45); // 3 across: 3/2 + 1 = 2.5, to the even 2
    e.Timer1_Timer();
    EXPECT_EQ(e.StatusBar1.PanelText(2), QStringLiteral("縦:3行/10行 横:2列/11列"));
    EXPECT_EQ(e.StatusBar1.PanelCount(), 9);
    EXPECT_EQ(e.StatusBar1.PanelKey(1), QStringLiteral("one"));

    e.Command3_Click(); // whatever the mode
    e.Timer2_Timer();
    const QByteArray backup = read(vx::joinPath(programDir(), QStringLiteral("バックアップ.txt")));
    EXPECT_EQ(backup, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
}

TEST_F(EditorTest, ResizeFollowsTheWindowAndIgnoresTooSmall)
{
    Form4 &e = editorAt();
    e.setWidth(12100);
    e.setHeight(9100);
    e.Form_Resize();
    EXPECT_EQ(e.RichTextBox1.Width(), 12100 - 2800);
    EXPECT_EQ(e.RichTextBox1.Height(), 9100 - 1600);
    e.setWidth(2000);
    e.Form_Resize();
    EXPECT_EQ(e.RichTextBox1.Width(), 12100 - 2800);
}

} // namespace

TEST_F(EditorTest, AProtectedDocumentIsNeverReplaced)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    Form4 &e = editorAt();
    ASSERT_EQ(::chmod(path("a.txt").toLocal8Bit().constData(), 0444), 0);
    e.File1.setListIndex(0); // a.txt
    type(e, QStringLiteral("x"));
    const QString refused = QStringLiteral("保存できませんでした。\n") + path("a.txt") + QStringLiteral("\n書き込みが許可されていません。");
    // The overwrite save says why, then goes on as a failed save does: the hint, then the dialog.
    vxtest::dialogs().files.push_back(std::nullopt);
    e.Command18_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), (QStringList{refused, kHint}));
    EXPECT_EQ(e.Caption(), kModifiedCaption);
    // Save as and the rich text save onto it: said, nothing written.
    vxtest::dialogs().files.push_back(QStringList{path("a.txt")});
    e.Command6_Click();
    vxtest::dialogs().files.push_back(QStringList{path("a.txt")});
    e.Command17_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), (QStringList{refused, kHint, refused, refused}));
    EXPECT_EQ(read(path("a.txt")), QByteArray("alpha\nsecond line\n"));
    EXPECT_EQ(QFileInfo(path("a.txt")).permissions() & 0x7777, QFileDevice::ReadOwner | QFileDevice::ReadUser
                                                                   | QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

TEST_F(EditorTest, AHardLinkedDocumentIsSavedUnderEveryName)
{
    Form4 &e = editorAt();
    ASSERT_EQ(::link(path("a.txt").toLocal8Bit().constData(), path("other-name.bak").toLocal8Bit().constData()), 0);
    e.File1.setListIndex(0); // a.txt
    e.RichTextBox1.setText(QStringLiteral("new\n"));
    e.Command18_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{kSaved});
    EXPECT_EQ(read(path("a.txt")), QByteArray("new\n"));
    EXPECT_EQ(read(path("other-name.bak")), QByteArray("new\n"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 5) << "no copy left behind";
}

TEST_F(EditorTest, FilesThatWouldBlockOrFloodFailAtOnce)
{
    Form4 &e = editorAt();
    ASSERT_EQ(mkfifo(path("fifo.txt").toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path("zero.txt")));
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("folder.txt")));
    {
        QFile sparse(path("huge.txt"));
        ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
        ASSERT_TRUE(sparse.resize(qint64(4) << 30));
    }
    e.RichTextBox1.setText(QStringLiteral("previous"));
    for (const char *name : {"fifo.txt", "zero.txt", "folder.txt", "huge.txt"}) {
        QElapsedTimer t;
        t.start();
        vxtest::dialogs().files.push_back(QStringList{path(name)});
        e.IDMOpenFile_Click();
        e.File1_OLEDragDrop({path(name)});
        EXPECT_LT(t.elapsed(), 2000) << name;
        EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("previous")) << name;
    }
    const QStringList said = vxtest::dialogs().messageTexts();
    ASSERT_EQ(said.size(), 8);
    for (int i = 0; i < 8; i += 2) {
        EXPECT_TRUE(said[i].startsWith(QStringLiteral("ファイルを開けませんでした。"))) << i;
        EXPECT_EQ(said[i + 1], QStringLiteral("対応しているテキストファイルをドロップしてください"));
    }
}

TEST_F(EditorTest, DamagedRichTextChangesNothing)
{
    Form4 &e = editorAt();
    write("huge.rtf", "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 MS Mincho;}}\\f0\\fs24 "
                      "\\fs999999999 huge size\\fs-10 negative\\fs0 zero\\par}");
    write("chars.rtf", "{\\rtf1 a\\u-1?b\\u70000?c\\u-32769?d}");
    e.RichTextBox1.setText(QStringLiteral("previous"));
    for (const char *name : {"huge.rtf", "chars.rtf"}) {
        vxtest::dialogs().files.push_back(QStringList{path(name)});
        e.IDMOpenFile_Click();
        EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("previous")) << name;
        EXPECT_EQ(vxtest::dialogs().messageTexts().last(),
                  QStringLiteral("ファイルを開けませんでした。\n") + path(name) + QStringLiteral("\nファイル形式が不正です。"));
    }
    // The menu open takes a rich text file by name, whatever the filter lists.
    vxtest::dialogs().files.push_back(QStringList{path("c.rtf")});
    e.IDMOpenFile_Click();
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("Title\nbody"));
    e.RichTextBox1.setSelStart(0);
    EXPECT_TRUE(e.RichTextBox1.SelBold());
}

TEST_F(EditorTest, EachLoadReplacesTheDocumentBeforeIt)
{
    Form4 &e = editorAt();
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < 3; ++i)
            e.File1.setListIndex(i);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(e.RichTextBox1.findChildren<QTextDocument *>(Qt::FindDirectChildrenOnly).size(), 1)
        << "a 50 MB document must not stay behind each load";
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("Title\nbody"));
}
