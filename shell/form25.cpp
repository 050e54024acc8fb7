#include "form25.h"
#include "platform/forms/events.h"

#include "shell/keys.h"
#include "suite/settings.h"
#include "shell/form23.h"
#include "shell/mainsettings.h"

namespace keys = shell::keys;

namespace ms = shell::mainsettings;

Form25::Form25() : Window(QStringLiteral("Form25"), QStringLiteral("Velmora 2002 Setting For 小さいフォーム"), 2790)
{

    vx::bindEvents(*this);
}

void Form25::Form_Load()
{
    loadWithStyle();
}

void Form25::Form_Unload(int &cancel)
{
    (void)cancel;
    storeAtClosing();
}

// The colour goes to the live main window at once; a cancelled dialog changes
// nothing.
void Form25::Command2_Click()
{
    if (!CommonDialog1.ShowColor())
        return;
    for (vx::CommandButton *b : vx::instance<Form23>().buttons())
        b->setBackColor(CommonDialog1.Color);
}

void Form25::Command4_Click() { ms::reset(*this, keys::MainForm2::Section, true); }

void Form25::Command8_Click()
{
    ms::saveTopmost(Check2);
    ms::saveStyle(Combo1, ms::Words::CloseButton);
    ms::savePointer(suite::keys::AllForm::Section, *this);
    saveColours();
    Unload();
}

void Form25::saveColours()
{
    suite::SaveSetting(keys::MainForm2::Section, suite::keys::BottonColor, ms::colourText(vx::instance<Form23>().Command1.BackColor()));
}
