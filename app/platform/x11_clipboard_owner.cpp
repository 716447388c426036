#include "app/platform/x11_clipboard_owner.h"

#include <QGuiApplication>

#include <X11/Xlib.h> // after Qt: its macros (None, Bool, Status) would break Qt's headers
#include <xcb/xcb.h>

#include <poll.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace velmorant {

namespace {

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> ReplyPtr<Reply> Owned(Reply* reply) { return ReplyPtr<Reply>(reply, &std::free); }

// A connection to the display the window is on.
Connection Connect(int& screen) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const char* name = nullptr; // $DISPLAY
#if QT_CONFIG(xcb)
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>(); x11 && x11->display())
        name = DisplayString(x11->display());
#endif
    Connection connection(xcb_connect(name, &screen));
    if (xcb_connection_has_error(connection.get()))
        return nullptr;
    return connection;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    auto reply = Owned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t Root(xcb_connection_t* connection, int screen) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; it.rem > 0 && screen > 0; --screen)
        xcb_screen_next(&it);
    return it.rem > 0 ? it.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

// Waits for the owner's SelectionNotify until the deadline.
bool AnswerArrives(xcb_connection_t* connection, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool answer = (event->response_type & 0x7F) == XCB_SELECTION_NOTIFY;
            std::free(event);
            if (answer)
                return true;
        }
        if (xcb_connection_has_error(connection))
            return false;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd ready{xcb_get_file_descriptor(connection), POLLIN, 0};
        poll(&ready, 1, int(left.count()));
    }
}

} // namespace

ClipboardOwner AskClipboardOwner(std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    int screen = 0;
    const Connection connection = Connect(screen);
    if (!connection)
        return ClipboardOwner::Unknown;
    xcb_connection_t* c = connection.get();
    const xcb_atom_t clipboard = Atom(c, "CLIPBOARD");
    auto owner = Owned(xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), nullptr));
    if (!owner)
        return ClipboardOwner::Unknown;
    if (owner->owner == XCB_WINDOW_NONE)
        return ClipboardOwner::Nobody;
    if (patience.count() <= 0)
        return ClipboardOwner::Present;

    const xcb_window_t requestor = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, requestor, Root(c, screen), 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_convert_selection(c, requestor, clipboard, Atom(c, "TARGETS"), Atom(c, "VELMORANT_TARGETS"), XCB_CURRENT_TIME);
    xcb_flush(c);
    return AnswerArrives(c, deadline) ? ClipboardOwner::Answers : ClipboardOwner::Silent;
}

} // namespace velmorant
