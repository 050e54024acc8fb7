#pragma once
// Start-up races measured from outside the programs: the time from starting a
// process until the X server sees it draw into one of its mapped windows (the
// DAMAGE extension reports every drawing; nothing polls pixels and nothing in
// the programs is changed). Header-only; links xcb and xcb-damage.
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace damagewatch {

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

inline double best(const std::vector<double> &v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }

// The load average as /proc/loadavg gives it.
inline std::string loadAverage()
{
    std::string out;
    if (FILE *f = std::fopen("/proc/loadavg", "r")) {
        char buf[128] = {};
        if (std::fgets(buf, sizeof buf, f))
            out = buf;
        std::fclose(f);
    }
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

struct Start {
    std::vector<std::string> argv;
    std::vector<std::pair<std::string, std::string>> env;
    // The program writes a byte to descriptor 3 when what comes next is what
    // counts; drawings before it are not counted.
    bool armedByProgram = false;
    // How the program is stopped once it drew: SIGTERM lets a tool it runs
    // under (callgrind) write its figures. Programs under such a tool are slow.
    int stopSignal = SIGKILL;
    int deadlineSeconds = 30;
};

class Display {
public:
    ~Display()
    {
        if (c_)
            xcb_disconnect(c_);
    }

    // False (and why) without a display or its DAMAGE extension.
    bool open(std::string &why)
    {
        int screen = 0;
        c_ = xcb_connect(nullptr, &screen);
        if (xcb_connection_has_error(c_)) {
            why = "no X display";
            return false;
        }
        const xcb_query_extension_reply_t *ext = xcb_get_extension_data(c_, &xcb_damage_id);
        if (!ext || !ext->present) {
            why = "the X server has no DAMAGE extension";
            return false;
        }
        damageEvent_ = ext->first_event;
        std::free(xcb_damage_query_version_reply(c_, xcb_damage_query_version(c_, 1, 1), nullptr));
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c_));
        for (int i = 0; i < screen; ++i)
            xcb_screen_next(&it);
        root_ = it.data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(c_);
        return true;
    }

    // Milliseconds from the fork to the program's first counted drawing in a
    // mapped window of its own; -1 when none came within the deadline. The
    // program is then stopped.
    double timeFirstDrawing(const Start &s)
    {
        int pipeFds[2] = {-1, -1};
        if (s.armedByProgram && ::pipe(pipeFds) != 0)
            return -1;
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (const auto &[k, v] : s.env)
                ::setenv(k.c_str(), v.c_str(), 1);
            if (s.armedByProgram) {
                ::dup2(pipeFds[1], 3);
                ::close(pipeFds[0]);
            }
            std::vector<char *> args;
            for (const std::string &a : s.argv)
                args.push_back(const_cast<char *>(a.c_str()));
            args.push_back(nullptr);
            ::execvp(args[0], args.data());
            std::_Exit(127);
        }
        if (s.armedByProgram)
            ::close(pipeFds[1]);
        bool armed = !s.armedByProgram;
        std::set<xcb_window_t> mapped;
        double result = -1;
        const auto deadline = start + std::chrono::seconds(s.deadlineSeconds);
        while (result < 0 && std::chrono::steady_clock::now() < deadline) {
            while (xcb_generic_event_t *e = xcb_poll_for_event(c_)) {
                const uint8_t type = e->response_type & 0x7f;
                if (type == XCB_CREATE_NOTIFY) {
                    const auto *ce = reinterpret_cast<xcb_create_notify_event_t *>(e);
                    // Watched from its creation: its first drawing comes later.
                    if (ce->parent == root_)
                        xcb_damage_create(c_, xcb_generate_id(c_), ce->window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
                } else if (type == XCB_MAP_NOTIFY) {
                    mapped.insert(reinterpret_cast<xcb_map_notify_event_t *>(e)->window);
                } else if (type == damageEvent_ + XCB_DAMAGE_NOTIFY && armed && result < 0) {
                    if (mapped.count(reinterpret_cast<xcb_damage_notify_event_t *>(e)->drawable))
                        result = ms(start);
                }
                std::free(e);
            }
            xcb_flush(c_);
            if (result >= 0 || xcb_connection_has_error(c_))
                break;
            pollfd fds[2] = {{xcb_get_file_descriptor(c_), POLLIN, 0}, {pipeFds[0], POLLIN, 0}};
            ::poll(fds, armed ? 1 : 2, 5);
            if (!armed && (fds[1].revents & (POLLIN | POLLHUP))) {
                char byte;
                if (::read(pipeFds[0], &byte, 1) == 1) {
                    // Everything drawn before the byte was written reaches us
                    // before this round trip's answer: drop it.
                    std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
                    while (xcb_generic_event_t *e = xcb_poll_for_event(c_)) {
                        const uint8_t type = e->response_type & 0x7f;
                        if (type == XCB_MAP_NOTIFY)
                            mapped.insert(reinterpret_cast<xcb_map_notify_event_t *>(e)->window);
                        std::free(e);
                    }
                    armed = true;
                } else {
                    break; // the program ended without arming
                }
            }
        }
        ::kill(pid, s.stopSignal);
        ::waitpid(pid, nullptr, 0);
        if (s.armedByProgram)
            ::close(pipeFds[0]);
        // The server forgets the windows before the next start.
        std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
        while (xcb_generic_event_t *e = xcb_poll_for_event(c_))
            std::free(e);
        return result;
    }

private:
    static double ms(std::chrono::steady_clock::time_point since)
    {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
    }

    xcb_connection_t *c_ = nullptr;
    xcb_window_t root_ = 0;
    uint8_t damageEvent_ = 0;
};

// One side of a race: its name in the figures, and its start given the empty
// settings folder the round hands it.
struct Racer {
    std::string name;
    std::function<Start(const std::string &config)> start;
};

// Starts ours and the peer alternately (which goes first alternates too),
// `rounds` times, each start a fresh process with a fresh settings folder,
// and prints every round, both medians, their ratio and the load around the
// run. Returns the program's exit status: 2 without a usable display, 1 when
// a start drew nothing within 30 s.
inline int race(const Racer &ours, const Racer &peer, int rounds, const std::string &what)
{
    Display display;
    std::string why;
    if (!display.open(why)) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return 2;
    }
    std::string templ = (std::filesystem::temp_directory_path() / "race.XXXXXX").string();
    if (!::mkdtemp(templ.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string base = templ;
    std::vector<double> a, b;
    int status = 0;
    std::printf("load before: %s\n", loadAverage().c_str());
    for (int i = 0; i < rounds && status == 0; ++i) {
        const std::string config = base + "/" + std::to_string(i);
        ::mkdir(config.c_str(), 0700);
        const Start so = ours.start(config), sp = peer.start(config);
        double x = 0, y = 0;
        if (i % 2 == 0) {
            x = display.timeFirstDrawing(so);
            y = display.timeFirstDrawing(sp);
        } else {
            y = display.timeFirstDrawing(sp);
            x = display.timeFirstDrawing(so);
        }
        if (x < 0 || y < 0) {
            std::fprintf(stderr, "round %d: %s drew nothing within 30 s\n", i + 1,
                         (x < 0 ? ours : peer).name.c_str());
            status = 1;
            break;
        }
        a.push_back(x);
        b.push_back(y);
        std::printf("round %2d: %s %.1f ms, %s %.1f ms\n", i + 1, ours.name.c_str(), x, peer.name.c_str(), y);
    }
    std::error_code ignored;
    std::filesystem::remove_all(base, ignored);
    if (status != 0)
        return status;
    const double ma = median(a), mb = median(b);
    std::printf("%s, median of %d: %s %.1f ms, %s %.1f ms, ratio %.2f (best %.1f / %.1f ms)\n", what.c_str(),
                rounds, ours.name.c_str(), ma, peer.name.c_str(), mb, mb > 0 ? ma / mb : 0, best(a), best(b));
    std::printf("load after: %s\n", loadAverage().c_str());
    return 0;
}

} // namespace damagewatch
