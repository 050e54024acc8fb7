// The mixer over ALSA's simple mixer: device N is the Nth sound card (device
// 0 goes through "default", so a sound server's own volume is the one set);
// the speakers' volume is the playback volume of "Master", else "PCM".
#include <alsa/asoundlib.h>

#include "platform/core/lazylibs.h"
#include "mixer.h"

#include <cerrno>
#include <map>

namespace vx {

namespace {

void quietAlsa(const char *, int, const char *, int, const char *, ...) {}

int resultOf(int alsaError)
{
    switch (-alsaError) {
    case 0: return mixer::NoError;
    case ENOMEM: return mixer::NoMemory;
    case EBUSY: return mixer::Allocated;
    case ENODEV:
    case ENOENT:
    case ENXIO: return mixer::BadDeviceId;
    case EINVAL: return mixer::InvalidParam;
    default: return mixer::Error;
    }
}

int cardCount()
{
    int count = 0;
    int card = -1;
    while (snd_card_next(&card) == 0 && card >= 0)
        ++count;
    return count;
}

const char *const kVolumeNames[] = {"Master", "PCM"};

class AlsaMixer : public MixerDriver {
public:
    AlsaMixer() { snd_lib_error_set_handler(quietAlsa); }
    ~AlsaMixer() override
    {
        for (auto &[handle, m] : mixers_)
            snd_mixer_close(m);
    }

    int open(int deviceId, quint32 &handle) override
    {
        handle = 0;
        // No ALSA library at all: as without a sound card.
        if (!loadLazyLibrary(LazyLibrary::Alsa))
            return mixer::NoDriver;
        const int cards = cardCount();
        if (deviceId < 0 || (cards > 0 && deviceId >= cards))
            return mixer::BadDeviceId;
        snd_mixer_t *m = nullptr;
        if (const int e = snd_mixer_open(&m, 0))
            return resultOf(e);
        int e = -ENODEV;
        if (deviceId == 0)
            e = attachAndLoad(m, "default");
        if (e < 0 && cards > 0) {
            snd_mixer_close(m);
            if (const int e2 = snd_mixer_open(&m, 0))
                return resultOf(e2);
            e = attachAndLoad(m, QByteArray("hw:") + QByteArray::number(cardIndex(deviceId)));
        }
        if (e < 0) {
            snd_mixer_close(m);
            return cards == 0 ? mixer::NoDriver : resultOf(e);
        }
        handle = ++next_;
        mixers_[handle] = m;
        return mixer::NoError;
    }

    int close(quint32 handle) override
    {
        const auto it = mixers_.find(handle);
        if (it == mixers_.end())
            return mixer::InvalidHandle;
        snd_mixer_close(it->second);
        mixers_.erase(it);
        return mixer::NoError;
    }

    int lineInfo(quint32 handle, quint32 componentType, quint32 &lineId) override
    {
        if (!mixers_.count(handle))
            return mixer::InvalidHandle;
        if (componentType != mixer::ComponentSpeakers)
            return mixer::InvalidLine;
        lineId = 0;
        return mixer::NoError;
    }

    int lineControl(quint32 handle, quint32 lineId, quint32 controlType, MixerControl &control) override
    {
        snd_mixer_t *m = find(handle);
        if (!m)
            return mixer::InvalidHandle;
        if (lineId != 0)
            return mixer::InvalidLine;
        if (controlType != mixer::ControlVolume)
            return mixer::InvalidControl;
        for (quint32 id = 1; id <= std::size(kVolumeNames); ++id) {
            if (!element(m, id))
                continue;
            control = MixerControl{id, controlType, 0, mixer::ScaleMax, QString::fromLatin1(kVolumeNames[id - 1])};
            return mixer::NoError;
        }
        return mixer::InvalidControl;
    }

    int getValue(quint32 handle, quint32 controlId, quint32 &value) override
    {
        snd_mixer_t *m = find(handle);
        if (!m)
            return mixer::InvalidHandle;
        snd_mixer_handle_events(m);
        snd_mixer_elem_t *el = element(m, controlId);
        if (!el)
            return mixer::InvalidControl;
        long min = 0, max = 0, v = 0;
        if (const int e = snd_mixer_selem_get_playback_volume_range(el, &min, &max))
            return resultOf(e);
        if (const int e = snd_mixer_selem_get_playback_volume(el, SND_MIXER_SCHN_FRONT_LEFT, &v))
            return resultOf(e);
        value = toMixerScale(v, min, max);
        return mixer::NoError;
    }

    int setValue(quint32 handle, quint32 controlId, quint32 value) override
    {
        snd_mixer_t *m = find(handle);
        if (!m)
            return mixer::InvalidHandle;
        snd_mixer_elem_t *el = element(m, controlId);
        if (!el)
            return mixer::InvalidControl;
        long min = 0, max = 0;
        if (const int e = snd_mixer_selem_get_playback_volume_range(el, &min, &max))
            return resultOf(e);
        return resultOf(snd_mixer_selem_set_playback_volume_all(el, fromMixerScale(value, min, max)));
    }

private:
    static int cardIndex(int deviceId)
    {
        int card = -1;
        for (int i = 0; i <= deviceId; ++i)
            if (snd_card_next(&card) != 0 || card < 0)
                return -1;
        return card;
    }

    static int attachAndLoad(snd_mixer_t *m, const QByteArray &name)
    {
        if (const int e = snd_mixer_attach(m, name.constData()); e < 0)
            return e;
        if (const int e = snd_mixer_selem_register(m, nullptr, nullptr); e < 0)
            return e;
        return snd_mixer_load(m);
    }

    snd_mixer_t *find(quint32 handle) const
    {
        const auto it = mixers_.find(handle);
        return it == mixers_.end() ? nullptr : it->second;
    }

    static snd_mixer_elem_t *element(snd_mixer_t *m, quint32 controlId)
    {
        if (controlId < 1 || controlId > std::size(kVolumeNames))
            return nullptr;
        snd_mixer_selem_id_t *sid = nullptr;
        if (snd_mixer_selem_id_malloc(&sid) < 0)
            return nullptr;
        snd_mixer_selem_id_set_index(sid, 0);
        snd_mixer_selem_id_set_name(sid, kVolumeNames[controlId - 1]);
        snd_mixer_elem_t *el = snd_mixer_find_selem(m, sid);
        snd_mixer_selem_id_free(sid);
        return el && snd_mixer_selem_has_playback_volume(el) ? el : nullptr;
    }

    std::map<quint32, snd_mixer_t *> mixers_;
    quint32 next_ = 0;
};

} // namespace

std::unique_ptr<MixerDriver> makeAlsaMixerDriver() { return std::make_unique<AlsaMixer>(); }

} // namespace vx
