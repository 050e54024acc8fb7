#include <alsa/asoundlib.h>

#include "midiports.h"

namespace vx {

namespace {

void quietAlsa(const char *, int, const char *, int, const char *, ...) {}

class AlsaMidiPortList : public MidiPortList {
public:
    explicit AlsaMidiPortList(QString sequencer) : sequencer_(std::move(sequencer)) {}

    QStringList outputPorts() override
    {
        QStringList names;
        snd_lib_error_set_handler(quietAlsa);
        snd_seq_t *seq = nullptr;
        if (snd_seq_open(&seq, sequencer_.toLocal8Bit().constData(), SND_SEQ_OPEN_OUTPUT, 0) < 0)
            return names;
        snd_seq_client_info_t *client;
        snd_seq_port_info_t *port;
        snd_seq_client_info_alloca(&client);
        snd_seq_port_info_alloca(&port);
        const unsigned wanted = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
        snd_seq_client_info_set_client(client, -1);
        // Clients and their ports come in ascending number.
        while (snd_seq_query_next_client(seq, client) >= 0) {
            const int id = snd_seq_client_info_get_client(client);
            if (id == SND_SEQ_CLIENT_SYSTEM)
                continue;
            snd_seq_port_info_set_client(port, id);
            snd_seq_port_info_set_port(port, -1);
            while (snd_seq_query_next_port(seq, port) >= 0) {
                if ((snd_seq_port_info_get_capability(port) & wanted) != wanted)
                    continue;
                if (snd_seq_port_info_get_capability(port) & SND_SEQ_PORT_CAP_NO_EXPORT)
                    continue;
                names << QString::fromUtf8(snd_seq_port_info_get_name(port));
            }
        }
        snd_seq_close(seq);
        return names;
    }

private:
    QString sequencer_;
};

std::unique_ptr<MidiPortList> &current()
{
    static std::unique_ptr<MidiPortList> list;
    return list;
}

int &chosenPort()
{
    static int port = -1;
    return port;
}

} // namespace

std::unique_ptr<MidiPortList> makeAlsaMidiPortList(const QString &sequencer)
{
    return std::make_unique<AlsaMidiPortList>(sequencer);
}

std::unique_ptr<MidiPortList> makeAlsaMidiPortList()
{
    return makeAlsaMidiPortList(QStringLiteral("default"));
}

MidiPortList &midiPortList()
{
    auto &l = current();
    if (!l)
        l = makeAlsaMidiPortList();
    return *l;
}

void setMidiPortList(std::unique_ptr<MidiPortList> list)
{
    current() = std::move(list);
}

int midiOutGetNumDevs()
{
    return int(midiPortList().outputPorts().size());
}

QString midiOutGetDevName(int id)
{
    const QStringList ports = midiPortList().outputPorts();
    if (id < 0 || id >= ports.size())
        return QString();
    // The classic capability record holds 31 characters and a NUL.
    return ports[id].left(31);
}

int midiOutputPort() { return chosenPort(); }
void setMidiOutputPort(int id) { chosenPort() = id; }

} // namespace vx
