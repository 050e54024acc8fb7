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
// Starts GStreamer and loads what a disc's stream uses (source, converters,
// the audio output) on a thread of its own, once: the first play then costs
// what later plays cost, and whoever opens a device does not wait for it.
void prepareAudioOutput();
// True once that preparation is done.
bool audioOutputPrepared();

} // namespace vx::media
