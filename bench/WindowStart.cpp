// SPDX-License-Identifier: GPL-3.0-or-later
// How long two programs take from their start to a window mapped and painted on
// the X server, measured from outside as an onlooker sees it: the program is
// started, and the time taken when a top-level window it created is mapped and its
// first drawing reaches the server (the DAMAGE extension reports it). The two are
// run in turn, ROUNDS times each after one round not counted.
// Usage: window_start_bench ROUNDS PROGRAM_A [ARGS] -- PROGRAM_B [ARGS]
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>
#include <xcb/damage.h>
#include <xcb/xcb.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Connection {
    xcb_connection_t* connection;
    xcb_window_t root;
    std::uint8_t damageEvent;
};

Connection connect() {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "window_start_bench: no X server\n");
        std::exit(1);
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i) {
        xcb_screen_next(&screens);
    }
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection, &xcb_damage_id);
    if (damage == nullptr || damage->present == 0) {
        std::fprintf(stderr, "window_start_bench: the X server has no DAMAGE extension\n");
        std::exit(1);
    }
    std::free(xcb_damage_query_version_reply(connection, xcb_damage_query_version(connection, 1, 1),
                                             nullptr));
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screens.data->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    return {connection, screens.data->root,
            static_cast<std::uint8_t>(damage->first_event + XCB_DAMAGE_NOTIFY)};
}

// Events left from the program before, whose windows are gone.
void drain(const Connection& x) {
    std::free(xcb_get_input_focus_reply(x.connection, xcb_get_input_focus(x.connection), nullptr));
    while (xcb_generic_event_t* event = xcb_poll_for_event(x.connection)) {
        std::free(event);
    }
}

// Milliseconds from the start of `argv` to its first painted top-level window.
double timeToPaintedWindow(const Connection& x, std::vector<char*>& argv) {
    drain(x);
    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    // What the programs print is theirs; only the times are the bench's.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawnp(&child, argv[0], &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) {
        std::fprintf(stderr, "window_start_bench: %s cannot be started\n", argv[0]);
        std::exit(1);
    }
    std::set<xcb_window_t> mapped;
    double painted = -1;
    while (painted < 0) {
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(
            xcb_wait_for_event(x.connection), &std::free);
        if (!event) {
            std::fprintf(stderr, "window_start_bench: the X server went away\n");
            std::exit(1);
        }
        const std::uint8_t type = event->response_type & 0x7F;
        if (type == XCB_CREATE_NOTIFY) {
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event.get());
            if (created->override_redirect == 0) {
                // Watched from its creation, so that no drawing is missed.
                xcb_damage_create(x.connection, xcb_generate_id(x.connection), created->window,
                                  XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(x.connection);
            }
        } else if (type == XCB_MAP_NOTIFY) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event.get());
            if (map->override_redirect == 0) {
                mapped.insert(map->window);
            }
        } else if (type == x.damageEvent) {
            const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event.get());
            if (mapped.count(damage->drawable) != 0) {
                painted = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            }
        }
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    // The server has yet to take the killed program's windows down.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return painted;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The program and its arguments, as the report names it.
std::string commandLine(const std::vector<char*>& argv) {
    std::string line;
    for (const char* word : argv) {
        if (word != nullptr) {
            line += line.empty() ? word : std::string(" ") + word;
        }
    }
    return line;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 5) {
        std::fprintf(stderr,
                     "Usage: window_start_bench ROUNDS PROGRAM_A [ARGS] -- PROGRAM_B [ARGS]\n");
        return 2;
    }
    const int rounds = std::atoi(argv[1]);
    std::vector<char*> a;
    std::vector<char*> b;
    bool second = false;
    for (int i = 2; i < argc; ++i) {
        if (!second && std::strcmp(argv[i], "--") == 0) {
            second = true;
        } else {
            (second ? b : a).push_back(argv[i]);
        }
    }
    if (rounds < 1 || a.empty() || b.empty()) {
        std::fprintf(stderr,
                     "Usage: window_start_bench ROUNDS PROGRAM_A [ARGS] -- PROGRAM_B [ARGS]\n");
        return 2;
    }
    a.push_back(nullptr);
    b.push_back(nullptr);
    const Connection x = connect();
    std::vector<double> timesA;
    std::vector<double> timesB;
    std::vector<double> ratios;
    for (int round = 0; round <= rounds; ++round) {
        const double timeA = timeToPaintedWindow(x, a);
        const double timeB = timeToPaintedWindow(x, b);
        if (round > 0) {
            timesA.push_back(timeA);
            timesB.push_back(timeB);
            ratios.push_back(timeA / timeB);
        }
    }
    std::printf("%-40s median %7.1f ms to a painted window\n", commandLine(a).c_str(),
                median(timesA));
    std::printf("%-40s median %7.1f ms to a painted window\n", commandLine(b).c_str(),
                median(timesB));
    std::printf("ratio, pair by pair: median %.2f x (min %.2f, max %.2f)\n", median(ratios),
                *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()));
    xcb_disconnect(x.connection);
    return 0;
}
