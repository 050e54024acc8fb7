// Where the editor's text comes from and goes to, in which encoding, and
// what it says when a file does not open or a save fails.
#include "editor_fixture_test.h"
#include "form27.h"
#include "form37.h"

#include "platform/core/sidename.h"
#include "platform/rtf/rtf.h"
#include "testing/capabilities.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTest>

#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

using namespace vx;
using editor::kEditCaption;
using editor::kModifiedCaption;
using editor::kReadCaption;

namespace {

const QString kSaved = QStringLiteral("保存されました(^o^)");
const QString kHint = QStringLiteral("ファイル名.txtやファイル名.htmなどと入力して保存してください。");
const QString kAsk = QStringLiteral("変更を保存しますか?");

class EditorFilesTest : public EditorTest {
protected:
    // Selects the list entry `name` (the list loads it).
    static void select(Form4 &e, const QString &name)
    {
        e.File1.Refresh();
        for (int i = 0; i < e.File1.ListCount(); ++i)
            if (e.File1.List(i) == name)
                return e.File1.setListIndex(i);
        ADD_FAILURE() << "not listed: " << name.toStdString();
    }
    static void key(Form4 &e, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier, const QString &text = {})
    {
        QKeyEvent press(QEvent::KeyPress, k, m, text);
        QCoreApplication::sendEvent(&e.RichTextBox1, &press);
    }
    static QString failed(const QString &path, const QString &why)
    {
        return QStringLiteral("保存できませんでした。\n") + path + QLatin1Char('\n') + why;
    }
};

TEST_F(EditorFilesTest, TheSaveGoesWhereTheShownTextCameFrom)
{
    Form4 &e = editorAt();
    write("a_memo.txt", "\x83\x81\x83\x82" "A\r\n"); // "メモA" in CP932
    write("b_broken.rtf", "{\\rtf1\\ansi cut off");
    select(e, QStringLiteral("a_memo.txt"));
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("メモA\n"));
    e.RichTextBox1.setSelStart(0);
    type(e, QStringLiteral("!"));

    // A list entry that does not open: said, naming it; the text, its file
    // and its unsaved marker stay (No discards only what was replaced), while
    // the list shows the new entry.
    vxtest::dialogs().answers.push_back(vbNo);
    select(e, QStringLiteral("b_broken.rtf"));
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              (QStringList{kAsk, QStringLiteral("ファイルを開けませんでした。\n") + path("b_broken.rtf") +
                                     QStringLiteral("\nファイル形式が不正です。")}));
    EXPECT_EQ(e.Label1.Caption(), QStringLiteral("4/5"));
    EXPECT_EQ(e.Caption(), kModifiedCaption);
    vxtest::dialogs().messages.clear();
    e.Command18_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{kSaved});
    EXPECT_EQ(read(path("a_memo.txt")), QByteArray("!\x83\x81\x83\x82" "A\r\n"));
    EXPECT_EQ(read(path("b_broken.rtf")), QByteArray("{\\rtf1\\ansi cut off"));

    // A file from the menu's dialog is saved, not the list's entry.
    QTemporaryDir other;
    const QString outside = other.path() + QStringLiteral("/x.txt");
    {
        QFile f(outside);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("outside\n");
    }
    select(e, QStringLiteral("a.txt"));
    vxtest::dialogs().files.push_back(QStringList{outside});
    e.IDMOpenFile.click();
    EXPECT_EQ(e.shownPath(), outside);
    e.RichTextBox1.setSelStart(0);
    type(e, QStringLiteral("1"));
    e.Command18_Click();
    EXPECT_EQ(read(outside), QByteArray("1outside\n"));
    EXPECT_EQ(read(path("a.txt")), QByteArray("alpha\nsecond line\n"));

    // So is a dropped file.
    e.File1_OLEDragDrop({path("b.txt")});
    e.RichTextBox1.setSelStart(0);
    type(e, QStringLiteral("2"));
    e.IDMSave.click();
    EXPECT_EQ(read(path("b.txt")), QByteArray("2\x93\xfa\x96\x7b\x8c\xea\r\n\x81\x60\r\n"));
    EXPECT_EQ(read(outside), QByteArray("1outside\n"));

    // A new document belongs to no file, whatever the list showed.
    select(e, QStringLiteral("a.txt"));
    e.Command8_Click();
    type(e, QStringLiteral("3"));
    vxtest::dialogs().messages.clear();
    vxtest::dialogs().files.push_back(std::nullopt);
    e.Command18_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{kHint});
    EXPECT_EQ(read(path("a.txt")), QByteArray("alpha\nsecond line\n"));
}

TEST_F(EditorFilesTest, Utf16AndOtherBytesAreReadAndWrittenInTheirEncoding)
{
    Form4 &e = editorAt();
    const QByteArray le("\xFF\xFE\xE6\x30\xCB\x30\xB3\x30\xFC\x30\xC9\x30\r\x00\n\x00", 16); // "ユニコード"
    write("b_unicode.txt", le);
    const QByteArray be("\xFE\xFF\x30\xE6\x30\xCB\x00\n", 8);
    write("be.txt", be);
    const QByteArray latin1("caf\xE9 cr\xE8me br\xFBl\xE9" "e\nna\xEFve\n");
    write("latin1.txt", latin1);

    select(e, QStringLiteral("a.txt"));
    select(e, QStringLiteral("b_unicode.txt"));
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("ユニコード\n"));
    // Saved unedited: the same bytes, each in its encoding.
    for (const char *name : {"b_unicode.txt", "be.txt", "latin1.txt"}) {
        select(e, QString::fromUtf8(name));
        vxtest::dialogs().messages.clear();
        e.Command18_Click();
        EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{kSaved}) << name;
    }
    EXPECT_EQ(read(path("b_unicode.txt")), le);
    EXPECT_EQ(read(path("be.txt")), be);
    EXPECT_EQ(read(path("latin1.txt")), latin1);

    // Edited: the edit in the file's encoding, every other byte as it was.
    e.RichTextBox1.setSelStart(0);
    type(e, QStringLiteral("x"));
    e.Command18_Click();
    EXPECT_EQ(read(path("latin1.txt")), "x" + latin1);
    select(e, QStringLiteral("b_unicode.txt"));
    e.RichTextBox1.setSelStart(0);
    type(e, QStringLiteral("新"));
    e.Command18_Click();
    EXPECT_EQ(read(path("b_unicode.txt")), QByteArray("\xFF\xFE\xB0\x65", 4) + le.mid(2));
}

TEST_F(EditorFilesTest, EveryEditMarksTheDocumentAndClosingAsks)
{
    Form4 &e = editorAt();
    e.Show();
    RichTextBox &r = e.RichTextBox1;
    r.setText(QStringLiteral("one two three"));
    // Saved under another name: no marker.
    auto unmarked = [this, &e] {
        vxtest::dialogs().files.push_back(QStringList{path("saved.txt")});
        e.Command6_Click();
        return e.Caption() == kEditCaption;
    };
    ASSERT_TRUE(unmarked());

    // Formatting is no edit of the text.
    r.setSelStart(0);
    r.setSelLength(3);
    e.Command15_Click();
    vxtest::dialogs().colors.push_back(255);
    e.Command9_Click();
    e.IDMRE.click();
    EXPECT_EQ(e.Caption(), kEditCaption);
    // Nor is a new document.
    e.Command8_Click();
    EXPECT_EQ(e.Caption(), kEditCaption);
    r.setText(QStringLiteral("one two three"));

    const std::pair<const char *, std::function<void()>> edits[] = {
        {"Delete", [&] { r.setSelStart(0), key(e, Qt::Key_Delete); }},
        {"Backspace", [&] { r.setSelStart(3), key(e, Qt::Key_Backspace); }},
        {"paste", [&] { QApplication::clipboard()->setText(QStringLiteral("p")), e.Command11_Click(); }},
        {"cut", [&] { r.setSelStart(0), r.setSelLength(2), e.IDMTXTCUT.click(); }},
        {"undo", [&] { e.Command13_Click(); }},
        {"redo", [&] { r.redo(); }},
        {"replace",
         [&] {
             Form37 &f = instance<Form37>();
             f.Text1.setText(QStringLiteral("t"));
             f.Text2.setText(QStringLiteral("T"));
             f.Command2_Click();
         }},
        {"palette",
         [&] {
             Form27 &p = instance<Form27>();
             p.Combo1.setListIndex(0);
             p.Command1_Click();
         }},
        {"drop",
         [&] {
             QMimeData data;
             data.setText(QStringLiteral("dropped"));
             QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QCoreApplication::sendEvent(r.viewport(), &enter);
             QDragMoveEvent move(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QCoreApplication::sendEvent(r.viewport(), &move);
             QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QCoreApplication::sendEvent(r.viewport(), &drop);
         }},
    };
    for (const auto &[what, edit] : edits) {
        const QString before = r.Text();
        edit();
        EXPECT_NE(r.Text(), before) << what;
        EXPECT_EQ(e.Caption(), kModifiedCaption) << what;
        ASSERT_TRUE(unmarked());
    }

    // Closing and ending ask after an edit that was no typed character.
    r.setSelStart(0);
    key(e, Qt::Key_Delete);
    vxtest::dialogs().messages.clear();
    vxtest::dialogs().answers.push_back(vbNo);
    EXPECT_TRUE(editor::confirmEnd());
    vxtest::dialogs().answers.push_back(vbNo);
    e.Command1_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList(2, QStringLiteral("変更を保存しますか?")));
    EXPECT_FALSE(e.Visible());
}

// A typed character the file's encoding lacks: the whole file changes
// encoding when the user says so, never a part of it, and a file holding
// bytes no character stood for is refused, naming the character.
TEST_F(EditorFilesTest, ACharacterTheEncodingLacksAsksOrIsRefused)
{
    Form4 &e = editorAt();
    const QByteArray sjis("\x93\xfa\x96\x7b\r\n"); // 日本
    const QByteArray raw("\x93\xfa\x80\r\n");       // 日 and a byte CP932 does not read
    const QString question = QStringLiteral("「é」(U+00E9) は Shift_JIS で保存できない文字です。\n"
                                            "ファイル全体を Shift_JIS から UTF-8 に変えて保存しますか?\n");
    const QString refused = QStringLiteral("\n「é」(U+00E9) は Shift_JIS で保存できない文字です。\n"
                                           "このファイルには文字として読めないバイトがあるため、UTF-8 に変えて保存することもできません。");
    struct Case {
        const char *name;
        QByteArray bytes;
        std::optional<int> answer; // nullopt: no question
        QString said;
        QByteArray after;
    };
    const Case cases[] = {
        {"yes.txt", sjis, vbYes, question, QStringLiteral("é日本\r\n").toUtf8()},
        {"no.txt", sjis, vbNo, question, sjis},
        {"raw.txt", raw, std::nullopt, QStringLiteral("保存できませんでした。\n"), raw},
    };
    // Changes the previous case left are let go when the next file is shown.
    const auto show = [&e](const QString &name) {
        if (e.hasUnsavedChanges())
            vxtest::dialogs().answers.push_back(vbNo);
        select(e, name);
    };
    for (const Case &c : cases) {
        write(c.name, c.bytes);
        show(QString::fromUtf8(c.name));
        e.RichTextBox1.setSelStart(0);
        type(e, QStringLiteral("é"));
        vxtest::dialogs().messages.clear();
        if (c.answer)
            vxtest::dialogs().answers.push_back(*c.answer);
        e.Command18_Click();
        const QString file = path(c.name);
        QStringList said{c.answer ? c.said + file : c.said + file + refused};
        if (c.answer == vbYes)
            said << kSaved;
        EXPECT_EQ(vxtest::dialogs().messageTexts(), said) << c.name;
        EXPECT_EQ(read(file), c.after) << c.name;
        EXPECT_EQ(e.Caption(), c.answer == vbYes ? kEditCaption : kModifiedCaption) << c.name;
    }
    // Once UTF-8, it stays so: the next save asks nothing.
    show(QStringLiteral("yes.txt"));
    type(e, QStringLiteral("à"));
    vxtest::dialogs().messages.clear();
    e.Command18_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{kSaved});
    EXPECT_EQ(read(path("yes.txt")), QStringLiteral("àé日本\r\n").toUtf8());

    // Saved as UTF-8 under another name, the document is that file: its
    // overwrite save asks nothing and leaves the file it came from.
    show(QStringLiteral("no.txt"));
    type(e, QStringLiteral("é"));
    vxtest::dialogs().messages.clear();
    vxtest::dialogs().answers = {vbYes};
    vxtest::dialogs().files.push_back(QStringList{path("copy.txt")});
    e.Command6_Click();
    EXPECT_EQ(read(path("copy.txt")), QStringLiteral("é日本\r\n").toUtf8());
    e.RichTextBox1.setSelStart(0);
    type(e, QStringLiteral("à"));
    e.Command18_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), (QStringList{question + path("copy.txt"), kSaved}));
    EXPECT_EQ(read(path("copy.txt")), QStringLiteral("àé日本\r\n").toUtf8());
    EXPECT_EQ(read(path("no.txt")), sjis);
}

TEST_F(EditorFilesTest, FailedSavesSayWhyAndLeaveTheFiles)
{
    // Permissions must hold as for any user: run without root's powers.
    if (vxtest::rerunWithoutCapabilities())
        return;
    Form4 &e = editorAt();
    const QString sealed = path("sealed");
    ASSERT_TRUE(QDir().mkdir(sealed));
    const QString inSealed = sealed + QStringLiteral("/in.txt");
    {
        QFile f(inSealed);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("sealed\n");
    }
    ASSERT_EQ(::chmod(QFile::encodeName(sealed).constData(), 0555), 0);
    write("ro.wri", "read only");
    ASSERT_EQ(::chmod(QFile::encodeName(path("ro.wri")).constData(), 0444), 0);
    select(e, QStringLiteral("a.txt"));
    type(e, QStringLiteral("x"));

    const QString missing = path("gone/new.txt");
    vxtest::dialogs().files.push_back(QStringList{missing});
    e.Command6_Click();
    vxtest::dialogs().files.push_back(QStringList{sealed + QStringLiteral("/new.txt")});
    e.IDMNewsave.click();
    vxtest::dialogs().files.push_back(QStringList{path("ro.wri")});
    e.Command17_Click();
    // The overwrite save: its own file refused, saying why; the chosen one, writable in
    // a folder that takes no new file, is saved in place.
    ASSERT_EQ(::chmod(QFile::encodeName(path("a.txt")).constData(), 0444), 0);
    vxtest::dialogs().files.push_back(QStringList{inSealed});
    e.Command18_Click();
    const QString denied = QStringLiteral("書き込みが許可されていません。");
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              (QStringList{failed(missing, QStringLiteral("保存先のフォルダーが見つかりません。")),
                           failed(sealed + QStringLiteral("/new.txt"), QStringLiteral("保存先のフォルダーへの書き込みが許可されていません。")),
                           failed(path("ro.wri"), denied), failed(path("a.txt"), denied), kHint, kSaved}));
    for (const auto &m : vxtest::dialogs().messages)
        EXPECT_EQ(m.icon(), m.text.startsWith(QStringLiteral("保存できませんでした。")) ? vbExclamation : 0) << m.text.toStdString();
    EXPECT_EQ(read(path("ro.wri")), QByteArray("read only"));
    EXPECT_TRUE(read(inSealed).startsWith("xalpha")) << read(inSealed).toStdString();
    EXPECT_EQ(read(path("a.txt")), QByteArray("alpha\nsecond line\n"));
    EXPECT_EQ(QDir(sealed).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("in.txt")});
    ::chmod(QFile::encodeName(sealed).constData(), 0755);
}

// The overwrite save of a writable file in a folder that takes no new file
// rewrites it in place, with no name asked for.
TEST_F(EditorFilesTest, AWritableFileInAFolderThatTakesNoNewFileIsOverwritten)
{
    if (vxtest::rerunWithoutCapabilities())
        return;
    Form4 &e = editorAt();
    select(e, QStringLiteral("a.txt"));
    type(e, QStringLiteral("x"));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    e.Command18_Click();
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{kSaved});
    EXPECT_TRUE(read(path("a.txt")).startsWith("xalpha")) << read(path("a.txt")).toStdString();
    EXPECT_EQ(e.Caption(), kEditCaption);
}

TEST_F(EditorFilesTest, AFileWithA255ByteNameIsOverwritten)
{
    Form4 &e = editorAt();
    // 83 Japanese characters, "ab" and ".txt": the longest name there is.
    const QString name = QString(83, QChar(u'メ')) + QStringLiteral("ab.txt");
    ASSERT_EQ(name.toUtf8().size(), 255);
    write(name.toUtf8().constData(), "long");
    // What a killed save left beside it, an hour ago.
    const QString stale = folder + QLatin1Char('/') +
                          QString::fromStdString(vx::sidename::prefix(name.toStdString(), "vxtmp-", 6)) +
                          QStringLiteral("Ab12Cd");
    {
        QFile f(stale);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("half");
    }
    const struct timeval old[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimes(QFile::encodeName(stale).constData(), old), 0);

    select(e, name);
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("long"));
    type(e, QStringLiteral("x"));
    e.Command18_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{kSaved});
    EXPECT_EQ(read(folder + QLatin1Char('/') + name), QByteArray("xlong"));
    EXPECT_FALSE(QFile::exists(stale));
}

// The overwrite save of a rich text file writes rich text: the bytes it came
// in while nothing changed, the changed document with its formatting else. A
// copy saved as plain text is plain text from then on.
TEST_F(EditorFilesTest, ARichTextFileIsSavedAsRichText)
{
    write("split.rtf", "{\\rtf1 \\u-10179?\\b \\u-8704?}");
    Form4 &e = editorAt();
    struct Row {
        const char *name;
        bool edited;
        QString text; // as read back
    };
    const Row rows[] = {
        {"c.rtf", false, QStringLiteral("Title\nbody")},
        {"split.rtf", false, QString::fromUcs4(U"\U0001F600")},
        {"c.rtf", true, QStringLiteral("!Title\nbody")},
    };
    for (const Row &row : rows) {
        const QByteArray before = read(path(row.name));
        select(e, QString::fromUtf8(row.name));
        if (row.edited) {
            e.RichTextBox1.setSelStart(0);
            type(e, QStringLiteral("!"));
        }
        vxtest::dialogs().messages.clear();
        e.Command18_Click();
        EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{kSaved}) << row.name;
        const QByteArray after = read(path(row.name));
        if (!row.edited)
            EXPECT_EQ(after, before) << row.name;
        QTextDocument doc;
        ASSERT_TRUE(rtf::read(after, doc)) << row.name << after.toStdString();
        EXPECT_EQ(doc.toPlainText(), row.text) << row.name;
        QTextCursor bold(&doc);
        bold.setPosition(row.text.indexOf(QLatin1Char('T')) + 1);
        EXPECT_EQ(bold.charFormat().fontWeight() >= QFont::Bold, row.name == std::string("c.rtf")) << row.name;
    }

    vxtest::dialogs().files.push_back(QStringList{path("copy.txt")});
    e.Command6_Click();
    EXPECT_EQ(read(path("copy.txt")), QByteArray("!Title\r\nbody\r\n"));
    e.RichTextBox1.setSelStart(0);
    type(e, QStringLiteral("?"));
    e.Command18_Click();
    EXPECT_EQ(read(path("copy.txt")), QByteArray("?!Title\r\nbody\r\n"));
}

TEST_F(EditorFilesTest, ReplacingChangedTextAsksFirst)
{
    QTemporaryDir other;
    const QString outside = other.path() + QStringLiteral("/x.txt");
    {
        QFile f(outside);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("outside");
    }
    struct Step {
        const char *what;
        std::function<void(Form4 &)> run;
        QString text;  // shown once the step went through
        QString from;  // the file it came from
    };
    const Step steps[] = {
        {"list", [this](Form4 &e) { select(e, QStringLiteral("a.txt")); }, QStringLiteral("alpha\nsecond line\n"),
         path("a.txt")},
        {"next", [](Form4 &e) { e.Command22_Click(); }, QStringLiteral("Title\nbody"), path("c.rtf")},
        // The mouse: its press goes on selecting the entry after the question.
        {"mouse",
         [](Form4 &e) {
             e.Show();
             QTest::mouseClick(e.File1.viewport(), Qt::LeftButton, {}, e.File1.visualItemRect(e.File1.item(2)).center());
             QCoreApplication::processEvents();
         },
         QStringLiteral("Title\nbody"), path("c.rtf")},
        {"previous", [](Form4 &e) { e.Command21_Click(); }, QStringLiteral("alpha\nsecond line\n"), path("a.txt")},
        {"open",
         [&outside](Form4 &e) {
             vxtest::dialogs().files.push_back(QStringList{outside});
             e.IDMOpenFile.click();
         },
         QStringLiteral("outside"), outside},
        {"new", [](Form4 &e) { e.IDMNewfile.click(); }, QString(), QString()},
        {"drop", [this](Form4 &e) { e.File1_OLEDragDrop({path("a.txt")}); }, QStringLiteral("alpha\nsecond line\n"),
         path("a.txt")},
    };
    for (const Step &step : steps) {
        for (const int answer : {vbYes, vbNo, vbCancel}) {
            const std::string row = std::string(step.what) + " answered " + std::to_string(answer);
            // b.txt, the middle entry, shown and changed.
            write("b.txt", "start\n");
            Form4 &e = editorAt();
            select(e, QStringLiteral("b.txt"));
            e.RichTextBox1.setSelStart(0);
            type(e, QStringLiteral("!"));
            vxtest::dialogs().messages.clear();
            vxtest::dialogs().answers.push_back(answer);
            step.run(e);

            const auto &asked = vxtest::dialogs().messages;
            ASSERT_FALSE(asked.empty()) << row;
            EXPECT_EQ(asked[0].text, kAsk) << row;
            EXPECT_EQ(asked[0].buttons(), vbYesNoCancel) << row;
            EXPECT_EQ(vxtest::dialogs().messageTexts(), (answer == vbYes ? QStringList{kAsk, kSaved} : QStringList{kAsk}))
                << row;
            EXPECT_EQ(read(path("b.txt")), answer == vbYes ? QByteArray("!start\n") : QByteArray("start\n")) << row;
            if (answer == vbCancel) {
                // Everything as it was: the text, its file, its marker, the list on its entry.
                EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("!start\n")) << row;
                EXPECT_EQ(e.Caption(), kModifiedCaption) << row;
                EXPECT_EQ(e.shownPath(), path("b.txt")) << row;
                EXPECT_EQ(e.File1.FileName(), QStringLiteral("b.txt")) << row;
                EXPECT_EQ(e.Label1.Caption(), QStringLiteral("2/3")) << row;
                vxtest::dialogs().messages.clear();
                e.Command18_Click();
                EXPECT_EQ(read(path("b.txt")), QByteArray("!start\n")) << row;
            } else {
                EXPECT_EQ(e.RichTextBox1.Text(), step.text) << row;
                EXPECT_EQ(e.Caption(), kEditCaption) << row;
                EXPECT_EQ(e.shownPath(), step.from) << row;
            }
            EXPECT_TRUE(vxtest::dialogs().answers.empty()) << row;
            vxtest::dialogs().answers.clear();
            vx::unload<Form4>();
        }
    }

    // Yes whose save does not happen replaces nothing: a new document, its
    // file dialog cancelled.
    Form4 &e = editorAt();
    type(e, QStringLiteral("n"));
    vxtest::dialogs().messages.clear();
    vxtest::dialogs().answers.push_back(vbYes);
    vxtest::dialogs().files.push_back(std::nullopt);
    select(e, QStringLiteral("a.txt"));
    EXPECT_EQ(vxtest::dialogs().messageTexts(), (QStringList{kAsk, kHint}));
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("n"));
    EXPECT_EQ(e.Caption(), kModifiedCaption);
    EXPECT_EQ(e.File1.ListIndex(), -1);

    // No discards the changes; without changes nothing is asked.
    vxtest::dialogs().answers.push_back(vbNo);
    e.Command8_Click();
    EXPECT_EQ(e.Caption(), kEditCaption);
    vxtest::dialogs().messages.clear();
    select(e, QStringLiteral("a.txt"));
    e.Command22_Click();
    e.File1_OLEDragDrop({path("a.txt")});
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("alpha\nsecond line\n"));
}

TEST_F(EditorFilesTest, ReadModeChangesNoTextAndKeepsTheMarker)
{
    Form4 &e = editorAt();
    e.Show();
    select(e, QStringLiteral("a.txt"));
    e.RichTextBox1.setSelStart(0);
    type(e, QStringLiteral("!"));
    e.Command3_Click();
    ASSERT_EQ(e.Caption(), kReadCaption);

    // Replace all is refused as one replacement is.
    Form37 &r = instance<Form37>();
    r.Text1.setText(QStringLiteral("alpha"));
    r.Text2.setText(QStringLiteral("omega"));
    r.Command1_Click();
    r.Command2_Click();
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("!alpha\nsecond line\n"));
    EXPECT_EQ(e.Caption(), kReadCaption);

    // The marker comes back with edit mode, and goes when saved.
    e.IDMChange.click();
    EXPECT_EQ(e.Caption(), kModifiedCaption);
    e.Command3_Click();
    // Read mode still asks before the changes go: a list step, the end, closing.
    vxtest::dialogs().messages.clear();
    vxtest::dialogs().answers.push_back(vbCancel);
    select(e, QStringLiteral("b.txt"));
    vxtest::dialogs().answers.push_back(vbNo);
    EXPECT_TRUE(editor::confirmEnd());
    vxtest::dialogs().answers.push_back(vbYes);
    e.Command1_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), (QStringList{kAsk, kAsk, kAsk, kSaved}));
    EXPECT_EQ(read(path("a.txt")), QByteArray("!alpha\nsecond line\n"));
    EXPECT_EQ(e.Caption(), kReadCaption);
    e.Command3_Click();
    EXPECT_EQ(e.Caption(), kEditCaption);
    vxtest::dialogs().messages.clear();
    e.Command1_Click();
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
}

TEST_F(EditorFilesTest, AfterSaveAsTheDocumentIsTheNewFile)
{
    Form4 &e = editorAt();
    select(e, QStringLiteral("a.txt"));
    e.RichTextBox1.setSelStart(0);
    type(e, QStringLiteral("!"));

    // Save as, from the button or the menu, and the overwrite save's own
    // choice of a file when it has none.
    const std::pair<const char *, std::function<void()>> saves[] = {
        {"button", [&e] { e.Command6_Click(); }},
        {"menu", [&e] { e.IDMNewsave.click(); }},
        {"overwrite without a file",
         [&e] {
             e.Command8_Click();
             type(e, QStringLiteral("!"));
             e.Command18_Click();
         }},
    };
    for (const auto &[what, save] : saves) {
        const QString target = path(what) + QStringLiteral(".txt");
        vxtest::dialogs().files.push_back(QStringList{target});
        save();
        EXPECT_EQ(e.Caption(), kEditCaption) << what;
        EXPECT_EQ(e.shownPath(), target) << what;
        e.RichTextBox1.setSelStart(0);
        type(e, QStringLiteral("?"));
        const QByteArray saved = read(target);
        vxtest::dialogs().messages.clear();
        e.Command18_Click();
        EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{kSaved}) << what;
        EXPECT_EQ(read(target), "?" + saved) << what;
    }
    EXPECT_EQ(read(path("a.txt")), QByteArray("alpha\nsecond line\n"));
}

} // namespace
