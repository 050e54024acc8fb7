#include "form30.h"
#include "platform/forms/events.h"

#include "suite/settings.h"
#include "platform/core/errors.h"
#include "shell/icons.h"
#include "shell/keys.h"
#include "shell/launch.h"
#include "shell/mainform.h"

#include <array>

namespace keys = shell::keys::MainForm0;

Form30::Form30() : vx::Form(QStringLiteral("Form30"))
{
    setCaption(QString());
    setBorderless(true);
    setClientSize(3360, 330);

    Picture1.setBorderStyle(0);
    Picture1.setContentsMargins(2, 2, 2, 2);
    Picture1.setPicture(shell::icons::grip());
    for (const shell::ToolRow &row : shell::tools())
        Combo1.AddItem(row.listText);

    vx::bindEvents(*this);
}

void Form30::Form_Load()
{
    Combo1.setListIndex(0);
    suite::restorePosition(*this, keys::Section, keys::PositionDefault);
    const qint32 wall = suite::GetColor(keys::Section, keys::FormColor, keys::FormColorDefault);
    setBackColor(wall);
    Picture1.setBackColor(wall);
    suite::applyPointer(*this);
    suite::applyButtonColor(keys::Section, std::array<vx::CommandButton *, 1>{&Command1});
    Combo1.setBackColor(suite::GetColor(keys::Section, keys::ComboColor, keys::ComboColorDefault));
    Combo1.setForeColor(suite::GetColor(keys::Section, keys::ComboFontColor, keys::ComboFontColorDefault));
    try {
        Combo1.setText(suite::GetSetting(keys::Section, keys::ComboText, keys::ComboTextDefault));
    } catch (const vx::RuntimeError &) {
        // A name that is not in the list: the first item stays.
    }
    suite::applyTopmost(*this);
}

void Form30::Form_Unload(int &cancel)
{
    exitProgram();
    // Still here: the user kept the program running.
    cancel = 1;
}

void Form30::Command1_Click()
{
    if (const auto t = shell::toolByListText(Combo1.Text()))
        shell::launch(*t, shell::Launcher::Form30);
}

void Form30::Picture1_MouseDown(int button, int shift, float x, float y)
{
    (void)shift;
    (void)x;
    (void)y;
    if (button == 2)
        PopupMenu(mnuMain);
    if (button & 1)
        beginDragMove();
}

void Form30::Picture1_DblClick() { exitProgram(); }
void Form30::mnuHelp_Click() { shell::showHelp(); }
void Form30::mnuExit_Click() { exitProgram(); }

void Form30::exitProgram()
{
    shell::endFromMainWindow(
        [this] {
            suite::savePosition(*this, keys::Section);
            suite::SaveSetting(keys::Section, keys::ComboText, Combo1.Text());
        },
        true);
}
