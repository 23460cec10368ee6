#include "platform/win/message.h"

#include <poll.h>

#include <algorithm>
#include <stdexcept>

#include "platform/clock/clock.h"
#include "platform/clock/wake_path.h"
#include "platform/win/internal.h"
#include "platform/win/painting.h"
#include "platform/win/test_driver.h"
#include "platform/win/timer.h"

namespace win {

using detail::get;
using detail::state;
using detail::Window;

// ---- Sending and posting ------------------------------------------------------------------

[[gnu::hot]] LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = get(hwnd);
    if (!w)
        return 0;
    WNDPROC proc = w->proc;  // a copy: the window may replace or lose it meanwhile
    detail::SendDepth depth;
    return proc(hwnd, msg, wParam, lParam);
}

bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto& s = state();
    if (hwnd && !get(hwnd))
        return false;
    MSG m;
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = static_cast<DWORD>(detail::now_ms());
    m.pt = s.cursor;
    s.posted.push_back(m);
    if (s.driver)
        s.driver->wake();
    return true;
}

void PostQuitMessage(int exitCode) {
    auto& s = state();
    s.quit_posted = true;
    s.quit_code = exitCode;
}

bool InSendMessage() {
    return state().send_depth > 0;
}

DWORD GetMessageTime() {
    return state().last_msg.time;
}

POINT GetMessagePos() {
    return state().last_msg.pt;
}

namespace {

// Whether a message filter range takes `msg` (0, 0 takes everything).
VELMOR_WAKE_CODE bool in_range(UINT msg, UINT lo, UINT hi) {
    return (lo == 0 && hi == 0) || (msg >= lo && msg <= hi);
}

}  // namespace

// ---- Timers ----------------------------------------------------------------------------------

namespace detail {

void kill_window_timers(HWND hwnd) {
    auto& t = state().timers;
    t.erase(std::remove_if(t.begin(), t.end(), [&](const TimerEntry& e) { return e.hwnd == hwnd; }),
            t.end());
}

VELMOR_WAKE_CODE TimerEntry* find_timer(HWND hwnd, UINT_PTR id) {
    for (TimerEntry& t : state().timers) {
        if (t.hwnd == hwnd && t.id == id)
            return &t;
    }
    return nullptr;
}

std::optional<int64_t> next_timer_due(HWND filter, UINT lo, UINT hi) {
    std::optional<int64_t> best;
    if (!in_range(WM_TIMER, lo, hi))
        return best;  // the caller takes no timer messages
    for (const auto& t : state().timers) {
        if (filter && t.hwnd != filter && !IsChild(filter, t.hwnd))
            continue;
        if (!best || t.next_due < *best)
            best = t.next_due;
    }
    return best;
}

}  // namespace detail

namespace {

UINT_PTR set_timer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc, TIMERCALLBACK callback,
                   void* context) {
    auto& s = state();
    if (hwnd && !get(hwnd))
        return 0;
    UINT interval = std::max(elapseMs, USER_TIMER_MINIMUM);
    const int64_t now = detail::now_ms();
    if (detail::TimerEntry* t = detail::find_timer(hwnd, id)) {
        if (t->interval != interval) {
            t->interval = interval;
            t->next_due = now + interval;
            t->skipping = false;
            t->skipped = 0;
        }
        t->proc = std::move(proc);
        t->callback = callback;
        t->context = context;
        return id;
    }
    if (!hwnd) {
        // Thread timers get a fresh id unless the caller named an existing one (handled above).
        id = s.next_thread_timer_id++;
    }
    detail::TimerEntry e;
    e.hwnd = hwnd;
    e.id = id;
    e.interval = interval;
    e.next_due = now + interval;
    e.proc = std::move(proc);
    e.callback = callback;
    e.context = context;
    e.key = s.next_timer_key++;
    s.timers.push_back(std::move(e));
    return hwnd ? (id ? id : 1) : id;
}

}  // namespace

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    return set_timer(hwnd, id, elapseMs, std::move(proc), nullptr, nullptr);
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERCALLBACK callback, void* context) {
    return set_timer(hwnd, id, elapseMs, nullptr, callback, context);
}

bool KillTimer(HWND hwnd, UINT_PTR id) {
    detail::TimerEntry* timer = detail::find_timer(hwnd, id);
    if (!timer)
        return false;
    auto& t = state().timers;
    t.erase(t.begin() + (timer - t.data()));
    return true;
}

// ---- Retrieval ---------------------------------------------------------------------------------

namespace {

VELMOR_WAKE_CODE bool matches(const MSG& m, HWND filter, UINT lo, UINT hi) {
    if (filter && m.hwnd != filter && !IsChild(filter, m.hwnd))
        return false;
    return in_range(m.message, lo, hi);
}

VELMOR_WAKE_CODE void pump_driver() {
    auto& s = state();
    if (s.driver && !s.in_driver) {
        s.in_driver = true;
        s.driver->process_events();
        s.in_driver = false;
    }
}

VELMOR_WAKE_CODE bool take_timer(MSG* out, HWND filter, UINT lo, UINT hi, bool remove) {
    auto& s = state();
    if (!in_range(WM_TIMER, lo, hi))
        return false;
    const int64_t now = detail::now_ms();
    detail::TimerEntry* best = nullptr;
    for (auto& t : s.timers) {
        if (t.next_due > now)
            continue;
        if (filter && t.hwnd != filter && !IsChild(filter, t.hwnd))
            continue;
        if (!best || t.next_due < best->next_due)
            best = &t;
    }
    if (!best) {
        s.idle_now = now;
        return false;
    }
    MSG m;
    m.hwnd = best->hwnd;
    m.message = WM_TIMER;
    m.wParam = best->id;
    m.lParam = best->proc || best->callback ? static_cast<LPARAM>(best->key) : 0;
    m.time = static_cast<DWORD>(now);
    m.pt = s.cursor;
    if (remove) {
        detail::end_timer_skip(*best, now);
        // The next tick keeps the phase; when the loop fell behind by whole periods the
        // missed ticks are dropped rather than delivered in a burst.
        int64_t next = best->next_due + best->interval;
        if (next <= now)
            next = now + best->interval - (now - best->next_due) % best->interval;
        best->next_due = next;
    }
    *out = m;
    return true;
}

// The first posted message the caller takes. Kept out of the way of a quiet wake-up, which
// finds nothing posted.
[[gnu::noinline]] bool take_posted(MSG* out, HWND filter, UINT lo, UINT hi, bool remove) {
    auto& s = state();
    for (auto it = s.posted.begin(); it != s.posted.end(); ++it) {
        if (!matches(*it, filter, lo, hi))
            continue;
        *out = *it;
        if (remove)
            s.posted.erase(it);
        s.last_msg = *out;
        return true;
    }
    return false;
}

VELMOR_WAKE_CODE bool take_paint(MSG* out, HWND filter, UINT lo, UINT hi) {
    auto& s = state();
    if (!in_range(WM_PAINT, lo, hi) || !s.paint_maybe)
        return false;  // nothing may need painting: the window tree is not walked
    for (int guard = 0; guard < 100000; ++guard) {
        Window* w = detail::next_window_to_paint(filter);
        if (!w)
            return false;
        const bool client_needs = !w->update.empty() || w->internal_paint;
        if (!client_needs) {
            // Only the frame is out of date: it is painted now, without a WM_PAINT.
            w->ncpaint_pending = false;
            HWND h = w->handle;
            SendMessage(h, WM_NCPAINT, 1, 0);
            continue;
        }
        MSG m;
        m.hwnd = w->handle;
        m.message = WM_PAINT;
        m.time = static_cast<DWORD>(detail::now_ms());
        m.pt = s.cursor;
        *out = m;
        return true;
    }
    return false;
}

VELMOR_WAKE_CODE bool peek(MSG* out, HWND filter, UINT lo, UINT hi, UINT remove) {
    auto& s = state();
    const bool rm = (remove & PM_REMOVE) != 0;
    s.idle_now.reset();
    pump_driver();
    if (!s.posted.empty() && take_posted(out, filter, lo, hi, rm))
        return true;
    if (s.quit_posted && in_range(WM_QUIT, lo, hi)) {
        MSG m;
        m.message = WM_QUIT;
        m.wParam = static_cast<WPARAM>(s.quit_code);
        m.time = static_cast<DWORD>(detail::now_ms());
        if (rm)
            s.quit_posted = false;
        *out = m;
        return true;
    }
    if (!filter && !s.input.empty() &&
        (in_range(WM_MOUSEMOVE, lo, hi) || in_range(WM_KEYDOWN, lo, hi))) {
        if (!rm) {
            // Input is resolved only when it is taken; report that something is there.
            *out = MSG{};
            out->message =
                s.input.front().kind == detail::InputEvent::Kind::Mouse ? WM_MOUSEMOVE : WM_KEYDOWN;
            return true;
        }
        {
            while (!s.input.empty()) {
                if (detail::next_input_message(out)) {
                    s.last_msg = *out;
                    return true;
                }
            }
            // Everything was eaten; the posted queue may have new entries (leave messages).
            return peek(out, filter, lo, hi, remove);
        }
    }
    if (take_paint(out, filter, lo, hi)) {
        s.last_msg = *out;
        return true;
    }
    // Painting can post messages (leave notices, say); look again only if one of them is for
    // this caller, or a filtered peek would go round for ever.
    if (!s.posted.empty() && std::any_of(s.posted.begin(), s.posted.end(),
                                         [&](const MSG& m) { return matches(m, filter, lo, hi); }))
        return peek(out, filter, lo, hi, remove);
    if (take_timer(out, filter, lo, hi, rm)) {
        s.last_msg = *out;
        return true;
    }
    if (detail::flush_presents())
        s.idle_now.reset();
    return false;
}

// Nothing to do: sleep until the next timer or a display event; under the manual clock,
// move virtual time on within the current span or let the script act.
// A filtered caller waits only for the timers it can take, so a timer of another window that
// is due does not turn the wait into a spin.
VELMOR_WAKE_CODE void idle_wait(HWND filter = nullptr, UINT lo = 0, UINT hi = 0) {
    auto& s = state();
    ++s.idle_waits;
    if (detail::flush_presents())
        s.idle_now.reset();
    if (clk::ManualClock* m = clk::current_manual()) {
        auto due = detail::next_timer_due(filter, lo, hi);
        if (s.deadline_active && due && *due <= s.deadline) {
            m->advance_to(*due);
            return;
        }
        if (s.idle_script) {
            auto script = s.idle_script;  // it may replace itself
            if (script())
                return;
        }
        throw std::runtime_error(
            "message loop idle under the manual clock with nothing due and no script to drive it");
    }
    auto due = detail::timer_wake_time(filter, lo, hi);
    int timeout = -1;
    if (due) {
        // The look that found nothing to do read the clock a moment ago.
        const int64_t now = s.idle_now ? *s.idle_now : detail::now_ms();
        int64_t wait = *due - now;
        timeout = static_cast<int>(std::clamp<int64_t>(wait, 0, 1 << 30));
    }
    if (s.driver && !s.in_driver) {
        s.in_driver = true;
        s.driver->wait_events(timeout);
        s.in_driver = false;
    } else {
        poll(nullptr, 0, timeout < 0 ? 1000 : timeout);
    }
}

}  // namespace

VELMOR_WAKE_CODE bool PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax,
                                  UINT remove) {
    MSG m;
    if (!peek(&m, hwnd, filterMin, filterMax, remove))
        return false;
    if (msg)
        *msg = m;
    return true;
}

VELMOR_WAKE_CODE BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    MSG m;
    while (!peek(&m, hwnd, filterMin, filterMax, PM_REMOVE))
        idle_wait(hwnd, filterMin, filterMax);
    if (msg)
        *msg = m;
    return m.message == WM_QUIT ? 0 : 1;
}

void WaitMessage() {
    MSG m;
    if (!PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE))
        idle_wait();
}

VELMOR_WAKE_CODE LRESULT DispatchMessage(const MSG* msg) {
    if (!msg)
        return 0;
    auto& s = state();
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        for (auto& t : s.timers) {
            if (static_cast<LPARAM>(t.key) == msg->lParam) {
                if (t.callback) {
                    // Copied out first: the callback may kill the timer.
                    const TIMERCALLBACK callback = t.callback;
                    void* const context = t.context;
                    callback(context);
                    return 0;
                }
                TIMERPROC proc = t.proc;
                if (proc)
                    proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
                return 0;
            }
        }
        return 0;
    }
    if (!msg->hwnd)
        return 0;
    if (msg->message == WM_PAINT) {
        Window* w = get(msg->hwnd);
        if (!w)
            return 0;
        w->in_paint = false;
        LRESULT r = SendMessage(msg->hwnd, WM_PAINT, 0, 0);
        // A procedure that neither painted nor validated would get WM_PAINT forever.
        if ((w = get(msg->hwnd)) && !w->in_paint) {
            w->update = gdi::Region();
            w->internal_paint = false;
            w->erase_pending = false;
        }
        return r;
    }
    return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

namespace {

template <class Done>
VELMOR_WAKE_CODE int run_message_loop(const Done& done) {
    detail::NestedLoopScope nested_loop;
    MSG m;
    while (!done()) {
        if (!GetMessage(&m)) {
            if (state().loop_depth > 1)
                PostQuitMessage(static_cast<int>(m.wParam));
            return static_cast<int>(m.wParam);
        }
        TranslateMessage(&m);
        DispatchMessage(&m);
    }
    return 0;
}

}  // namespace

[[gnu::hot]] int RunMessageLoop(const std::function<bool()>& done) {
    return run_message_loop([&done] { return done && done(); });
}

VELMOR_WAKE_CODE_FIRST int RunMessageLoopUntil(const bool& done) {
    return run_message_loop([&done] { return done; });
}

int MessageLoopDepth() {
    return state().loop_depth;
}

// ---- Test driver --------------------------------------------------------------------------------

int PumpPending() {
    int count = 0;
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            // Left pending for whoever runs the outer loop.
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        TranslateMessage(&m);
        DispatchMessage(&m);
        ++count;
    }
    detail::flush_presents();
    return count;
}

void RunFor(int64_t ms) {
    auto& s = state();
    clk::ManualClock* m = clk::current_manual();
    if (!m) {
        PumpPending();
        return;
    }
    const int64_t end = m->monotonic_ms() + std::max<int64_t>(0, ms);
    const bool saved_active = s.deadline_active;
    const int64_t saved_deadline = s.deadline;
    s.deadline_active = true;
    s.deadline = end;
    struct Restore {
        bool a;
        int64_t d;
        ~Restore() {
            state().deadline_active = a;
            state().deadline = d;
        }
    } restore{saved_active, saved_deadline};
    for (;;) {
        PumpPending();
        if (s.quit_posted)
            break;
        auto due = detail::next_timer_due();
        if (!due || *due > end)
            break;
        if (*due <= m->monotonic_ms())
            continue;  // handled by the next pump
        m->advance_to(*due);
    }
    m->advance_to(end);
    if (!s.quit_posted)
        PumpPending();
}

void SetIdleScript(std::function<bool()> script) {
    state().idle_script = std::move(script);
}

int64_t IdleWaitCount() {
    return state().idle_waits;
}

std::optional<int64_t> NextTimerWakeTime() {
    return detail::timer_wake_time();
}

bool QuitPosted(int* exitCode) {
    auto& s = state();
    if (s.quit_posted && exitCode)
        *exitCode = s.quit_code;
    return s.quit_posted;
}

void ClearQuit() {
    state().quit_posted = false;
}

}  // namespace win
