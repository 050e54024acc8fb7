// arccall LIBRARY ENTRY "COMMAND LINE": one call of a library's command entry;
// its result is the exit status.
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: arccall LIBRARY ENTRY LINE\n");
        return 2;
    }
    void *lib = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    auto fn = reinterpret_cast<int32_t (*)(uint32_t, const char *, char *, uint32_t)>(dlsym(lib, argv[2]));
    if (!fn)
        return 2;
    const int32_t r = fn(0, argv[3], nullptr, 0);
    dlclose(lib);
    return r == 0 ? 0 : 1;
}
