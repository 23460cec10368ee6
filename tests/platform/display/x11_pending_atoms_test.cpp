// Atoms asked for without waiting: the replies come in with the next round trip made for
// something else, and they are the atoms the server gives to anyone who asks.
#include <gtest/gtest.h>
// Xlib after gtest: its macros (None, Bool) collide with gtest's names.
#include <X11/Xlib.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/display/x11/x11_pending_atoms.h"

using display::X11PendingAtoms;

namespace {

class X11PendingAtomsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dpy_ = XOpenDisplay(nullptr);
        probe_ = XOpenDisplay(nullptr);
        ASSERT_NE(dpy_, nullptr);
        ASSERT_NE(probe_, nullptr);
    }
    void TearDown() override {
        if (dpy_)
            XCloseDisplay(dpy_);
        if (probe_)
            XCloseDisplay(probe_);
    }
    // What the server answers another client for the name (without making it).
    Atom known(const std::string& name) { return XInternAtom(probe_, name.c_str(), True); }

    ::Display* dpy_ = nullptr;
    ::Display* probe_ = nullptr;
};

}  // namespace

TEST_F(X11PendingAtomsTest, RepliesComeInWithAnotherRequestsRoundTrip) {
    const std::string fresh = "VELMOR_TEST_ATOM_" + std::to_string(::getpid());
    X11PendingAtoms pending(dpy_, {"WM_PROTOCOLS", fresh.c_str(), "UTF8_STRING"});
    // A request of its own with a reply, as start-up's extension query is.
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    ASSERT_TRUE(XQueryTree(dpy_, DefaultRootWindow(dpy_), &root, &parent, &children, &count));
    if (children)
        XFree(children);
    EXPECT_TRUE(pending.complete());
    const unsigned long next = NextRequest(dpy_);
    const std::vector<Atom> atoms = pending.take();
    EXPECT_EQ(NextRequest(dpy_), next) << "took the atoms with a round trip of their own";
    ASSERT_EQ(atoms.size(), 3u);
    EXPECT_EQ(atoms[0], known("WM_PROTOCOLS"));
    EXPECT_EQ(atoms[2], known("UTF8_STRING"));
    // A name the server did not know is made.
    EXPECT_NE(atoms[1], static_cast<Atom>(None));
    EXPECT_EQ(atoms[1], known(fresh));
}

TEST_F(X11PendingAtomsTest, WithoutAnotherRoundTripTakingWaitsAndManyNamesFillTheBuffer) {
    // More names than the connection's output buffer holds.
    std::vector<std::string> names;
    for (int i = 0; i < 600; ++i)
        names.push_back("VELMOR_TEST_MANY_ATOMS_" + std::to_string(::getpid()) + "_" +
                        std::to_string(i));
    std::vector<const char*> pointers;
    for (const std::string& n : names)
        pointers.push_back(n.c_str());
    X11PendingAtoms pending(dpy_, pointers);
    const std::vector<Atom> atoms = pending.take();
    EXPECT_TRUE(pending.complete());
    ASSERT_EQ(atoms.size(), names.size());
    for (size_t i = 0; i < names.size(); i += 59)
        EXPECT_EQ(atoms[i], known(names[i])) << names[i];
    EXPECT_NE(atoms.front(), atoms.back());

    // Nothing asked: nothing sent, nothing waited for.
    const unsigned long next = NextRequest(dpy_);
    X11PendingAtoms none(dpy_, {});
    EXPECT_TRUE(none.take().empty());
    EXPECT_EQ(NextRequest(dpy_), next);
}
