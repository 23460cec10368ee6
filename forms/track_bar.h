#pragma once

#include "forms/win_control.h"
#include "platform/win/track_bar.h"

namespace forms {

enum class TTrackBarOrientation { trHorizontal, trVertical };
enum class TTickStyle { tsNone, tsAuto, tsManual };
enum class TTickMark { tmBottomRight, tmTopLeft, tmBoth };

// A thumb the operator slides along a channel to pick Position inside Min..Max: arrows move it
// by LineSize, Page Up/Down by PageSize, Home and End to the ends, and the mouse drags it or
// pages towards a press beside it. Its window answers the track bar messages (TBM_SETPOS,
// TBM_GETRANGEMAX, ...) and tells its parent of each move with WM_HSCROLL/WM_VSCROLL as the
// system's track bars do. OnChange fires when the operator moves it, not when code sets it.
class TTrackBar : public TWinControl {
    FORMS_CLASS(TTrackBar, TWinControl)
  public:
    explicit TTrackBar(TComponent* owner);

    int Min() const { return state_.range.Min(); }
    int Max() const { return state_.range.Max(); }
    int Position() const { return state_.range.Position(); }
    int Frequency() const { return state_.range.TicFreq(); }
    int LineSize() const { return state_.range.LineSize(); }
    int PageSize() const { return state_.range.PageSize(); }
    void SetMin(int v);
    void SetMax(int v);
    void SetRange(int min, int max);
    void SetPosition(int v);
    void SetFrequency(int v);
    void SetLineSize(int v) { state_.range.SetLineSize(v); }
    void SetPageSize(int v) { state_.range.SetPageSize(v); }

    TTrackBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation o);
    TTickStyle TickStyle() const { return tick_style_; }
    void SetTickStyle(TTickStyle s);
    TTickMark TickMarks() const { return tick_marks_; }
    void SetTickMarks(TTickMark m);

    const win::TrackBarState& State() const { return state_; }
    // The window style bits of the orientation and ticks (TBS_*).
    win::DWORD BarStyle() const;

    TNotifyEvent OnChange;

    std::optional<std::string> GetPropText(std::string_view name) const override;
    bool SetPropText(std::string_view name, const std::string& value) override;
    void WndProc(TMessage& message) override;

  protected:
    void CreateParams(TCreateParams& params) override;
    void Paint(gdi::DC& dc) override;
    bool WantsKey(int vk, unsigned shift) const override;

  private:
    void StyleChanged();
    void Changed(bool changed);

    win::TrackBarState state_;
    TTrackBarOrientation orientation_ = TTrackBarOrientation::trHorizontal;
    TTickStyle tick_style_ = TTickStyle::tsAuto;
    TTickMark tick_marks_ = TTickMark::tmBottomRight;
};

}  // namespace forms
