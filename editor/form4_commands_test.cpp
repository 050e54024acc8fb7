#include "editor_fixture_test.h"
#include "form27.h"
#include "form37.h"
#include "form38.h"
#include "printing.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTimer>
#include <QClipboard>
#include <QPrinter>

using namespace vx;
using editor::kEditCaption;
using editor::kModifiedCaption;

namespace {

class EditorCommandsTest : public EditorTest {
protected:
    void TearDown() override
    {
        editor::setPrintDialogHook({});
        EditorTest::TearDown();
    }
};

TEST_F(EditorCommandsTest, ClipboardCommandsAndTheirMenuTwins)
{
    Form4 &e = editorAt();
    RichTextBox &r = e.RichTextBox1;
    r.setText(QStringLiteral("one two"));
    r.setSelStart(0);
    r.setSelLength(3);
    r.setSelBold(true);
    e.IDMALLSEL.click();
    EXPECT_EQ(r.SelLength(), 7);
    e.Command10_Click();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("one two"));
    r.setSelStart(4);
    r.setSelLength(3);
    e.IDMTXTCUT.click();
    EXPECT_EQ(r.Text(), QStringLiteral("one "));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("two"));
    e.IDMTXTPAST.click();
    e.Command11_Click();
    EXPECT_EQ(r.Text(), QStringLiteral("one twotwo"));
    EXPECT_TRUE(e.Command13.isEnabled());
    e.IDMTXTBACK.click();
    EXPECT_EQ(r.Text(), QStringLiteral("one ")) << "adjacent insertions undo together";
    r.setText(QStringLiteral("one two"));
    QApplication::clipboard()->clear();
    r.setSelStart(0);
    r.setSelLength(4);
    e.Command11_Click();
    EXPECT_EQ(r.Text(), QStringLiteral("two")) << "an empty clipboard still replaces the selection";
    EXPECT_EQ(e.Caption(), kModifiedCaption) << "a command that changes the text marks it";

    // Read mode: paste, cut and undo change nothing.
    e.Command3_Click();
    QApplication::clipboard()->setText(QStringLiteral("zz"));
    e.Command11_Click();
    e.Command19_Click();
    e.Command12_Click();
    e.Command13_Click();
    EXPECT_EQ(r.Text(), QStringLiteral("two"));
}

TEST_F(EditorCommandsTest, UndoAvailabilityFollowsTheControl)
{
    Form4 &e = editorAt();
    EXPECT_TRUE(e.Command13.isEnabled()) << "starts enabled";
    e.File1.setListIndex(0); // a load starts a fresh history
    EXPECT_FALSE(e.Command13.isEnabled());
    EXPECT_FALSE(e.IDMTXTBACK.Enabled());
    e.RichTextBox1.setSelText(QStringLiteral("x"));
    EXPECT_TRUE(e.Command13.isEnabled());
    EXPECT_TRUE(e.IDMTXTBACK.Enabled());
}

TEST_F(EditorCommandsTest, AlignmentWrapFontAndColours)
{
    Form4 &e = editorAt();
    RichTextBox &r = e.RichTextBox1;
    r.setText(QStringLiteral("abc"));
    e.Command15_Click();
    EXPECT_EQ(r.SelAlignment(), 2);
    e.Command160_Click();
    EXPECT_EQ(r.SelAlignment(), 1);
    e.Command14_Click();
    EXPECT_EQ(r.SelAlignment(), 0);
    e.Command24_Click();
    EXPECT_EQ(r.RightMargin(), 0);
    e.Command24_Click();
    EXPECT_EQ(r.RightMargin(), 108150);

    r.setSelStart(0);
    r.setSelLength(2);
    FontChoice f;
    f.name = QStringLiteral("IPAMincho");
    f.size = 14;
    f.bold = true;
    f.underline = true;
    vxtest::dialogs().fonts.push_back(f);
    e.IDMFontSize.click();
    EXPECT_EQ(r.SelFontName(), QStringLiteral("IPAMincho"));
    EXPECT_EQ(r.SelFontSize(), 14);
    EXPECT_TRUE(r.SelBold() && r.SelUnderline());
    EXPECT_FALSE(r.SelItalic() || r.SelStrikeThru());
    vxtest::dialogs().colors.push_back(255);
    e.Command9_Click();
    EXPECT_EQ(r.SelColor(), 255);
    vxtest::dialogs().colors.push_back(rgb(0, 0, 255));
    e.IDMPaperColor.click();
    EXPECT_EQ(r.BackColor(), rgb(0, 0, 255));

    // Cancel changes nothing (the dialogs' previous choices are not applied).
    r.setSelStart(2);
    r.setSelLength(1);
    r.setBackColor(rgb(0, 255, 0));
    vxtest::dialogs().fonts.push_back(std::nullopt);
    vxtest::dialogs().colors.push_back(std::nullopt);
    vxtest::dialogs().colors.push_back(std::nullopt);
    e.Command4_Click();
    e.IDMFontColor.click();
    e.Command7_Click();
    EXPECT_FALSE(r.SelBold());
    EXPECT_NE(r.SelFontSize(), 14);
    EXPECT_EQ(r.SelColor(), 0);
    EXPECT_EQ(r.BackColor(), rgb(0, 255, 0));
}

TEST_F(EditorCommandsTest, PrintsTheSelectionOrEverythingAndCancelPrintsNothing)
{
    Form4 &e = editorAt();
    e.RichTextBox1.setText(QStringLiteral("printed text"));
    std::vector<bool> asked;
    const QString pdf = path("out.pdf");
    bool accept = true;
    editor::setPrintDialogHook([&](QPrinter &p, bool selection) {
        asked.push_back(selection);
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        return accept;
    });
    e.Command5_Click();
    e.RichTextBox1.setSelStart(0);
    e.RichTextBox1.setSelLength(7);
    e.IDMPrint.click();
    EXPECT_EQ(asked, (std::vector<bool>{false, true}));
    EXPECT_TRUE(read(pdf).startsWith("%PDF"));
    QFile::remove(pdf);
    accept = false;
    e.Command5_Click();
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(EditorCommandsTest, NewClearsTextAndSelection)
{
    Form4 &e = editorAt();
    e.File1.setListIndex(1);
    e.IDMNewfile.click();
    EXPECT_EQ(e.RichTextBox1.Text(), QString());
    EXPECT_EQ(e.File1.ListIndex(), -1);
    EXPECT_EQ(e.Caption(), editor::kEditCaption);
    EXPECT_TRUE(vxtest::dialogs().messages.empty());
}

TEST_F(EditorCommandsTest, BrowserPreviewAndPropertiesGoToTheDesktop)
{
    Form4 &e = editorAt();
    e.File1.setListIndex(0);
    e.Command2_Click();
    const QString htm = vx::joinPath(programDir(), QStringLiteral("IEで起動.htm"));
    EXPECT_EQ(read(htm), QByteArray("alpha\nsecond line\n"));
    EXPECT_EQ(vxtest::shell().opened, QStringList{htm});
    e.Command23_Click();
    EXPECT_EQ(vxtest::shell().properties, QStringList{path("a.txt")});
}

TEST_F(EditorCommandsTest, AuxiliaryWindowsOpenModelessAndOnTop)
{
    Form4 &e = editorAt();
    e.Command16_Click();
    e.Command20_Click();
    e.Command25_Click();
    EXPECT_TRUE(instance<Form27>().Visible() && instance<Form27>().Topmost());
    EXPECT_TRUE(instance<Form38>().Visible() && instance<Form38>().Topmost());
    EXPECT_TRUE(instance<Form37>().Visible() && instance<Form37>().Topmost());
}

TEST_F(EditorCommandsTest, RestoreAppliesStoredOrDefaultSettingsAndResetDeletesThem)
{
    Form4 &e = editorAt();
    RichTextBox &r = e.RichTextBox1;
    r.setText(QStringLiteral("text"));
    store(QStringLiteral("PaparColor"), QStringLiteral("255"));
    store(QStringLiteral("Font"), QStringLiteral("IPAMincho"));
    store(QStringLiteral("FontSize"), QStringLiteral("12"));
    store(QStringLiteral("FontBold"), QStringLiteral("True"));
    store(QStringLiteral("FontItalic"), QStringLiteral("junk"));
    store(QStringLiteral("FontColor"), QStringLiteral("16711680"));
    e.IDMRE.click();
    EXPECT_EQ(r.SelLength(), 4) << "the whole text stays selected";
    EXPECT_EQ(r.BackColor(), 255);
    EXPECT_EQ(r.FontName(), QStringLiteral("IPAMincho"));
    EXPECT_EQ(r.SelFontSize(), 12);
    EXPECT_TRUE(r.SelBold());
    EXPECT_FALSE(r.SelItalic());
    EXPECT_EQ(r.SelColor(), 16711680);

    e.IDMFirst.click();
    EXPECT_EQ(vxtest::dialogs().messageTexts(),
              QStringList{QStringLiteral("初期化はアプリケーションを再起動したときに適用されます")});
    EXPECT_EQ(stored(QStringLiteral("Font")), QStringLiteral("-"));
    e.IDMFirst.click();
    EXPECT_EQ(vxtest::dialogs().messages.size(), 1u) << "nothing to delete: no message";
    e.IDMRE.click();
    EXPECT_EQ(r.BackColor(), syscolor::WindowBackground);
    EXPECT_EQ(r.SelFontSize(), 9);
    EXPECT_FALSE(r.SelBold());
    EXPECT_EQ(r.SelColor(), 0);
}

} // namespace

TEST_F(EditorCommandsTest, ThePrinterDialogShowsNoEnglish)
{
    Form4 &e = vx::instance<Form4>();
    QPrinter printer;
    QStringList seen;
    bool shown = false;
    auto *timer = new QTimer;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(timer, &QTimer::timeout, [&] {
        auto *dlg = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dlg && clock.elapsed() < 20000)
            return;
        timer->stop();
        if (!dlg)
            return;
        shown = true;
        for (QWidget *w : dlg->findChildren<QWidget *>()) {
            if (!w->isVisibleTo(dlg))
                continue;
            if (auto *l = qobject_cast<QLabel *>(w))
                seen << l->text();
            if (auto *b = qobject_cast<QAbstractButton *>(w))
                seen << b->text();
            if (auto *g = qobject_cast<QGroupBox *>(w))
                seen << g->title();
        }
        seen << dlg->windowTitle();
        dlg->reject();
    });
    timer->start(10);
    EXPECT_FALSE(editor::showPrintDialog(printer, false, &e));
    delete timer;
    ASSERT_TRUE(shown);
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{3,}"));
    QStringList english;
    for (const QString &t : seen)
        if (word.match(QString(t).remove(QStringLiteral("PDF"))).hasMatch())
            english << t;
    EXPECT_EQ(english, QStringList());
}
