#include "lazylibs.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include <dlfcn.h>

namespace {

struct Library {
    const char *soname;
    void *handle = nullptr;
    bool tried = false;
};

// In the order of LazyLibrary; the sonames come from the build.
Library libraries[] = {{VX_LAZY_GSTREAMER}, {VX_LAZY_ALSA}, {VX_LAZY_CDIO}, {VX_LAZY_PRINTSUPPORT}, {VX_LAZY_JPEG},
                       {VX_LAZY_SVG}};

std::recursive_mutex &bindLock()
{
    // Recursive: the libraries' constructors may call back into bound names.
    static std::recursive_mutex m;
    return m;
}

void *open(Library &lib)
{
    if (!lib.tried) {
        lib.tried = true;
        lib.handle = ::dlopen(lib.soname, RTLD_NOW | RTLD_LOCAL);
        if (!lib.handle) {
            std::fprintf(stderr, "%s\n", ::dlerror());
            ::dlerror(); // frees the message
        }
    }
    return lib.handle;
}

} // namespace

// A jump slot's description, laid out by lazylibs.S.
struct LazyEntry {
    void **slot;
    const char *name;
    long library;
};

extern "C" {
// What a name of a missing library answers: ALSA's calls report "no device";
// the others' 0 means failure (FALSE, no object).
long vx_lazy_missing_zero();
long vx_lazy_missing_alsa();

// Called from the slot's first jump with the arguments saved: binds the slot
// to the real function and returns it.
__attribute__((visibility("hidden"))) void *vx_lazy_bind_slot(const LazyEntry *e) noexcept
{
    std::lock_guard<std::recursive_mutex> lock(bindLock());
    Library &lib = libraries[e->library];
    void *fn = nullptr;
    if (void *h = open(lib))
        fn = ::dlsym(h, e->name);
    if (!fn) {
        if (lib.handle)
            std::fprintf(stderr, "%s: no %s\n", lib.soname, e->name);
        switch (vx::LazyLibrary(e->library)) {
        case vx::LazyLibrary::Alsa: fn = reinterpret_cast<void *>(&vx_lazy_missing_alsa); break;
        case vx::LazyLibrary::PrintSupport:
        case vx::LazyLibrary::Jpeg:
        case vx::LazyLibrary::Svg:
            // An object half made by a call that did nothing would crash later.
            std::abort();
        default: fn = reinterpret_cast<void *>(&vx_lazy_missing_zero); break;
        }
    }
    __atomic_store_n(e->slot, fn, __ATOMIC_RELEASE);
    return fn;
}
}

namespace vx {

bool loadLazyLibrary(LazyLibrary lib)
{
    std::lock_guard<std::recursive_mutex> lock(bindLock());
    return open(libraries[int(lib)]) != nullptr;
}

void setLazyLibraryFile(LazyLibrary lib, const char *soname)
{
    std::lock_guard<std::recursive_mutex> lock(bindLock());
    libraries[int(lib)].soname = soname;
}

bool lazyLibraryLoaded(LazyLibrary lib)
{
    std::lock_guard<std::recursive_mutex> lock(bindLock());
    return libraries[int(lib)].handle != nullptr;
}

} // namespace vx
