#pragma once

#include <vector>

#include "forms/date_format.h"
#include "forms/popup_window.h"
#include "forms/win_control.h"

namespace forms {

enum class TDateTimeKind { dtkDate, dtkTime };

// A date picker (short date format, a calendar dropping down from its button) or a time picker
// (long time format, an up-down part at the right). The operator selects a field by clicking
// it or with Left / Right, and changes it with Up / Down, with digits, with the up-down part or
// in the calendar; each such change fires OnChange. Setting the value from code fires nothing.
class TDateTimePicker : public TWinControl {
    FORMS_CLASS(TDateTimePicker, TWinControl)
  public:
    explicit TDateTimePicker(TComponent* owner);
    ~TDateTimePicker() override;

    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind k);
    // The value as a day count since 30 December 1899 (date part and time-of-day fraction).
    double DateTime() const;
    void SetDateTime(double value);
    // The date part alone (whole days) and the time part alone (fraction of a day).
    double Date() const;
    double Time() const;
    void SetDate(double date);
    void SetTime(double time);
    const clk::LocalTime& Value() const { return value_; }
    void SetValue(const clk::LocalTime& t);
    // The value as shown, in the short date or long time format.
    std::string DisplayText() const;
    const std::string& Text() const override;

    // The field the keys act on (index among the pattern's fields).
    int SelectedField() const { return field_; }
    gdi::Rect ButtonRect() const;  // drop-down button (date) or up-down part (time)
    bool DroppedDown() const { return calendar_.IsOpen(); }
    // While the calendar is open: the screen rectangle of a day of the shown month.
    bool DayScreenRect(int day, gdi::Rect* out) const;

    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;
    std::optional<std::string> GetPropText(std::string_view name) const override;

  protected:
    void Paint(gdi::DC& dc) override;
    void EraseBackground(gdi::DC&, const gdi::Rect&) override {}
    bool WantsKey(int vk, unsigned shift) const override;
    void KeyDown(int& key, unsigned shift) override;
    void KeyPress(char32_t ch) override;

  private:
    std::vector<DateFormatToken> Tokens() const;
    std::vector<int> FieldTokens() const;  // token index of each field
    void Step(int delta);                  // the selected field up or down, wrapping
    void OperatorSet(const clk::LocalTime& t);
    int FieldAt(int x) const;
    void OpenCalendar();
    void CloseCalendar(bool accept);
    win::LRESULT CalendarProc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp);
    void PaintCalendar(gdi::DC& dc, const gdi::Rect& client);
    gdi::Rect CalendarDayRect(int day) const;

    TDateTimeKind kind_ = TDateTimeKind::dtkDate;
    clk::LocalTime value_;
    int field_ = 0;
    int typed_ = 0;
    int typed_digits_ = 0;
    PopupWindow calendar_;
    int cal_year_ = 2000, cal_month_ = 1, cal_day_ = 1;
    mutable std::string text_cache_;
};

}  // namespace forms
