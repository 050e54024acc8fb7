#pragma once
// Files for the tag tests: MP3 audio of real MPEG-1 Layer III frames (valid
// headers, silent payload), raw tag bytes, and file helpers.
#include "id3.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace id3test {

// `count` frames of 128 kbit/s, 44.1 kHz, stereo: 417 bytes each.
inline QByteArray mpegFrames(int count)
{
    QByteArray frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    frame[3] = '\x44';
    QByteArray out;
    out.reserve(417 * count);
    for (int i = 0; i < count; ++i)
        out.append(frame);
    return out;
}

inline QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(static_cast<char>(b));
    return out;
}

inline QByteArray be32(quint32 v)
{
    return bytes({int(v >> 24 & 0xFF), int(v >> 16 & 0xFF), int(v >> 8 & 0xFF), int(v & 0xFF)});
}

inline QByteArray syncsafe(quint32 v)
{
    return bytes({int(v >> 21 & 0x7F), int(v >> 14 & 0x7F), int(v >> 7 & 0x7F), int(v & 0x7F)});
}

// An ID3v2 header for `body` (frames etc.), size taken from the body.
inline QByteArray tagV2(int major, int flags, const QByteArray &body)
{
    return QByteArray("ID3", 3) + bytes({major, 0, flags}) + syncsafe(quint32(body.size())) + body;
}

inline QByteArray frame23(const char *id, const QByteArray &payload, int flags2 = 0)
{
    return QByteArray(id, 4) + be32(quint32(payload.size())) + bytes({0, flags2}) + payload;
}

inline QByteArray frame22(const char *id, const QByteArray &payload)
{
    const auto n = quint32(payload.size());
    return QByteArray(id, 3) + bytes({int(n >> 16 & 0xFF), int(n >> 8 & 0xFF), int(n & 0xFF)}) + payload;
}

inline QByteArray latin(const char *text)
{
    return QByteArray(1, '\0') + QByteArray(text);
}

inline QByteArray v1Block(const QByteArray &title, const QByteArray &comment, int track, int genre,
                          const QByteArray &year = "2001")
{
    QByteArray b(128, '\0');
    b.replace(0, 3, "TAG");
    b.replace(3, title.size(), title);
    b.replace(93, year.size(), year);
    b.replace(97, comment.size(), comment);
    if (track >= 0)
        b[126] = static_cast<char>(track);
    b[127] = static_cast<char>(genre);
    return b;
}

// UTF-16 with a byte-order mark, little-endian units, no terminator.
inline QByteArray units(const QString &text)
{
    QByteArray out("\xFF\xFE", 2);
    for (QChar c : text)
        out.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
    return out;
}

// A text frame's payload in UTF-16 as our writer and common taggers put it.
inline QByteArray wide(const QString &text)
{
    return QByteArray(1, '\1') + units(text) + QByteArray(2, '\0');
}

// The unsynchronisation scheme applied to a tag's body.
inline QByteArray unsynced(const QByteArray &body)
{
    QByteArray out;
    for (qsizetype i = 0; i < body.size(); ++i) {
        out.append(body[i]);
        const auto next = i + 1 < body.size() ? static_cast<quint8>(body[i + 1]) : 0x00;
        if (body[i] == '\xFF' && (next == 0x00 || next >= 0xE0))
            out.append('\0');
    }
    return out;
}

// The frames of the ID3v2.2/2.3 tag a file starts with, each whole (header
// and body) with unsynchronisation undone; read here, not by the module.
inline QList<QByteArray> framesOf(const QByteArray &file)
{
    QList<QByteArray> out;
    if (!file.startsWith("ID3"))
        return out;
    const bool v23 = file[3] == 3;
    int size = 0;
    for (int i = 6; i < 10; ++i)
        size = size * 128 + (file[i] & 0x7F);
    QByteArray body = file.mid(10, size);
    if (file[5] & 0x80)
        body.replace(QByteArray("\xFF\0", 2), QByteArray("\xFF", 1));
    const int idSize = v23 ? 4 : 3;
    const int head = v23 ? 10 : 6;
    for (qsizetype pos = 0; pos + head <= body.size() && body[pos] != '\0';) {
        qsizetype n = 0;
        for (int i = idSize; i < 2 * idSize; ++i)
            n = n << 8 | static_cast<quint8>(body[pos + i]);
        out.append(body.mid(pos, head + n));
        pos += head + n;
    }
    return out;
}

// A tag as common taggers write one (Japanese text in UTF-16): a picture,
// lyrics, composer, disc, BPM, ReplayGain as a user text, a player's private
// frame (ID3v2.3 only) and two English comments, the one shown last. No year.
inline QList<QByteArray> richFrames(int major)
{
    const bool v23 = major == 3;
    const auto frame = [v23](const char *id23, const char *id22, const QByteArray &payload) {
        return v23 ? frame23(id23, payload) : frame22(id22, payload);
    };
    const QByteArray jpeg = bytes({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00, 0xFF, 0x00,
                                   0xFF, 0xFF, 0xE1, 0x12, 0xFF, 0xD9});
    QList<QByteArray> frames{
        frame("TIT2", "TT2", wide(QStringLiteral("夜の歌"))),
        frame("TPE1", "TP1", wide(QStringLiteral("山田太郎"))),
        frame("TALB", "TAL", wide(QStringLiteral("アルバム"))),
        frame("COMM", "COM", bytes({0}) + "eng" + QByteArray("iTunNORM\0 00000A2B 00000B3C", 27)),
        v23 ? frame23("APIC", bytes({0}) + QByteArray("image/jpeg\0\x03\0", 13) + jpeg)
            : frame22("PIC", bytes({0}) + QByteArray("JPG\x03\0", 5) + jpeg),
        frame("USLT", "ULT", bytes({1}) + "eng" + units(QString()) + QByteArray(2, '\0') + units(QStringLiteral("一行目\n二行目"))),
        frame("TCOM", "TCM", wide(QStringLiteral("作曲家"))),
        frame("TPOS", "TPA", latin("1/2")),
        frame("TBPM", "TBP", latin("120")),
        frame("TXXX", "TXX", bytes({1}) + units(QStringLiteral("REPLAYGAIN_TRACK_GAIN")) + QByteArray(2, '\0') +
                                 units(QStringLiteral("-6.50 dB"))),
        frame("COMM", "COM", bytes({1}) + "eng" + units(QString()) + QByteArray(2, '\0') + units(QStringLiteral("コメント"))),
    };
    if (v23)
        frames.insert(10, frame23("PRIV", QByteArray("WM/MediaClassPrimaryID\0", 23) +
                                              bytes({0xBC, 0x7D, 0x60, 0xD1, 0xFF, 0x00, 0xFF, 0xE3})));
    return frames;
}

class Files : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir_.filePath(name); }
    QString put(const QString &name, const QByteArray &data) const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(data);
        return path(name);
    }
    static QByteArray content(const QString &p)
    {
        QFile f(p);
        if (!f.open(QIODevice::ReadOnly))
            return QByteArray("<missing>");
        return f.readAll();
    }
    QStringList names() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }

private:
    QTemporaryDir dir_;
};

} // namespace id3test
