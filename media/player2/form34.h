#pragma once
// The mini player: nothing but a player control, playing Form20's current
// entry and walking Form20's list under its modes while Form20's own player is
// hidden.
#include "platform/forms/form.h"
#include "platform/media/mediaplayer.h"

class Form34 : public vx::Form {
    Q_OBJECT
public:
    Form34();

    static const vx::MediaPlayerDesign kPlayerDesign;

    vx::MediaPlayer MediaPlayer1{this, QStringLiteral("MediaPlayer1"), kPlayerDesign};

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int &cancel) override;
    Q_SLOT void Form_OLEDragDrop(const QStringList &files);
    Q_SLOT void MediaPlayer1_EndOfStream(int result);

private:
    void play(const QString &path);
};
