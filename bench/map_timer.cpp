// Starts a program and prints the milliseconds until it maps a top-level window
// on $DISPLAY, then ends it. It waits for the X server's map event instead of
// polling, so it takes no time from the program it measures.
//
//   map_timer PROGRAM [ARGUMENTS...]

#include <xcb/xcb.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: map_timer PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    // A busy server now and then refuses a connection: try again for a second.
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    for (int attempt = 0; xcb_connection_has_error(connection) && attempt < 50; ++attempt) {
        xcb_disconnect(connection);
        usleep(20'000);
        connection = xcb_connect(nullptr, nullptr);
    }
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "map_timer: cannot open the display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    // A round trip, so the server listens before the program starts.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    double milliseconds = -1;
    pollfd events{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (milliseconds < 0 && Clock::now() - start < std::chrono::seconds(30)) {
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "map_timer: %s ended without a window\n", argv[1]);
            return 1;
        }
        poll(&events, 1, 100);
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY &&
                                !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
            if (mapped && milliseconds < 0)
                milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            std::free(event);
        }
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(connection);
    if (milliseconds < 0) {
        std::fprintf(stderr, "map_timer: no window within 30 s\n");
        return 1;
    }
    std::printf("%.1f\n", milliseconds);
    return 0;
}
