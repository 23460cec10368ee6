#include "platform/win/painting.h"
#include "platform/clock/wake_path.h"

#include <algorithm>
#include <cstring>

#include "platform/win/internal.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"

namespace win {

using detail::get;
using detail::state;
using detail::Window;

namespace detail {

namespace {

// A window's area in its parent's client coordinates as a region (rectangle and shape).
gdi::Region area_in_parent(const Window* c) {
    if (c->shape)
        return c->shape->offset_by(c->rect.left, c->rect.top).intersect(c->rect);
    return gdi::Region(c->rect);
}

}  // namespace

const gdi::Region& visible_region(const Window* w, bool client_only, bool clip_children) {
    // A paint asks for the same window's region again and again while the layout stands
    // still (every repaint of a page of controls): it is worked out once per layout.
    const uint64_t generation = state().layout_generation;
    Window::VisibleCache& c = w->visible_cache[client_only ? 0 : 1];
    if (c.generation != generation || c.clip_children != clip_children) {
        c.region = compute_visible_region(w, client_only, clip_children);
        c.generation = generation;
        c.client_only = client_only;
        c.clip_children = clip_children;
    }
    return c.region;
}

gdi::Region compute_visible_region(const Window* w, bool client_only, bool clip_children) {
    if (!visible_chain(w))
        return {};
    const POINT o = origin_in_root(w);
    const RECT whole{0, 0, w->rect.width(), w->rect.height()};
    gdi::Region rgn(client_only ? w->client.offset(o.x, o.y) : whole.offset(o.x, o.y));
    if (w->shape)
        rgn &= w->shape->offset_by(o.x, o.y);
    if (clip_children && !w->children.empty()) {
        const int cx = o.x + w->client.left;
        const int cy = o.y + w->client.top;
        // Children without a shape are taken out in one go: one region built from all their
        // rectangles, then one subtraction (a window of hundreds of controls stays cheap).
        // Children show only inside the client area, so only that part of them is taken out:
        // a child that lies partly outside (a minimized window's children, whose client area is
        // empty) leaves the frame to the window.
        const RECT client = w->client.offset(o.x, o.y);
        std::vector<RECT> plain;
        plain.reserve(w->children.size());
        const RECT area = rgn.bounds();
        for (const Window* c : w->children) {
            if (!(c->style & WS_VISIBLE) || c->rect.offset(cx, cy).intersect(area).empty())
                continue;
            if (c->shape) {
                rgn -= area_in_parent(c).offset_by(cx, cy).intersect(client);
            } else {
                const RECT r = c->rect.offset(cx, cy).intersect(client);
                if (!r.empty())
                    plain.push_back(r);
            }
        }
        if (!plain.empty())
            rgn -= gdi::Region::from_rects(plain);
    }
    for (const Window* c = w; c->parent; c = c->parent) {
        const Window* p = c->parent;
        const POINT po = origin_in_root(p);
        const int cx = po.x + p->client.left;
        const int cy = po.y + p->client.top;
        if (c->style & WS_CLIPSIBLINGS) {
            // Siblings above that do not reach what is left are passed over without building
            // their areas (a control among a hundred meets a few).
            for (const Window* s : p->children) {
                if (s == c)
                    break;
                if ((s->style & WS_VISIBLE) &&
                    !s->rect.offset(cx, cy).intersect(rgn.bounds()).empty())
                    rgn -= area_in_parent(s).offset_by(cx, cy);
            }
        }
        rgn = rgn.intersect(p->client.offset(po.x, po.y));
        if (p->shape)
            rgn &= p->shape->offset_by(po.x, po.y);
        if (rgn.empty())
            break;
    }
    return rgn;
}

void invalidate(Window* w, const gdi::Region& window_coords, UINT flags) {
    state().paint_maybe = true;
    if (!visible_chain(w))
        return;
    const RECT whole{0, 0, w->rect.width(), w->rect.height()};
    gdi::Region rgn = window_coords.intersect(whole);
    if (w->shape)
        rgn &= *w->shape;
    if (rgn.empty())
        return;
    gdi::Region client_part = rgn.intersect(w->client);
    if (flags & RDW_INVALIDATE) {
        // Part of the area lies in the frame when the client area does not hold its bounds.
        if ((flags & RDW_FRAME) && !w->client.encloses(rgn.bounds()))
            w->ncpaint_pending = true;
        if (!client_part.empty()) {
            w->update |= client_part;
            if (flags & RDW_ERASE)
                w->erase_pending = true;
        }
        if (flags & RDW_INTERNALPAINT)
            w->internal_paint = true;
    } else if (flags & RDW_VALIDATE) {
        w->update -= rgn;
        if (w->update.empty())
            w->erase_pending = false;
        if ((flags & RDW_FRAME) && rgn.bounds() == whole)
            w->ncpaint_pending = false;
        if (flags & RDW_NOINTERNALPAINT)
            w->internal_paint = false;
        w->in_paint = true;
    }
    const bool recurse =
        (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
    if (!recurse || client_part.empty())
        return;
    UINT child_flags = flags | ((flags & RDW_INVALIDATE) ? RDW_FRAME : 0);
    for (Window* c : w->children) {
        if (!(c->style & WS_VISIBLE))
            continue;
        RECT in_parent = c->rect.offset(w->client.left, w->client.top);
        if (!client_part.intersects(in_parent))
            continue;
        invalidate(c, client_part.offset_by(-in_parent.left, -in_parent.top), child_flags);
    }
}

void invalidate_parent_area(Window* w, const RECT& rect_in_parent) {
    Window* p = w->parent;
    if (!p)
        return;
    gdi::Region r(rect_in_parent.offset(p->client.left, p->client.top));
    invalidate(p, r, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void ensure_backing(Window* top) {
    const int w = std::max(0, top->rect.width());
    const int h = std::max(0, top->rect.height());
    if (top->backing && top->backing->width() == w && top->backing->height() == h)
        return;
    const gdi::Pixel fill = gdi::pixel_of(GetSysColor(COLOR_BTNFACE));
    auto& s = state();
    gdi::Bitmap fresh =
        s.driver ? s.driver->make_backing(top->handle, w, h, fill) : gdi::Bitmap(w, h, fill);
    // The bitmap object stays the same one, so DCs open on it follow it to the new size.
    if (top->backing)
        *top->backing = std::move(fresh);
    else
        top->backing = std::make_unique<gdi::Bitmap>(std::move(fresh));
    top->dirty = {0, 0, w, h};
    s.present_maybe = true;
}

VELMOR_WAKE_CODE bool flush_presents() {
    auto& s = state();
    if (!s.present_maybe)
        return false;
    bool presented = false;
    bool left = false;  // a dirty part that could not be presented now
    for (Window* t : s.toplevels) {
        if (t->dirty.empty())
            continue;
        if (s.driver && t->backing && (t->style & WS_VISIBLE)) {
            RECT d = t->dirty.intersect(t->backing->rect());
            t->dirty = {};
            if (!d.empty()) {
                s.driver->present(t->handle, *t->backing, d);
                presented = true;
            }
        } else if (!s.driver) {
            t->dirty = {};
        } else {
            left = true;
        }
    }
    s.present_maybe = left;
    return presented;
}

namespace {

bool needs_paint(const Window* w) {
    return !w->update.empty() || w->internal_paint || w->ncpaint_pending;
}

Window* find_paint(Window* w) {
    if (!(w->style & WS_VISIBLE))
        return nullptr;
    if (needs_paint(w))
        return w;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        if (Window* f = find_paint(*it))
            return f;
    }
    return nullptr;
}

// Every window that needs painting, parents before children, lower siblings first.
void collect_paint(Window* w, std::deque<HWND>& out) {
    if (!(w->style & WS_VISIBLE))
        return;
    if (needs_paint(w))
        out.push_back(w->handle);
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it)
        collect_paint(*it, out);
}

}  // namespace

[[gnu::hot]] Window* next_window_to_paint(HWND filter) {
    auto& s = state();
    if (!s.paint_maybe)
        return nullptr;
    if (filter) {
        Window* w = get(filter);
        if (!w || !visible_chain(w))
            return nullptr;
        return find_paint(w);
    }
    // One walk of the tree finds all windows to paint; they are served in that order, each
    // checked again when its turn comes. What becomes invalid meanwhile is found by the next
    // walk, so a window of hundreds of controls is not searched once per control.
    for (int walk = 0; walk < 2; ++walk) {
        while (!s.paint_queue.empty()) {
            HWND h = s.paint_queue.front();
            s.paint_queue.pop_front();
            Window* w = get(h);
            if (!w || !needs_paint(w) || !visible_chain(w))
                continue;
            // A minimized window shows its caption bar only: its children are not painted.
            if (w->parent && (root_of(w)->style & WS_MINIMIZE))
                continue;
            return w;
        }
        if (walk == 1)
            break;
        for (auto it = s.toplevels.rbegin(); it != s.toplevels.rend(); ++it)
            collect_paint(*it, s.paint_queue);
    }
    s.paint_maybe = false;
    return nullptr;
}

}  // namespace detail

namespace {

// Released DCs kept for reuse; more than this at once are freed.
constexpr size_t kSpareDcs = 8;

HDC make_dc(Window* w, bool whole_window, const gdi::Region* extra_root) {
    auto& s = state();
    Window* root = detail::root_of(w);
    detail::ensure_backing(root);
    const POINT o = detail::origin_in_root(w);
    const POINT dev = whole_window ? o : POINT{o.x + w->client.left, o.y + w->client.top};
    const gdi::Region& visible =
        detail::visible_region(w, !whole_window, (w->style & WS_CLIPCHILDREN) != 0);
    gdi::Region vis = extra_root ? visible & *extra_root : visible;
    const RECT bounds = vis.bounds();
    vis.offset(-dev.x, -dev.y);
    std::unique_ptr<gdi::DC> dc;
    if (s.spare_dcs.empty()) {
        dc = std::make_unique<gdi::DC>(*root->backing);
    } else {
        dc = std::move(s.spare_dcs.back());
        s.spare_dcs.pop_back();
        dc->reset(*root->backing);
    }
    dc->set_dc_origin(dev);
    dc->set_visible_region(std::move(vis));
    dc->select_font(GetDefaultGuiFont());
    dc->set_text_color(GetSysColor(COLOR_WINDOWTEXT));
    dc->set_bk_color(GetSysColor(COLOR_WINDOW));
    HDC h = dc.get();
    detail::DcEntry e;
    e.hwnd = w->handle;
    e.root = root->handle;
    e.bounds = bounds;
    e.dc = std::move(dc);
    s.dcs.push_back(std::move(e));
    return h;
}

// The entry of a DC handed out and not released, or nullptr.
detail::DcEntry* find_dc(HDC dc) {
    auto& dcs = state().dcs;
    for (size_t k = dcs.size(); k-- > 0;) {
        if (dcs[k].dc.get() == dc)
            return &dcs[k];
    }
    return nullptr;
}

void paint_now(Window* w, bool children) {
    HWND h = w->handle;
    if (!detail::visible_chain(w))
        return;
    if (w->ncpaint_pending && w->update.empty() && !w->internal_paint) {
        w->ncpaint_pending = false;
        SendMessage(h, WM_NCPAINT, 1, 0);
    } else if (!w->update.empty() || w->internal_paint) {
        MSG m;
        m.hwnd = h;
        m.message = WM_PAINT;
        DispatchMessage(&m);
    }
    if (!children || !(w = get(h)))
        return;
    std::vector<HWND> kids;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it)
        kids.push_back((*it)->handle);
    for (HWND k : kids) {
        if (Window* c = get(k))
            paint_now(c, true);
    }
}

}  // namespace

bool InvalidateRect(HWND hwnd, const RECT* rect, bool erase) {
    return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

bool InvalidateRgn(HWND hwnd, const gdi::Region* region, bool erase) {
    return RedrawWindow(hwnd, nullptr, region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

bool ValidateRect(HWND hwnd, const RECT* rect) {
    return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

bool ValidateRgn(HWND hwnd, const gdi::Region* region) {
    return RedrawWindow(hwnd, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}

bool RedrawWindow(HWND hwnd, const RECT* rect, const gdi::Region* region, UINT flags) {
    Window* w = get(hwnd);
    if (!w)
        return false;
    gdi::Region rgn;
    const int cx = w->client.left;
    const int cy = w->client.top;
    if (region) {
        rgn = region->offset_by(cx, cy);
    } else if (rect) {
        rgn = gdi::Region(rect->offset(cx, cy));
    } else if (flags & RDW_FRAME) {
        rgn = gdi::Region(RECT{0, 0, w->rect.width(), w->rect.height()});
    } else {
        rgn = gdi::Region(w->client);
    }
    if (flags & (RDW_INVALIDATE | RDW_VALIDATE))
        detail::invalidate(w, rgn, flags);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
        if ((w = get(hwnd)))
            paint_now(w, (flags & RDW_ALLCHILDREN) || !(w->style & WS_CLIPCHILDREN));
        detail::flush_presents();
    }
    return true;
}

bool GetUpdateRect(HWND hwnd, RECT* rect, bool) {
    Window* w = get(hwnd);
    if (!w)
        return false;
    RECT b = w->update.bounds().offset(-w->client.left, -w->client.top);
    if (rect)
        *rect = w->update.empty() ? RECT{} : b;
    return !w->update.empty();
}

int GetUpdateRgn(HWND hwnd, gdi::Region* out, bool) {
    Window* w = get(hwnd);
    if (!w)
        return ERROR_REGION;
    gdi::Region r = w->update.offset_by(-w->client.left, -w->client.top);
    if (out)
        *out = r;
    if (r.empty())
        return NULLREGION;
    return r.rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    Window* w = get(hwnd);
    if (!w || !ps)
        return nullptr;
    w->in_paint = true;
    if (w->ncpaint_pending) {
        w->ncpaint_pending = false;
        SendMessage(hwnd, WM_NCPAINT, 1, 0);
        if (!(w = get(hwnd)))
            return nullptr;
    }
    gdi::Region paint = w->update.intersect(w->client);
    w->update = gdi::Region();
    w->internal_paint = false;
    const bool erase = w->erase_pending;
    w->erase_pending = false;
    const POINT o = detail::origin_in_root(w);
    gdi::Region paint_root = paint.offset_by(o.x, o.y);
    HDC dc = make_dc(w, false, &paint_root);
    ps->hdc = dc;
    ps->rcPaint = paint.empty() ? RECT{} : paint.bounds().offset(-w->client.left, -w->client.top);
    ps->fErase = FALSE;
    if (erase && !paint.empty()) {
        ps->fErase =
            SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    }
    return dc;
}

bool EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    if (!ps)
        return false;
    return ReleaseDC(hwnd, ps->hdc) != 0;
}

bool UpdateWindow(HWND hwnd) {
    Window* w = get(hwnd);
    if (!w)
        return false;
    paint_now(w, false);
    detail::flush_presents();
    return true;
}

HDC GetDC(HWND hwnd) {
    Window* w = get(hwnd);
    return w ? make_dc(w, false, nullptr) : nullptr;
}

HDC GetWindowDC(HWND hwnd) {
    Window* w = get(hwnd);
    return w ? make_dc(w, true, nullptr) : nullptr;
}

HDC GetDCEx(HWND hwnd, const gdi::Region* clip, UINT flags) {
    Window* w = get(hwnd);
    if (!w)
        return nullptr;
    const bool whole = (flags & DCX_WINDOW) != 0;
    if (clip && (flags & DCX_INTERSECTRGN)) {
        const POINT o = detail::origin_in_root(w);
        const int dx = o.x + (whole ? 0 : w->client.left);
        const int dy = o.y + (whole ? 0 : w->client.top);
        gdi::Region r = clip->offset_by(dx, dy);
        return make_dc(w, whole, &r);
    }
    return make_dc(w, whole, nullptr);
}

int ReleaseDC(HWND, HDC dc) {
    auto& s = state();
    detail::DcEntry* e = find_dc(dc);
    if (!e)
        return 0;
    if (Window* root = get(e->root)) {
        root->dirty = root->dirty.unite(e->bounds);
        s.present_maybe = true;
    }
    std::unique_ptr<gdi::DC> released = std::move(e->dc);
    s.dcs.erase(s.dcs.begin() + (e - s.dcs.data()));
    // A handle kept past its release draws nothing, whatever window the object serves next.
    released->detach();
    if (s.spare_dcs.size() < kSpareDcs)
        s.spare_dcs.push_back(std::move(released));
    return 1;
}

HWND WindowFromDC(HDC dc) {
    const detail::DcEntry* e = find_dc(dc);
    return e ? e->hwnd : nullptr;
}

void UpdateAllWindows() {
    MSG m;
    while (PeekMessage(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        DispatchMessage(&m);
    detail::flush_presents();
}

const gdi::Bitmap* GetWindowBitmap(HWND topLevel) {
    Window* w = get(topLevel);
    if (!w || w->parent)
        return nullptr;
    detail::ensure_backing(w);
    return w->backing.get();
}

gdi::Bitmap ComposeScreen() {
    auto& s = state();
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    gdi::Bitmap screen(sw, sh, gdi::pixel_of(GetSysColor(COLOR_DESKTOP)));
    for (auto it = s.toplevels.rbegin(); it != s.toplevels.rend(); ++it) {
        Window* t = *it;
        if (!(t->style & WS_VISIBLE) || !t->backing)
            continue;
        gdi::Region area(RECT{0, 0, t->backing->width(), t->backing->height()});
        if (t->shape)
            area &= *t->shape;
        for (const RECT& r : area.rects()) {
            RECT dst = r.offset(t->rect.left, t->rect.top).intersect(screen.rect());
            for (int y = dst.top; y < dst.bottom; ++y) {
                const gdi::Pixel* src =
                    t->backing->row(y - t->rect.top) + (dst.left - t->rect.left);
                std::memcpy(screen.row(y) + dst.left, src,
                            static_cast<size_t>(dst.width()) * sizeof(gdi::Pixel));
            }
        }
    }
    return screen;
}

gdi::Bitmap CaptureWindow(HWND hwnd) {
    Window* w = get(hwnd);
    if (!w)
        return {};
    Window* root = detail::root_of(w);
    detail::ensure_backing(root);
    const POINT o = detail::origin_in_root(w);
    return root->backing->copy(RECT::from_xywh(o.x, o.y, w->rect.width(), w->rect.height()));
}

}  // namespace win
