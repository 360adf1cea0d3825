// Starts a program under the X server named by DISPLAY and reports how long it
// took from exec to its first top-level window being mapped, and its resident
// memory a moment later. Used by the smoke test and the start-up benchmark.
//
// usage: map_timer [--settle MS] [--after SHELL-COMMAND] -- PROGRAM [ARGS...]
// prints "map_ms <milliseconds>" and "rss_kib <KiB>", runs the command (say,
// a screenshot), then ends the program. Exit status 1 when no window maps
// within 20 s or the program dies first; 2 for bad arguments.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;

long residentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

int usage() {
    std::fprintf(stderr,
                 "usage: map_timer [--settle MS] [--after SHELL-COMMAND] -- PROGRAM [ARGS...]\n");
    return 2;
}

// Waits for the first MapNotify of a top-level, non-override-redirect window.
bool waitForMap(xcb_connection_t* connection, pid_t child, Clock::time_point deadline) {
    const int fd = xcb_get_file_descriptor(connection);
    while (Clock::now() < deadline) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool mapped =
                (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
            std::free(event);
            if (mapped) return true;
        }
        if (xcb_connection_has_error(connection)) return false;
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) return false;
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 50);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    int settleMs = 1000;
    const char* after = nullptr;
    int i = 1;
    for (; i < argc; ++i) {
        if (std::strcmp(argv[i], "--settle") == 0 && i + 1 < argc) {
            settleMs = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--after") == 0 && i + 1 < argc) {
            after = argv[++i];
        } else if (std::strcmp(argv[i], "--") == 0) {
            ++i;
            break;
        } else {
            return usage();
        }
    }
    if (i >= argc) return usage();

    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "map_timer: cannot connect to the X server (DISPLAY)\n");
        return 1;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int s = 0; s < screenNumber; ++s) xcb_screen_next(&it);
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, it.data->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[i], argv + i);
        std::perror("map_timer: exec");
        _exit(127);
    }
    const bool mapped = waitForMap(connection, child, start + std::chrono::seconds(20));
    const Clock::time_point mappedAt = Clock::now();
    int status = 0;
    if (!mapped) {
        std::fprintf(stderr, "map_timer: %s mapped no window\n", argv[i]);
        kill(child, SIGTERM);
        waitpid(child, &status, 0);
        return 1;
    }
    std::printf("map_ms %.1f\n",
                std::chrono::duration<double, std::milli>(mappedAt - start).count());
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    std::printf("rss_kib %ld\n", residentKiB(child));
    std::fflush(stdout);

    int result = 0;
    if (after != nullptr) result = std::system(after) == 0 ? 0 : 1;
    kill(child, SIGTERM);
    waitpid(child, &status, 0);
    xcb_disconnect(connection);
    return result;
}
