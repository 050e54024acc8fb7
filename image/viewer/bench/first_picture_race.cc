// From start to the first 24-megapixel picture painted: the first image
// viewer reached through the bar main window (first_picture_app) against feh
// opening the same file, started alternately as fresh processes on the same X
// display, each timed from its start to its drawing of the picture
// (app/bench/damagewatch.h).
//   first_picture_race FIRST_PICTURE_APP FOLDER [ROUNDS]
// FOLDER holds the picture(s); the first by name is the one shown.
#include "app/bench/damagewatch.h"

#include <dirent.h>

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
    const std::string app = argv[1];
    return damagewatch::race(
        {"ours",
         [&](const std::string &config) {
             return damagewatch::Start{{app, folder}, {{"XDG_CONFIG_HOME", config}}, true};
         }},
        {"feh",
         [&](const std::string &config) {
             return damagewatch::Start{{"feh", first}, {{"XDG_CONFIG_HOME", config}}, false};
         }},
        rounds, "start to first picture painted");
}
