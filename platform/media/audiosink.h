#pragma once
// What every stream of the media layer shares: GStreamer started once, and the
// audio output chosen the same way for clips and for discs.
typedef struct _GstElement GstElement;

namespace vx::media {

// GStreamer initialised (once); false when it cannot start.
bool gstreamerReady();
// The sound server, else the ALSA device, else a null sink that keeps time.
// A new floating-free reference the caller owns; nullptr when none exists.
GstElement *makeAudioSink();

} // namespace vx::media
