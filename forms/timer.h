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
    // How many ticks have been delivered (for diagnostics and tests).
    long Ticks() const { return ticks_; }

  private:
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
};

}  // namespace forms
