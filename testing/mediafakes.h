#pragma once
// Fakes of the media layer for the players' tests: a command interpreter that
// records every command and answers scripted replies, and a mixer with one
// volume control.
#include "platform/media/mci.h"
#include "platform/media/mixer.h"

#include <QStringList>

#include <map>
#include <vector>

class RecordingMedia : public vx::MediaCommandDriver {
public:
    QStringList commands;
    // Replies by command, words in lower case ("status media mode").
    std::map<QString, QString> replies;
    int send(const QString &command, QString &reply) override
    {
        commands << command;
        const auto it = replies.find(command.trimmed().toLower());
        reply = it == replies.end() ? QString() : it->second;
        return 0;
    }
    void playing(const char *position, const char *length)
    {
        replies[QStringLiteral("status media mode")] = QStringLiteral("playing");
        replies[QStringLiteral("status media position")] = QString::fromUtf8(position);
        replies[QStringLiteral("status media length")] = QString::fromUtf8(length);
    }
    void ended() { replies[QStringLiteral("status media mode")] = QStringLiteral("stopped"); }
    QStringList take()
    {
        QStringList c = commands;
        commands.clear();
        return c;
    }
};

class FakeMixer : public vx::MixerDriver {
public:
    int openResult = 0;
    bool hasVolume = true;
    qint32 minimum = 0;
    qint32 maximum = 65535;
    quint32 value = 32769;
    std::vector<quint32> writes;
    int openHandles = 0;
    int opens = 0;

    int open(int deviceId, quint32 &handle) override
    {
        if (openResult != 0 || deviceId != 0)
            return openResult ? openResult : vx::mixer::BadDeviceId;
        handle = quint32(++opens);
        ++openHandles;
        return 0;
    }
    int close(quint32 handle) override
    {
        if (handle == 0 || int(handle) > opens)
            return vx::mixer::InvalidHandle;
        --openHandles;
        return 0;
    }
    int lineInfo(quint32 handle, quint32 type, quint32 &line) override
    {
        if (handle == 0)
            return vx::mixer::InvalidHandle;
        if (type != vx::mixer::ComponentSpeakers)
            return vx::mixer::InvalidLine;
        line = 7;
        return 0;
    }
    int lineControl(quint32 handle, quint32 line, quint32 type, vx::MixerControl &c) override
    {
        if (handle == 0)
            return vx::mixer::InvalidHandle;
        if (!hasVolume || line != 7 || type != vx::mixer::ControlVolume)
            return vx::mixer::InvalidControl;
        c = {42, type, minimum, maximum, QStringLiteral("Master")};
        return 0;
    }
    int getValue(quint32 handle, quint32 id, quint32 &v) override
    {
        if (handle == 0 || id != 42)
            return vx::mixer::InvalidHandle;
        v = value;
        return 0;
    }
    // Every write is recorded, refused or not.
    int setValue(quint32 handle, quint32 id, quint32 v) override
    {
        writes.push_back(v);
        if (handle == 0 || id != 42)
            return vx::mixer::InvalidHandle;
        value = v;
        return 0;
    }
};
