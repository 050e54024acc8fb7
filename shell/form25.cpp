#include "form25.h"

#include "shell/keys.h"
#include "suite/settings.h"
#include "shell/form23.h"
#include "shell/mainsettings.h"

namespace keys = shell::keys;

namespace ms = shell::mainsettings;

Form25::Form25() : vx::Form(QStringLiteral("Form25"))
{
    setCaption(QStringLiteral("Velmora 2002 Setting For 小さいフォーム"));
    setClientSize(6840, 2790);

    Label1.Move(120, 120, 6600, 255);
    Label2.Move(120, 450, 3600, 255);
    Label2.setBuddy(&Combo1);
    Combo1.Move(120, 720, 3600, 315);
    ms::fillStyleBox(Combo1);
    Check1.Move(120, 1140, 6600, 285);
    Check2.Move(120, 1440, 6600, 285);
    Command2.Move(120, 1830, 3240, 375);
    Command4.Move(120, 2325, 3240, 375);
    Command8.Move(3480, 2325, 3240, 375);

    Check1.Click = [this] { Check1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command4.Click = [this] { Command4_Click(); };
    Command8.Click = [this] { Command8_Click(); };
}

void Form25::Form_Load()
{
    ms::loadStyle(Combo1);
    ms::loadChoices(*this, Check1, Check2);
}

void Form25::Form_Unload(int &cancel)
{
    (void)cancel;
    ms::saveStyle(Combo1, ms::Words::Closing);
    saveColour();
    ms::savePointer(keys::MainForm::Section, *this);
}

void Form25::Check1_Click() { ms::previewPointer(*this, Check1); }

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
    saveColour();
    Unload();
}

void Form25::saveColour()
{
    suite::SaveSetting(keys::MainForm2::Section, suite::keys::BottonColor, ms::colourText(vx::instance<Form23>().Command1.BackColor()));
}
