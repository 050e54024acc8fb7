#include "form34.h"
#include "platform/forms/events.h"

#include "form20.h"

#include "platform/core/errors.h"
#include "platform/dialogs/dialogs.h"
#include "platform/system/system.h"

const vx::MediaPlayerDesign Form34::kPlayerDesign{
    .autoStart = true,
    .showControls = true,
    .showPositionControls = false,
    .showTracker = true,
    .showAudioControls = false,
    .showStatusBar = false,
    .volume = -640,
};

Form34::Form34() : vx::Form(QStringLiteral("Form34"))
{
    setCaption(QStringLiteral("Minivox WMP for Multimedia Rondix Ⅱ"));
    setClientSize(4800, 3600);
    setAcceptDrops(true);
    vx::bindEvents(*this);
}

void Form34::play(const QString &path)
{
    MediaPlayer1.setFileName(path);
    MediaPlayer1.setRate(player2::PlaySpeed());
    MediaPlayer1.Play();
}

void Form34::Form_Load()
{
    Form_Resize();
    try {
        Form20 &w = vx::instance<Form20>();
        play(vx::joinPath(w.Dir1.Path(), w.File1.FileName()));
    } catch (const vx::RuntimeError &) {
        // No current entry, or one the player refuses: the window stays silent.
    }
}

void Form34::Form_Resize()
{
    // The control takes the window's outer size; the client area shows what fits.
    MediaPlayer1.Move(0, 0, Width(), Height());
}

void Form34::Form_OLEDragDrop(const QStringList &files)
{
    for (const QString &file : files) {
        try {
            MediaPlayer1.Stop();
            play(file);
        } catch (const vx::RuntimeError &) {
            vx::MsgBox(QStringLiteral("対応しているメディアファイルをドロップしてください"));
            return;
        }
    }
}

void Form34::Form_Unload(int &cancel)
{
    (void)cancel;
    // Form20 unloading takes this window with it: its control goes anyway.
    if (vx::isLoaded<Form20>())
        vx::instance<Form20>().MediaPlayer1.show();
}

void Form34::MediaPlayer1_EndOfStream(int result)
{
    (void)result;
    Form20 &w = vx::instance<Form20>();
    w.MediaPlayer1.hide();
    try {
        if (w.Check1.Value() == 1) {
            play(w.entryPath());
        } else if (w.Check3.Value() == 1) {
            const int current = w.File1.ListIndex();
            const int r = w.drawOther(current, w.File1.ListCount());
            if (r < 0)
                return;
            if (r != current)
                w.File1.setListIndex(r);
            play(w.entryPath());
        } else if (w.Check2.Value() == 1) {
            MediaPlayer1.Stop();
        } else {
            const int next = w.File1.ListIndex() + 1;
            if (next >= w.File1.ListCount())
                return;
            w.File1.setListIndex(next);
            play(w.entryPath());
        }
        // Choosing the entry in Form20 started it there too.
        w.MediaPlayer1.Stop();
    } catch (const vx::RuntimeError &) {
    }
}
