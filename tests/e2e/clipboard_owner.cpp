// A clipboard owner whose behaviour the e2e scripts choose, so that no case
// depends on how fast the machine is:
//
//   clipboard_owner [--target T] [--chunk BYTES] [--die-after N | --silent] FILE
//
// It owns CLIPBOARD, offers FILE under the target T (UTF8_STRING unless told)
// and prints "ready" once the server names it the owner. A text larger than
// one chunk goes out incrementally (INCR), a chunk per property deletion.
// --die-after N: after the Nth chunk it prints "served N" and exits with the
// transfer unfinished. --silent: it owns the selection and answers nothing.
// It exits when another client takes the clipboard.

#include <xcb/xcb.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string target = "UTF8_STRING";
    std::size_t chunk = 64 * 1024;
    long dieAfter = -1; // chunks; -1: serve the whole text
    bool silent = false;
    std::string file;
};

[[noreturn]] void Usage() {
    std::fprintf(stderr, "usage: clipboard_owner [--target T] [--chunk BYTES] [--die-after N | --silent] FILE\n");
    std::exit(2);
}

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--target" && hasValue)
            o.target = argv[++i];
        else if (a == "--chunk" && hasValue)
            o.chunk = std::max(1L, std::atol(argv[++i]));
        else if (a == "--die-after" && hasValue)
            o.dieAfter = std::max(1L, std::atol(argv[++i]));
        else if (a == "--silent")
            o.silent = true;
        else if (o.file.empty() && a.rfind("--", 0) != 0)
            o.file = a;
        else
            Usage();
    }
    if (o.file.empty())
        Usage();
    return o;
}

xcb_atom_t Atom(xcb_connection_t* c, const std::string& name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(name.size()), name.c_str()), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

void Notify(xcb_connection_t* c, const xcb_selection_request_event_t& request, xcb_atom_t property) {
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = property;
    xcb_send_event(c, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&notify));
}

// One incremental transfer in progress: the requestor's property and how far it got.
struct Incremental {
    xcb_window_t requestor = XCB_WINDOW_NONE;
    xcb_atom_t property = XCB_ATOM_NONE;
    xcb_atom_t type = XCB_ATOM_NONE;
    std::size_t offset = 0;
    long chunks = 0;
    bool finished = false;
};

} // namespace

int main(int argc, char** argv) {
    const Options options = Parse(argc, argv);
    std::ifstream in(options.file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "clipboard_owner: cannot read %s\n", options.file.c_str());
        return 2;
    }
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "clipboard_owner: no display\n");
        return 2;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (; screenNumber > 0; --screenNumber)
        xcb_screen_next(&screens);
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screens.data->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);

    const xcb_atom_t clipboard = Atom(c, "CLIPBOARD");
    const xcb_atom_t targets = Atom(c, "TARGETS");
    const xcb_atom_t incr = Atom(c, "INCR");
    const xcb_atom_t target = Atom(c, options.target);
    // The server's time, from an empty append to our own window: ICCCM
    // owners must not claim with CurrentTime.
    xcb_change_property(c, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(c);
    xcb_timestamp_t now = XCB_CURRENT_TIME;
    while (now == XCB_CURRENT_TIME) {
        xcb_generic_event_t* event = xcb_wait_for_event(c);
        if (!event)
            return 1;
        if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY)
            now = reinterpret_cast<xcb_property_notify_event_t*>(event)->time;
        std::free(event);
    }
    xcb_set_selection_owner(c, window, clipboard, now);
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), nullptr);
    const bool owns = owner && owner->owner == window;
    std::free(owner);
    if (!owns) {
        std::fprintf(stderr, "clipboard_owner: the server did not make us the owner\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);

    // Requests larger than this go incrementally (the server's limit is in 4-byte units).
    const std::size_t directLimit = std::min<std::size_t>(options.chunk, xcb_get_maximum_request_length(c) * 4 / 2);
    Incremental transfer;
    auto sendChunk = [&] {
        const std::size_t n = std::min(options.chunk, data.size() - transfer.offset);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, transfer.requestor, transfer.property, transfer.type, 8,
                            std::uint32_t(n), data.data() + transfer.offset);
        transfer.offset += n;
        transfer.finished = n == 0; // the empty chunk ends the transfer
        if (n > 0 && ++transfer.chunks == options.dieAfter) {
            xcb_flush(c);
            std::printf("served %ld\n", transfer.chunks);
            std::fflush(stdout);
            _exit(0); // no last chunk: the requestor is left waiting for it
        }
    };

    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
        switch (event->response_type & 0x7F) {
        case XCB_SELECTION_CLEAR:
            return 0;
        case XCB_SELECTION_REQUEST: {
            if (options.silent)
                break;
            const auto& request = *reinterpret_cast<xcb_selection_request_event_t*>(event);
            const xcb_atom_t property = request.property == XCB_ATOM_NONE ? request.target : request.property;
            if (request.target == targets) {
                const xcb_atom_t offered[] = {targets, target};
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, property, XCB_ATOM_ATOM, 32, 2,
                                    offered);
                Notify(c, request, property);
            } else if (request.target != target) {
                Notify(c, request, XCB_ATOM_NONE);
            } else if (data.size() <= directLimit && options.dieAfter < 0) {
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, property, target, 8,
                                    std::uint32_t(data.size()), data.data());
                Notify(c, request, property);
            } else {
                // The requestor deletes the property to ask for the next chunk.
                const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
                xcb_change_window_attributes(c, request.requestor, XCB_CW_EVENT_MASK, &events);
                const std::uint32_t size = std::uint32_t(data.size());
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, property, incr, 32, 1, &size);
                transfer = Incremental{request.requestor, property, target};
                Notify(c, request, property);
            }
            break;
        }
        case XCB_PROPERTY_NOTIFY: {
            const auto& change = *reinterpret_cast<xcb_property_notify_event_t*>(event);
            if (change.window == transfer.requestor && change.atom == transfer.property &&
                change.state == XCB_PROPERTY_DELETE && !transfer.finished)
                sendChunk();
            break;
        }
        default:
            break;
        }
        xcb_flush(c);
    }
    return 0;
}
