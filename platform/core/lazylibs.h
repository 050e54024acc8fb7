#pragma once
// Libraries no window needs at start are loaded when the program first calls
// into them: GStreamer, ALSA and libcdio (most sessions never play anything),
// Qt's printing, libjpeg and Qt's SVG drawing (the first window draws none). The loader would otherwise map and bind a dozen
// libraries before the first window shows. Every call into them goes through
// a jump slot (lazylibs.S) bound on its first use. POSIX only, no Qt.

namespace vx {

enum class LazyLibrary { GStreamer = 0, Alsa = 1, Cdio = 2, PrintSupport = 3, Jpeg = 4, Svg = 5 };

// Loads the library now if it is not loaded yet; false when it is missing.
// The calls of a missing GStreamer, ALSA or libcdio then return 0 (ALSA:
// -ENODEV) and do nothing, so the step that needed it fails as it would
// without a device. Qt's printing, libjpeg and Qt's SVG come with Qt itself: without
// them the program stops with the loader's message.
bool loadLazyLibrary(LazyLibrary lib);

// Whether the library has been loaded into this process (for tests).
bool lazyLibraryLoaded(LazyLibrary lib);

// For tests: the file loaded for the library, before its first call.
void setLazyLibraryFile(LazyLibrary lib, const char *soname);

} // namespace vx
