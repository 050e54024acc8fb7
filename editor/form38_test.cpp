#include "editor_fixture_test.h"
#include "findreplace.h"
#include "form38.h"

using namespace vx;

namespace {

TEST_F(EditorTest, FindSearchesFromTheStartIgnoringCase)
{
    Form4 &e = editorAt();
    e.RichTextBox1.setText(QStringLiteral("abc then more text abc"));
    Form38 &f = instance<Form38>();
    EXPECT_EQ(f.Caption(), QStringLiteral("検索"));
    EXPECT_TRUE(f.Topmost());
    f.Text1.setText(QStringLiteral("ABC"));
    f.Command1_Click();
    EXPECT_EQ(e.RichTextBox1.SelStart(), 0) << "a match in the first fourteen characters is found";
    EXPECT_EQ(e.RichTextBox1.SelLength(), 3);
    f.Command1_Click();
    EXPECT_EQ(e.RichTextBox1.SelStart(), 0) << "every press finds the first match";
    EXPECT_TRUE(vxtest::dialogs().messages.empty());

    f.Text1.setText(QStringLiteral("missing"));
    f.Command1_Click();
    f.Text1.setText(QString());
    f.Command1_Click();
    e.RichTextBox1.setText(QString());
    f.Text1.setText(QStringLiteral("a"));
    f.Command1_Click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(), QStringList(3, findreplace::kNotFound));
}

} // namespace
