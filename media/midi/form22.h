#pragma once
// The MIDI output device chooser: lists the output devices and sends the
// chosen device number to the media command interpreter as the MIDI port.
// Modal from the players' settings windows; the start window of the "Main3"
// launcher style, where closing it ends the program.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"

#include <functional>

class Form22 : public vx::Form {
    Q_OBJECT
public:
    Form22();

    vx::Placed<vx::ComboBox> Combo1{{120, 120, 4440, 300}, this, QStringLiteral("Combo1"), 0};
    vx::Placed<vx::CommandButton> Command1{{3240, 540, 1320, 375}, this, QStringLiteral("Command1"),
                                           QStringLiteral("変更")};

    // Stops the second player's control, loading that player when need be
    // (set by the player; nothing when there is none).
    static std::function<void()> stopSecondPlayer;

    static QString GetMidiDevName(int deviceId);
    void Form_Load() override;
    void Form_Unload(int &cancel) override;
    Q_SLOT void Command1_Click();

    // Opened by the start-up as the program's only window.
    void setStartWindow(bool on) { startWindow_ = on; }

private:
    bool startWindow_ = false;
};
