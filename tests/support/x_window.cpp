// SPDX-License-Identifier: GPL-3.0-or-later
// A tiny X client for the foreground-application tests.
//   x_window [--pid N] [--machine HOST]
//                             maps a window whose _NET_WM_PID is its own pid (or N) and
//                             whose WM_CLIENT_MACHINE is this host (or HOST), prints the
//                             window id in decimal, and keeps it until stdin closes
//   x_window --activate ID    sets the root's _NET_ACTIVE_WINDOW to ID, as a window
//                             manager does when a window comes to the front (0: none)
// The display is $DISPLAY. Exit status 1 when the display cannot be used.

#include <unistd.h>
#include <xcb/xcb.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

}  // namespace

int main(int argc, char** argv) {
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "x_window: no display\n");
        return 1;
    }
    auto it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i) xcb_screen_next(&it);
    const xcb_screen_t* screen = it.data;

    if (argc == 3 && std::strcmp(argv[1], "--activate") == 0) {
        const uint32_t window = uint32_t(std::strtoul(argv[2], nullptr, 10));
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, screen->root, Atom(c, "_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW,
                            32, 1, &window);
        xcb_get_input_focus_reply_t* sync = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
        std::free(sync);  // a round trip: the change is made when this returns
        xcb_disconnect(c);
        return 0;
    }

    uint32_t pid = uint32_t(getpid());
    char host[HOST_NAME_MAX + 1] = {};
    gethostname(host, sizeof host - 1);
    std::string machine = host;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--pid") == 0) pid = uint32_t(std::strtoul(argv[i + 1], nullptr, 10));
        if (std::strcmp(argv[i], "--machine") == 0) machine = argv[i + 1];
    }
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 64, 48, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, 0, nullptr);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, Atom(c, "_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1, &pid);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, 8,
                        uint32_t(machine.size()), machine.c_str());
    xcb_map_window(c, window);
    xcb_get_input_focus_reply_t* sync = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    std::free(sync);
    std::printf("%u\n", window);
    std::fflush(stdout);
    char buffer[64];
    while (read(0, buffer, sizeof buffer) > 0) {
    }
    xcb_disconnect(c);
    return 0;
}
