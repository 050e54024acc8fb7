#pragma once
// Media files made by the tests: WAV and MIDI written byte by byte, OGG, MP3
// and a short video encoded with GStreamer.
#include <gst/gst.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <cmath>

namespace mediatest {

inline void put16(QByteArray &b, quint16 v)
{
    char c[2];
    qToLittleEndian(v, c);
    b.append(c, 2);
}
inline void put32(QByteArray &b, quint32 v)
{
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// 16-bit mono PCM, a quiet 440 Hz tone.
inline bool writeWav(const QString &path, int ms, int rate = 8000)
{
    const int samples = rate * ms / 1000;
    QByteArray data;
    for (int i = 0; i < samples; ++i)
        put16(data, quint16(qint16(3000 * std::sin(2 * M_PI * 440 * i / rate))));
    QByteArray b("RIFF");
    put32(b, 36 + data.size());
    b += "WAVEfmt ";
    put32(b, 16);
    put16(b, 1);
    put16(b, 1);
    put32(b, rate);
    put32(b, rate * 2);
    put16(b, 2);
    put16(b, 16);
    b += "data";
    put32(b, data.size());
    b += data;
    return writeFile(path, b);
}

// Format 0, 480 ticks a quarter at 120 per minute: one note of `ms`.
inline bool writeMidi(const QString &path, int ms)
{
    const int ticks = ms * 480 / 500;
    QByteArray track;
    auto varLen = [&track](quint32 v) {
        QByteArray out;
        out.prepend(char(v & 0x7F));
        while (v >>= 7)
            out.prepend(char(0x80 | (v & 0x7F)));
        track += out;
    };
    varLen(0);
    track += QByteArray("\xC0\x00", 2); // piano
    varLen(0);
    track += QByteArray("\x90\x3C\x64", 3);
    varLen(quint32(ticks));
    track += QByteArray("\x80\x3C\x40", 3);
    varLen(0);
    track += QByteArray("\xFF\x2F\x00", 3);
    QByteArray b("MThd");
    b += QByteArray("\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0", 10);
    b += "MTrk";
    const quint32 n = quint32(track.size());
    b += char(n >> 24);
    b += char(n >> 16);
    b += char(n >> 8);
    b += char(n);
    b += track;
    return writeFile(path, b);
}

// Runs a GStreamer pipeline description with `location` filled in, to its end.
inline bool encode(const QString &description, const QString &path)
{
    gst_init(nullptr, nullptr);
    GError *error = nullptr;
    const QByteArray text = description.arg(path).toUtf8();
    GstElement *pipeline = gst_parse_launch(text.constData(), &error);
    if (error) {
        g_error_free(error);
        if (pipeline)
            gst_object_unref(pipeline);
        return false;
    }
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus *bus = gst_element_get_bus(pipeline);
    GstMessage *msg = gst_bus_timed_pop_filtered(bus, 20 * GST_SECOND,
                                                 GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool ok = msg && GST_MESSAGE_TYPE(msg) == GST_MESSAGE_EOS;
    if (msg)
        gst_message_unref(msg);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return ok;
}

// 44.1 kHz tone of `ms` (whole buffers of 441 samples = 10 ms).
inline QString toneSource(int ms)
{
    return QStringLiteral("audiotestsrc num-buffers=%1 samplesperbuffer=441 volume=0.2 ! "
                          "audio/x-raw,rate=44100,channels=1 ! audioconvert ! ")
        .arg(ms / 10);
}

inline bool writeOgg(const QString &path, int ms)
{
    return encode(toneSource(ms) + QStringLiteral("vorbisenc ! oggmux ! filesink location=\"%1\""), path);
}

inline bool writeMp3(const QString &path, int ms)
{
    return encode(toneSource(ms) + QStringLiteral("lamemp3enc target=bitrate cbr=true bitrate=64 ! id3v2mux ! filesink location=\"%1\""), path);
}

// Motion JPEG in AVI, 160x120, 10 pictures a second.
inline bool writeAvi(const QString &path, int pictures)
{
    return encode(QStringLiteral("videotestsrc num-buffers=%1 ! video/x-raw,width=160,height=120,framerate=10/1 ! "
                                 "jpegenc ! avimux ! filesink location=\"%2\"")
                      .arg(pictures)
                      .arg(QStringLiteral("%1")),
                  path);
}

// MPEG-1 video without a container: a sequence header (160 x 120, 25 a
// second), a group, one picture with a slice of filler, then `kilobytes` of
// zeros. The parser looks for the picture's end through all of them, longer
// the more there are (seconds for a few megabytes): only waiting tells that
// the clip is one picture of 40 ms.
inline bool writeSlowClip(const QString &path, int kilobytes)
{
    const QByteArray head = QByteArray::fromHex("000001b30a007813ffffe080"
                                                "000001b800080040"
                                                "00000100000ffff800"
                                                "000001010a00");
    return writeFile(path, head + QByteArray(300, '\x55') + QByteArray(kilobytes << 10, '\0'));
}

} // namespace mediatest
