#include "forms/timer.h"
#include "platform/clock/wake_path.h"

#include <unordered_map>

#include "forms/application.h"
#include "forms/component_tracker.h"
#include "platform/win/message.h"
#include "platform/win/timer.h"
#include "platform/win/window.h"

namespace forms {

namespace {

std::unordered_map<win::UINT_PTR, TTimer*>& Timers() {
    static std::unordered_map<win::UINT_PTR, TTimer*> timers;
    return timers;
}

win::UINT_PTR g_next_id = 1;

// The hidden window that receives the ticks of every TTimer.
win::HWND UtilityWindow(win::WNDPROC proc) {
    static win::HWND hwnd = nullptr;
    if (hwnd && win::IsWindow(hwnd))
        return hwnd;
    static bool registered = false;
    if (!registered) {
        win::WNDCLASS wc;
        wc.lpfnWndProc = std::move(proc);
        wc.lpszClassName = "TPUtilWindow";
        win::RegisterClass(wc);
        registered = true;
    }
    hwnd = win::CreateWindowEx(0, "TPUtilWindow", "", win::WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               nullptr, nullptr);
    return hwnd;
}

}  // namespace

win::LRESULT TTimer::UtilityProc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    if (msg == win::WM_TIMER) {
        // A tick that reaches the window (not through the timer's own procedure).
        auto it = Timers().find(wp);
        if (it != Timers().end())
            it->second->Deliver();
        return 0;
    }
    return win::DefWindowProc(h, msg, wp, lp);
}

VELMOR_WAKE_CODE void TTimer::Fire(void* timer) {
    static_cast<TTimer*>(timer)->Deliver();
}

VELMOR_WAKE_CODE void TTimer::Deliver() {
    try {
        Tick();
    } catch (const std::exception& e) {
        Application->HandleException(e);
    }
}

TTimer::TTimer(TComponent* owner) : TComponent(owner), id_(g_next_id++) {
    Timers()[id_] = this;
    Update();
}

TTimer::~TTimer() {
    if (running_)
        win::KillTimer(UtilityWindow(&TTimer::UtilityProc), id_);
    Timers().erase(id_);
}

void TTimer::SetInterval(unsigned ms) {
    if (ms == interval_)
        return;
    interval_ = ms;
    if (running_) {
        win::KillTimer(UtilityWindow(&TTimer::UtilityProc), id_);
        running_ = false;
    }
    Update();
}

void TTimer::SetEnabled(bool v) {
    if (v == enabled_)
        return;
    enabled_ = v;
    Update();
}

void TTimer::Update() {
    win::HWND w = UtilityWindow(&TTimer::UtilityProc);
    const bool want = enabled_ && interval_ > 0;
    if (want && !running_) {
        // The tick goes straight to this timer: the message loop calls the procedure kept with
        // the system timer, instead of the utility window's procedure looking the timer up.
        running_ = win::SetTimer(w, id_, interval_, &TTimer::Fire, this) != 0;
    } else if (!want && running_) {
        win::KillTimer(w, id_);
        running_ = false;
    }
}

VELMOR_WAKE_CODE void TTimer::SkipTicks(unsigned ticks) {
    if (running_)
        win::SkipTimerTicks(UtilityWindow(&TTimer::UtilityProc), id_, ticks);
}

VELMOR_WAKE_CODE unsigned TTimer::TakeSkippedTicks() {
    return running_ ? win::TakeSkippedTicks(UtilityWindow(&TTimer::UtilityProc), id_) : 0;
}

VELMOR_WAKE_CODE void TTimer::Tick() {
    ++ticks_;
    // The handler may free the timer (and the handler with it).
    if (OnTimer) {
        FireEvent(OnTimer, this);
    } else if (method_) {
        const auto method = method_;
        void* const object = method_object_;
        method(object, this);
    }
}

}  // namespace forms
