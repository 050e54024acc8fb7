#include "form26.h"
#include "platform/forms/events.h"

#include "shell/keys.h"
#include "suite/settings.h"
#include "shell/form30.h"
#include "shell/mainsettings.h"

namespace keys = shell::keys;

namespace ms = shell::mainsettings;

Form26::Form26() : Window(QStringLiteral("Form26"), QStringLiteral("Velmora 2002 Setting For 次世代フォーム"), 3225)
{

    vx::bindEvents(*this);
}

void Form26::Form_Unload(int &cancel)
{
    (void)cancel;
    ms::saveStyle(Combo1, ms::Words::CloseButton);
    saveColours();
    ms::savePointer(keys::MainForm0::Section, *this);
    // Also where the system tools read it, and what this window's reset clears.
    ms::savePointer(keys::MainForm::Section, *this);
}

// Each colour goes to the live main window at once; a cancelled dialog
// changes nothing.
void Form26::Command2_Click()
{
    if (CommonDialog1.ShowColor())
        vx::instance<Form30>().Command1.setBackColor(CommonDialog1.Color);
}

void Form26::Command3_Click()
{
    if (CommonDialog2.ShowColor())
        vx::instance<Form30>().Combo1.setBackColor(CommonDialog2.Color);
}

void Form26::Command5_Click()
{
    if (CommonDialog3.ShowColor())
        vx::instance<Form30>().Combo1.setForeColor(CommonDialog3.Color);
}

void Form26::Command7_Click()
{
    if (!CommonDialog4.ShowColor())
        return;
    Form30 &main = vx::instance<Form30>();
    main.setBackColor(CommonDialog4.Color);
    main.Picture1.setBackColor(CommonDialog4.Color);
}

void Form26::Command4_Click() { ms::reset(*this, keys::MainForm0::Section, true); }

void Form26::Command8_Click() { closeStoringColours(); }

void Form26::saveColours()
{
    Form30 &main = vx::instance<Form30>();
    suite::SaveSetting(keys::MainForm0::Section, keys::MainForm0::FormColor, ms::colourText(main.BackColor()));
    suite::SaveSetting(keys::MainForm0::Section, suite::keys::BottonColor, ms::colourText(main.Command1.BackColor()));
    suite::SaveSetting(keys::MainForm0::Section, keys::MainForm0::ComboColor, ms::colourText(main.Combo1.BackColor()));
    suite::SaveSetting(keys::MainForm0::Section, keys::MainForm0::ComboFontColor, ms::colourText(main.Combo1.ForeColor()));
}
