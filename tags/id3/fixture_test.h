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
