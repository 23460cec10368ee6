// The floor of a start-up under X: open the display, create one window of the console's size,
// map it, put one shared-memory image of the whole window on it, wait until the server has
// drawn it, and exit. scripts/startup_time.sh runs it beside the console.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

int main() {
    constexpr unsigned kWidth = 1265, kHeight = 693;
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "bare window: cannot open the X display\n");
        return 1;
    }
    if (!XShmQueryExtension(dpy)) {
        std::fprintf(stderr, "bare window: the X server has no MIT-SHM\n");
        return 1;
    }
    const int screen = DefaultScreen(dpy);
    Visual* visual = DefaultVisual(dpy, screen);
    const int depth = DefaultDepth(dpy, screen);
    Window w = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), 0, 0, kWidth, kHeight, 0, 0, 0);
    XStoreName(dpy, w, "bare window");
    GC gc = XCreateGC(dpy, w, 0, nullptr);
    XShmSegmentInfo info{};
    XImage* img = XShmCreateImage(dpy, visual, static_cast<unsigned>(depth), ZPixmap, nullptr,
                                  &info, kWidth, kHeight);
    info.shmid =
        shmget(IPC_PRIVATE, static_cast<size_t>(img->bytes_per_line) * kHeight, IPC_CREAT | 0600);
    info.shmaddr = img->data = static_cast<char*>(shmat(info.shmid, nullptr, 0));
    shmctl(info.shmid, IPC_RMID, nullptr);
    info.readOnly = False;
    XShmAttach(dpy, &info);
    XMapRaised(dpy, w);
    // The button-face grey of the console's background.
    auto* px = reinterpret_cast<uint32_t*>(img->data);
    for (size_t i = 0; i < static_cast<size_t>(img->bytes_per_line / 4) * kHeight; ++i)
        px[i] = 0xF0F0F0;
    XShmPutImage(dpy, w, gc, img, 0, 0, 0, 0, kWidth, kHeight, False);
    XSync(dpy, False);
    XShmDetach(dpy, &info);
    shmdt(info.shmaddr);
    img->data = nullptr;
    XDestroyImage(img);
    XFreeGC(dpy, gc);
    XCloseDisplay(dpy);
    return 0;
}
