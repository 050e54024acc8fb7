#pragma once
// The third player's viewer control panel: the panel part of the console
// "two", driving the picture in Form35. Closing it closes Form35 too.
#include "platform/forms/form.h"
#include "platform/media/consoleplayer.h"

class Form36 : public vx::Form {
    Q_OBJECT
public:
    Form36();

    static const vx::ConsoleDesign kDesign;
    vx::Placed<vx::ConsolePlayer> RealAudio1{{0, 0, 4800, 1160}, this, QStringLiteral("RealAudio1"), kDesign};

    void Form_Resize() override;
    void Form_Unload(int &cancel) override;
};
