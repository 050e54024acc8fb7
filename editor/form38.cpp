#include "form38.h"
#include "platform/forms/events.h"

#include "findreplace.h"
#include "form4.h"
#include "suite/settings.h"

#include "platform/dialogs/dialogs.h"

bool findreplace::findInEditor(const QString &text)
{
    // From the very start of the text: every match counts.
    if (vx::instance<Form4>().RichTextBox1.Find(text, 0) == -1) {
        vx::MsgBox(kNotFound);
        return false;
    }
    return true;
}

Form38::Form38() : vx::Form(QStringLiteral("Form38"))
{
    setCaption(QStringLiteral("検索"));
    setClientSize(4200, 1260);
    Text1.setAccessibleName(Label1.Caption());
    Label1.setBuddy(Text1.editor());
    vx::bindEvents(*this);
}

void Form38::Form_Load()
{
    setTopmost(true);
    suite::applyPointer(*this);
}

void Form38::Command1_Click() { findreplace::findInEditor(Text1.Text()); }
