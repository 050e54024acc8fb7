#include "editor_fixture_test.h"
#include "findreplace.h"
#include "form37.h"

#include <algorithm>


using namespace vx;

namespace {

TEST_F(EditorTest, ReplaceOneReplacesTheFirstMatchFromTheStart)
{
    Form4 &e = editorAt();
    e.RichTextBox1.setText(QStringLiteral("abc abc"));
    Form37 &r = instance<Form37>();
    EXPECT_EQ(r.Caption(), QStringLiteral("置換"));
    EXPECT_TRUE(r.Topmost());
    r.Text1.setText(QStringLiteral("ABC"));
    r.Text2.setText(QStringLiteral("x"));
    r.Command2_Click();
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("x abc"));
    r.Command2_Click();
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("x x"));
    r.Command2_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList{findreplace::kNotFound});
    EXPECT_EQ(e.Caption(), editor::kModifiedCaption) << "a replacement is an edit";

    // Read mode: the match is selected but stays.
    e.RichTextBox1.setText(QStringLiteral("abc"));
    e.Command3_Click();
    r.Command2_Click();
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("abc"));
}

TEST_F(EditorTest, ReplaceAllIsExactInPlaceAndOneUndoStep)
{
    Form4 &e = editorAt();
    vx::RichTextBox &t = e.RichTextBox1;
    t.setText(QStringLiteral("abc Abc abc\nabcabc"));
    t.setSelStart(4);
    t.setSelLength(3);
    t.setSelBold(true); // "Abc" is bold and is not a match
    t.setSelStart(0);
    Form37 &r = instance<Form37>();
    r.Text1.setText(QStringLiteral("abc"));
    r.Text2.setText(QStringLiteral("xy"));
    r.Command1_Click();
    EXPECT_EQ(t.Text(), QStringLiteral("xy Abc xy\nxyxy"));
    t.setSelStart(3);
    t.setSelLength(3);
    EXPECT_TRUE(t.SelBold()) << "formatting survives";
    t.Undo();
    EXPECT_EQ(t.Text(), QStringLiteral("abc Abc abc\nabcabc")) << "one undo step";
    EXPECT_TRUE(vxtest::dialogs().messages.empty());

    // Nothing to replace, an empty search text: silence, no change.
    r.Text1.setText(QStringLiteral("zzz"));
    r.Command1_Click();
    r.Text1.setText(QString());
    r.Command1_Click();
    EXPECT_EQ(t.Text(), QStringLiteral("abc Abc abc\nabcabc"));
    EXPECT_TRUE(vxtest::dialogs().messages.empty());

    // Read mode: nothing is replaced.
    e.Command3_Click();
    r.Text1.setText(QStringLiteral("Abc"));
    r.Command1_Click();
    EXPECT_EQ(t.Text(), QStringLiteral("abc Abc abc\nabcabc"));
}

} // namespace


namespace {

// Assistive technology hears of a text change through the document's change
// signal: the control turns each into one event carrying the changed text. So
// what a screen reader costs is the number of those signals and the text they
// span: replace all must make one, whatever the number of matches.
TEST_F(EditorTest, ReplaceAllTellsAssistiveTechnologyOnce)
{
    Form4 &e = editorAt();
    QString text;
    for (int i = 0; i < 2000; ++i)
        text += QStringLiteral("fox a fox b fox c fox d fox\n");
    e.RichTextBox1.setText(text);
    QTextDocument *doc = e.RichTextBox1.document();
    int changes = 0;
    qint64 spanned = 0;
    const auto c = QObject::connect(doc, &QTextDocument::contentsChange, [&](int, int removed, int added) {
        ++changes;
        spanned += removed + added;
    });
    int cursorMoves = 0;
    const auto m = QObject::connect(&e.RichTextBox1, &QTextEdit::cursorPositionChanged, [&] { ++cursorMoves; });
    Form37 &r = instance<Form37>();
    r.Text1.setText(QStringLiteral("fox"));
    r.Text2.setText(QStringLiteral("狐"));
    r.Command1_Click();
    QObject::disconnect(c);
    QObject::disconnect(m);
    EXPECT_EQ(e.RichTextBox1.Text().count(QStringLiteral("狐")), 10000);
    EXPECT_EQ(changes, 1);
    EXPECT_LE(spanned, 2 * text.size());
    EXPECT_LE(cursorMoves, 1);
}

// With a screen reader on, that one change over a whole document would hand
// it the document's text (megabytes over the bus, read out). Past a bounded
// span no change signal carries that span; the window model still sees one
// change, and one undo restores everything. (Offscreen, Qt never turns its
// accessibility on: the test says it is on.)
TEST_F(EditorTest, ReplaceAllOverALargeSpanDoesNotReadTheDocumentOut)
{
    Form4 &e = editorAt();
    vx::RichTextBox &t = e.RichTextBox1;
    QString text;
    while (text.size() <= vx::RichTextBox::kQuietReplaceSpan)
        text += QStringLiteral("fox a fox b fox c fox d fox\n");
    t.setText(text);
    t.setSelStart(0);
    const auto wasActive = vx::RichTextBox::accessibilityActive;
    vx::RichTextBox::accessibilityActive = [] { return true; };
    qint64 longest = 0;
    const auto c = QObject::connect(t.document(), &QTextDocument::contentsChange,
                                    [&](int, int removed, int added) { longest = std::max<qint64>(longest, added + removed); });
    int changes = 0;
    const auto m = QObject::connect(&t, &QTextEdit::textChanged, [&] { ++changes; });
    Form37 &r = instance<Form37>();

    // A small span is told as it is.
    r.Text1.setText(QStringLiteral("b fox c"));
    r.Text2.setText(QStringLiteral("b 狐 c"));
    r.Command2_Click();
    EXPECT_GT(longest, 0) << "a small change is still told";

    longest = 0;
    changes = 0;
    t.document()->setModified(false);
    bool toldModified = false;
    const auto mod = QObject::connect(t.document(), &QTextDocument::modificationChanged,
                                      [&](bool on) { toldModified = on; });
    r.Text1.setText(QStringLiteral("fox"));
    r.Text2.setText(QStringLiteral("狐"));
    r.Command1_Click();
    QObject::disconnect(c);
    QObject::disconnect(m);
    QObject::disconnect(mod);
    vx::RichTextBox::accessibilityActive = wasActive;
    EXPECT_TRUE(toldModified) << "the change is told as unsaved";

    EXPECT_EQ(t.Text().count(QStringLiteral("fox")), 0);
    EXPECT_LE(longest, 1000) << "the document's text went out as one change";
    EXPECT_EQ(changes, 1) << "the window model sees the change once";
    t.Undo();
    EXPECT_EQ(t.Text().count(QStringLiteral("狐")), 1) << "one undo step";
}

} // namespace
