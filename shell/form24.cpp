#include "form24.h"

#include "suite/settings.h"
#include "platform/dialogs/dialogs.h"
#include "platform/system/system.h"
#include "media/midi/form22.h"
#include "media/player2/connect.h"
#include "shell/form1.h"
#include "shell/form23.h"
#include "shell/form30.h"
#include "shell/keys.h"

namespace {

template <class T>
bool showMain()
{
    vx::instance<T>().Show();
    return true;
}

// "Main3": the MIDI output device chooser is the only window; closing it
// ends the program.
bool showMidiChooser()
{
    player2::connect();
    Form22 &chooser = vx::instance<Form22>();
    chooser.setStartWindow(true);
    chooser.Show();
    return true;
}

namespace keys = shell::keys::MainForm;

struct Style {
    QLatin1StringView word;
    bool (*show)();
};
const Style kStyles[] = {
    {keys::StyleBar, showMain<Form30>},
    {keys::StyleButtons, showMain<Form1>},
    {keys::StyleSmall, showMain<Form23>},
    {keys::StyleMidi, showMidiChooser},
};

} // namespace

Form24::Form24() : vx::Form(QStringLiteral("Form24"))
{
    setCaption(QStringLiteral("Form24"));
    setClientSize(1560, 135);
}

void Form24::Form_Load()
{
    if (vx::PrevInstance(QStringLiteral("VX2002"))) {
        vx::MsgBox(QStringLiteral("すでに「Velmora 2002」は起動されています。"), vx::vbExclamation);
        vx::End();
    }
    const QString style = suite::GetSetting(keys::Section, keys::Form, keys::FormDefault);
    try {
        for (const Style &s : kStyles) {
            if (style == s.word && s.show()) {
                handedOver_ = true;
                Unload();
            }
        }
    } catch (const vx::ProgramEnded &) {
        throw;
    } catch (const std::exception &) {
        // Any failure from here on leaves this window as the start window.
        handedOver_ = false;
    }
}

void Form24::Form_Unload(int &cancel)
{
    (void)cancel;
    // Closed while it is the only window: nothing else would end the program.
    if (!handedOver_)
        vx::End();
}
