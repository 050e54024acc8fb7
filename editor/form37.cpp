#include "form37.h"
#include "platform/forms/events.h"

#include "findreplace.h"
#include "form4.h"
#include "modstrreplace.h"
#include "suite/settings.h"

Form37::Form37() : vx::Form(QStringLiteral("Form37"))
{
    setCaption(QStringLiteral("置換"));
    setClientSize(4200, 1980);
    Text1.setAccessibleName(Label1.Caption());
    Text2.setAccessibleName(Label2.Caption());
    Label1.setBuddy(Text1.editor());
    Label2.setBuddy(Text2.editor());
    vx::bindEvents(*this);
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
    // Read mode changes no text, as for one replacement.
    if (r.ReadOnly())
        return;
    const QString find = Text1.Text();
    const auto hits = modStrReplace::ReplaceMatches(r.Text(), find, 1, -1, 0);
    r.ReplaceRanges(hits, static_cast<int>(find.size()), Text2.Text());
}

void Form37::Command2_Click()
{
    if (findreplace::findInEditor(Text1.Text()))
        vx::instance<Form4>().RichTextBox1.setSelText(Text2.Text());
}
