// A small demonstration window built straight on the window system: a frame with a few hundred
// child windows painted through gdi and a timer that counts.
//   velmor-win-demo [--headless] [--screen WxH] [--screenshot FILE]

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "demo_scene.h"
#include "platform/display/display.h"
#include "platform/win/win.h"

int main(int argc, char** argv) {
    bool headless = false;
    std::string screenshot;
    int repaints = 0;  // full repaints before exiting: for instruction counts under callgrind
    win::SIZE screen{1280, 1024};
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--headless")) {
            headless = true;
        } else if (!std::strcmp(argv[i], "--screen") && i + 1 < argc) {
            int w = 0, h = 0;
            if (std::sscanf(argv[++i], "%dx%d", &w, &h) != 2 || w <= 0 || h <= 0) {
                std::fprintf(stderr, "--screen wants WIDTHxHEIGHT, e.g. 1280x1024\n");
                return 2;
            }
            screen = {w, h};
        } else if (!std::strcmp(argv[i], "--repaints") && i + 1 < argc) {
            repaints = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--screenshot") && i + 1 < argc) {
            screenshot = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--headless] [--screen WxH] [--screenshot FILE]\n",
                         argv[0]);
            return 2;
        }
    }
    display::Options o;
    o.kind = headless ? display::Kind::Headless : display::Kind::X11;
    o.screen = screen;
    std::string err;
    auto disp = display::Open(o, &err);
    if (!disp) {
        std::fprintf(stderr,
                     "%s; run with --headless --screenshot FILE to render without a display\n",
                     err.c_str());
        return 1;
    }
    demo::Scene s = demo::Build(242);
    static demo::Scene* scene = &s;
    static int ticks = 0;
    win::SetTimer(s.frame, 1, 1000, [](win::HWND, win::UINT, win::UINT_PTR, win::DWORD) {
        demo::SetCounter(*scene, ++ticks);
    });
    win::UpdateAllWindows();
    if (repaints > 0) {
        for (int i = 0; i < repaints; ++i)
            demo::RepaintFully(s);
        return 0;
    }
    if (!screenshot.empty()) {
        if (!display::WriteWindowPng(s.frame, screenshot, &err)) {
            std::fprintf(stderr, "%s\n", err.c_str());
            return 1;
        }
        return 0;
    }
    return win::RunMessageLoop();
}
