#include "editor_fixture_test.h"
#include "findreplace.h"
#include "form37.h"


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
    EXPECT_EQ(e.Caption(), editor::kEditCaption);

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

    // Read mode: replace all still applies.
    e.Command3_Click();
    r.Text1.setText(QStringLiteral("Abc"));
    r.Command1_Click();
    EXPECT_EQ(t.Text(), QStringLiteral("abc xy abc\nabcabc"));
}

} // namespace

