#pragma once
// Sound of a disc played from a sector to the end of its music: the sectors
// are read on GStreamer's streaming thread and fed to the audio output the
// clips use. A sector that cannot be read ends the stream there.
#include "cddrive.h"

#include <memory>

namespace vx::cd {

// Sectors of sound to play, in order (data tracks left out).
struct Run {
    qint32 first = 0;
    qint32 end = 0;
};

class CdStream {
public:
    // Starts playing; nullptr and `error` set when the output cannot start.
    static std::unique_ptr<CdStream> start(std::shared_ptr<CdMedium> medium, std::vector<Run> runs, int &error);
    ~CdStream();
    CdStream(const CdStream &) = delete;
    CdStream &operator=(const CdStream &) = delete;

    int pause();
    int resume();
    // Everything played, or a sector could not be read.
    bool ended();
    // The sector now heard (after the end: where it ended).
    qint32 position();

    // Longest wait for a medium held by another call.
    static constexpr int kLockWaitMs = 3000;

private:
    CdStream();
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace vx::cd
