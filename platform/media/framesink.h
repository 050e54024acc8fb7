#pragma once
// The video end of a clip's pipeline: each picture, as 32-bit RGB, goes to a
// video window.
typedef struct _GstElement GstElement;

namespace vx::media {

class VideoWindow;

// A sink that hands `window` every picture (nullptr when the engine has none);
// `window` must outlive the pipeline's streaming threads.
GstElement *makeFrameSink(VideoWindow *window);

} // namespace vx::media
