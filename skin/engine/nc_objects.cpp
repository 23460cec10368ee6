#include "skin/engine/nc_objects.h"

#include <algorithm>
#include <utility>

#include "skin/engine/win_skin_form.h"
#include "skin/skin_draw.h"
#include "skin/skin_elements.h"

namespace skin {

void TNCObject::MouseDown() {
    state = 2;
    Draw();
}

void TNCObject::MouseUp() {
    state = 3;
    Draw();
}

void TNCObject::MouseEnter() {
    state = 3;
    Draw();
}

void TNCObject::MouseLeave() {
    state = 1;
    Draw();
}

TWinSysButton::TWinSysButton(TWinSkinForm* sf, TSkinData* sd, const TDataSkinSysButton* d)
    : TNCObject(sf, sd), data(*d) {
    image = std::move(data.Map);
    frames = std::max(1, data.frame);
}

int TWinSysButton::Action() const {
    return data.Action;
}

int TWinSysButton::ImageWidth() const {
    return image.width() / frames;
}

int TWinSysButton::CaptionState(bool window_active) const {
    const int inactive = frames >= 4 ? 4 : 1;
    return (window_active && enabled) ? 1 : inactive;
}

int TWinSysButton::RedrawState() const {
    if (!enabled)
        return frames >= 4 ? 4 : 1;
    // The caption buttons of a maximized child show their fourth image for the hover.
    if (data.Visibility == 100 && state == 3)
        return 4;
    return state;
}

void TWinSysButton::Paint(gdi::DC& dc, int image_state) const {
    if (image.empty() || bounds.empty())
        return;
    DrawRect1(dc, bounds, image, frames, std::min(image_state, frames), true);
}

void TWinSysButton::Draw() {
    if (SF)
        SF->DrawSysBtn(this);
}

}  // namespace skin
