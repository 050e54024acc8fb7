#include "form37.h"

#include "findreplace.h"
#include "form4.h"
#include "modstrreplace.h"
#include "suite/settings.h"

Form37::Form37() : vx::Form(QStringLiteral("Form37"))
{
    setCaption(QStringLiteral("置換"));
    setClientSize(4200, 1980);
    Label1.Move(120, 120, 3960, 255);
    Text1.Move(120, 420, 3960, 315);
    Label2.Move(120, 810, 3960, 255);
    Text2.Move(120, 1110, 3960, 315);
    Text1.setAccessibleName(Label1.Caption());
    Text2.setAccessibleName(Label2.Caption());
    Label1.setBuddy(Text1.editor());
    Label2.setBuddy(Text2.editor());
    Command1.Move(120, 1530, 1935, 375);
    Command2.Move(2145, 1530, 1935, 375);
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
}

void Form37::Form_Load()
{
    setTopmost(true);
    suite::applyPointer(*this);
}

void Form37::Command1_Click()
{
    // Every exact match, replaced where it stands in one undoable step: the
    // formatting of the rest of the text stays.
    vx::RichTextBox &r = vx::instance<Form4>().RichTextBox1;
    const QString find = Text1.Text();
    const auto hits = modStrReplace::ReplaceMatches(r.Text(), find, 1, -1, 0);
    r.ReplaceRanges(hits, static_cast<int>(find.size()), Text2.Text());
}

void Form37::Command2_Click()
{
    if (findreplace::findInEditor(Text1.Text()))
        vx::instance<Form4>().RichTextBox1.setSelText(Text2.Text());
}
