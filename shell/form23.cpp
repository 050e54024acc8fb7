#include "form23.h"
#include "platform/forms/events.h"

#include "suite/settings.h"
#include "shell/icons.h"
#include "shell/keys.h"
#include "shell/launch.h"
#include "shell/mainform.h"

using shell::Launcher;
using shell::Tool;
using shell::icons::Glyph;

namespace keys = shell::keys::MainForm2;

Form23::Form23() : vx::Form(QStringLiteral("Form23"))
{
    setCaption(QStringLiteral("Velmora 2002 Version3.35"));
    setClientSize(5940, 495);

    struct Face {
        const char *tip;
        Glyph glyph;
    };
    static const Face faces[] = {
        {"画像ビューア", Glyph::ImageViewer},
        {"サウンド・ムービープレイヤー", Glyph::MediaPlayer},
        {"CDプレイヤー", Glyph::CdPlayer},
        {"Susieビューア", Glyph::PluginViewer},
        {"テキストエディタ", Glyph::TextEditor},
        {"ランチャー", Glyph::Launcher},
        {"圧縮・解凍", Glyph::Archiver},
        {"システムチェック", Glyph::SystemInfo},
        {"バージョン情報、設定", Glyph::About},
        {"終了", Glyph::Exit},
        {"ヘルプ", Glyph::Help},
        {"キャプチャ", Glyph::Capture},
    };
    const auto all = buttons();
    for (int i = 0; i < 12; ++i) {
        all[i]->Move(i * 495, 0, 495, 495);
        all[i]->setPicture(shell::icons::glyph(faces[i].glyph, 24));
        all[i]->setToolTipText(QString::fromUtf8(faces[i].tip));
    }

    vx::bindEvents(*this);
}

std::array<vx::CommandButton *, 12> Form23::buttons()
{
    return {&Command1, &Command2, &Command3, &Command4,  &Command5,  &Command6,
            &Command7, &Command8, &Command9, &Command10, &Command11, &Command12};
}

void Form23::Form_Load()
{
    suite::restorePosition(*this, keys::Section, keys::PositionDefault);
    suite::applyButtonColor(keys::Section, buttons());
    suite::applyPointer(*this);
    suite::applyTopmost(*this);
}

void Form23::Form_Unload(int &cancel)
{
    exitProgram();
    // Still here: the user kept the program running.
    cancel = 1;
}

void Form23::Command1_Click() { shell::launchImageViewer(Launcher::Form23); }
void Form23::Command2_Click() { shell::launchMediaPlayer(Launcher::Form23); }
void Form23::Command3_Click() { shell::launch(Tool::Form8, Launcher::Form23); }
void Form23::Command4_Click() { shell::launch(Tool::Form15, Launcher::Form23); }
void Form23::Command5_Click() { shell::launch(Tool::Form4, Launcher::Form23); }
void Form23::Command6_Click() { shell::launch(Tool::Form5, Launcher::Form23); }
void Form23::Command7_Click() { shell::launch(Tool::Form9, Launcher::Form23); }
void Form23::Command8_Click() { shell::launch(Tool::Form10, Launcher::Form23); }
void Form23::Command9_Click() { shell::launch(Tool::frmAbout, Launcher::Form23); }
void Form23::Command10_Click() { exitProgram(); }
void Form23::Command11_Click() { shell::showHelp(); }
void Form23::Command12_Click() { shell::launch(Tool::Form11, Launcher::Form23); }

// This window leaves help viewers open when the program ends.
void Form23::exitProgram()
{
    shell::endFromMainWindow([this] { suite::savePosition(*this, keys::Section); }, false);
}
