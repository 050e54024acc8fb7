#include "form19.h"
#include "platform/forms/events.h"

#include "shell/keys.h"
#include "suite/settings.h"
#include "shell/form1.h"
#include "shell/mainsettings.h"

namespace keys = shell::keys;

namespace ms = shell::mainsettings;

Form19::Form19() : Window(QStringLiteral("Form19"), QStringLiteral("Velmora 2002 Setting For 元祖フォーム"), 3225)
{

    vx::bindEvents(*this);
}

void Form19::Form_Load()
{
    loadWithStyle();
}

void Form19::Form_Unload(int &cancel)
{
    (void)cancel;
    storeAtClosing();
}

// Each colour goes to the live main window at once; a cancelled dialog
// changes nothing.
void Form19::Command1_Click()
{
    if (!CommonDialog1.ShowColor())
        return;
    Form1 &main = vx::instance<Form1>();
    main.Label1.setForeColor(CommonDialog1.Color);
    main.Label2.setForeColor(CommonDialog1.Color);
}

void Form19::Command2_Click()
{
    if (!CommonDialog2.ShowColor())
        return;
    for (vx::CommandButton *b : vx::instance<Form1>().buttons())
        b->setBackColor(CommonDialog2.Color);
}

void Form19::Command3_Click()
{
    if (CommonDialog3.ShowColor())
        vx::instance<Form1>().Text1.setBackColor(CommonDialog3.Color);
}

void Form19::Command5_Click()
{
    if (CommonDialog4.ShowColor())
        vx::instance<Form1>().Text1.setForeColor(CommonDialog4.Color);
}

void Form19::Command7_Click()
{
    if (!CommonDialog5.ShowColor())
        return;
    Form1 &main = vx::instance<Form1>();
    main.setBackColor(CommonDialog5.Color);
    for (vx::PictureBox *p : main.pictures())
        p->setBackColor(CommonDialog5.Color);
}

void Form19::Command4_Click() { ms::reset(*this, keys::MainForm::Section, false); }

void Form19::Command8_Click() { closeStoringColours(); }

void Form19::saveColours()
{
    Form1 &main = vx::instance<Form1>();
    suite::SaveSetting(keys::MainForm::Section, keys::MainForm::FormColor, ms::colourText(main.BackColor()));
    suite::SaveSetting(keys::MainForm::Section, suite::keys::BottonColor, ms::colourText(main.Command1.BackColor()));
    suite::SaveSetting(keys::MainForm::Section, keys::MainForm::TextColor, ms::colourText(main.Text1.BackColor()));
    suite::SaveSetting(keys::MainForm::Section, keys::MainForm::TextFontColor, ms::colourText(main.Text1.ForeColor()));
    suite::SaveSetting(keys::MainForm::Section, keys::MainForm::LabelColor, ms::colourText(main.Label1.ForeColor()));
}
