#pragma once

#include "forms/component.h"
#include "platform/win/types.h"

namespace forms {

// A timer: while Enabled, OnTimer runs every Interval milliseconds on the message loop.
// Changing the interval of a running timer restarts its period; setting the same interval or
// enabling a running timer changes nothing.
class TTimer : public TComponent {
    FORMS_CLASS(TTimer, TComponent)
  public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);

    TNotifyEvent OnTimer;
    // Makes a method of `object` the handler, called through a plain function instead of a
    // std::function (timers that tick a hundred times a second). OnTimer, when set, goes first.
    // The same with a plain function, called with `object` and the timer.
    using Procedure = void (*)(void* object, TObject* sender);
    void SetOnTimerProcedure(Procedure procedure, void* object) {
        method_ = procedure;
        method_object_ = object;
    }
    template <auto Method, class T>
    void SetOnTimerMethod(T* object) {
        method_ = &CallMethod<Method, T>;
        method_object_ = object;
    }
    // How many ticks have been delivered (for diagnostics and tests).
    long Ticks() const { return ticks_; }
    // Lets the next `ticks` ticks pass without running the handler, which knows they would
    // only count: the loop does not wake for them, and the tick after them comes when it would
    // have come. TakeSkippedTicks ends the skip early and tells how many skipped ticks have
    // passed since it was last asked (the handler counts them then). Disabling the timer or
    // changing its interval forgets the skip. A descriptor the loop's wait watches ends every
    // skip when it reports (win::SkipTimerTicks).
    void SkipTicks(unsigned ticks);
    unsigned TakeSkippedTicks();

  private:
    template <auto Method, class T>
    [[gnu::hot]] static void CallMethod(void* object, TObject* sender) {
        (static_cast<T*>(object)->*Method)(sender);
    }
    // The system timer's procedure: one tick of the timer `timer`.
    static void Fire(void* timer);
    void Update();
    // Runs a tick; an exception from the handler goes to the application's report.
    void Deliver();
    void Tick();
    static win::LRESULT UtilityProc(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
    unsigned interval_ = 1000;
    bool enabled_ = true;
    bool running_ = false;
    win::UINT_PTR id_ = 0;
    long ticks_ = 0;
    void (*method_)(void*, TObject*) = nullptr;
    void* method_object_ = nullptr;
};

}  // namespace forms
