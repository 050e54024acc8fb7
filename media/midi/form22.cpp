#include "form22.h"
#include "platform/forms/events.h"

#include "platform/dialogs/dialogs.h"
#include "platform/forms/program.h"
#include "platform/media/mci.h"
#include "platform/media/midiports.h"
#include "suite/settings.h"

std::function<void()> Form22::stopSecondPlayer;

Form22::Form22() : vx::Form(QStringLiteral("Form22"))
{
    setCaption(QStringLiteral("Multimedia Rondix MIDI Device Changer Ver.1.0β"));
    setClientSize(4680, 1080);
    Combo1.setText(QStringLiteral("MIDIデバイス一覧"));
    Combo1.setAccessibleName(QStringLiteral("MIDIデバイス一覧"));
    vx::bindEvents(*this);
}

QString Form22::GetMidiDevName(int deviceId)
{
    return vx::midiOutGetDevName(deviceId);
}

void Form22::Form_Load()
{
    suite::applyPointer(*this);
    const int count = vx::midiOutGetNumDevs();
    if (count < 1) {
        Combo1.AddItem(GetMidiDevName(0));
    } else {
        for (int i = 0; i < count; ++i)
            Combo1.AddItem(GetMidiDevName(i));
    }
    // Adding entries leaves the layout's text in the box.
    Combo1.setText(QStringLiteral("MIDIデバイス一覧"));
}

void Form22::Form_Unload(int &cancel)
{
    (void)cancel;
    // The start window is the only one: nothing else would end the program.
    if (startWindow_)
        vx::End();
}

void Form22::Command1_Click()
{
    if (stopSecondPlayer)
        stopSecondPlayer();
    const int r = vx::mciSendString(QStringLiteral("set Midi port ") + QString::number(Combo1.ListIndex()));
    // Announced only when the port was taken.
    if (r == vx::mci::NoError)
        vx::MsgBox(QStringLiteral("変更しました(^^)"));
}
