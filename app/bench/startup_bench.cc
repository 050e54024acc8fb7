// Start-up race: VX2002 and a bare Qt window started alternately, each a fresh
// process on the same X display, from the start of the process until the X
// server sees its first drawing (damagewatch.h).
//   startup_bench VX2002 BARE_WINDOW [ROUNDS]
//   startup_bench --count VX2002 BARE_WINDOW
// The second form counts the instructions each runs until its first drawing,
// under callgrind (figures in callgrind.VX2002 and callgrind.bare here).
// Every start gets an empty settings folder of its own, so the bar main
// window is what VX2002 shows.
#include "damagewatch.h"

#include <fstream>

namespace {

// The process-wide instruction total callgrind wrote, or -1.
long long countedInstructions(const std::string &file)
{
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("totals:", 0) == 0 || line.rfind("summary:", 0) == 0)
            return std::atoll(line.c_str() + line.find(':') + 1);
    return -1;
}

int count(const std::string &vx, const std::string &bare)
{
    damagewatch::Display display;
    std::string why;
    if (!display.open(why)) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return 2;
    }
    std::string templ = (std::filesystem::temp_directory_path() / "count.XXXXXX").string();
    if (!::mkdtemp(templ.data()))
        return 1;
    std::printf("load before: %s\n", damagewatch::loadAverage().c_str());
    int status = 0;
    for (const auto &[name, program] : {std::pair{std::string("VX2002"), vx}, {std::string("bare"), bare}}) {
        const std::string out = "callgrind." + name;
        damagewatch::Start s{{"valgrind", "--tool=callgrind", "--callgrind-out-file=" + out, program},
                             {{"XDG_CONFIG_HOME", templ}},
                             false,
                             SIGTERM,
                             300};
        const double ms = display.timeFirstDrawing(s);
        const long long n = countedInstructions(out);
        if (ms < 0 || n < 0) {
            std::fprintf(stderr, "%s: no drawing or no figures\n", name.c_str());
            status = 1;
            continue;
        }
        std::printf("%s: %.1f M instructions until its first drawing\n", name.c_str(), n / 1e6);
    }
    std::printf("load after: %s\n", damagewatch::loadAverage().c_str());
    std::error_code ignored;
    std::filesystem::remove_all(templ, ignored);
    return status;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 4 && std::string(argv[1]) == "--count")
        return count(argv[2], argv[3]);
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench VX2002 BARE_WINDOW [ROUNDS]\n"
                             "       startup_bench --count VX2002 BARE_WINDOW\n");
        return 2;
    }
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 15;
    const std::string vx = argv[1], bare = argv[2];
    auto plain = [](const std::string &program) {
        return [program](const std::string &config) {
            return damagewatch::Start{{program}, {{"XDG_CONFIG_HOME", config}}, false};
        };
    };
    return damagewatch::race({"VX2002", plain(vx)}, {"bare Qt window", plain(bare)}, rounds,
                             "start to first drawing");
}
