#include "editor_fixture_test.h"
#include "form27.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

using namespace vx;

namespace {

class PaletteTest : public EditorTest {
protected:
    void TearDown() override
    {
        Form27::clock = [] { return QDateTime::currentDateTime(); };
        EditorTest::TearDown();
    }
};

TEST_F(PaletteTest, TagTemplatesInsertCopyAndExplain)
{
    Form4 &e = editorAt();
    Form27 &p = instance<Form27>();
    EXPECT_EQ(p.Caption(), QStringLiteral("Scrivolt Controler"));
    EXPECT_TRUE(p.Topmost());
    EXPECT_EQ(p.Combo1.ListCount(), 12);
    EXPECT_EQ(p.Combo2.ListCount(), 58);
    EXPECT_EQ(p.Combo2.List(39), QStringLiteral("(>_<\")"));
    EXPECT_TRUE(p.Combo2.List(54).endsWith(QChar(0x3000)));

    // The initial text matches no kind: nothing happens, the explanation empties.
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    p.Command1_Click();
    p.Command3_Click();
    p.Command8_Click();
    EXPECT_EQ(e.RichTextBox1.Text(), QString());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));
    EXPECT_EQ(p.Text1.Text(), QString());

    p.Combo1.setListIndex(0);
    p.Command1_Click();
    const QStringList lines = e.RichTextBox1.Text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[3], QStringLiteral("<TITLE>ここにページのタイトルを書く</TITLE>"));
    EXPECT_EQ(lines.last(), QStringLiteral("</BODY>"));
    EXPECT_EQ(e.Caption(), editor::kModifiedCaption) << "an insertion is an edit";

    p.Combo1.setListIndex(6);
    p.Command3_Click();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("<FONT COLOR=#FF0000>ここに色を指定したい文字を入れる</FONT>"));
    p.Command8_Click();
    EXPECT_EQ(p.Text1.Text().split(QStringLiteral("\n")).size(), 6);
    EXPECT_TRUE(p.Text1.Text().contains(QStringLiteral("#8B5A0=茶")));
    // Typing in the box empties the explanation.
    p.Combo1.lineEdit()->setFocus();
    QKeyEvent k(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QCoreApplication::sendEvent(p.Combo1.lineEdit(), &k);
    EXPECT_EQ(p.Text1.Text(), QString());
}

TEST_F(PaletteTest, EmoticonsAndStamp)
{
    Form4 &e = editorAt();
    Form27 &p = instance<Form27>();
    p.Combo2.setListIndex(28);
    p.Command5_Click();
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("★泣き泣き系"));
    p.Combo2.setText(QStringLiteral("typed"));
    p.Command4_Click();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("typed"));

    e.RichTextBox1.setText(QString());
    Form27::clock = [] { return QDateTime(QDate(2002, 12, 17), QTime(10, 5)); };
    p.Command2_Click();
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("最終更新日 2002年12月17日(火) 10時5分"));
    e.RichTextBox1.setText(QString());
    Form27::clock = [] { return QDateTime(QDate(2002, 12, 15), QTime(9, 0)); };
    p.Command2_Click();
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("最終更新日 2002年12月15日(日) 9時0分"));

    // Read mode refuses insertions.
    e.Command3_Click();
    p.Command5_Click();
    EXPECT_EQ(e.RichTextBox1.Text(), QStringLiteral("最終更新日 2002年12月15日(日) 9時0分"));
}

TEST_F(PaletteTest, CloseHidesAndKeepsTheSelections)
{
    editorAt().Command16_Click();
    Form27 &p = instance<Form27>();
    p.Combo1.setListIndex(3);
    p.Command7_Click();
    EXPECT_FALSE(p.Visible());
    vx::instance<Form4>().Command16_Click();
    EXPECT_EQ(instance<Form27>().Combo1.Text(), QStringLiteral("太字のタグ"));
}

} // namespace
