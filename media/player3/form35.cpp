#include "form35.h"
#include "platform/forms/events.h"

#include "form36.h"
#include "formvx3.h"

#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"
#include "platform/system/system.h"

const vx::ConsoleDesign Form35::kDesign{
    .controls = QStringLiteral("ImageWindow"), .console = QStringLiteral("two"), .background = QStringLiteral("#000000")};

Form35::Form35() : vx::Form(QStringLiteral("Form35"))
{
    setCaption(QStringLiteral("Minivox RP for Multimedia Rondix Ⅲ"));
    setClientSize(4800, 3600);
    vx::bindEvents(*this);
}

void Form35::Form_Load()
{
    try {
        FormVX3 &player = vx::instance<FormVX3>();
        RealAudio1.setSource(vx::joinPath(player.Dir1.Path(), player.File1.FileName()));
        RealAudio1.DoPlay();
    } catch (const vx::RuntimeError &) {
        // No entry, or one the player refuses: the window opens silent.
    }
}

void Form35::Form_Resize()
{
    // The picture fills the window; the control's part of it is the client area.
    RealAudio1.setHeight(Height());
    RealAudio1.setWidth(Width());
}

void Form35::Form_OLEDragDrop(const QStringList &files)
{
    for (const QString &file : files) {
        try {
            RealAudio1.DoStop();
            RealAudio1.setSource(file);
            RealAudio1.DoPlay();
        } catch (const vx::RuntimeError &) {
            vx::MsgBox(QStringLiteral("対応しているメディアファイルをドロップしてください"));
            return;
        }
    }
}

void Form35::Form_Unload(int &cancel)
{
    (void)cancel;
    player3::closeViewerPair();
}

namespace player3 {

void closeViewerPair()
{
    // The other window's unload comes back here while this one runs.
    static bool closing = false;
    if (closing)
        return;
    closing = true;
    try {
        vx::instance<FormVX3>().Show();
        vx::unload<Form36>();
        vx::unload<Form35>();
    } catch (...) {
        closing = false;
        throw;
    }
    closing = false;
}

} // namespace player3
