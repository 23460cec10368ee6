#include "platform/display/x11/x11_clipboard.h"

#include <X11/Xatom.h>
#include <poll.h>

#include <chrono>
#include <vector>

namespace display {

namespace {

// ISO 8859-1 bytes as UTF-8 (the STRING type of older programs).
std::string Latin1ToUtf8(const unsigned char* data, size_t n) {
    std::string out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const unsigned char c = data[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// UTF-8 as ISO 8859-1, characters outside it as '?'.
std::string Utf8ToLatin1(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (len == 2 && i + 1 < s.size() && c <= 0xC3) {
            out += static_cast<char>(((c & 0x03) << 6) |
                                     (static_cast<unsigned char>(s[i + 1]) & 0x3F));
        } else {
            out += '?';
        }
        i += len;
    }
    return out;
}

}  // namespace

X11Clipboard::X11Clipboard(::Display* dpy, ::Window root) : dpy_(dpy) {
    XSetWindowAttributes attrs{};
    attrs.event_mask = PropertyChangeMask;
    window_ = XCreateWindow(dpy_, root, -10, -10, 1, 1, 0, 0, InputOnly, CopyFromParent,
                            CWEventMask, &attrs);
    // One round trip for all the atoms.
    char* names[] = {const_cast<char*>("CLIPBOARD"), const_cast<char*>("UTF8_STRING"),
                     const_cast<char*>("TARGETS"),   const_cast<char*>("TEXT"),
                     const_cast<char*>("INCR"),      const_cast<char*>("VELMOR_CLIPBOARD")};
    Atom atoms[6] = {};
    XInternAtoms(dpy_, names, 6, False, atoms);
    clipboard_ = atoms[0];
    utf8_ = atoms[1];
    targets_ = atoms[2];
    text_ = atoms[3];
    incr_ = atoms[4];
    property_ = atoms[5];
}

X11Clipboard::~X11Clipboard() {
    if (window_)
        XDestroyWindow(dpy_, window_);
}

bool X11Clipboard::set_text(const std::string& utf8) {
    value_ = utf8;
    XSetSelectionOwner(dpy_, clipboard_, window_, CurrentTime);
    owned_ = XGetSelectionOwner(dpy_, clipboard_) == window_;
    XFlush(dpy_);
    return owned_;
}

std::optional<std::string> X11Clipboard::text() {
    // Asked of the server, not of our notes: another program may have taken the selection a
    // moment ago.
    const ::Window owner = XGetSelectionOwner(dpy_, clipboard_);
    owned_ = owner == window_;
    if (owned_)
        return value_;
    if (owner == None)
        return std::nullopt;
    if (auto t = request(utf8_, 1000))
        return t;
    return request(XA_STRING, 500);
}

std::optional<std::string> X11Clipboard::request(Atom target, int timeout_ms) {
    XDeleteProperty(dpy_, window_, property_);
    XConvertSelection(dpy_, clipboard_, target, property_, window_, CurrentTime);
    XFlush(dpy_);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    XEvent ev;
    for (;;) {
        if (XCheckTypedWindowEvent(dpy_, window_, SelectionNotify, &ev))
            break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0)
            return std::nullopt;
        pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
        poll(&p, 1, static_cast<int>(left));
        XEventsQueued(dpy_, QueuedAfterReading);
    }
    if (ev.xselection.property == None)
        return std::nullopt;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy_, window_, property_, 0, 1 << 24, True, AnyPropertyType, &type,
                           &format, &count, &after, &data) != Success) {
        return std::nullopt;
    }
    std::optional<std::string> out;
    // Texts sent in pieces (INCR) are larger than anything a field holds: not taken.
    if (data && format == 8 && type != incr_) {
        if (type == XA_STRING) {
            out = Latin1ToUtf8(data, count);
        } else {
            out = std::string(reinterpret_cast<const char*>(data), count);
        }
    }
    if (data)
        XFree(data);
    return out;
}

void X11Clipboard::answer(const XSelectionRequestEvent& req) {
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.display = req.display;
    reply.requestor = req.requestor;
    reply.selection = req.selection;
    reply.target = req.target;
    reply.time = req.time;
    // Programs of the oldest kind name no property: the target's name is used then.
    const Atom property = req.property == None ? req.target : req.property;
    reply.property = None;
    const long max_bytes = XExtendedMaxRequestSize(dpy_) > 0 ? XExtendedMaxRequestSize(dpy_) * 4
                                                             : XMaxRequestSize(dpy_) * 4;
    if (owned_ && req.selection == clipboard_) {
        if (req.target == targets_) {
            const Atom list[] = {targets_, utf8_, text_, XA_STRING};
            XChangeProperty(dpy_, req.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(list), 4);
            reply.property = property;
        } else if ((req.target == utf8_ || req.target == text_ || req.target == XA_STRING) &&
                   static_cast<long>(value_.size()) < max_bytes - 1024) {
            const std::string bytes = req.target == XA_STRING ? Utf8ToLatin1(value_) : value_;
            XChangeProperty(dpy_, req.requestor, property,
                            req.target == XA_STRING ? XA_STRING : utf8_, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(bytes.data()),
                            static_cast<int>(bytes.size()));
            reply.property = property;
        }
    }
    XSendEvent(dpy_, req.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    XFlush(dpy_);
}

bool X11Clipboard::handle(const XEvent& ev) {
    switch (ev.type) {
        case SelectionRequest:
            if (ev.xselectionrequest.owner != window_)
                return false;
            answer(ev.xselectionrequest);
            return true;
        case SelectionClear:
            if (ev.xselectionclear.window != window_)
                return false;
            if (ev.xselectionclear.selection == clipboard_) {
                owned_ = false;
                value_.clear();
            }
            return true;
        case SelectionNotify:
            // An answer that came after its wait ended.
            return ev.xselection.requestor == window_;
        case PropertyNotify:
            return ev.xproperty.window == window_;
        default:
            return false;
    }
}

}  // namespace display
