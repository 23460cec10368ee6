#pragma once

#include <cstdint>

#include "platform/gdi/dc.h"
#include "platform/win/messages.h"
#include "platform/win/types.h"

// The progress bar window class "msctls_progress32": a range, a position inside it and a step,
// shown as a sunken well filled from the start (left, or bottom when vertical) in blocks or,
// with PBS_SMOOTH, as one bar.
namespace win {

inline constexpr const char* PROGRESS_CLASS = "msctls_progress32";

constexpr UINT PBM_SETRANGE = WM_USER + 1;    // lParam: MAKELPARAM(low, high), 16 bits each
constexpr UINT PBM_SETPOS = WM_USER + 2;      // wParam: the position; returns the previous one
constexpr UINT PBM_DELTAPOS = WM_USER + 3;    // wParam: added to the position; returns the old
constexpr UINT PBM_SETSTEP = WM_USER + 4;     // wParam: the step; returns the previous step
constexpr UINT PBM_STEPIT = WM_USER + 5;      // adds the step; returns the previous position
constexpr UINT PBM_SETRANGE32 = WM_USER + 6;  // wParam low, lParam high (32 bits)
constexpr UINT PBM_GETRANGE = WM_USER + 7;    // wParam TRUE: the low end, else the high end;
                                              // lParam: a PBRANGE* filled when given
constexpr UINT PBM_GETPOS = WM_USER + 8;

constexpr DWORD PBS_SMOOTH = 0x01;
constexpr DWORD PBS_VERTICAL = 0x04;

struct PBRANGE {
    int iLow = 0;
    int iHigh = 0;
};

// The numbers of one progress bar. The range is kept as it was given; a range whose high end
// lies below its low end counts as empty (the position stays at the low end) until it is set
// right. Positions are clamped to the range, and steps past the high end start over from the
// low end, wrapping as often as needed. All sums are made in 64 bits, so huge steps and
// positions never overflow.
class ProgressRange {
  public:
    int Low() const { return low_; }
    int High() const { return high_; }
    // The high end that counts: never below the low end.
    int EffectiveHigh() const { return high_ < low_ ? low_ : high_; }
    int Position() const { return pos_; }
    int Step() const { return step_; }

    // Each setter returns true when something changed (the bar then needs a repaint).
    bool SetRange(int low, int high);
    bool SetPosition(int64_t pos);
    bool SetStep(int step);
    // Adds `delta`, clamped to the range.
    bool DeltaPos(int64_t delta);
    // Adds the step; past the high end (or below the low end for a negative step) the position
    // wraps round to the other end.
    bool StepIt();

    // How many of `length` pixels the position fills (0 to length).
    int FilledLength(int length) const;

  private:
    int low_ = 0;
    int high_ = 100;
    int pos_ = 0;
    int step_ = 10;
};

// The plain look: a sunken well in the button face, filled in the highlight colour, in blocks
// (two thirds of the bar's thickness wide, two pixels apart) or in one piece when smooth.
void DrawProgressBar(gdi::DC& dc, const RECT& r, const ProgressRange& range, bool vertical,
                     bool smooth);

// Answers the PBM_* messages for `range`; true when `msg` was one of them (`result` then holds
// the answer, and `changed` whether the bar must be repainted).
bool HandleProgressMessage(ProgressRange& range, UINT msg, WPARAM wParam, LPARAM lParam,
                           LRESULT& result, bool& changed);

namespace detail {
// The window procedure of the class (registered with the built-in classes).
LRESULT progress_proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
}  // namespace detail

}  // namespace win
