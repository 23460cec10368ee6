#include "platform/display/display.h"

#include "platform/display/headless/headless_display.h"
#include "platform/display/x11/x11_display.h"
#include "platform/gdi/png.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"

namespace display {

namespace {

// Uninstalls the driver when the display goes away.
template <class Base>
class Installed final : public Base {
  public:
    using Base::Base;
    ~Installed() override {
        if (win::GetDisplayDriver() == this)
            win::SetDisplayDriver(nullptr);
    }
};

}  // namespace

std::unique_ptr<Display> Open(const Options& options, std::string* error) {
    std::unique_ptr<Display> d;
    if (options.kind == Kind::Headless) {
        win::SetScreenSize(options.screen.cx, options.screen.cy);
        d = std::make_unique<Installed<HeadlessDisplay>>(options.screen);
    } else {
        std::string why;
        auto x = X11Display::Connect(options.x_display, &why);
        if (!x) {
            if (error)
                *error = why;
            return nullptr;
        }
        d = std::move(x);
    }
    win::SetDisplayDriver(d.get());
    return d;
}

bool WriteWindowPng(win::HWND topLevel, const std::string& path, std::string* error) {
    const gdi::Bitmap* b = win::GetWindowBitmap(topLevel);
    if (!b || b->empty()) {
        if (error)
            *error = "no such top-level window";
        return false;
    }
    win::UpdateAllWindows();
    if (!gdi::write_png_file(path, *b)) {
        if (error)
            *error = "cannot write " + path;
        return false;
    }
    return true;
}

bool WriteScreenPng(const std::string& path, std::string* error) {
    win::UpdateAllWindows();
    if (!gdi::write_png_file(path, win::ComposeScreen())) {
        if (error)
            *error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace display
