#include "forms/date_time_picker.h"

#include <algorithm>
#include <cmath>

#include "forms/building_moment.h"
#include "forms/component_tracker.h"
#include "forms/form.h"
#include "forms/painter.h"
#include "platform/win/input.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"

namespace forms {

namespace {

constexpr int kCalCell = 24;
constexpr int kCalHeader = 22;
constexpr int kCalWeekRow = 18;
constexpr int kCalRowHeight = 18;
constexpr int kCalWidth = 7 * kCalCell + 4;
constexpr int kCalHeight = kCalHeader + kCalWeekRow + 6 * kCalRowHeight + 6;
const char* const kWeekLetters[] = {"S", "M", "T", "W", "T", "F", "S"};

}  // namespace

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetInitialSize(186, 21);
    SetParentColor(false);
    TControl::SetColor(clWindow);
    // The present moment; every picker of a form being created takes the same one.
    value_ = TBuildingMoment::Now();
    value_.millisecond = 0;
}

TDateTimePicker::~TDateTimePicker() {
    calendar_.Close();
}

void TDateTimePicker::SetKind(TDateTimeKind k) {
    kind_ = k;
    field_ = 0;
    Invalidate();
}

double TDateTimePicker::DateTime() const {
    return clk::to_day_count(value_);
}
double TDateTimePicker::Date() const {
    return clk::date_part(value_);
}
double TDateTimePicker::Time() const {
    return clk::time_part(value_);
}

void TDateTimePicker::SetValue(const clk::LocalTime& t) {
    value_ = t;
    value_.millisecond = 0;
    value_.weekday = clk::weekday_of(value_.year, value_.month, value_.day);
    Invalidate();
}

void TDateTimePicker::SetDateTime(double v) {
    SetValue(clk::from_day_count(v));
}

void TDateTimePicker::SetDate(double date) {
    // The whole days towards zero, as every day count splits: -1.25 is on day -1.
    clk::LocalTime d = clk::from_day_count(std::trunc(date));
    clk::LocalTime t = value_;
    t.year = d.year;
    t.month = d.month;
    t.day = d.day;
    SetValue(t);
}

void TDateTimePicker::SetTime(double time) {
    // The time of day is the fraction's size whatever the sign, as in every day count: -1.25
    // is 06:00 (on the day before day 0), not 18:00. Rounded to the millisecond as the day
    // count 1 + fraction converts, without converting the date: a stored time just short of
    // midnight is midnight, a value that is no number is midnight too. In plain arithmetic (a
    // stored schedule loads 140 of them at start-up): from 2^52 on a double has no fraction
    // left, and one that is no number fails the test too.
    int64_t ms = 0;
    if (std::fabs(time) < 4503599627370496.0) {
        const auto whole = static_cast<int64_t>(time);  // towards zero
        const double days = 1.0 + std::fabs(time - static_cast<double>(whole));
        ms = static_cast<int64_t>((days >= 2.0 ? days - 2.0 : days - 1.0) * 86400000.0 + 0.5);
        if (ms >= 86400000)
            ms -= 86400000;
    }
    // The date, and so the weekday, stay. Less than a day of seconds: divided in 32 bits.
    const int seconds = static_cast<int>(ms) / 1000;
    value_.hour = seconds / 3600;
    value_.minute = seconds / 60 % 60;
    value_.second = seconds % 60;
    value_.millisecond = 0;
    Invalidate();
}

std::vector<DateFormatToken> TDateTimePicker::Tokens() const {
    const FormatSettings& fs = GetFormatSettings();
    return ParseDateFormat(kind_ == TDateTimeKind::dtkDate ? fs.ShortDateFormat
                                                           : fs.LongTimeFormat);
}

std::vector<int> TDateTimePicker::FieldTokens() const {
    std::vector<int> out;
    auto tokens = Tokens();
    for (size_t i = 0; i < tokens.size(); ++i)
        if (tokens[i].kind != DateFormatToken::Literal)
            out.push_back(static_cast<int>(i));
    return out;
}

std::string TDateTimePicker::DisplayText() const {
    std::string out;
    for (const auto& t : Tokens())
        out += FormatToken(t, value_);
    return out;
}

const std::string& TDateTimePicker::Text() const {
    text_cache_ = DisplayText();
    return text_cache_;
}

gdi::Rect TDateTimePicker::ButtonRect() const {
    gdi::Rect r = ClientRect();
    const int w = win::GetSystemMetrics(win::SM_CXVSCROLL);
    return {r.right - 2 - w, r.top + 2, r.right - 2, r.bottom - 2};
}

void TDateTimePicker::OperatorSet(const clk::LocalTime& t) {
    const bool changed =
        !(t.year == value_.year && t.month == value_.month && t.day == value_.day &&
          t.hour == value_.hour && t.minute == value_.minute && t.second == value_.second);
    SetValue(t);
    if (changed)
        FireEvent(OnChange, this);
}

void TDateTimePicker::Step(int delta) {
    auto tokens = Tokens();
    auto fields = FieldTokens();
    if (fields.empty())
        return;
    field_ = std::clamp(field_, 0, static_cast<int>(fields.size()) - 1);
    clk::LocalTime t = value_;
    auto wrap = [](int v, int lo, int hi) {
        const int span = hi - lo + 1;
        return lo + ((v - lo) % span + span) % span;
    };
    switch (tokens[fields[field_]].kind) {
        case DateFormatToken::Year:
            t.year = std::clamp(t.year + delta, 1753, 9998);
            break;
        case DateFormatToken::Month:
            t.month = wrap(t.month + delta, 1, 12);
            break;
        case DateFormatToken::Day:
            t.day = wrap(t.day + delta, 1, DaysInMonth(t.year, t.month));
            break;
        case DateFormatToken::Hour24:
        case DateFormatToken::Hour12:
            t.hour = wrap(t.hour + delta, 0, 23);
            break;
        case DateFormatToken::Minute:
            t.minute = wrap(t.minute + delta, 0, 59);
            break;
        case DateFormatToken::Second:
            t.second = wrap(t.second + delta, 0, 59);
            break;
        case DateFormatToken::AmPm:
            t.hour = (t.hour + 12) % 24;
            break;
        default:
            break;
    }
    t.day = std::min(t.day, DaysInMonth(t.year, t.month));
    typed_ = typed_digits_ = 0;
    OperatorSet(t);
}

bool TDateTimePicker::WantsKey(int vk, unsigned) const {
    return DroppedDown() && (vk == win::VK_RETURN || vk == win::VK_ESCAPE);
}

void TDateTimePicker::KeyDown(int& key, unsigned shift) {
    using namespace win;
    if (DroppedDown()) {
        clk::LocalTime probe{cal_year_, cal_month_, cal_day_, 0, 0, 0, 0, 0};
        double d = clk::to_day_count(probe);
        switch (key) {
            case VK_LEFT:
                d -= 1;
                break;
            case VK_RIGHT:
                d += 1;
                break;
            case VK_UP:
                d -= 7;
                break;
            case VK_DOWN:
                d += 7;
                break;
            case VK_RETURN:
                CloseCalendar(true);
                return;
            case VK_ESCAPE:
            case VK_F4:
                CloseCalendar(false);
                return;
            default:
                return;
        }
        clk::LocalTime n = clk::from_day_count(d);
        cal_year_ = n.year;
        cal_month_ = n.month;
        cal_day_ = n.day;
        calendar_.Invalidate();
        return;
    }
    const int count = static_cast<int>(FieldTokens().size());
    switch (key) {
        case VK_LEFT:
            field_ = (field_ + count - 1) % std::max(1, count);
            typed_ = typed_digits_ = 0;
            Invalidate();
            break;
        case VK_RIGHT:
            field_ = (field_ + 1) % std::max(1, count);
            typed_ = typed_digits_ = 0;
            Invalidate();
            break;
        case VK_UP:
            Step(+1);
            break;
        case VK_DOWN:
            if ((shift & ssAlt) && kind_ == TDateTimeKind::dtkDate) {
                OpenCalendar();
            } else {
                Step(-1);
            }
            break;
        case VK_F4:
            if (kind_ == TDateTimeKind::dtkDate)
                OpenCalendar();
            break;
        case VK_HOME:
        case VK_END:
            // The first or the last field, as typing a whole value starts at the first.
            field_ = key == VK_HOME ? 0 : std::max(0, count - 1);
            typed_ = typed_digits_ = 0;
            Invalidate();
            break;
        default:
            break;
    }
}

void TDateTimePicker::KeyPress(char32_t ch) {
    auto tokens = Tokens();
    auto fields = FieldTokens();
    if (fields.empty())
        return;
    if (ch < U'0' || ch > U'9') {
        // A separator after some digits ends the field, so "7:30:00" types as 07:30:00.
        if (ch > U' ' && typed_digits_ > 0 && field_ + 1 < static_cast<int>(fields.size())) {
            ++field_;
            typed_ = typed_digits_ = 0;
            Invalidate();
        }
        return;
    }
    field_ = std::clamp(field_, 0, static_cast<int>(fields.size()) - 1);
    const DateFormatToken& tok = tokens[fields[field_]];
    const int digit = static_cast<int>(ch - U'0');
    int max_digits = tok.kind == DateFormatToken::Year ? 4 : 2;
    int candidate = typed_ * 10 + digit;
    clk::LocalTime t = value_;
    auto fits = [&](int v) {
        switch (tok.kind) {
            case DateFormatToken::Year:
                return v <= 9999;
            case DateFormatToken::Month:
                return v <= 12;
            case DateFormatToken::Day:
                return v <= DaysInMonth(t.year, t.month);
            case DateFormatToken::Hour24:
            case DateFormatToken::Hour12:
                return v <= 23;
            case DateFormatToken::Minute:
            case DateFormatToken::Second:
                return v <= 59;
            default:
                return false;
        }
    };
    if (tok.kind == DateFormatToken::AmPm)
        return;
    if (typed_digits_ == 0 || !fits(candidate)) {
        candidate = digit;
        typed_digits_ = 0;
    }
    typed_ = candidate;
    ++typed_digits_;
    switch (tok.kind) {
        case DateFormatToken::Year:
            if (typed_digits_ == 4 && candidate >= 1753)
                t.year = candidate;
            break;
        case DateFormatToken::Month:
            if (candidate >= 1)
                t.month = candidate;
            break;
        case DateFormatToken::Day:
            if (candidate >= 1)
                t.day = candidate;
            break;
        case DateFormatToken::Hour24:
        case DateFormatToken::Hour12:
            t.hour = candidate;
            break;
        case DateFormatToken::Minute:
            t.minute = candidate;
            break;
        case DateFormatToken::Second:
            t.second = candidate;
            break;
        default:
            break;
    }
    t.day = std::min(t.day, DaysInMonth(t.year, t.month));
    OperatorSet(t);
    if (typed_digits_ >= max_digits) {
        typed_ = typed_digits_ = 0;
        if (field_ + 1 < static_cast<int>(fields.size()))
            ++field_;
        Invalidate();
    }
}

int TDateTimePicker::FieldAt(int x) const {
    gdi::Bitmap scratch(1, 1);
    gdi::DC dc(scratch);
    dc.select_font(Font().ToGdi());
    auto tokens = Tokens();
    int pos = 4, field = -1, best = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const int w = dc.get_text_extent(FormatToken(tokens[i], value_)).cx;
        if (tokens[i].kind != DateFormatToken::Literal) {
            ++field;
            best = field;
            if (x < pos + w)
                return field;
        }
        pos += w;
    }
    return best;
}

void TDateTimePicker::WndProc(TMessage& m) {
    using namespace win;
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (CanFocus() && !Focused())
                SetFocus();
            const POINT p = MAKEPOINT(m.LParam);
            gdi::Rect button = ButtonRect();
            if (button.contains(p)) {
                if (kind_ == TDateTimeKind::dtkDate) {
                    if (DroppedDown()) {
                        CloseCalendar(false);
                    } else {
                        OpenCalendar();
                    }
                } else {
                    Step(p.y < button.top + button.height() / 2 ? +1 : -1);
                }
            } else {
                field_ = FieldAt(p.x);
                typed_ = typed_digits_ = 0;
                Invalidate();
            }
            break;
        }
        case WM_KILLFOCUS:
            CloseCalendar(false);
            typed_ = typed_digits_ = 0;
            break;
        case CM_CANCELMODE:
            CloseCalendar(false);
            break;
        case WM_DESTROY:
            calendar_.Close();
            break;
        default:
            break;
    }
    TWinControl::WndProc(m);
}

void TDateTimePicker::Paint(gdi::DC& dc) {
    const painter::Scheme s = painter::scheme();
    gdi::Rect r = ClientRect();
    const unsigned flags = Enabled() ? 0u : unsigned(painter::kDisabled);
    gdi::Rect inner = painter::draw_edit_frame(dc, r, flags);
    if (Enabled())
        dc.fill_rect(inner, ColorToRGB(Color()));
    gdi::Rect button = ButtonRect();
    if (kind_ == TDateTimeKind::dtkDate) {
        painter::draw_combo_button(dc, button,
                                   flags | (DroppedDown() ? unsigned(painter::kPressed) : 0u));
    } else {
        painter::draw_up_down(dc, button, flags, flags);
    }
    dc.select_font(Font().ToGdi());
    dc.set_bk_mode(gdi::BkMode::Transparent);
    const int th = dc.get_text_metrics().height;
    const int y = inner.top + std::max(0, (inner.height() - th) / 2);
    int saved = dc.save();
    dc.intersect_clip_rect({inner.left, inner.top, button.left, inner.bottom});
    const bool focused = Focused() && !DroppedDown();
    int x = r.left + 4, field = -1;
    for (const auto& tok : Tokens()) {
        std::string piece = FormatToken(tok, value_);
        const int w = dc.get_text_extent(piece).cx;
        bool selected = false;
        if (tok.kind != DateFormatToken::Literal)
            selected = ++field == field_ && focused;
        if (selected)
            dc.fill_rect({x, y, x + w, y + th}, s.selection);
        dc.set_text_color(selected ? s.selection_text
                                   : (Enabled() ? ColorToRGB(Font().Color()) : s.gray_text));
        dc.text_out(x, y, piece);
        x += w;
    }
    dc.restore(saved);
}

// ---- The drop-down calendar ------------------------------------------------------------------

void TDateTimePicker::OpenCalendar() {
    if (!handle_ || DroppedDown())
        return;
    cal_year_ = value_.year;
    cal_month_ = value_.month;
    cal_day_ = value_.day;
    gdi::Point origin = ClientToScreen({0, Height()});
    win::RECT rect = gdi::Rect::from_xywh(origin.x, origin.y, kCalWidth + 2, kCalHeight + 2);
    if (rect.bottom > win::GetSystemMetrics(win::SM_CYSCREEN))
        rect = rect.offset(0, -(rect.height() + Height()));
    TForm* form = ParentForm();
    calendar_.Open(
        form ? form->Handle() : nullptr, rect,
        [this](win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
            return CalendarProc(h, m, w, l);
        },
        [this] { CloseCalendar(false); });
    Invalidate();
}

void TDateTimePicker::CloseCalendar(bool accept) {
    if (!DroppedDown())
        return;
    calendar_.Close();
    Invalidate();
    if (accept) {
        clk::LocalTime t = value_;
        t.year = cal_year_;
        t.month = cal_month_;
        t.day = cal_day_;
        OperatorSet(t);
    }
}

gdi::Rect TDateTimePicker::CalendarDayRect(int day) const {
    const int first = clk::weekday_of(cal_year_, cal_month_, 1);
    const int cell = first + day - 1;
    const int row = cell / 7, col = cell % 7;
    return gdi::Rect::from_xywh(2 + col * kCalCell, kCalHeader + kCalWeekRow + row * kCalRowHeight,
                                kCalCell, kCalRowHeight);
}

bool TDateTimePicker::DayScreenRect(int day, gdi::Rect* out) const {
    if (!DroppedDown() || day < 1 || day > DaysInMonth(cal_year_, cal_month_))
        return false;
    gdi::Rect r = CalendarDayRect(day);
    win::POINT p{r.left, r.top};
    win::ClientToScreen(calendar_.hwnd(), &p);
    *out = gdi::Rect::from_xywh(p.x, p.y, r.width(), r.height());
    return true;
}

win::LRESULT TDateTimePicker::CalendarProc(win::HWND h, win::UINT msg, win::WPARAM wp,
                                           win::LPARAM lp) {
    using namespace win;
    const RECT client = GetClientRect(h);
    const POINT p = MAKEPOINT(lp);
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            if (dc)
                PaintCalendar(*dc, client);
            EndPaint(h, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        // Presses and releases arrive here from inside the calendar only; the pop-up deals
        // with the others. A press on a month arrow turns the month; a release on a day takes
        // it.
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (p.y < kCalHeader) {
                int delta = p.x < 24 ? -1 : (p.x >= client.right - 24 ? 1 : 0);
                if (delta) {
                    cal_month_ += delta;
                    if (cal_month_ < 1) {
                        cal_month_ = 12;
                        --cal_year_;
                    } else if (cal_month_ > 12) {
                        cal_month_ = 1;
                        ++cal_year_;
                    }
                    cal_day_ = std::min(cal_day_, DaysInMonth(cal_year_, cal_month_));
                    calendar_.Invalidate();
                }
            }
            return 0;
        case WM_LBUTTONUP:
            if (p.y >= kCalHeader + kCalWeekRow) {
                for (int d = 1; d <= DaysInMonth(cal_year_, cal_month_); ++d) {
                    if (CalendarDayRect(d).contains(p)) {
                        cal_day_ = d;
                        CloseCalendar(true);
                        return 0;
                    }
                }
            }
            return 0;
        default:
            return DefWindowProc(h, msg, wp, lp);
    }
}

void TDateTimePicker::PaintCalendar(gdi::DC& dc, const gdi::Rect& client) {
    const painter::Scheme s = painter::scheme();
    dc.fill_rect(client, s.window);
    dc.select_font(Font().ToGdi());
    dc.set_bk_mode(gdi::BkMode::Transparent);
    // Header: the month with arrows to the previous and next month.
    gdi::Rect header{client.left, client.top, client.right, client.top + kCalHeader};
    dc.fill_rect(header, s.face);
    painter::draw_arrow(dc, {header.left, header.top, header.left + 24, header.bottom},
                        win::ArrowDirection::Left, s.button_text);
    painter::draw_arrow(dc, {header.right - 24, header.top, header.right, header.bottom},
                        win::ArrowDirection::Right, s.button_text);
    clk::LocalTime month{cal_year_, cal_month_, 1, 0, 0, 0, 0, 0};
    dc.set_text_color(s.button_text);
    dc.draw_text(FormatDateTime("yyyy/MM", month), header,
                 gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
    for (int c = 0; c < 7; ++c) {
        gdi::Rect cell = gdi::Rect::from_xywh(2 + c * kCalCell, kCalHeader, kCalCell, kCalWeekRow);
        dc.set_text_color(s.selection);
        dc.draw_text(kWeekLetters[c], cell, gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
    }
    dc.fill_rect({4, kCalHeader + kCalWeekRow - 1, client.right - 4, kCalHeader + kCalWeekRow},
                 s.shadow);
    for (int d = 1; d <= DaysInMonth(cal_year_, cal_month_); ++d) {
        gdi::Rect cell = CalendarDayRect(d);
        const bool selected = d == cal_day_;
        if (selected)
            dc.fill_rect(cell.inflate(-1, 0), s.selection);
        dc.set_text_color(selected ? s.selection_text : s.window_text);
        dc.draw_text(std::to_string(d), cell,
                     gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
    }
}

std::optional<std::string> TDateTimePicker::GetPropText(std::string_view name) const {
    if (name == "Text")
        return DisplayText();
    if (name == "Kind")
        return kind_ == TDateTimeKind::dtkDate ? "dtkDate" : "dtkTime";
    if (name == "DateTime")
        return std::to_string(DateTime());
    return TWinControl::GetPropText(name);
}

}  // namespace forms
