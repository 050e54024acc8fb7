#pragma once
// The third player's picture window: the picture part of the console "two",
// which Form36's panel drives. It starts FormVX3's current entry when it
// opens and plays files dropped on it; closing it closes Form36 too.
#include "platform/forms/form.h"
#include "platform/media/consoleplayer.h"

class Form35 : public vx::Form {
    Q_OBJECT
public:
    Form35();

    static const vx::ConsoleDesign kDesign;
    vx::Placed<vx::ConsolePlayer> RealAudio1{{0, 0, 4800, 3600}, this, QStringLiteral("RealAudio1"), kDesign};

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int &cancel) override;
    Q_SLOT void Form_OLEDragDrop(const QStringList &files);
};

namespace player3 {

// Closing either viewer window closes both once and shows FormVX3 again.
void closeViewerPair();

} // namespace player3
