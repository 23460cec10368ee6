#include "skin/engine/skin_toolbar.h"

#include <algorithm>

#include "forms/component_tracker.h"
#include "forms/tool_bar.h"
#include "platform/win/message.h"
#include "platform/win/toolbar.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"

namespace skin {

int ToolbarButtonStateIndex(int frames, bool enabled, bool pressed, bool checked, bool hover) {
    int want = 1;
    if (!enabled)
        want = 3;
    else if (pressed)
        want = 2;
    else if (checked)
        want = frames >= 5 ? 5 : 2;
    else if (hover)
        want = 4;
    return want <= frames ? want : 1;
}

bool TSkinToolbar::PaintsBackground() const {
    return fsd && fsd->Options.has(xoToolbarBK) && fsd->Toolbar && !fsd->Toolbar->Map.empty();
}

bool TSkinToolbar::PaintsButtons() const {
    return fsd && fsd->Options.has(xoToolbarButton) && fsd->Toolbarbtn &&
           !fsd->Toolbarbtn->Map.empty();
}

bool TSkinToolbar::CanPaint() const {
    return PaintsBackground() || PaintsButtons();
}

void TSkinToolbar::DrawControl(gdi::DC& dc, const gdi::Rect& r) {
    if (!CanPaint() || r.empty())
        return;
    BeginOffscreen(offscreen_, r, false);
    gdi::DC mem(offscreen_);
    // The application's own drawing handlers keep their parts: the skin draws the others.
    auto* bar = dynamic_cast<forms::TToolBar*>(control);
    const bool own_background = bar && bar->OnCustomDraw;
    const bool own_buttons = bar && bar->OnCustomDrawButton;
    if (PaintsBackground() && !own_background)
        DrawSkinMap(mem, r, 1, 1, *fsd->Toolbar);
    if (own_background) {
        bool draw_buttons = true;
        Watch watch(this);
        forms::TComponentTracker alive(bar);
        const int saved = mem.save();
        // From a copy: the handler may let itself go while it runs.
        const forms::TToolBarCustomDrawEvent handler = bar->OnCustomDraw;
        handler(bar, mem, r, draw_buttons);
        if (watch.Gone() || alive.Deleted())
            return;
        mem.restore(saved);
        if (!draw_buttons) {
            dc.bit_blt(r.left, r.top, r.width(), r.height(), offscreen_, 0, 0);
            return;
        }
    }
    const gdi::Font font = ControlFont();
    mem.select_font(font);
    mem.set_bk_mode(gdi::BkMode::Transparent);
    const auto style = static_cast<win::DWORD>(win::GetWindowLongPtr(hwnd, win::GWL_STYLE));
    const bool flat = (style & win::TBSTYLE_FLAT) != 0;
    const int hot = static_cast<int>(win::SendMessage(hwnd, win::TB_GETHOTITEM, 0, 0));
    const int count =
        std::clamp(static_cast<int>(win::SendMessage(hwnd, win::TB_BUTTONCOUNT, 0, 0)), 0,
                   win::kToolbarMaxButtons);
    const TDataSkinObject* element = PaintsButtons() ? fsd->Toolbarbtn.get() : nullptr;
    const int frames = element ? std::max(1, element->frame) : 1;
    for (int i = 0; i < count; ++i) {
        win::TBBUTTON b;
        gdi::Rect rc;
        // A hidden button is passed over before its rectangle is asked for: the bar lays out
        // every button to answer that, so a bar of thousands of hidden buttons would otherwise
        // cost the square of its count at each paint.
        if (!win::SendMessage(hwnd, win::TB_GETBUTTON, i, reinterpret_cast<win::LPARAM>(&b)) ||
            (b.fsState & win::TBSTATE_HIDDEN) ||
            !win::SendMessage(hwnd, win::TB_GETITEMRECT, i, reinterpret_cast<win::LPARAM>(&rc)))
            continue;  // hidden, or a bar that answers differently
        if (rc.left >= r.right)
            break;
        if (rc.empty())
            continue;
        win::ToolbarButton item;
        item.command = b.idCommand;
        item.state = b.fsState;
        item.style = b.fsStyle;
        item.separator_width = b.iBitmap;
        if (b.iString && !(b.fsStyle & win::TBSTYLE_SEP))
            item.text = reinterpret_cast<const char*>(b.iString);
        // Asked at each button, separators included, as the bar without a skin asks: a handler
        // that let itself go leaves the rest to the skin.
        if (own_buttons && bar->OnCustomDrawButton && i < bar->ButtonCount()) {
            bool draw = true;
            Watch watch(this);
            forms::TComponentTracker alive(bar);
            const int saved = mem.save();
            const forms::TToolBarCustomDrawButtonEvent handler = bar->OnCustomDrawButton;
            handler(bar, &bar->Buttons(i), mem, draw);
            if (watch.Gone() || alive.Deleted())
                return;
            mem.restore(saved);
            if (!draw)
                continue;
        }
        if (b.fsStyle & win::TBSTYLE_SEP) {
            if (flat) {
                const int x = rc.left + rc.width() / 2 - 1;
                mem.fill_rect({x, rc.top, x + 1, rc.bottom}, SkinColor(csButtonShadow));
                mem.fill_rect({x + 1, rc.top, x + 2, rc.bottom}, SkinColor(csButtonHilight));
            }
            continue;
        }
        const bool on = enabled && (b.fsState & win::TBSTATE_ENABLED);
        if (!element) {
            win::DrawToolbarButton(mem, rc, item, hot == i, flat, enabled, PaintsBackground());
            continue;
        }
        const int state =
            ToolbarButtonStateIndex(frames, on, (b.fsState & win::TBSTATE_PRESSED) != 0,
                                    (b.fsState & win::TBSTATE_CHECKED) != 0, hot == i);
        if (!(flat && state == 1))
            DrawSkinMap(mem, rc, frames, state, *element);
        if (item.text.empty())
            continue;
        gdi::Color colour = fsd->Resolve(element->Normalcolor2);
        if (!on)
            colour = SkinColor(csButtonShadow);
        else if (state == 2 || state == 5)
            colour = fsd->Resolve(element->Downcolor2);
        else if (state == 4)
            colour = fsd->Resolve(element->Overcolor2);
        mem.set_text_color(colour);
        const gdi::Rect t{rc.left + 2, rc.top, rc.right - 2, rc.bottom};
        if (!t.empty())
            mem.draw_text(item.text, t,
                          gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_CENTER |
                              gdi::DT_END_ELLIPSIS | gdi::DT_NOPREFIX);
    }
    dc.bit_blt(r.left, r.top, r.width(), r.height(), offscreen_, 0, 0);
}

}  // namespace skin
