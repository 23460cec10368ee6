// The progress bar class: its numbers under odd input, its messages, and what it paints.

#include <limits>

#include "platform/gdi/dc.h"
#include "test_support.h"

using namespace win;
using namespace wintest;

namespace {

TEST(ProgressRangeTest, PositionsStayInsideTheRangeWhateverIsAsked) {
    ProgressRange r;
    EXPECT_EQ(r.Low(), 0);
    EXPECT_EQ(r.High(), 100);
    EXPECT_EQ(r.Step(), 10);
    EXPECT_TRUE(r.SetPosition(250));
    EXPECT_EQ(r.Position(), 100);
    EXPECT_TRUE(r.SetPosition(-5));
    EXPECT_EQ(r.Position(), 0);
    EXPECT_FALSE(r.SetPosition(0)) << "nothing changed, nothing to repaint";
    // Huge positions and deltas clamp instead of wrapping round.
    r.SetRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    EXPECT_TRUE(r.SetPosition(std::numeric_limits<int64_t>::max()));
    EXPECT_EQ(r.Position(), std::numeric_limits<int>::max());
    EXPECT_FALSE(r.DeltaPos(std::numeric_limits<int>::max()));
    EXPECT_EQ(r.Position(), std::numeric_limits<int>::max());
    EXPECT_EQ(r.FilledLength(1000), 1000);
    r.SetPosition(0);
    EXPECT_EQ(r.FilledLength(1000), 500);
    // A new range pulls the position in.
    r.SetRange(10, 20);
    EXPECT_EQ(r.Position(), 10);
}

TEST(ProgressRangeTest, AnInvertedOrEmptyRangeShowsAnEmptyBarAtItsLowEnd) {
    ProgressRange r;
    r.SetPosition(50);
    r.SetRange(80, 20);  // low above high: kept as given, counts as empty
    EXPECT_EQ(r.Low(), 80);
    EXPECT_EQ(r.High(), 20);
    EXPECT_EQ(r.Position(), 80);
    EXPECT_FALSE(r.SetPosition(30));
    EXPECT_EQ(r.FilledLength(200), 0);
    EXPECT_FALSE(r.StepIt());
    r.SetRange(80, 120);  // set right again: the range counts once more
    EXPECT_TRUE(r.SetPosition(100));
    EXPECT_EQ(r.FilledLength(200), 100);
    r.SetRange(5, 5);
    EXPECT_EQ(r.Position(), 5);
    EXPECT_EQ(r.FilledLength(200), 0);
    EXPECT_EQ(r.FilledLength(0), 0);
    EXPECT_EQ(r.FilledLength(-4), 0);
}

TEST(ProgressRangeTest, StepsWrapRoundAtEitherEnd) {
    ProgressRange r;
    r.SetRange(0, 100);
    r.SetStep(30);
    r.SetPosition(90);
    EXPECT_TRUE(r.StepIt());
    EXPECT_EQ(r.Position(), 20) << "past the high end it starts over from the low end";
    r.SetStep(-50);
    EXPECT_TRUE(r.StepIt());
    EXPECT_EQ(r.Position(), 70);
    // A step many times the range wraps as often as needed, without overflow.
    r.SetStep(std::numeric_limits<int>::max());
    r.SetPosition(0);
    r.StepIt();
    EXPECT_GE(r.Position(), 0);
    EXPECT_LE(r.Position(), 100);
    EXPECT_EQ(r.Position(), std::numeric_limits<int>::max() % 100);
}

class ProgressWindow : public WinTest {
  protected:
    HWND bar(HWND parent, RECT r, DWORD style = 0) {
        return CreateWindowEx(0, PROGRESS_CLASS, "", WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                              r.width(), r.height(), parent, nullptr, nullptr, nullptr);
    }
    // The colour at a client point once every window is painted.
    COLORREF pixel(HWND h, int x, int y) {
        UpdateAllWindows();
        return wintest::pixel(h, x, y);
    }
};

TEST_F(ProgressWindow, MessagesSetAndReportRangePositionAndStep) {
    HWND t = top();
    HWND h = bar(t, {10, 10, 210, 30});
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(SendMessage(h, PBM_GETPOS, 0, 0), 0);
    EXPECT_EQ(SendMessage(h, PBM_SETRANGE, 0, MAKELPARAM(10, 60000)), MAKELRESULT(0, 100));
    EXPECT_EQ(SendMessage(h, PBM_GETRANGE, TRUE, 0), 10);
    EXPECT_EQ(SendMessage(h, PBM_GETRANGE, FALSE, 0), 60000) << "16-bit ends are unsigned";
    EXPECT_EQ(SendMessage(h, PBM_SETRANGE32, static_cast<WPARAM>(-50), 50), MAKELRESULT(10, 60000));
    PBRANGE range;
    SendMessage(h, PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, -50);
    EXPECT_EQ(range.iHigh, 50);
    EXPECT_EQ(SendMessage(h, PBM_GETPOS, 0, 0), 10) << "inside the new range: kept";
    EXPECT_EQ(SendMessage(h, PBM_SETPOS, 20, 0), 10);
    EXPECT_EQ(SendMessage(h, PBM_DELTAPOS, static_cast<WPARAM>(-30), 0), 20);
    EXPECT_EQ(SendMessage(h, PBM_GETPOS, 0, 0), -10);
    EXPECT_EQ(SendMessage(h, PBM_SETSTEP, 25, 0), 10);
    EXPECT_EQ(SendMessage(h, PBM_STEPIT, 0, 0), -10);
    EXPECT_EQ(SendMessage(h, PBM_GETPOS, 0, 0), 15);
    // A position of the pointer's full width clamps.
    SendMessage(h, PBM_SETPOS, static_cast<WPARAM>(std::numeric_limits<intptr_t>::min()), 0);
    EXPECT_EQ(SendMessage(h, PBM_GETPOS, 0, 0), -50);
}

TEST_F(ProgressWindow, PaintsFromTheStartEdgeAndSurvivesNoSize) {
    HWND t = top();
    HWND across = bar(t, {10, 10, 210, 30}, PBS_SMOOTH);
    HWND up = bar(t, {240, 10, 260, 210}, PBS_VERTICAL | PBS_SMOOTH);
    SendMessage(across, PBM_SETPOS, 50, 0);
    SendMessage(up, PBM_SETPOS, 50, 0);
    const COLORREF bar_colour = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(pixel(across, 10, 10), bar_colour);
    EXPECT_EQ(pixel(across, 190, 10), face);
    EXPECT_EQ(pixel(up, 10, 190), bar_colour) << "a vertical bar fills from the bottom";
    EXPECT_EQ(pixel(up, 10, 10), face);
    // Blocks leave gaps; an empty bar shows only its well.
    HWND blocks = bar(t, {10, 40, 210, 60});
    SendMessage(blocks, PBM_SETPOS, 100, 0);
    int gaps = 0;
    for (int x = 3; x < 197; ++x)
        gaps += pixel(blocks, x, 10) == face;
    EXPECT_GT(gaps, 20);
    SendMessage(blocks, PBM_SETPOS, 0, 0);
    EXPECT_EQ(pixel(blocks, 5, 10), face);
    // Windows of no size, or smaller than the edge, paint nothing and do not fail.
    HWND none = bar(t, {10, 70, 10, 70});
    HWND thin = bar(t, {10, 80, 12, 81});
    SendMessage(none, PBM_SETPOS, 70, 0);
    SendMessage(thin, PBM_SETPOS, 70, 0);
    UpdateAllWindows();
    EXPECT_TRUE(IsWindow(none));
    // Destroying one forgets it: a new window starts from the defaults.
    DestroyWindow(blocks);
    HWND fresh = bar(t, {10, 40, 210, 60});
    EXPECT_EQ(SendMessage(fresh, PBM_GETRANGE, FALSE, 0), 100);
}

}  // namespace
