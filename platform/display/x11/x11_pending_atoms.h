#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <vector>

namespace display {

// Atoms asked of the server without waiting for its answer: the requests go out at once and
// their replies are taken in by the next round trip the program makes anyway (at start-up,
// the query of the shared-memory extension), instead of by a round trip of their own, which
// costs the program more CPU time than most of what it does at start.
class X11PendingAtoms {
  public:
    // Sends one InternAtom request per name (made when missing).
    X11PendingAtoms(::Display* dpy, const std::vector<const char*>& names);
    ~X11PendingAtoms();
    X11PendingAtoms(const X11PendingAtoms&) = delete;
    X11PendingAtoms& operator=(const X11PendingAtoms&) = delete;

    // Whether every reply has come in (an error counts as a reply).
    bool complete() const;
    // The atoms in the order of the names, None for one the server refused. Waits for the
    // server (one round trip) only when a reply has not come in yet. Called once.
    std::vector<Atom> take();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace display
