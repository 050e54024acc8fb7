// Start-up race: VX2002 and a bare Qt window started alternately, each a fresh
// process on the same X display, from the start of the process until the X
// server sees its first drawing (damagewatch.h).
//   startup_bench VX2002 BARE_WINDOW [ROUNDS]
// Every VX2002 start gets an empty settings folder of its own, so the bar main
// window is what it shows.
#include "damagewatch.h"

#include <sys/stat.h>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench VX2002 BARE_WINDOW [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 15;
    damagewatch::Display display;
    std::string why;
    if (!display.open(why)) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return 2;
    }
    char templ[] = "/tmp/startup_bench.XXXXXX";
    const char *base = ::mkdtemp(templ);
    if (!base) {
        std::perror("mkdtemp");
        return 1;
    }
    std::vector<double> ours, bare;
    std::printf("load before: %s\n", damagewatch::loadAverage().c_str());
    for (int i = 0; i < rounds; ++i) {
        const std::string config = std::string(base) + "/" + std::to_string(i);
        ::mkdir(config.c_str(), 0700);
        const damagewatch::Start vx{{argv[1]}, {{"XDG_CONFIG_HOME", config}}, false};
        const damagewatch::Start qt{{argv[2]}, {{"XDG_CONFIG_HOME", config}}, false};
        // Alternate which goes first.
        double a = 0, b = 0;
        if (i % 2 == 0) {
            a = display.timeFirstDrawing(vx);
            b = display.timeFirstDrawing(qt);
        } else {
            b = display.timeFirstDrawing(qt);
            a = display.timeFirstDrawing(vx);
        }
        if (a < 0 || b < 0) {
            std::fprintf(stderr, "round %d: a program drew nothing within 30 s\n", i + 1);
            return 1;
        }
        ours.push_back(a);
        bare.push_back(b);
        std::printf("round %2d: VX2002 %.1f ms, bare Qt window %.1f ms\n", i + 1, a, b);
    }
    (void)std::system((std::string("rm -rf '") + base + "'").c_str());
    const double mo = damagewatch::median(ours), mb = damagewatch::median(bare);
    std::printf("start to first drawing, median of %d: VX2002 %.1f ms, bare Qt window %.1f ms, ratio %.2f "
                "(best %.1f / %.1f ms)\n",
                rounds, mo, mb, mb > 0 ? mo / mb : 0, damagewatch::best(ours), damagewatch::best(bare));
    std::printf("load after: %s\n", damagewatch::loadAverage().c_str());
    return 0;
}
