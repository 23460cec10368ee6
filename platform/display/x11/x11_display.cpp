#include "platform/display/x11/x11_display.h"
#include "platform/clock/wake_path.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/shape.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/mman.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <optional>
#include <vector>

#include "platform/display/wait_set.h"
#include "platform/display/x11/keysym_map.h"
#include "platform/display/x11/x11_clipboard.h"
#include "platform/display/x11/x11_pending_atoms.h"
#include "platform/gdi/bitmap.h"
#include "platform/win/input.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"

namespace display {

namespace {

// Xlib reports protocol errors through one process-wide handler, and its own handler ends the
// program. A request can fail for reasons outside the program (the window manager has just
// unmapped or destroyed the window it names, the server cannot share memory with us), so errors
// on our connections are noted and the program carries on. Errors on other connections go to
// the handler that was there before ours.
class ErrorLog {
  public:
    explicit ErrorLog(::Display* dpy);
    ~ErrorLog();
    ErrorLog(const ErrorLog&) = delete;
    ErrorLog& operator=(const ErrorLog&) = delete;

    int64_t count() const { return count_; }
    // Notes whether the request `serial` fails, without waiting for the server: the answer is
    // known after the next round trip (failed()).
    void watch(unsigned long serial) { watched_.push_back(serial); }
    // Whether the watched request `serial` failed; asked after a round trip that followed it,
    // and only once.
    bool failed(unsigned long serial) {
        watched_.erase(std::remove(watched_.begin(), watched_.end(), serial), watched_.end());
        const auto it = std::find(failed_.begin(), failed_.end(), serial);
        if (it == failed_.end())
            return false;
        failed_.erase(it);
        return true;
    }

  private:
    static int note(::Display* dpy, XErrorEvent* e);

    ::Display* dpy_;
    int64_t count_ = 0;
    std::vector<unsigned long> watched_;
    std::vector<unsigned long> failed_;  // watched requests that failed

    static inline std::vector<ErrorLog*> logs_;
    static inline XErrorHandler previous_ = nullptr;
};

ErrorLog::ErrorLog(::Display* dpy) : dpy_(dpy) {
    if (logs_.empty())
        previous_ = XSetErrorHandler(note);
    logs_.push_back(this);
}

ErrorLog::~ErrorLog() {
    logs_.erase(std::find(logs_.begin(), logs_.end(), this));
    if (!logs_.empty())
        return;
    // Put back what was there, unless someone has put their own handler over ours since.
    XErrorHandler current = XSetErrorHandler(previous_);
    if (current != note)
        XSetErrorHandler(current);
    previous_ = nullptr;
}

int ErrorLog::note(::Display* dpy, XErrorEvent* e) {
    for (ErrorLog* log : logs_) {
        if (log->dpy_ != dpy)
            continue;
        ++log->count_;
        if (std::find(log->watched_.begin(), log->watched_.end(), e->serial) != log->watched_.end())
            log->failed_.push_back(e->serial);
        return 0;
    }
    return previous_ ? previous_(dpy, e) : 0;
}

}  // namespace

struct X11Display::Impl {
    ::Display* dpy = nullptr;
    // What every wake-up of the loop looks at, kept together: the connection's reads (see
    // drain) and the wait set, held in place rather than in an allocation of its own.
    unsigned long read_at_request = 0;  // NextRequest when the connection was last read
    // Turns of a busy loop (process_events without a wait between) since the socket was looked
    // at; a turn is a few microseconds, so a look every 64 turns costs nothing and leaves no
    // input waiting long.
    int turns_without_look = 0;
    static constexpr int kBusyTurnsBetweenLooks = 64;
    int64_t socket_reads = 0;
    std::optional<WaitSet> waiter;
    // Goes with the Impl, after the connection has closed: errors that arrive while it closes
    // are still noted.
    std::unique_ptr<ErrorLog> errors;
    int screen = 0;
    ::Window root = 0;
    Visual* visual = nullptr;
    int depth = 24;
    // One colormap of `visual` for every window of the connection.
    Colormap colormap = 0;
    bool shm = false;
    // Whether the server shapes windows (the SHAPE extension); asked when a window is first
    // shaped, not at every start: a round trip costs the program more CPU time than most of
    // what it does at start.
    std::optional<bool> shape;
    bool shapes() {
        if (!shape) {
            int shape_event = 0, shape_error = 0;
            shape = XShapeQueryExtension(dpy, &shape_event, &shape_error) == True;
        }
        return *shape;
    }
    Atom wm_protocols = 0, wm_delete = 0, motif_hints = 0, net_wm_name = 0, utf8 = 0,
         net_workarea = 0;
    // The CLIPBOARD selection, shared with the other programs on the display.
    std::unique_ptr<X11Clipboard> clipboard;
    // What the idle loop sleeps in.

    // A shared-memory segment the server reads window pixels from. It is held by the window's
    // image and, when the window is composed straight into it, by the window's backing bitmap;
    // the last of them to go detaches it (from the server only while the connection is open).
    struct Segment {
        ::Display* dpy = nullptr;
        // Empty while the server has not attached the segment (or refused it).
        std::weak_ptr<bool> connection_open;
        XShmSegmentInfo info{};
        // The attach request, until the first round trip after it tells whether it succeeded.
        unsigned long unconfirmed_attach = 0;
        Segment() = default;
        Segment(const Segment&) = delete;
        Segment& operator=(const Segment&) = delete;
        ~Segment() {
            if (connection_open.lock()) {
                XShmDetach(dpy, &info);
                XSync(dpy, False);
            }
            shmdt(info.shmaddr);
        }
    };
    // Alive exactly as long as the connection.
    std::shared_ptr<bool> open_token = std::make_shared<bool>(true);

    struct Native {
        ::Window xwin = 0;
        GC gc = nullptr;
        XImage* image = nullptr;  // SHM image of the window's size, over `segment`
        std::shared_ptr<Segment> segment;
        int w = 0, h = 0;
        bool mapped = false;
        bool iconified = false;  // the window manager unmapped it as an icon
        // The sizes asked of the server that it has not yet confirmed, oldest first.
        std::deque<std::pair<int, int>> requested_sizes;
    };
    std::unordered_map<win::HWND, Native> natives;
    std::unordered_map<::Window, win::HWND> by_xwin;

    void free_image(Native& n) {
        if (!n.image)
            return;
        if (n.segment->unconfirmed_attach != 0) {
            errors->failed(n.segment->unconfirmed_attach);  // no longer watched
            n.segment->unconfirmed_attach = 0;
        }
        n.image->data = nullptr;
        XDestroyImage(n.image);
        n.image = nullptr;
        n.segment.reset();
        n.w = n.h = 0;
    }

    // A shared-memory image of w x h, or false when no segment can be made here. Whether the
    // server could attach it is known after the first present (confirm_attach).
    bool make_image(Native& n, int w, int h) {
        free_image(n);
        if (!shm || w <= 0 || h <= 0)
            return false;
        auto seg = std::make_shared<Segment>();
        XImage* img =
            XShmCreateImage(dpy, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &seg->info,
                            static_cast<unsigned>(w), static_cast<unsigned>(h));
        if (!img)
            return false;
        seg->info.shmid =
            shmget(IPC_PRIVATE, static_cast<size_t>(img->bytes_per_line) * h, IPC_CREAT | 0600);
        if (seg->info.shmid < 0) {
            XDestroyImage(img);
            return false;
        }
        void* addr = shmat(seg->info.shmid, nullptr, 0);
        shmctl(seg->info.shmid, IPC_RMID, nullptr);  // gone once both sides detach
        if (addr == reinterpret_cast<void*>(-1)) {
            XDestroyImage(img);
            return false;
        }
        // The whole image is written at once (filled, then painted): fault all its pages in with
        // one call rather than one fault per page (kernels before 5.14 refuse; then the pages
        // come one by one as before).
        madvise(addr, static_cast<size_t>(img->bytes_per_line) * h, MADV_POPULATE_WRITE);
        seg->info.shmaddr = img->data = static_cast<char*>(addr);
        seg->info.readOnly = False;
        // Whether the server could attach the segment is known at the round trip that ends the
        // first present (confirm_attach), not waited for here.
        seg->unconfirmed_attach = NextRequest(dpy);
        errors->watch(seg->unconfirmed_attach);
        XShmAttach(dpy, &seg->info);
        seg->dpy = dpy;
        seg->connection_open = open_token;
        n.image = img;
        n.segment = std::move(seg);
        n.w = w;
        n.h = h;
        return true;
    }

    // After a round trip: whether the server attached the segment of n's image. When it could
    // not (it cannot share memory with us), the image goes and XPutImage is used from now on;
    // the memory stays ours, and a backing bitmap composed in it goes on using it.
    bool confirm_attach(Native& n) {
        Segment& seg = *n.segment;
        if (seg.unconfirmed_attach == 0)
            return true;
        const bool attached = !errors->failed(seg.unconfirmed_attach);
        seg.unconfirmed_attach = 0;
        if (attached)
            return true;
        seg.connection_open.reset();  // nothing to detach
        free_image(n);
        shm = false;
        return false;
    }

    win::HWND hwnd_of(::Window w) const {
        auto it = by_xwin.find(w);
        return it == by_xwin.end() ? nullptr : it->second;
    }

    void handle(XEvent& ev);

    // The connection's reads (see drain).
    void drain(bool readable);
};

std::unique_ptr<X11Display> X11Display::Connect(const std::string& name, std::string* error) {
    ::Display* dpy = XOpenDisplay(name.empty() ? nullptr : name.c_str());
    if (!dpy) {
        const char* env = getenv("DISPLAY");
        std::string shown = !name.empty() ? name : (env && *env ? env : "(DISPLAY is not set)");
        if (error)
            *error = "cannot open X display " + shown;
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->dpy = dpy;
    impl->errors = std::make_unique<ErrorLog>(dpy);
    impl->screen = DefaultScreen(dpy);
    impl->root = RootWindow(dpy, impl->screen);
    XVisualInfo vi;
    if (!XMatchVisualInfo(dpy, impl->screen, 24, TrueColor, &vi) &&
        !XMatchVisualInfo(dpy, impl->screen, 32, TrueColor, &vi)) {
        if (error)
            *error = "the X display offers no 24-bit TrueColor visual";
        XCloseDisplay(dpy);
        return nullptr;
    }
    if (vi.red_mask != 0xFF0000 || vi.green_mask != 0xFF00 || vi.blue_mask != 0xFF) {
        if (error)
            *error = "the X display's TrueColor visual is not 8-8-8 RGB";
        XCloseDisplay(dpy);
        return nullptr;
    }
    impl->visual = vi.visual;
    impl->depth = vi.depth;
    impl->colormap = XCreateColormap(dpy, impl->root, impl->visual, AllocNone);
    // The atoms the windows need are asked for first, and their replies come in with the
    // shared-memory extension's: no round trip of their own.
    X11PendingAtoms pending(dpy, {"WM_PROTOCOLS", "WM_DELETE_WINDOW", "_MOTIF_WM_HINTS",
                                  "_NET_WM_NAME", "UTF8_STRING", "_NET_WORKAREA"});
    impl->shm = XShmQueryExtension(dpy) == True && !getenv("VELMOR_NO_SHM");
    const std::vector<Atom> atoms = pending.take();
    impl->wm_protocols = atoms[0];
    impl->wm_delete = atoms[1];
    impl->motif_hints = atoms[2];
    impl->net_wm_name = atoms[3];
    impl->utf8 = atoms[4];
    impl->net_workarea = atoms[5];
    impl->waiter.emplace(ConnectionNumber(dpy));
    return std::unique_ptr<X11Display>(new X11Display(std::move(impl)));
}

X11Display::X11Display(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

X11Display::~X11Display() {
    if (win::GetDisplayDriver() == this)
        win::SetDisplayDriver(nullptr);
    // The connection closes below, and with it the server lets go of every segment: the
    // segments need not detach one by one, each with a round trip. Backing bitmaps that outlive
    // the connection keep their memory.
    impl_->open_token.reset();
    for (auto& [h, n] : impl_->natives) {
        impl_->free_image(n);
        if (n.gc)
            XFreeGC(impl_->dpy, n.gc);
        XDestroyWindow(impl_->dpy, n.xwin);
    }
    XFreeColormap(impl_->dpy, impl_->colormap);
    impl_->clipboard.reset();
    impl_->waiter.reset();
    XCloseDisplay(impl_->dpy);
}

gdi::Bitmap X11Display::make_backing(win::HWND h, int w, int height, gdi::Pixel fill) {
    auto& I = *impl_;
    auto it = I.natives.find(h);
    if (it != I.natives.end() && I.make_image(it->second, w, height)) {
        XImage* img = it->second.image;
        if (img->bits_per_pixel == 32 && img->bytes_per_line == w * 4) {
            // The window is composed where the server reads it: presenting copies nothing.
            return gdi::Bitmap::over(w, height, reinterpret_cast<gdi::Pixel*>(img->data),
                                     it->second.segment, fill);
        }
    }
    return gdi::Bitmap(w, height, fill);
}

win::SIZE X11Display::screen_size() const {
    return {DisplayWidth(impl_->dpy, impl_->screen), DisplayHeight(impl_->dpy, impl_->screen)};
}

win::RECT X11Display::work_area() const {
    // The desktop's panels are left out of the work area the window manager publishes (for
    // the first desktop); without a manager that publishes one, the whole screen.
    auto& I = *impl_;
    const win::SIZE screen = screen_size();
    win::RECT area{0, 0, screen.cx, screen.cy};
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(I.dpy, I.root, I.net_workarea, 0, 4, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data && type == XA_CARDINAL && format == 32 && count >= 4) {
        const long* v = reinterpret_cast<const long*>(data);
        const win::RECT r = win::RECT::from_xywh(static_cast<int>(v[0]), static_cast<int>(v[1]),
                                                 static_cast<int>(v[2]), static_cast<int>(v[3]));
        if (!r.intersect(area).empty())
            area = r.intersect(area);
    }
    if (data)
        XFree(data);
    return area;
}

bool X11Display::uses_shm() const {
    return impl_->shm;
}

int64_t X11Display::x_errors() const {
    return impl_->errors->count();
}

unsigned long X11Display::native_window(win::HWND h) const {
    auto it = impl_->natives.find(h);
    return it == impl_->natives.end() ? 0 : it->second.xwin;
}

void X11Display::window_created(win::HWND h) {
    auto& I = *impl_;
    if (I.natives.count(h))
        return;
    const win::RECT r = win::GetWindowRect(h);
    const win::DWORD style = static_cast<win::DWORD>(win::GetWindowLong(h, win::GWL_STYLE));
    XSetWindowAttributes a{};
    a.background_pixmap = None;
    a.border_pixel = 0;
    a.colormap = I.colormap;
    a.event_mask = ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask |
                   PointerMotionMask | KeyPressMask | KeyReleaseMask | FocusChangeMask |
                   EnterWindowMask | LeaveWindowMask;
    // Pop-ups without a caption (drop-down lists, menus) are placed by us, not the manager.
    a.override_redirect =
        ((style & win::WS_POPUP) && (style & win::WS_CAPTION) != win::WS_CAPTION) ? True : False;
    unsigned long mask =
        CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask | CWOverrideRedirect;
    ::Window xw =
        XCreateWindow(I.dpy, I.root, r.left, r.top, static_cast<unsigned>(std::max(1, r.width())),
                      static_cast<unsigned>(std::max(1, r.height())), 0, I.depth, InputOutput,
                      I.visual, mask, &a);
    // What XSetWMProtocols stores, without its lookup of the WM_PROTOCOLS atom (a round trip:
    // the atoms were asked for without Xlib's atom cache).
    XChangeProperty(I.dpy, xw, I.wm_protocols, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&I.wm_delete), 1);
    // The frame is drawn by the window system itself: ask the manager for no decorations.
    struct {
        unsigned long flags, functions, decorations;
        long input_mode;
        unsigned long status;
    } hints = {2, 0, 0, 0, 0};
    XChangeProperty(I.dpy, xw, I.motif_hints, I.motif_hints, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), 5);
    XSizeHints sh{};
    sh.flags = PPosition | PSize;
    sh.x = r.left;
    sh.y = r.top;
    sh.width = r.width();
    sh.height = r.height();
    XSetWMNormalHints(I.dpy, xw, &sh);
    if (win::HWND owner = win::GetWindow(h, win::GW_OWNER)) {
        auto it = I.natives.find(owner);
        if (it != I.natives.end())
            XSetTransientForHint(I.dpy, xw, it->second.xwin);
    }
    Impl::Native n;
    n.xwin = xw;
    n.gc = XCreateGC(I.dpy, xw, 0, nullptr);
    I.natives[h] = n;
    I.by_xwin[xw] = h;
    window_text_changed(h, win::GetWindowText(h));
}

void X11Display::window_shown(win::HWND h, bool visible) {
    auto& I = *impl_;
    auto it = I.natives.find(h);
    if (it == I.natives.end())
        return;
    if (visible) {
        XMapRaised(I.dpy, it->second.xwin);
    } else {
        XUnmapWindow(I.dpy, it->second.xwin);
        it->second.mapped = false;
    }
    XFlush(I.dpy);
}

void X11Display::window_moved(win::HWND h, const win::RECT& r) {
    auto& I = *impl_;
    auto it = I.natives.find(h);
    if (it == I.natives.end())
        return;
    const int cx = std::max(1, r.width()), cy = std::max(1, r.height());
    XMoveResizeWindow(I.dpy, it->second.xwin, r.left, r.top, static_cast<unsigned>(cx),
                      static_cast<unsigned>(cy));
    auto& asked = it->second.requested_sizes;
    asked.emplace_back(cx, cy);
    if (asked.size() > 64)
        asked.pop_front();  // a server that never answers some of them: forget the oldest
}

void X11Display::window_text_changed(win::HWND h, const std::string& text) {
    auto& I = *impl_;
    auto it = I.natives.find(h);
    if (it == I.natives.end())
        return;
    XStoreName(I.dpy, it->second.xwin, text.c_str());
    XChangeProperty(I.dpy, it->second.xwin, I.net_wm_name, I.utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()),
                    static_cast<int>(text.size()));
}

void X11Display::window_activated(win::HWND h) {
    auto& I = *impl_;
    auto it = I.natives.find(h);
    if (it == I.natives.end())
        return;
    XRaiseWindow(I.dpy, it->second.xwin);
    // The server refuses the focus for a window that is not viewable, and the manager may have
    // unmapped this one since we last heard from it.
    XWindowAttributes a;
    if (it->second.mapped && XGetWindowAttributes(I.dpy, it->second.xwin, &a) &&
        a.map_state == IsViewable) {
        XSetInputFocus(I.dpy, it->second.xwin, RevertToParent, CurrentTime);
    }
}

void X11Display::window_minimized(win::HWND h, bool minimized) {
    auto& I = *impl_;
    auto it = I.natives.find(h);
    if (it == I.natives.end())
        return;
    if (minimized) {
        XIconifyWindow(I.dpy, it->second.xwin, I.screen);
    } else {
        XMapRaised(I.dpy, it->second.xwin);
    }
}

void X11Display::window_shaped(win::HWND h, const gdi::Region* shape) {
    auto& I = *impl_;
    auto it = I.natives.find(h);
    if (it == I.natives.end() || !I.shapes())
        return;
    const ::Window xw = it->second.xwin;
    if (!shape) {
        XShapeCombineMask(I.dpy, xw, ShapeBounding, 0, 0, None, ShapeSet);
    } else {
        // The bounding shape also bounds the input, so that clicks on the cut-away parts go to
        // whatever shows through. An empty list leaves nothing of the window.
        std::vector<XRectangle> rects;
        rects.reserve(shape->rects().size());
        for (const gdi::Rect& r : shape->rects()) {
            if (r.empty())
                continue;
            rects.push_back({static_cast<short>(std::clamp(r.left, -32768, 32767)),
                             static_cast<short>(std::clamp(r.top, -32768, 32767)),
                             static_cast<unsigned short>(std::min(r.width(), 65535)),
                             static_cast<unsigned short>(std::min(r.height(), 65535))});
        }
        XShapeCombineRectangles(I.dpy, xw, ShapeBounding, 0, 0, rects.data(),
                                static_cast<int>(rects.size()), ShapeSet, Unsorted);
    }
    XFlush(I.dpy);
}

void X11Display::window_destroyed(win::HWND h) {
    auto& I = *impl_;
    auto it = I.natives.find(h);
    if (it == I.natives.end())
        return;
    I.free_image(it->second);
    if (it->second.gc)
        XFreeGC(I.dpy, it->second.gc);
    XDestroyWindow(I.dpy, it->second.xwin);
    I.by_xwin.erase(it->second.xwin);
    I.natives.erase(it);
    XFlush(I.dpy);
}

void X11Display::present(win::HWND h, const gdi::Bitmap& b, const win::RECT& dirty) {
    auto& I = *impl_;
    auto it = I.natives.find(h);
    if (it == I.natives.end() || b.empty())
        return;
    Impl::Native& n = it->second;
    const win::RECT d = dirty.intersect(b.rect());
    if (d.empty())
        return;
    ++presents_;
    presented_pixels_ += static_cast<int64_t>(d.width()) * d.height();
    const bool composed_in_place =
        n.image && reinterpret_cast<const char*>(b.data()) == n.image->data;
    if (I.shm && !composed_in_place && (!n.image || n.w != b.width() || n.h != b.height()))
        I.make_image(n, b.width(), b.height());
    if (I.shm && n.image) {
        if (!composed_in_place) {
            for (int y = d.top; y < d.bottom; ++y) {
                std::memcpy(n.image->data + static_cast<size_t>(y) * n.image->bytes_per_line +
                                static_cast<size_t>(d.left) * 4,
                            b.row(y) + d.left, static_cast<size_t>(d.width()) * 4);
            }
        }
        XShmPutImage(I.dpy, n.xwin, n.gc, n.image, d.left, d.top, d.left, d.top,
                     static_cast<unsigned>(d.width()), static_cast<unsigned>(d.height()), False);
        // The image is written again by the next paint or present; let the server finish
        // reading it first.
        XSync(I.dpy, False);
        if (I.confirm_attach(n))
            return;
        // The server could not read the segment: the same pixels go by XPutImage below.
    }
    // No shared memory: an image over the bitmap's own pixels, no copy on our side.
    XImage* img = XCreateImage(I.dpy, I.visual, static_cast<unsigned>(I.depth), ZPixmap, 0,
                               const_cast<char*>(reinterpret_cast<const char*>(b.data())),
                               static_cast<unsigned>(b.width()), static_cast<unsigned>(b.height()),
                               32, b.width() * 4);
    if (!img)
        return;
    XPutImage(I.dpy, n.xwin, n.gc, img, d.left, d.top, d.left, d.top,
              static_cast<unsigned>(d.width()), static_cast<unsigned>(d.height()));
    img->data = nullptr;
    XDestroyImage(img);
    XFlush(I.dpy);
}

void X11Display::Impl::handle(XEvent& ev) {
    if (ev.type == MappingNotify) {
        // The keyboard map changed (another layout, a remapped key): look keys up anew.
        XRefreshKeyboardMapping(&ev.xmapping);
        return;
    }
    if (clipboard && clipboard->handle(ev))
        return;
    win::HWND h = hwnd_of(ev.xany.window);
    if (!h || !win::IsWindow(h))
        return;
    switch (ev.type) {
        case Expose:
            win::NativeExpose(h, win::RECT::from_xywh(ev.xexpose.x, ev.xexpose.y, ev.xexpose.width,
                                                      ev.xexpose.height));
            break;
        case MapNotify: {
            Native& n = natives[h];
            n.mapped = true;
            if (n.iconified) {
                // The window manager brought back the window it had iconified.
                n.iconified = false;
                win::NativeRestoreRequest(h);
            }
            win::NativeExpose(h, win::RECT{0, 0, 1 << 15, 1 << 15});
            break;
        }
        case UnmapNotify: {
            Native& n = natives[h];
            n.mapped = false;
            // Unmapped while minimized and still shown on our side: the manager iconified it.
            n.iconified = win::IsIconic(h) && win::IsWindowVisible(h);
            break;
        }
        case ConfigureNotify: {
            // The server confirms our requests one by one. The confirmation of a size we asked
            // for before the latest is history (a drag has gone on since): taken for news, it
            // would size the window back, and then forward again.
            auto& asked = natives[h].requested_sizes;
            const auto echo = std::find(asked.begin(), asked.end(),
                                        std::make_pair(ev.xconfigure.width, ev.xconfigure.height));
            if (echo != asked.end()) {
                asked.erase(asked.begin(), echo + 1);
                if (!asked.empty())
                    break;
            }
            int x = 0, y = 0;
            ::Window child;
            XTranslateCoordinates(dpy, ev.xconfigure.window, root, 0, 0, &x, &y, &child);
            win::NativeMoved(h,
                             win::RECT::from_xywh(x, y, ev.xconfigure.width, ev.xconfigure.height));
            break;
        }
        case ButtonPress:
        case ButtonRelease: {
            const bool down = ev.type == ButtonPress;
            // Root coordinates: the window may have moved since the server sent the event
            // (a drag moves it under the pointer), and the root does not.
            const win::POINT p{ev.xbutton.x_root, ev.xbutton.y_root};
            switch (ev.xbutton.button) {
                case Button1:
                    win::InjectMouse(down ? win::MouseAction::LeftDown : win::MouseAction::LeftUp,
                                     p);
                    break;
                case Button2:
                    win::InjectMouse(
                        down ? win::MouseAction::MiddleDown : win::MouseAction::MiddleUp, p);
                    break;
                case Button3:
                    win::InjectMouse(down ? win::MouseAction::RightDown : win::MouseAction::RightUp,
                                     p);
                    break;
                case Button4:
                case Button5:
                    if (down) {
                        win::InjectMouse(win::MouseAction::Wheel, p,
                                         ev.xbutton.button == Button4 ? 120 : -120);
                    }
                    break;
                default:
                    break;
            }
            break;
        }
        case MotionNotify: {
            // Only the latest position of a run of motion matters. Anything else in between (a
            // press, a release) ends the run, so input keeps its order.
            XEvent next;
            while (XPending(dpy) > 0) {
                XPeekEvent(dpy, &next);
                if (next.type != MotionNotify || next.xmotion.window != ev.xmotion.window)
                    break;
                XNextEvent(dpy, &ev);
            }
            win::InjectMouse(win::MouseAction::Move, {ev.xmotion.x_root, ev.xmotion.y_root});
            break;
        }
        case KeyPress:
        case KeyRelease: {
            char buf[32] = {};
            KeySym sym = 0;
            const int n = XLookupString(&ev.xkey, buf, sizeof buf - 1, &sym, nullptr);
            const int vk = vk_from_keysym(sym);
            std::string text;
            if (ev.type == KeyPress)
                text = typed_text(sym, std::string(buf, static_cast<size_t>(std::max(0, n))));
            if (vk)
                win::InjectKey(vk, ev.type == KeyPress, text);
            else if (!text.empty())
                win::InjectText(text);
            break;
        }
        case FocusIn:
            if (ev.xfocus.mode == NotifyNormal || ev.xfocus.mode == NotifyWhileGrabbed) {
                win::NativeFocus(h, true);
            }
            break;
        case FocusOut:
            if (ev.xfocus.mode == NotifyNormal && ev.xfocus.detail != NotifyInferior) {
                win::NativeFocus(h, false);
            }
            break;
        case ClientMessage:
            if (ev.xclient.message_type == wm_protocols &&
                static_cast<Atom>(ev.xclient.data.l[0]) == wm_delete) {
                win::NativeCloseRequest(h);
            }
            break;
        default:
            break;
    }
}

// Reading the connection costs a system call even when nothing has come, and the loop asks for
// events at every turn. So the connection is read only when something may be there: poll said
// it is readable, or requests have gone out since it was last read (their replies may have
// brought events along into the library's buffers, where poll cannot see them). A loop that
// stays busy without waiting still looks at the socket every so many turns, so input is not
// starved. QLength reads the queue's length from the display structure: no lock, no call.
VELMOR_WAKE_CODE void X11Display::Impl::drain(bool readable) {
    for (;;) {
        if (QLength(dpy) == 0) {
            bool look = readable || NextRequest(dpy) != read_at_request;
            if (!look && ++turns_without_look >= kBusyTurnsBetweenLooks) {
                pollfd p{ConnectionNumber(dpy), POLLIN, 0};
                look = poll(&p, 1, 0) > 0;
                turns_without_look = 0;
            }
            if (!look)
                return;
            // Sends what is buffered and takes in what has arrived, without waiting.
            XEventsQueued(dpy, QueuedAfterFlush);
            ++socket_reads;
            read_at_request = NextRequest(dpy);
            turns_without_look = 0;
            readable = false;
            if (QLength(dpy) == 0)
                return;
        }
        XEvent ev;
        XNextEvent(dpy, &ev);
        handle(ev);
    }
}

VELMOR_WAKE_CODE void X11Display::process_events() {
    impl_->drain(false);
}

VELMOR_WAKE_CODE void X11Display::wait_events(int timeoutMs) {
    auto& I = *impl_;
    I.drain(false);  // leaves nothing queued and nothing unsent
    const bool readable = I.waiter->wait(timeoutMs);
    I.turns_without_look = 0;
    I.drain(readable);
}

bool X11Display::watch_descriptor(int fd, bool input) {
    return impl_->waiter->watch(fd, input);
}

void X11Display::unwatch_descriptor(int fd) {
    impl_->waiter->unwatch(fd);
}

int64_t X11Display::socket_reads() const {
    return impl_->socket_reads;
}

bool X11Display::has_clipboard() const {
    return true;
}

// The clipboard's window and atoms are made on first use, so start-up does not wait for them.
bool X11Display::set_clipboard_text(const std::string& utf8) {
    if (!impl_->clipboard)
        impl_->clipboard = std::make_unique<X11Clipboard>(impl_->dpy, impl_->root);
    return impl_->clipboard->set_text(utf8);
}

std::optional<std::string> X11Display::clipboard_text() {
    if (!impl_->clipboard)
        impl_->clipboard = std::make_unique<X11Clipboard>(impl_->dpy, impl_->root);
    return impl_->clipboard->text();
}

void X11Display::sync() {
    XSync(impl_->dpy, False);
    process_events();
}

void X11Display::finish() {
    // When the server has answered the last request sent (the round trip that ends a present
    // does that), it has handled every request of ours: no round trip, which costs the program
    // more CPU time than a paint.
    ::Display* dpy = impl_->dpy;
    if (LastKnownRequestProcessed(dpy) + 1 != NextRequest(dpy))
        XSync(dpy, False);
    process_events();
}

}  // namespace display
