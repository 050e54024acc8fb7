#pragma once
// The audio mixer as the players use it: open mixer device 0, find the
// speakers' volume control (identifier, minimum, maximum), read and write its
// value, close. Results are the classic multimedia result codes (0 = success).
// The program uses the ALSA simple mixer; tests put in a fake.
#include <QString>

#include <memory>

namespace vx {

namespace mixer {
// Result codes.
inline constexpr int NoError = 0;
inline constexpr int Error = 1;          // unspecified failure
inline constexpr int BadDeviceId = 2;
inline constexpr int Allocated = 4;
inline constexpr int InvalidHandle = 5;
inline constexpr int NoDriver = 6;       // no mixer device at all
inline constexpr int NoMemory = 7;
inline constexpr int InvalidFlag = 10;
inline constexpr int InvalidParam = 11;
inline constexpr int InvalidLine = 1024;
inline constexpr int InvalidControl = 1025;
// The speakers destination line and the volume control type.
inline constexpr quint32 ComponentSpeakers = 4;
inline constexpr quint32 ControlVolume = 0x50030001;
// The scale every volume control is given in.
inline constexpr qint32 ScaleMax = 65535;
} // namespace mixer

struct MixerControl {
    quint32 controlId = 0;
    quint32 controlType = 0;
    qint32 minimum = 0;
    qint32 maximum = 0;
    QString name;
};

class MixerDriver {
public:
    virtual ~MixerDriver() = default;
    virtual int open(int deviceId, quint32 &handle) = 0;
    virtual int close(quint32 handle) = 0;
    // The line of a component type (the speakers).
    virtual int lineInfo(quint32 handle, quint32 componentType, quint32 &lineId) = 0;
    // The first control of a type on a line.
    virtual int lineControl(quint32 handle, quint32 lineId, quint32 controlType, MixerControl &control) = 0;
    virtual int getValue(quint32 handle, quint32 controlId, quint32 &value) = 0;
    virtual int setValue(quint32 handle, quint32 controlId, quint32 value) = 0;
};

MixerDriver &mixerDriver();
// Replaces the driver (tests); nullptr restores the real one.
void setMixerDriver(std::unique_ptr<MixerDriver> driver);
std::unique_ptr<MixerDriver> makeAlsaMixerDriver();

// The calls the players make, through the current driver.
int mixerOpen(quint32 &handle, int deviceId);
int mixerClose(quint32 handle);
int mixerGetLineInfo(quint32 handle, quint32 componentType, quint32 &lineId);
int mixerGetLineControls(quint32 handle, quint32 lineId, quint32 controlType, MixerControl &control);
int mixerGetControlDetails(quint32 handle, quint32 controlId, quint32 &value);
int mixerSetControlDetails(quint32 handle, quint32 controlId, quint32 value);

// A device's own volume range mapped linearly onto 0..ScaleMax and back
// (rounded to the nearest step; values outside the range are clamped).
quint32 toMixerScale(long value, long min, long max);
long fromMixerScale(quint32 value, long min, long max);

} // namespace vx
