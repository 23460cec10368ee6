#include "platform/display/x11/x11_pending_atoms.h"

#include <cstring>

// The library's interface for requests of one's own (the one its extensions are written with).
// It defines min and max as macros, so it comes after the standard headers.
#include <X11/Xlibint.h>
#undef min
#undef max

namespace display {

struct X11PendingAtoms::State {
    ::Display* dpy = nullptr;
    std::vector<Atom> atoms;
    unsigned long first = 0;  // the requests' sequence numbers, first to last
    unsigned long last = 0;
    size_t answered = 0;
    bool queued = false;  // whether the reply handler is in the library's list
    _XAsyncHandler handler{};

    // Called by the library for every reply or error it reads while it waits for another
    // request's reply; claims the replies to our requests.
    static Bool take_reply(::Display* dpy, xReply* reply, char* buffer, int length, XPointer data) {
        State& s = *reinterpret_cast<State*>(data);
        const unsigned long sequence = dpy->last_request_read;
        if (sequence < s.first || sequence > s.last)
            return False;
        ++s.answered;
        // An error is left to the connection's error handler; the atom stays None.
        if (reply->generic.type == X_Error)
            return False;
        xInternAtomReply copy;
        const auto* atom = reinterpret_cast<const xInternAtomReply*>(
            _XGetAsyncReply(dpy, reinterpret_cast<char*>(&copy), reply, buffer, length,
                            (SIZEOF(xInternAtomReply) - SIZEOF(xReply)) >> 2, True));
        s.atoms[sequence - s.first] = atom->atom;
        return True;
    }

    void dequeue() {
        if (!queued)
            return;
        LockDisplay(dpy);
        DeqAsyncHandler(dpy, &handler);
        UnlockDisplay(dpy);
        queued = false;
    }
};

X11PendingAtoms::X11PendingAtoms(::Display* dpy, const std::vector<const char*>& names)
    : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.dpy = dpy;
    s.atoms.assign(names.size(), None);
    if (names.empty())
        return;
    LockDisplay(dpy);
    // The handler goes in first: the library tracks the replies of requests it flushes only
    // while a handler is waiting for replies, and a long list of names flushes on the way.
    s.first = NextRequest(dpy);
    s.last = s.first + names.size() - 1;
    s.handler.next = dpy->async_handlers;
    s.handler.handler = State::take_reply;
    s.handler.data = reinterpret_cast<XPointer>(&s);
    dpy->async_handlers = &s.handler;
    s.queued = true;
    for (const char* name : names) {
        const auto n = static_cast<CARD16>(std::strlen(name));
        xInternAtomReq* req = nullptr;
        GetReq(InternAtom, req);
        req->onlyIfExists = False;
        req->nbytes = n;
        req->length += (n + 3) >> 2;
        if (dpy->bufptr + n <= dpy->bufmax) {
            std::memcpy(dpy->bufptr, name, n);
            dpy->bufptr += (size_t{n} + 3) & ~size_t{3};
        } else {
            _XSend(dpy, name, n);
        }
    }
    UnlockDisplay(dpy);
}

X11PendingAtoms::~X11PendingAtoms() {
    state_->dequeue();
}

bool X11PendingAtoms::complete() const {
    return state_->answered == state_->atoms.size();
}

std::vector<Atom> X11PendingAtoms::take() {
    State& s = *state_;
    if (!complete())
        XSync(s.dpy, False);
    s.dequeue();
    return s.atoms;
}

}  // namespace display
