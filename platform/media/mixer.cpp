#include "mixer.h"

#include <algorithm>
#include <cmath>

namespace vx {

namespace {
std::unique_ptr<MixerDriver> &current()
{
    static std::unique_ptr<MixerDriver> driver;
    return driver;
}
} // namespace

MixerDriver &mixerDriver()
{
    auto &d = current();
    if (!d)
        d = makeAlsaMixerDriver();
    return *d;
}

void setMixerDriver(std::unique_ptr<MixerDriver> driver) { current() = std::move(driver); }

int mixerOpen(quint32 &handle, int deviceId) { return mixerDriver().open(deviceId, handle); }
int mixerClose(quint32 handle) { return mixerDriver().close(handle); }
int mixerGetLineInfo(quint32 handle, quint32 componentType, quint32 &lineId)
{
    return mixerDriver().lineInfo(handle, componentType, lineId);
}
int mixerGetLineControls(quint32 handle, quint32 lineId, quint32 controlType, MixerControl &control)
{
    return mixerDriver().lineControl(handle, lineId, controlType, control);
}
int mixerGetControlDetails(quint32 handle, quint32 controlId, quint32 &value)
{
    return mixerDriver().getValue(handle, controlId, value);
}
int mixerSetControlDetails(quint32 handle, quint32 controlId, quint32 value)
{
    return mixerDriver().setValue(handle, controlId, value);
}

quint32 toMixerScale(long value, long min, long max)
{
    if (max <= min)
        return 0;
    value = std::clamp(value, min, max);
    const double f = double(value - min) / double(max - min);
    return static_cast<quint32>(std::lround(f * mixer::ScaleMax));
}

long fromMixerScale(quint32 value, long min, long max)
{
    if (max <= min)
        return min;
    const double f = double(std::min<quint32>(value, mixer::ScaleMax)) / mixer::ScaleMax;
    return min + std::lround(f * double(max - min));
}

} // namespace vx
