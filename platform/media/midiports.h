#pragma once
// MIDI output devices: the ALSA sequencer ports a program can write to, in
// client and port order, without the System client's own. Tests put in a
// fixed list.
#include <QStringList>

#include <memory>

namespace vx {

class MidiPortList {
public:
    virtual ~MidiPortList() = default;
    // Device names; empty without a sequencer or without a port.
    virtual QStringList outputPorts() = 0;
};

MidiPortList &midiPortList();
// Replaces the list (tests); nullptr restores the real one.
void setMidiPortList(std::unique_ptr<MidiPortList> list);
std::unique_ptr<MidiPortList> makeAlsaMidiPortList();
// The ALSA list opened on a sequencer device of another name ("default"
// normally), so the path without a sequencer can be tried.
std::unique_ptr<MidiPortList> makeAlsaMidiPortList(const QString &sequencer);

// Number of output devices, and the name of device `id` cut to 31 characters
// ("" for a number that is not a device), as the classic calls give them.
int midiOutGetNumDevs();
QString midiOutGetDevName(int id);

// The device the "set Midi port n" command chose (-1 none yet).
int midiOutputPort();
void setMidiOutputPort(int id);

} // namespace vx
