#include "platform/forms/richtextbox.h"

#include "platform/forms/pieces.h"

#include "platform/core/errors.h"
#include "platform/rtf/rtf.h"
#include "testing/errors.h"
#include "testing/harness.h"
#include "testing/files.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>
#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTimer>
#include <QTextDocument>
#include <QTextImageFormat>

#include <functional>

#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

using namespace vx;

using vxtest::errorOf;

namespace {

class Box : public Form {
public:
    Box() : Form(QStringLiteral("Box")) { setClientSize(6000, 4000); RichTextBox1.Move(0, 0, 6000, 4000); }
    RichTextBox RichTextBox1{this, QStringLiteral("RichTextBox1")};
};

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

using vxtest::writeBytes;

void key(QWidget *w, int k, const QString &text, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent e(QEvent::KeyPress, k, mods, text);
    QCoreApplication::sendEvent(w, &e);
}

class RichTextBoxTest : public vxtest::GuiTest {
protected:
    RichTextBox &box() { return instance<Box>().RichTextBox1; }
    QString file(const char *name) const { return programDir() + QLatin1Char('/') + QString::fromUtf8(name); }
};

TEST_F(RichTextBoxTest, SelectionMembersClampAndReplace)
{
    RichTextBox &b = box();
    b.setText(QStringLiteral("line one\nline two"));
    EXPECT_EQ(b.Text(), QStringLiteral("line one\nline two"));
    b.setSelStart(5);
    b.setSelLength(999999999);
    EXPECT_EQ(b.SelLength(), 12);
    EXPECT_EQ(b.SelText(), QStringLiteral("one\nline two"));
    b.setSelText(QStringLiteral("1"));
    EXPECT_EQ(b.Text(), QStringLiteral("line 1"));
    EXPECT_EQ(b.SelStart(), 6) << "the caret follows the insertion";
    b.setSelStart(-4);
    EXPECT_EQ(b.SelStart(), 0);
    b.setSelStart(400);
    EXPECT_EQ(b.SelStart(), 6);

    b.setReadOnly(true);
    b.setSelStart(0);
    b.setSelText(QStringLiteral("x"));
    b.Undo();
    EXPECT_EQ(b.Text(), QStringLiteral("line 1")) << "read-only refuses insertion and undo";
    b.setText(QStringLiteral("loaded"));
    EXPECT_EQ(b.Text(), QStringLiteral("loaded")) << "setting the whole text still works";
    b.setReadOnly(false);
    EXPECT_TRUE(b.CanUndo());
}

TEST_F(RichTextBoxTest, FormattingOfAMixedSelectionIsTheFormatAtItsStart)
{
    RichTextBox &b = box();
    b.setText(QStringLiteral("abcdef"));
    b.setSelStart(0);
    b.setSelLength(3);
    b.setSelBold(true);
    b.setSelFontSize(20);
    b.setSelColor(rgb(255, 0, 0));
    b.setSelFontName(QStringLiteral("IPAMincho"));
    b.setSelItalic(true);
    b.setSelUnderline(true);
    b.setSelStrikeThru(true);
    b.setSelAlignment(2);
    b.setSelStart(2);
    b.setSelLength(3); // c is formatted, d and e are not
    EXPECT_TRUE(b.SelBold());
    EXPECT_EQ(b.SelFontSize(), 20);
    EXPECT_EQ(b.SelColor(), rgb(255, 0, 0));
    EXPECT_EQ(b.SelFontName(), QStringLiteral("IPAMincho"));
    EXPECT_TRUE(b.SelItalic() && b.SelUnderline() && b.SelStrikeThru());
    EXPECT_EQ(b.SelAlignment(), 2);
    b.setSelStart(4);
    b.setSelLength(1);
    EXPECT_FALSE(b.SelBold());
    EXPECT_EQ(b.SelColor(), 0);
    b.setSelAlignment(1);
    EXPECT_EQ(b.SelAlignment(), 1);
}

TEST_F(RichTextBoxTest, FindIgnoresCaseAndSelectsTheMatch)
{
    RichTextBox &b = box();
    b.setText(QStringLiteral("Abc xyz abc"));
    EXPECT_EQ(b.Find(QStringLiteral("ABC"), 1), 8);
    EXPECT_EQ(b.SelStart(), 8);
    EXPECT_EQ(b.SelLength(), 3);
    EXPECT_EQ(b.Find(QStringLiteral("abc"), 0), 0);
    EXPECT_EQ(b.Find(QStringLiteral("abc"), 9), -1);
    EXPECT_EQ(b.Find(QStringLiteral("abc"), 400), -1);
    EXPECT_EQ(b.Find(QString(), 0), -1);
}

TEST_F(RichTextBoxTest, ReplaceAllIsOneUndoStepAndKeepsFormatting)
{
    RichTextBox &b = box();
    b.setText(QStringLiteral("aaa ABC aa"));
    b.setSelStart(0);
    b.setSelLength(3);
    b.setSelBold(true);
    b.ReplaceRanges({0, 8}, 2, QStringLiteral("b"));
    EXPECT_EQ(b.Text(), QStringLiteral("ba ABC b"));
    b.setSelStart(0);
    b.setSelLength(1);
    EXPECT_TRUE(b.SelBold());
    b.Undo();
    EXPECT_EQ(b.Text(), QStringLiteral("aaa ABC aa"));
    b.ReplaceRanges({9}, 5, QStringLiteral("x"));
    EXPECT_EQ(b.Text(), QStringLiteral("aaa ABC aa")) << "a range past the end is left alone";
}

TEST_F(RichTextBoxTest, CharacterEventForTypedCharactersOnly)
{
    RichTextBox &b = box();
    std::vector<int> got;
    b.KeyPress = [&](int k) { got.push_back(k); };
    b.show();
    key(&b, Qt::Key_A, QStringLiteral("a"));
    key(&b, Qt::Key_Backspace, QStringLiteral("\b"));
    key(&b, Qt::Key_Return, QStringLiteral("\r"));
    key(&b, Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
    key(&b, Qt::Key_Delete, QStringLiteral("\x7f"));
    key(&b, Qt::Key_Left, QString());
    key(&b, Qt::Key_F5, QString());
    QInputMethodEvent ime(QString(), {});
    ime.setCommitString(QStringLiteral("日本"));
    QCoreApplication::sendEvent(&b, &ime);
    EXPECT_EQ(got, (std::vector<int>{'a', 8, 13, 22, 0x65E5}));
    key(&b, Qt::Key_Insert, QString());
    EXPECT_TRUE(b.overwriteMode()) << "Insert switches to overwriting";
    key(&b, Qt::Key_Insert, QString());
    EXPECT_FALSE(b.overwriteMode());
    EXPECT_EQ(got.size(), 5u);
}

TEST_F(RichTextBoxTest, LinesAndCaretPositions)
{
    RichTextBox &b = box();
    EXPECT_EQ(b.LineCount(), 1);
    EXPECT_EQ(b.GetLineFromChar(0), 0);
    b.setText(QStringLiteral("first\nsecond line\nx"));
    b.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(b.LineCount(), 3);
    b.setSelStart(9);
    EXPECT_EQ(b.GetLineFromChar(b.SelStart()), 1);
    EXPECT_EQ(b.CaretLineStart(), 6);
    EXPECT_EQ(b.LineLength(b.CaretLineStart()), 11);
    b.setRightMargin(0);
    EXPECT_EQ(b.lineWrapMode(), QTextEdit::WidgetWidth);
    b.setRightMargin(108150);
    EXPECT_EQ(b.lineWrapMode(), QTextEdit::FixedPixelWidth);
    EXPECT_EQ(b.lineWrapColumnOrWidth(), 7210);
}

TEST_F(RichTextBoxTest, LoadsPlainAndRichTextAndWritesThemBack)
{
    RichTextBox &b = box();
    const QString sjis = file("sjis.txt");
    writeBytes(sjis, QByteArray("\x93\xfa\x96\x7b\r\n\x81\x60"));
    b.LoadFile(sjis);
    EXPECT_EQ(b.Text(), QStringLiteral("日本\n～"));
    EXPECT_EQ(b.textFormat().encoding, text::TextFormat::Cp932);
    b.SaveFile(sjis, 1);
    EXPECT_EQ(bytesOf(sjis), QByteArray("\x93\xfa\x96\x7b\r\n\x81\x60"));

    const QString rich = file("doc.rtf");
    writeBytes(rich, "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 Gothic;}}\\f0\\b \\'93\\'fa\\b0 x\\par}");
    b.LoadFile(rich);
    EXPECT_EQ(b.Text(), QStringLiteral("日x"));
    b.setSelStart(0);
    b.setSelLength(1);
    EXPECT_TRUE(b.SelBold());
    const QString out = file("out.rtf");
    b.SaveFile(out, 0);
    QTextDocument back;
    ASSERT_TRUE(rtf::read(bytesOf(out), back));
    EXPECT_EQ(back.toPlainText(), QStringLiteral("日x"));
}

// Passes of the document's layout over the first page while a file opens:
// each one the text box's control announces with an update request.
int layoutPassesDuring(RichTextBox &b, const std::function<void()> &f)
{
    QObject *control = nullptr;
    for (QObject *c : b.children())
        if (c->inherits("QWidgetTextControl"))
            control = c;
    if (!control)
        return -1;
    int passes = 0;
    QSignalSpy spy(control, SIGNAL(updateRequest(QRectF)));
    f();
    for (const QList<QVariant> &args : spy)
        if (args.value(0).toRectF().height() >= 1000)
            ++passes; // a pass asks for all of it; a caret asks for its own line
    return passes;
}

TEST_F(RichTextBoxTest, ALargePlainTextOpensAsAFreshEditableDocument)
{
    Box &form = instance<Box>();
    form.Show();
    RichTextBox &b = form.RichTextBox1;
    QByteArray bytes;
    for (int i = 0; i < 3000; ++i)
        bytes += "line " + QByteArray::number(i) + " \xe6\x97\xa5\xe6\x9c\xac\r\n";
    const QString big = file("big.txt");
    writeBytes(big, bytes);
    const QString small = file("small.txt");
    writeBytes(small, "one\r\ntwo");

    // The first page is laid out once, not again for each step of the
    // attaching and for the scroll bar that appears.
    EXPECT_EQ(layoutPassesDuring(b, [&] { b.LoadFile(big); }), 1);
    EXPECT_EQ(b.document()->blockCount(), 3001);
    EXPECT_TRUE(b.Text().startsWith(QStringLiteral("line 0 日本\nline 1 ")));
    EXPECT_EQ(b.SelStart(), 0) << "the caret at the start";
    EXPECT_FALSE(b.CanUndo()) << "nothing to undo after an open";
    EXPECT_FALSE(b.document()->isModified()) << "nothing unsaved after an open";
    EXPECT_EQ(b.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_FALSE(b.verticalScrollBar()->parentWidget()->isHidden()) << "a long text has its scroll bar";

    // The end can be reached: Ctrl+End puts the last line in view.
    key(&b, Qt::Key_End, QString(), Qt::ControlModifier);
    EXPECT_EQ(b.SelStart(), b.document()->characterCount() - 1);
    EXPECT_GT(b.verticalScrollBar()->value(), 0);
    EXPECT_LE(b.cursorRect().bottom(), b.viewport()->height());
    EXPECT_GE(b.cursorRect().top(), 0);
    key(&b, Qt::Key_Home, QString(), Qt::ControlModifier);
    EXPECT_EQ(b.SelStart(), 0);
    EXPECT_GE(b.cursorRect().top(), 0) << "and back to the first line";

    // Still a rich text box: formatting works and is one undo step.
    b.setSelStart(0);
    b.setSelLength(4);
    b.setSelBold(true);
    EXPECT_TRUE(b.SelBold());
    EXPECT_TRUE(b.CanUndo());
    EXPECT_TRUE(b.TextRTF().contains("\\b"));
    b.Undo();
    EXPECT_FALSE(b.SelBold());

    // A short text after it: no scroll bar left behind.
    b.LoadFile(small);
    EXPECT_EQ(b.Text(), QStringLiteral("one\ntwo"));
    EXPECT_TRUE(b.verticalScrollBar()->parentWidget()->isHidden());
}

// Blocks laid out so far (the layout goes from the start on).
int laidBlocks(const QTextDocument *doc)
{
    int lo = 0;
    int hi = doc->blockCount();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (doc->findBlockByNumber(mid).layout()->lineCount() > 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

TEST_F(RichTextBoxTest, TheRestOfALargeTextIsLaidOutInSmallStepsAndTheEndIsReachable)
{
    Box &form = instance<Box>();
    form.Show();
    RichTextBox &b = form.RichTextBox1;
    QByteArray bytes;
    for (int i = 0; i < 12000; ++i)
        bytes += "l" + QByteArray::number(i) + "\n";
    const QString big = file("many.txt");
    writeBytes(big, bytes);
    b.LoadFile(big);
    const QTextDocument *doc = b.document();

    // Between two turns of the event loop the layout goes on by a few
    // hundred lines at most (Qt's own steps reach thousands of these).
    int before = laidBlocks(doc);
    int largest = 0;
    QTimer turn;
    QObject::connect(&turn, &QTimer::timeout, [&] {
        const int now = laidBlocks(doc);
        largest = std::max(largest, now - before);
        before = now;
    });
    turn.start(0);
    ASSERT_TRUE(vxtest::waitUntil([&] { return before == doc->blockCount(); }, 120000));
    turn.stop();
    EXPECT_LT(largest, 2000);

    // Laid out to the end, the scroll bar spans the whole document.
    vxtest::waitUntil([&] { return b.verticalScrollBar()->maximum() >= int(doc->size().height()) - b.viewport()->height() - 1; },
                      5000);
    EXPECT_NEAR(b.verticalScrollBar()->maximum(), doc->size().height() - b.viewport()->height(), 1.0);
    b.verticalScrollBar()->setValue(b.verticalScrollBar()->maximum());
    EXPECT_EQ(b.cursorForPosition(QPoint(5, b.viewport()->height() - 8)).block().blockNumber(), doc->blockCount() - 1)
        << "the last line shows at the bottom";
}

TEST_F(RichTextBoxTest, TheScrollBarOfAHugeTextSpansItWhileItIsStillLaidOut)
{
    Box &form = instance<Box>();
    form.Show();
    RichTextBox &b = form.RichTextBox1;
    // Past 21 million characters, where Qt's own progress reports stop.
    const QByteArray line = QByteArray("abcdefghi ").repeated(2000) + "\n";
    const QString huge = file("huge.txt");
    writeBytes(huge, line.repeated(1100));
    b.LoadFile(huge);
    const QTextDocument *doc = b.document();
    const int firstPage = b.verticalScrollBar()->maximum();
    ASSERT_TRUE(vxtest::waitUntil([&] { return b.verticalScrollBar()->maximum() > 20 * std::max(firstPage, 100); },
                                  120000));
    EXPECT_LT(laidBlocks(doc), doc->blockCount()) << "known before the layout is done";
}

TEST_F(RichTextBoxTest, BadFilesLoadNothingAndFailedSavesKeepTheOldFile)
{
    RichTextBox &b = box();
    b.setText(QStringLiteral("kept"));
    EXPECT_EQ(errorOf([&] { b.LoadFile(file("missing.txt")); }), err::FileNotFound);
    EXPECT_EQ(errorOf([&] { b.LoadFile(programDir()); }), err::PathFileAccess);
    const QString fifo = file("fifo");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_EQ(errorOf([&] { b.LoadFile(fifo); }), err::PathFileAccess) << "a FIFO is never opened";
    const QString broken = file("broken.rtf");
    writeBytes(broken, "{\\rtf1\\ansi cut off");
    EXPECT_NE(errorOf([&] { b.LoadFile(broken); }), 0);
    EXPECT_EQ(b.Text(), QStringLiteral("kept"));
    // Bytes no encoding reads load, and are written back as they were.
    const QString binary = file("binary.txt");
    const QByteArray odd("\x81\x20\xff\xfe\x00\xe9t\x81", 8);
    writeBytes(binary, odd);
    EXPECT_EQ(errorOf([&] { b.LoadFile(binary); }), 0);
    b.SaveFile(binary, 1);
    EXPECT_EQ(bytesOf(binary), odd);

    EXPECT_EQ(errorOf([&] { b.SaveFile(file("no/such/folder.txt"), 1); }), err::PathNotFound);
    EXPECT_EQ(errorOf([&] { b.SaveFile(programDir(), 1); }), err::PathFileAccess);
    if (geteuid() != 0) { // permissions do not stop root
        const QString old = file("old.txt");
        writeBytes(old, "old");
        QFile::setPermissions(programDir(), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_EQ(errorOf([&] { b.SaveFile(old, 1); }), err::PermissionDenied);
        QFile::setPermissions(programDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(bytesOf(old), QByteArray("old"));
    }
}

TEST_F(RichTextBoxTest, SelPrintPrintsTheSelectionOrEverything)
{
    RichTextBox &b = box();
    b.setText(QStringLiteral("printed page"));
    const QString pdf = file("out.pdf");
    {
        QPdfWriter w(pdf);
        b.SelPrint(w);
    }
    EXPECT_TRUE(bytesOf(pdf).startsWith("%PDF"));
}

// `bytes` hex digits: one run without a line break opportunity.
QByteArray hexRun(qsizetype bytes)
{
    QByteArray out(bytes, Qt::Uninitialized);
    quint32 x = 7;
    for (char &c : out) {
        x = x * 1103515245u + 12345u;
        c = "0123456789abcdef"[(x >> 16) & 15];
    }
    return out;
}

// The lines of paragraph `n` as laid out, all its pieces.
QStringList laidLines(const QTextDocument *doc, int n)
{
    QTextBlock b = doc->begin();
    for (int k = 0; k < n; b = b.next())
        if (!pieces::startsPiece(b.next()))
            ++k;
    QStringList out;
    do {
        doc->documentLayout()->blockBoundingRect(b); // laid out now, not in the background
        for (int k = 0; k < b.layout()->lineCount(); ++k) {
            const QTextLine l = b.layout()->lineAt(k);
            out << b.text().mid(l.textStart(), l.textLength());
        }
        b = b.next();
    } while (pieces::startsPiece(b));
    return out;
}

// Processor time of this thread, so that waiting for a core on a busy
// machine does not count as the work's cost.
qint64 msFor(const std::function<void()> &f)
{
    auto now = [] {
        timespec ts{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
    };
    const qint64 start = now();
    f();
    return now() - start;
}

// Qt's search for a word break goes through the whole rest of such a run for
// every line it makes of it: seconds for a megabyte, with the window frozen.
// Opening it, typing in it and making it by a replace cost about what a line
// as long with break opportunities costs (measured alongside: the machine may
// be busy).
TEST_F(RichTextBoxTest, ALineWithoutBreakOpportunitiesCostsNoMoreThanOrdinaryText)
{
    Box &form = instance<Box>();
    form.Show();
    RichTextBox &b = form.RichTextBox1;
    constexpr qsizetype kLine = 1 << 20;
    QByteArray spaced = hexRun(kLine);
    for (qsizetype k = 63; k < spaced.size(); k += 64)
        spaced[k] = ' ';
    struct Costs {
        qint64 open, typed;
    };
    auto costs = [&](const QByteArray &line) {
        Costs c{};
        const QString path = file("line.txt");
        writeBytes(path, "short line\r\n" + line + "\r\nafter");
        c.open = msFor([&] {
            b.LoadFile(path);
            b.viewport()->repaint();
        });
        const QStringList lines = laidLines(b.document(), 1);
        EXPECT_GT(lines.size(), 100) << "wrapped at the margin";
        EXPECT_EQ(lines.join(QString()).size(), kLine);
        b.setSelStart(11 + kLine / 2);
        c.typed = msFor([&] {
            key(&b, Qt::Key_A, QStringLiteral("a"));
            b.viewport()->repaint();
        });
        EXPECT_EQ(b.Text().split(QLatin1Char('\n')).value(1).size(), kLine + 1);
        return c;
    };
    const Costs ordinary = costs(spaced);
    const Costs unbroken = costs(hexRun(kLine));
    EXPECT_LT(unbroken.open, 3 * ordinary.open + 100);
    EXPECT_LT(unbroken.typed, 3 * ordinary.typed + 100);

    // Replacing every space of the ordinary line with nothing makes it one run.
    std::vector<qsizetype> spaces;
    for (qsizetype k = 63; k < kLine; k += 64)
        spaces.push_back(k);
    auto replaced = [&](const QString &with) {
        b.setText(QString::fromLatin1(spaced));
        b.viewport()->repaint();
        return msFor([&] {
            b.ReplaceRanges(spaces, 1, with);
            b.viewport()->repaint();
        });
    };
    const qint64 kept = replaced(QStringLiteral(" "));
    const qint64 joined = replaced(QString());
    EXPECT_EQ(b.Text().size(), kLine - qsizetype(spaces.size()));
    EXPECT_LT(joined, 3 * kept + 100);
}

// Words, and Japanese text longer than any run without a break opportunity
// that the box wraps anywhere, keep their breaks: at spaces, and never before
// a full stop. So does text that follows such a run in a new document.
TEST_F(RichTextBoxTest, OrdinaryTextStillWrapsAtWordBoundaries)
{
    Box &form = instance<Box>();
    form.Show();
    RichTextBox &b = form.RichTextBox1;
    b.setRightMargin(0);
    QString words;
    for (int k = 0; words.size() < 3000; ++k)
        words += QStringLiteral("word%1 ").arg(k * 7919 % 100000);
    const QString japanese = QStringLiteral("吾輩は猫である。名前はまだ無い。").repeated(1000);
    auto check = [&] {
        b.viewport()->repaint();
        const QStringList first = laidLines(b.document(), 0);
        ASSERT_GT(first.size(), 5);
        for (int k = 0; k + 1 < first.size(); ++k)
            EXPECT_TRUE(first[k].endsWith(QLatin1Char(' '))) << first[k].toStdString();
        const QStringList second = laidLines(b.document(), 1);
        ASSERT_GT(second.size(), 50);
        for (const QString &l : second)
            EXPECT_FALSE(l.startsWith(QChar(0x3002))) << l.toStdString();
    };
    b.setText(words + QLatin1Char('\n') + japanese);
    check();
    const QString path = file("hex.txt");
    writeBytes(path, hexRun(100000));
    b.LoadFile(path);
    b.setText(words + QLatin1Char('\n') + japanese);
    check();
    writeBytes(path, (words + QLatin1Char('\n') + japanese).toUtf8());
    b.LoadFile(path);
    check();
}

// JSON-like text with spaces: `bytes` of it in one line.
QString spacedLine(qsizetype bytes)
{
    QString out;
    for (int n = 0; out.size() < bytes; ++n)
        out += QStringLiteral("\"key%1\": \"the quick brown fox %2\", ").arg(n).arg(n * 7919 % 100000);
    out.truncate(bytes);
    return out;
}

// The text positions where the document's pieces meet.
std::vector<int> pieceJoints(const QTextDocument *doc)
{
    std::vector<int> out;
    const std::vector<int> at = pieces::breaks(*doc);
    for (size_t j = 0; j < at.size(); ++j)
        out.push_back(at[j] - int(j));
    return out;
}

// A paragraph of megabytes is laid out in pieces, so that a key laid out the
// piece again rather than the whole paragraph. Nothing the box gives, saves
// or copies holds the joints between pieces, wherever they fall: after a
// space, inside a run without break opportunities, among Japanese text.
TEST_F(RichTextBoxTest, ALongParagraphIsHeldInPiecesThatNothingShows)
{
    Box &form = instance<Box>();
    form.Show();
    RichTextBox &b = form.RichTextBox1;
    const QString hex = QString::fromLatin1(hexRun(200000));
    const struct {
        const char *name;
        QString text;
    } cases[] = {
        {"spaces", spacedLine(200000)},
        {"no break opportunity", hex},
        {"between short lines", QStringLiteral("first\n\n") + spacedLine(150000) + QStringLiteral("\nlast\nx")},
        {"Japanese", QStringLiteral("吾輩は猫である。名前はまだ無い。𠮷").repeated(8000)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = file("long.txt");
        writeBytes(path, c.text.toUtf8());
        for (bool load : {false, true}) {
            if (load)
                b.LoadFile(path);
            else
                b.setText(c.text);
            const std::vector<int> joints = pieceJoints(b.document());
            ASSERT_GE(joints.size(), 3u) << "load " << load;
            for (QTextBlock k = b.document()->begin(); k.isValid(); k = k.next())
                ASSERT_LE(k.length() - 1, pieces::kLong);
            EXPECT_EQ(b.Text(), c.text);
            EXPECT_EQ(b.LineCount() > 0, true);
            for (const int t : {joints.front(), joints[1], joints.back()}) {
                for (const int p : {t - 2, t, t + 1}) {
                    b.setSelStart(p);
                    EXPECT_EQ(b.SelStart(), p);
                    b.setSelLength(5);
                    EXPECT_EQ(b.SelLength(), 5);
                    EXPECT_EQ(b.SelText(), c.text.mid(p, 5));
                    EXPECT_EQ(b.Find(c.text.mid(p, 5), p), c.text.indexOf(c.text.mid(p, 5), p, Qt::CaseInsensitive));
                }
            }
            // A paragraph after the pieces keeps its own alignment.
            if (c.text.endsWith(QLatin1String("\nx"))) {
                b.setSelStart(int(c.text.size()));
                b.setSelAlignment(2);
                EXPECT_EQ(b.SelAlignment(), 2);
                b.setSelStart(int(c.text.size()) - 3);
                EXPECT_EQ(b.SelAlignment(), 0);
            }
            // Copied across a joint: the text as it is.
            const int t = joints[1];
            b.setSelStart(t - 3);
            b.setSelLength(6);
            b.copy();
            EXPECT_EQ(QGuiApplication::clipboard()->text(), c.text.mid(t - 3, 6));
        }
        // Saved as plain and rich text, the text comes back.
        const QString out = file("out.txt");
        b.SaveFile(out, 1);
        EXPECT_EQ(bytesOf(out), c.text.toUtf8());
        b.SaveFile(out, 0);
        b.LoadFile(out);
        EXPECT_EQ(b.Text(), c.text);
        // A replace across a joint, with a line break, and its undo.
        const int t = pieceJoints(b.document())[1];
        b.setText(c.text);
        b.ReplaceRanges({qsizetype(t - 2)}, 4, QStringLiteral("X\nY"));
        EXPECT_EQ(b.Text(), QString(c.text).replace(t - 2, 4, QStringLiteral("X\nY")));
        b.Undo();
        EXPECT_EQ(b.Text(), c.text);
    }
    // Replaced all over, with assistive technology listening (the edit's
    // signals held back): positions still count the text.
    const auto listening = RichTextBox::accessibilityActive;
    RichTextBox::accessibilityActive = [] { return true; };
    const QString spaced = spacedLine(200000);
    b.setText(spaced);
    std::vector<qsizetype> hits;
    for (qsizetype at = spaced.indexOf(QStringLiteral("fox")); at >= 0; at = spaced.indexOf(QStringLiteral("fox"), at + 3))
        hits.push_back(at);
    b.ReplaceRanges(hits, 3, QStringLiteral("狐"));
    RichTextBox::accessibilityActive = listening;
    const QString replaced = QString(spaced).replace(QStringLiteral("fox"), QStringLiteral("狐"));
    EXPECT_EQ(b.Text(), replaced);
    const int last = pieceJoints(b.document()).back();
    b.setSelStart(last + 1);
    b.setSelLength(4);
    EXPECT_EQ(b.SelText(), replaced.mid(last + 1, 4));
}

// A long paragraph pasted as rich text is laid out once, then cut into
// pieces as part of the paste: one undo takes both away.
TEST_F(RichTextBoxTest, ALongParagraphPastedAsRichTextIsCutWithThePaste)
{
    Box &form = instance<Box>();
    form.Show();
    RichTextBox &b = form.RichTextBox1;
    b.setText(QStringLiteral("ab"));
    b.setSelStart(1);
    const QString line = spacedLine(150000);
    auto *data = new QMimeData;
    data->setHtml(QStringLiteral("<b>") + line.toHtmlEscaped() + QStringLiteral("</b>"));
    data->setText(line);
    QGuiApplication::clipboard()->setMimeData(data);
    b.paste();
    QSignalSpy edited(b.document(), &QTextDocument::contentsChange);
    ASSERT_TRUE(edited.wait(5000));
    EXPECT_GE(pieceJoints(b.document()).size(), 2u);
    EXPECT_EQ(b.Text(), QStringLiteral("a") + line + QStringLiteral("b"));
    EXPECT_TRUE(b.SelBold());
    b.Undo();
    EXPECT_EQ(b.Text(), QStringLiteral("ab"));
}

// Keys at a joint between pieces do what they do anywhere in a line: delete
// the character beside the caret, move over one character; a line break
// typed there, or in a piece emptied, stays a line break.
TEST_F(RichTextBoxTest, KeysAtAJointBetweenPiecesActOnTheText)
{
    Box &form = instance<Box>();
    form.Show();
    RichTextBox &b = form.RichTextBox1;
    const QString text = spacedLine(100000);
    const struct {
        const char *name;
        int from; // from the joint
        int key;
        QString typed;
        Qt::KeyboardModifiers mods;
        int removedFrom; // the character gone, from the joint (none: 1)
        int caret;       // from the joint
    } cases[] = {
        {"backspace after", 0, Qt::Key_Backspace, QString(), Qt::NoModifier, -1, -1},
        {"delete before", 0, Qt::Key_Delete, QString(), Qt::NoModifier, 0, 0},
        {"right", -1, Qt::Key_Right, QString(), Qt::NoModifier, 1, 0},
        {"right over", 0, Qt::Key_Right, QString(), Qt::NoModifier, 1, 1},
        {"left", 0, Qt::Key_Left, QString(), Qt::NoModifier, 1, -1},
        {"left over", 1, Qt::Key_Left, QString(), Qt::NoModifier, 1, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        b.setText(text);
        ASSERT_FALSE(pieceJoints(b.document()).empty());
        const int t = pieceJoints(b.document()).front();
        b.setSelStart(t + c.from);
        // Both sides of the joint: where the caret is put, and the other.
        for (bool after : {true, false}) {
            b.setText(text);
            QTextCursor at = b.textCursor();
            at.setPosition(pieces::breaks(*b.document()).front() + (after ? 1 : 0) + c.from);
            if (c.from == 0)
                b.setTextCursor(at);
            else
                b.setSelStart(t + c.from);
            key(&b, c.key, c.typed, c.mods);
            QString expected = text;
            if (c.removedFrom != 1)
                expected.remove(t + c.removedFrom, 1);
            EXPECT_EQ(b.Text(), expected) << "after " << after;
            EXPECT_EQ(b.SelStart(), t + c.caret) << "after " << after;
        }
    }
    // A piece emptied, then lines pasted and typed into it.
    b.setText(text);
    const std::vector<int> joints = pieceJoints(b.document());
    b.setSelStart(joints[0]);
    b.setSelLength(joints[1] - joints[0]);
    key(&b, Qt::Key_Backspace, QString());
    QGuiApplication::clipboard()->setText(QStringLiteral("x\ny"));
    b.paste();
    key(&b, Qt::Key_Return, QStringLiteral("\r"));
    key(&b, Qt::Key_B, QStringLiteral("b"));
    QString expected = text;
    expected.replace(joints[0], joints[1] - joints[0], QStringLiteral("x\ny\nb"));
    EXPECT_EQ(b.Text(), expected);
    b.SaveFile(file("enter.txt"), 1);
    // Text that came from no file ends with the one break a new file gets.
    EXPECT_EQ(bytesOf(file("enter.txt")),
              (QString(expected).replace(QLatin1Char('\n'), QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
}

// A key at the start or the end of a line of megabytes costs what one in a
// line of a piece's length costs, and so does the caret's line and column
// (the window asks for them ten times a second).
TEST_F(RichTextBoxTest, AKeyInALineOfMegabytesCostsWhatOneInAShortLineCosts)
{
    Box &form = instance<Box>();
    form.Show();
    RichTextBox &b = form.RichTextBox1;
    struct Costs {
        qint64 start, end, caret;
    };
    auto costs = [&](qsizetype length) {
        Costs c{};
        const QString path = file("line.txt");
        writeBytes(path, spacedLine(length).toUtf8());
        b.LoadFile(path);
        b.viewport()->repaint();
        auto typeAt = [&](int pos) {
            b.setSelStart(pos);
            return msFor([&] {
                for (int k = 0; k < 3; ++k) {
                    key(&b, Qt::Key_A, QStringLiteral("a"));
                    b.viewport()->repaint();
                }
            });
        };
        c.start = typeAt(0);
        c.end = typeAt(int(length) + 3);
        EXPECT_EQ(b.Text().size(), length + 6);
        c.caret = msFor([&] {
            for (int k = 0; k < 20; ++k)
                (void)(b.GetLineFromChar(b.SelStart()) + b.CaretLineStart() + b.LineLength(b.CaretLineStart()) +
                       b.LineCount() + b.SelEnd());
        });
        return c;
    };
    const Costs piece = costs(pieces::kLong - 100);
    const Costs line = costs(4 << 20);
    EXPECT_LT(line.start, 3 * piece.start + 100);
    EXPECT_LT(line.end, 3 * piece.end + 100);
    EXPECT_LT(line.caret, 3 * piece.caret + 50);
}


// Any character the box holds comes back from a rich text save: controls,
// noncharacters, pairs of surrogates, CJK, the characters rich text escapes.
TEST_F(RichTextBoxTest, RichTextSavesReopenWithEveryCharacter)
{
    RichTextBox &b = box();
    const QString path = file("random.rtf");
    auto pick = [](QRandomGenerator &rng) -> char32_t {
        static const char32_t special[] = {'\\', '{', '}', ';', '?', '\t', '\n', '\r', '\f', 0, 0x7F, 0xA0,
                                           0x2028, 0x2029, 0xFEFF, 0xFFFC, 0xFFFD, 0xFFFE, 0xFFFF, 0xFDD0, 0xFDEF};
        switch (rng.bounded(8)) {
        case 0: return rng.bounded(0x20u);                      // controls
        case 1: return 0x20 + rng.bounded(0x60u);               // ASCII
        case 2: return 0x4E00 + rng.bounded(0x5200u);           // CJK
        case 3: return special[rng.bounded(quint32(std::size(special)))];
        case 4: return 0x10000 + rng.bounded(0x100000u);        // beyond the BMP: a pair
        case 5: return 0xFDD0 + rng.bounded(0x20u);             // noncharacters
        case 6: return (rng.bounded(17u) << 16) | 0xFFFE | rng.bounded(2u);
        default: {
            char32_t c;
            do
                c = 0x80 + rng.bounded(0xFF80u);                // anywhere in the BMP
            while (QChar::isSurrogate(c));
            return c;
        }
        }
    };
    for (quint32 seed = 1; seed <= 200; ++seed) {
        QRandomGenerator rng(seed);
        QString text;
        const int count = 1 + int(rng.bounded(60u));
        for (int k = 0; k < count; ++k) {
            const char32_t c = pick(rng);
            text += QString::fromUcs4(&c, 1);
        }
        b.setText(text);
        const QString held = b.Text();
        b.SaveFile(path, 0);
        try {
            b.LoadFile(path);
        } catch (const vx::RuntimeError &) {
            ADD_FAILURE() << "seed " << seed << ": refused " << bytesOf(path).constData();
            continue;
        }
        ASSERT_EQ(b.Text(), held) << "seed " << seed << ": " << bytesOf(path).constData();
    }
    // Half a pair is no character: it comes back as the replacement character,
    // in a file that opens. A picture is left out, not turned into text.
    b.setText(QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b") + QChar(0xDC00));
    QTextCursor at = b.textCursor();
    at.setPosition(1);
    QTextImageFormat picture;
    picture.setName(QStringLiteral("x.png"));
    at.insertImage(picture);
    b.SaveFile(path, 0);
    b.LoadFile(path);
    EXPECT_EQ(b.Text(), QStringLiteral("a\uFFFDb\uFFFD"));
    // A character whose halves carry different formats is written whole.
    writeBytes(path, "{\\rtf1 \\u-10179?\\b \\u-8704?x}");
    b.LoadFile(path);
    ASSERT_EQ(b.Text(), QStringLiteral("😀x"));
    b.SaveFile(path, 0);
    b.LoadFile(path);
    EXPECT_EQ(b.Text(), QStringLiteral("😀x"));
}

// What the text box reads from a plain text file and writes back: unedited,
// the same bytes; edited, every line the edit left with its own bytes.
TEST_F(RichTextBoxTest, PlainTextFilesComeBackAsTheyWere)
{
    RichTextBox &b = box();
    const QString path = file("plain.txt");
    QByteArray binary;
    QRandomGenerator rng(37);
    for (int k = 0; k < 200000; ++k)
        binary += char(rng.bounded(256));
    binary.replace(0, 2, "ab"); // no mark that picks UTF-16
    struct Case {
        const char *what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"line and paragraph separators", "a\xE2\x80\xA8" "b\n\xE2\x80\xA9" "c\n"},
        {"noncharacters", "a\xEF\xB7\x90" "b\xEF\xB7\x91" "c\n"},
        {"a second byte order mark", "\xEF\xBB\xBF\xEF\xBB\xBF" "a\n"},
        {"no final break", "a\r\nb"},
        {"mixed breaks", "a\r\nb\nc\r\rd\n"},
        {"binary", binary},
    };
    for (const Case &c : cases) {
        writeBytes(path, c.bytes);
        b.LoadFile(path);
        b.SaveFile(path, 1);
        EXPECT_EQ(bytesOf(path), c.bytes) << c.what;
    }
    // Typed into the first line: every other line keeps its bytes.
    writeBytes(path, "progress 10%\rprogress 100%\nline2\xE2\x80\xA8x\nline3\n");
    b.LoadFile(path);
    b.setSelStart(0);
    b.setSelText(QStringLiteral("Z"));
    b.SaveFile(path, 1);
    EXPECT_EQ(bytesOf(path), QByteArray("Zprogress 10%\rprogress 100%\nline2\xE2\x80\xA8x\nline3\n"));
    // Shift+Enter splits the line as Enter does.
    writeBytes(path, "ab\n");
    b.LoadFile(path);
    b.setSelStart(1);
    QKeyEvent shiftEnter(QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier, QStringLiteral("\r"));
    QCoreApplication::sendEvent(&b, &shiftEnter);
    b.SaveFile(path, 1);
    EXPECT_EQ(bytesOf(path), QByteArray("a\nb\n"));
    // A character the file's encoding lacks is refused by name.
    writeBytes(path, "\x93\xFA\r\n");
    b.LoadFile(path);
    b.setSelText(QStringLiteral("é"));
    EXPECT_EQ(errorOf([&] { b.SaveFile(path, 1); }), err::InvalidCall);
    EXPECT_EQ(bytesOf(path), QByteArray("\x93\xFA\r\n"));
}

} // namespace
