// From start to the first 24-megapixel picture painted: the first image
// viewer reached through the bar main window (first_picture_app) against feh
// opening the same file, started alternately as fresh processes on the same X
// display, each timed from its start to its drawing of the picture
// (app/bench/damagewatch.h).
//   first_picture_race FIRST_PICTURE_APP FOLDER [ROUNDS]
// FOLDER holds the picture(s); the first by name is the one shown.
#include "app/bench/damagewatch.h"

#include <dirent.h>
#include <sys/stat.h>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: first_picture_race FIRST_PICTURE_APP FOLDER [ROUNDS]\n");
        return 2;
    }
    const std::string folder = argv[2];
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 15;
    std::vector<std::string> names;
    if (DIR *d = ::opendir(folder.c_str())) {
        while (dirent *e = ::readdir(d)) {
            const std::string n = e->d_name;
            if (n.size() > 4 && n.substr(n.size() - 4) == ".jpg")
                names.push_back(n);
        }
        ::closedir(d);
    }
    if (names.empty()) {
        std::fprintf(stderr, "no .jpg in %s\n", folder.c_str());
        return 2;
    }
    std::sort(names.begin(), names.end());
    const std::string first = folder + "/" + names.front();
    damagewatch::Display display;
    std::string why;
    if (!display.open(why)) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return 2;
    }
    char templ[] = "/tmp/first_picture_race.XXXXXX";
    const char *base = ::mkdtemp(templ);
    if (!base)
        return 1;
    std::vector<double> ours, feh;
    std::printf("load before: %s\n", damagewatch::loadAverage().c_str());
    for (int i = 0; i < rounds; ++i) {
        const std::string config = std::string(base) + "/" + std::to_string(i);
        ::mkdir(config.c_str(), 0700);
        const damagewatch::Start vx{{argv[1], folder}, {{"XDG_CONFIG_HOME", config}}, true};
        const damagewatch::Start peer{{"feh", first}, {{"XDG_CONFIG_HOME", config}}, false};
        double a = 0, b = 0;
        if (i % 2 == 0) {
            a = display.timeFirstDrawing(vx);
            b = display.timeFirstDrawing(peer);
        } else {
            b = display.timeFirstDrawing(peer);
            a = display.timeFirstDrawing(vx);
        }
        if (a < 0 || b < 0) {
            std::fprintf(stderr, "round %d: no picture within 30 s\n", i + 1);
            return 1;
        }
        ours.push_back(a);
        feh.push_back(b);
        std::printf("round %2d: ours %.1f ms, feh %.1f ms\n", i + 1, a, b);
    }
    (void)std::system((std::string("rm -rf '") + base + "'").c_str());
    const double mo = damagewatch::median(ours), mf = damagewatch::median(feh);
    std::printf("start to first picture painted, median of %d: ours %.1f ms, feh %.1f ms, ratio %.2f "
                "(best %.1f / %.1f ms)\n",
                rounds, mo, mf, mf > 0 ? mo / mf : 0, damagewatch::best(ours), damagewatch::best(feh));
    std::printf("load after: %s\n", damagewatch::loadAverage().c_str());
    return 0;
}
