#pragma once
// GStreamer, ALSA and libcdio are loaded when the program first calls into
// them, not at start: most sessions never play anything, and the loader would
// otherwise map a dozen libraries before the first window shows. Every call
// into them goes through a jump slot (lazylibs.S) bound on its first use.

namespace vx::media {

enum class LazyLibrary { GStreamer = 0, Alsa = 1, Cdio = 2 };

// Loads the library now if it is not loaded yet; false when it is missing.
// Its calls then return 0 (ALSA: -ENODEV) and do nothing, so the step that
// needed it fails as it would without a device.
bool loadLazyLibrary(LazyLibrary lib);

// Whether the library has been loaded into this process (for tests).
bool lazyLibraryLoaded(LazyLibrary lib);

} // namespace vx::media
