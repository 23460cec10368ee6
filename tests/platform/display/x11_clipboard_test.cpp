// The clipboard under X11 is the CLIPBOARD selection: text the program puts there is read by
// another X client, and text another client owns is read by the program.

#include <gtest/gtest.h>
// Xlib after gtest: its macros (None, Bool) collide with gtest's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "platform/clock/clock.h"
#include "platform/display/display.h"
#include "platform/win/clipboard.h"

namespace {

class X11Clipboard : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* d = std::getenv("DISPLAY");
        if (!d || !*d)
            GTEST_SKIP() << "DISPLAY is not set";
        scoped_ = std::make_unique<clk::ScopedClock>(clock_);
        display::Options o;
        o.kind = display::Kind::X11;
        std::string err;
        disp_ = display::Open(o, &err);
        ASSERT_TRUE(disp_) << err;
        peer_ = XOpenDisplay(nullptr);
        ASSERT_NE(peer_, nullptr);
        peer_win_ = XCreateSimpleWindow(peer_, DefaultRootWindow(peer_), 0, 0, 1, 1, 0, 0, 0);
        clipboard_ = XInternAtom(peer_, "CLIPBOARD", False);
        utf8_ = XInternAtom(peer_, "UTF8_STRING", False);
        prop_ = XInternAtom(peer_, "PEER_PASTE", False);
    }
    void TearDown() override {
        disp_.reset();
        if (peer_) {
            XDestroyWindow(peer_, peer_win_);
            XCloseDisplay(peer_);
        }
    }
    // The other client pastes: asks the selection's owner for `target` while the program's
    // display answers.
    std::optional<std::string> peer_paste(Atom target) {
        XConvertSelection(peer_, clipboard_, target, prop_, peer_win_, CurrentTime);
        XFlush(peer_);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        XEvent ev;
        while (std::chrono::steady_clock::now() < until) {
            disp_->process_events();
            if (XCheckTypedWindowEvent(peer_, peer_win_, SelectionNotify, &ev)) {
                if (ev.xselection.property == None)
                    return std::nullopt;
                Atom type;
                int format;
                unsigned long n, after;
                unsigned char* data = nullptr;
                XGetWindowProperty(peer_, peer_win_, prop_, 0, 1 << 20, True, AnyPropertyType,
                                   &type, &format, &n, &after, &data);
                std::string out(reinterpret_cast<char*>(data), n);
                XFree(data);
                return out;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return std::nullopt;
    }

    clk::ManualClock clock_;
    std::unique_ptr<clk::ScopedClock> scoped_;
    std::unique_ptr<display::Display> disp_;
    ::Display* peer_ = nullptr;
    ::Window peer_win_ = 0;
    Atom clipboard_ = 0, utf8_ = 0, prop_ = 0;
};

TEST_F(X11Clipboard, TextCopiedInTheProgramPastesInAnotherClientAndBack) {
    ASSERT_TRUE(win::SetClipboardText("Grüße 192.168.1.111"));
    EXPECT_EQ(peer_paste(utf8_), "Grüße 192.168.1.111");
    EXPECT_EQ(peer_paste(XA_STRING),
              "Gr\xFC\xDF"
              "e 192.168.1.111")
        << "ISO 8859-1 for STRING";
    EXPECT_EQ(win::GetClipboardText(), "Grüße 192.168.1.111") << "its own text, without asking";

    // The other client copies: it owns the selection now and answers from its own thread
    // while the program waits for the text.
    XSetSelectionOwner(peer_, clipboard_, peer_win_, CurrentTime);
    XSync(peer_, False);
    std::atomic<bool> stop{false};
    std::thread owner([&] {
        while (!stop) {
            XEvent ev;
            if (!XCheckTypedWindowEvent(peer_, peer_win_, SelectionRequest, &ev)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            const XSelectionRequestEvent& req = ev.xselectionrequest;
            XSelectionEvent reply{};
            reply.type = SelectionNotify;
            reply.requestor = req.requestor;
            reply.selection = req.selection;
            reply.target = req.target;
            reply.time = req.time;
            reply.property = None;
            if (req.target == utf8_) {
                const std::string text = "from the other side";
                XChangeProperty(peer_, req.requestor, req.property, utf8_, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(text.data()),
                                static_cast<int>(text.size()));
                reply.property = req.property;
            }
            XSendEvent(peer_, req.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
            XFlush(peer_);
        }
    });
    const auto pasted = win::GetClipboardText();
    stop = true;
    owner.join();
    EXPECT_EQ(pasted, "from the other side");

    // An owner that never answers: nothing, after a short wait, and no hang.
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(win::GetClipboardText(), std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
}

}  // namespace
