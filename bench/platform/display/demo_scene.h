#pragma once

#include <string>

#include "platform/win/win.h"

namespace demo {

// A console-like window built straight on the window system: a captioned 1265 x 693 frame
// with rows of buttons, edits and labels, each painting itself with fills, 3-D frames and
// text, and a label showing a counter.
struct Scene {
    win::HWND frame = nullptr;
    win::HWND counter = nullptr;
    int controls = 0;
};

void RegisterClasses();
// Builds the scene with about `controls` child windows (not shown until `show`).
Scene Build(int controls, bool show = true);
// Sets the counter label's text (invalidates only that label).
void SetCounter(const Scene& s, int value);
// Invalidates the whole frame and its children, frame areas included, and paints it all: the
// unit of the full-repaint figures (callgrind can collect on this function alone).
void RepaintFully(const Scene& s);

}  // namespace demo
