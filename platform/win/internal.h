#pragma once

// The window table and the state every part of the window core shares. Not a public header.

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/region.h"
#include "platform/win/descriptor_watch.h"
#include "platform/win/display_driver.h"
#include "platform/win/inline_block_resource.h"
#include "platform/win/input.h"
#include "platform/win/messages.h"
#include "platform/win/timer.h"
#include "platform/win/window.h"

namespace win::detail {

struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC proc;
    HBRUSH background = 0;
    HICON icon = nullptr;
    HINSTANCE instance = nullptr;
};

struct ScrollBarState {
    int min = 0;
    int max = 100;
    UINT page = 0;
    int pos = 0;
};

struct SubclassNode {
    SUBCLASSPROC proc = nullptr;
    UINT_PTR id = 0;
    DWORD_PTR ref = 0;
    std::shared_ptr<SubclassNode> next;
};

struct SubclassInfo {
    std::shared_ptr<SubclassNode> head;
    // The node DefSubclassProc is to call next in the dispatch under way (nullptr before the
    // first); saved and restored around each dispatch so that nested messages work.
    std::shared_ptr<SubclassNode> cursor;
    bool cursor_started = false;
    int running = 0;
    WNDPROC original;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> cls;
    WNDPROC proc;
    DWORD style = 0;
    DWORD exstyle = 0;
    UINT_PTR id = 0;
    LONG_PTR userdata = 0;
    HINSTANCE instance = nullptr;
    std::string text;
    Window* parent = nullptr;       // child windows only
    Window* owner = nullptr;        // top-level windows only
    std::vector<Window*> children;  // z-order, top first
    RECT rect;          // window rectangle, parent client coordinates (screen for top-level)
    RECT client;        // client rectangle, window coordinates
    RECT restore_rect;  // rectangle before maximize or minimize (top-level: the normal one)
    bool restore_maximized = false;    // minimized from maximized: restoring maximizes again
    std::optional<gdi::Region> shape;  // window region, window coordinates
    gdi::Region update;                // update region, window coordinates (client part)
    bool erase_pending = false;
    bool ncpaint_pending = false;
    bool internal_paint = false;
    bool in_paint = false;  // BeginPaint or ValidateRect ran during the WM_PAINT under way
    bool destroying = false;
    HFONT font = nullptr;
    std::map<std::string, uintptr_t> props;
    ScrollBarState hscroll;
    ScrollBarState vscroll;
    std::unique_ptr<SubclassInfo> subclass;
    LRESULT nc_pressed = 0;  // caption button pressed (HTCLOSE ...), 0 when none
    bool nc_active = false;  // the caption shows the active colours
    // Top-level windows: the composed picture and the part not yet presented.
    std::unique_ptr<gdi::Bitmap> backing;
    RECT dirty;
    // The visible part of the window (root coordinates) as last worked out, for the layout
    // generation it was worked out in, the client area or the whole window, with or without
    // the children taken out (visible_region).
    struct VisibleCache {
        uint64_t generation = 0;
        bool client_only = false;
        bool clip_children = false;
        gdi::Region region;
    };
    mutable VisibleCache visible_cache[2];  // [0] client area, [1] whole window

    bool is_child() const { return (style & WS_CHILD) != 0; }
};

struct InputEvent {
    enum class Kind { Mouse, Key, Text } kind = Kind::Mouse;
    MouseAction action = MouseAction::Move;
    POINT pt;
    int wheel = 0;
    int vk = 0;
    bool down = false;
    std::string text;
    DWORD time = 0;
};

struct TimerEntry {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    int64_t next_due = 0;
    TIMERCALLBACK callback = nullptr;  // called with context, in place of proc, when set
    void* context = nullptr;
    TIMERPROC proc;
    uint64_t key = 0;
    // A skip (SkipTimerTicks): the ticks due from skip_from up to next_due pass undelivered.
    bool skipping = false;
    int64_t skip_from = 0;
    UINT skipped = 0;  // skipped ticks that have passed, until the owner takes them
};

struct HookEntry {
    HHOOK handle = nullptr;
    int kind = 0;
    HOOKPROC proc;
    bool removed = false;
};

struct DcEntry {
    HWND hwnd = nullptr;
    HWND root = nullptr;
    std::unique_ptr<gdi::DC> dc;
    RECT bounds;  // what it may draw, root (backing bitmap) coordinates
};

struct State {
    State() { timers.reserve(kInlineTimers); }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    uintptr_t next_handle = 0x10010;
    std::unordered_map<uintptr_t, std::unique_ptr<Window>> windows;
    // The window the table gave last (the same one is often asked for again at once: a timer's
    // window when the timer is stopped and started), found without the table's own memory.
    HWND last_found = nullptr;
    Window* last_found_window = nullptr;
    std::vector<Window*> toplevels;  // z-order, top first
    std::vector<std::shared_ptr<WindowClass>> classes;

    std::deque<MSG> posted;
    std::deque<InputEvent> input;
    bool quit_posted = false;
    int quit_code = 0;

    // The timers lie in the state's own page while there are at most kInlineTimers of them:
    // each wake-up of the loop looks at every one.
    static constexpr size_t kInlineTimers = 16;
    InlineBlockResource<kInlineTimers * sizeof(TimerEntry)> timer_block;
    std::pmr::vector<TimerEntry> timers{&timer_block};
    uint64_t next_timer_key = 1;
    UINT_PTR next_thread_timer_id = 0x7F00;

    std::vector<std::shared_ptr<HookEntry>> hooks;  // newest first
    int hooks_running = 0;
    uintptr_t next_hook = 0x4000;

    // The DCs handed out and not yet released, the latest last (a few at a time: a paint,
    // and the DCs its handlers take while it runs).
    std::vector<DcEntry> dcs;
    // Released DCs kept for the next GetDC/BeginPaint, which resets one to the state of a
    // fresh DC instead of making a new one.
    std::vector<std::unique_ptr<gdi::DC>> spare_dcs;
    // Counts the changes of the window tree's layout (positions, sizes, client areas,
    // z-order, parents, visibility and clipping styles, shapes, windows made and destroyed):
    // a visible region worked out in the same generation still holds.
    uint64_t layout_generation = 1;

    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    HWND track_leave = nullptr;
    bool track_nonclient = false;
    POINT cursor;
    BYTE keys[256] = {};

    // Double-click detection.
    HWND last_click_hwnd = nullptr;
    UINT last_click_msg = 0;
    DWORD last_click_time = 0;
    POINT last_click_pt;
    UINT double_click_ms = 500;

    // Text that the key message last retrieved types (for TranslateMessage).
    MSG last_key_msg;
    std::string last_key_text;

    MSG last_msg;
    int send_depth = 0;
    int loop_depth = 0;

    DisplayDriver* driver = nullptr;
    bool in_driver = false;
    // Descriptors the idle wait watches beside the display's own (DescriptorWatch).
    std::vector<DescriptorWatch*> descriptor_watches;
    SIZE screen{1280, 1024};
    std::optional<RECT> work_area;  // set by SPI_SETWORKAREA
    // The window whose move or size loop runs (the innermost), nullptr when none.
    HWND size_move = nullptr;
    COLORREF sys_colors[31] = {};

    std::function<bool()> idle_script;
    bool deadline_active = false;
    int64_t deadline = 0;
    int64_t idle_waits = 0;
    // The time read by the last look for a message that found nothing, for the wait that
    // follows it at once: an idle turn reads the clock once less. Cleared by every look and by
    // presenting, which may take time.
    std::optional<int64_t> idle_now;
    // False once a search found no window to paint; anything that may need painting sets it,
    // so that an idle loop does not walk the window tree on every wake-up.
    bool paint_maybe = true;
    // False once presenting found no top-level window with a dirty part; whatever makes a part
    // dirty sets it, so that an idle loop does not visit every top-level window at each turn.
    bool present_maybe = true;
    std::deque<HWND> paint_queue;  // windows found by the last search, served in order
    // The window whose move the display itself reported: not told back to the display.
    HWND moved_by_display = nullptr;
};

State& state();

// Held for the life of a nested message loop (a modal box's, a menu's): counts the loop, and
// lets it take the display's events even when it was opened from inside one, or nothing in it
// could ever be clicked.
class NestedLoopScope {
  public:
    NestedLoopScope() : was_in_driver_(state().in_driver) {
        ++state().loop_depth;
        state().in_driver = false;
    }
    ~NestedLoopScope() {
        --state().loop_depth;
        state().in_driver = was_in_driver_;
    }
    NestedLoopScope(const NestedLoopScope&) = delete;
    NestedLoopScope& operator=(const NestedLoopScope&) = delete;

  private:
    bool was_in_driver_;
};

// Counts a window procedure call under way (exception-safe).
struct SendDepth {
    SendDepth();
    ~SendDepth();
};

// The window of a handle, or nullptr for invalid handles.
Window* get(HWND hwnd);
// To be called by whatever changes what any window may show of itself: a position, size or
// client area, the z-order, a parent, the visible or clipping styles, a shape, a window made
// or destroyed. Visible regions worked out before are worked out again.
inline void layout_changed() {
    ++state().layout_generation;
}
Window* root_of(Window* w);
// Position of the window's top-left corner in its top-level window (backing bitmap).
POINT origin_in_root(const Window* w);
// The screen position of the window's top-left corner.
POINT origin_on_screen(const Window* w);
bool visible_chain(const Window* w);
bool enabled_chain(const Window* w);
int64_t now_ms();

// Painting internals.
void invalidate(Window* w, const gdi::Region& window_coords, UINT flags);
void invalidate_parent_area(Window* w, const RECT& rect_in_parent);
void ensure_backing(Window* top);
// Whether anything was presented.
bool flush_presents();
// The visible part of a window in root coordinates, kept with the window until the layout
// changes (layout_changed).
const gdi::Region& visible_region(const Window* w, bool client_only, bool clip_children);
// The same, worked out from the window tree each time.
gdi::Region compute_visible_region(const Window* w, bool client_only, bool clip_children);
Window* next_window_to_paint(HWND filter);

// Non-client helpers (defwnd.cpp).
RECT default_client_rect(DWORD style, DWORD exstyle, const RECT& window_rect_local);
LRESULT default_hit_test(Window* w, POINT screen);
// Paints the default frame through the window DC, or into `into` (window coordinates).
void default_nc_paint(Window* w, HDC into = nullptr);

// Moving, sizing, maximizing and minimizing top-level windows (size_move.cpp).
// The size limits the window answers to WM_GETMINMAXINFO, made consistent.
MINMAXINFO min_max_info(HWND hwnd);
// Where the window goes when maximized (the work area, its border past the edges) and when
// minimized (a caption bar along the bottom of the work area, in the first free place).
RECT maximized_rect(HWND hwnd);
RECT minimized_rect(HWND hwnd);
// The modal loop of WM_SYSCOMMAND SC_MOVE / SC_SIZE (+ HTCAPTION / WMSZ_* when begun by a
// press of the mouse): WM_ENTERSIZEMOVE, WM_MOVING or WM_SIZING and a SetWindowPos per pointer
// position (runs of motion coalesced), until the button comes up, Enter or a click (keys), or
// Escape (back to the start); then WM_EXITSIZEMOVE.
void size_move_loop(HWND hwnd, WPARAM command);

// Input internals (input.cpp).
bool next_input_message(MSG* out);
void focus_lost_by(Window* w);
void activate_other_than(HWND hwnd);
void set_active(HWND hwnd, bool by_mouse, bool from_native);

// Watched descriptors (descriptor_watch.cpp): the display changed, so they leave the old one
// and go to the new one.
void rewatch_descriptors(DisplayDriver* old_driver, DisplayDriver* new_driver);

// Timers (message.cpp).
void kill_window_timers(HWND hwnd);
// The earliest due time of the timers a GetMessage with this filter can take (all timers for
// no filter).
std::optional<int64_t> next_timer_due(HWND filter = nullptr, UINT lo = 0, UINT hi = 0);
// Timer wake-ups (timer_wake.cpp): how late a timer of `interval` may be served, and when an
// idle loop with this filter wakes under the real clock so that timers of different phases
// share wake-ups (nothing when it takes no timer).
UINT timer_slack(UINT interval);
std::optional<int64_t> timer_wake_time(HWND filter = nullptr, UINT lo = 0, UINT hi = 0);
// The timer `id` of `hwnd` (nullptr for a window-less one), or nullptr (message.cpp).
TimerEntry* find_timer(HWND hwnd, UINT_PTR id);
// Timer skips (timer_skip.cpp): ends a timer's skip at `now`, counting the skipped ticks due by
// then (all of them once the tick after them is due), and moves its next tick to the first one
// after them; ends every skip (something came from outside the loop that the owners may want
// to look at).
void end_timer_skip(TimerEntry& timer, int64_t now);
void end_timer_skips();

// Subclass chain (subclass.cpp).
void drop_subclasses(Window* w);

// The procedure of the pop-up menu class "#32768" (menu.cpp).
LRESULT popup_menu_proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Hooks (hook.cpp).
LRESULT call_cbt(int code, WPARAM wParam, LPARAM lParam);

// Frame metrics of a window (defwnd.cpp).
struct FrameParts {
    int border = 0;   // outer frame width (each side)
    int caption = 0;  // caption height (0 without caption)
    int edge = 0;     // client edge width
    bool vscroll = false;
    bool hscroll = false;
};
FrameParts frame_parts(DWORD style, DWORD exstyle);

}  // namespace win::detail
