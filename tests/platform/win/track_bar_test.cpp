// The track bar class: its numbers, its layout at odd sizes, its messages, and the notifications
// keys and the mouse send to its parent.

#include <limits>

#include "platform/gdi/dc.h"
#include "test_support.h"

using namespace win;
using namespace wintest;

namespace {

TEST(TrackRangeTest, PositionPageAndInvertedRanges) {
    TrackRange r;
    EXPECT_EQ(r.PageSize(), 20) << "a fifth of 0..100 until one is set";
    EXPECT_FALSE(r.SetPosition(std::numeric_limits<int64_t>::min())) << "clamped: no move";
    EXPECT_EQ(r.Position(), 0);
    EXPECT_TRUE(r.MoveBy(std::numeric_limits<int64_t>::max() / 2));
    EXPECT_EQ(r.Position(), 100);
    r.SetRange(50, 10);  // maximum below minimum: the thumb rests at the minimum
    EXPECT_EQ(r.Max(), 10);
    EXPECT_EQ(r.Position(), 50);
    EXPECT_FALSE(r.MoveBy(5));
    EXPECT_EQ(r.PageSize(), 1);
    r.SetRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    EXPECT_EQ(r.PageSize(), static_cast<int>(((int64_t{1} << 32) - 1) / 5));
    r.SetTicFreq(-3);
    EXPECT_EQ(r.TicFreq(), 1);
}

TEST(TrackLayoutTest, PositionsMapToPixelsAndBackAtEverySize) {
    TrackRange r;
    r.SetRange(0, 10);
    const TrackLayout l = LayoutTrackBar({0, 0, 150, 45}, r, TBS_AUTOTICKS);
    EXPECT_GT(l.travel, 100);
    for (int pos = 0; pos <= 10; ++pos)
        EXPECT_EQ(l.PositionAt(r, l.OffsetOf(r, pos)), pos);
    EXPECT_EQ(l.PositionAt(r, -1000), 0);
    EXPECT_EQ(l.PositionAt(r, 100000), 10);
    EXPECT_EQ(l.TickOffsets(r, TBS_AUTOTICKS).size(), 11u);
    EXPECT_EQ(l.TickOffsets(r, 0).size(), 2u) << "without auto ticks only the ends";
    EXPECT_TRUE(
        LayoutTrackBar({0, 0, 150, 45}, r, TBS_NOTICKS).TickOffsets(r, TBS_NOTICKS).empty());
    // A huge range keeps its ticks apart: only the ends.
    r.SetRange(0, std::numeric_limits<int>::max());
    EXPECT_EQ(l.TickOffsets(r, TBS_AUTOTICKS).size(), 2u);
    // Windows of no size or of a few pixels: no travel, nothing out of order.
    for (RECT c : {RECT{0, 0, 0, 0}, RECT{0, 0, 3, 2}, RECT{0, 0, 12, 45}}) {
        for (DWORD style : {DWORD{0}, TBS_VERT, TBS_BOTH}) {
            const TrackLayout t = LayoutTrackBar(c, r, style);
            EXPECT_GE(t.travel, 0);
            EXPECT_EQ(t.PositionAt(r, 5), 0);
            gdi::Bitmap b(20, 50);
            gdi::DC dc(b);
            DrawTrackBar(dc, c, r, style | TBS_AUTOTICKS, TrackThumbState::Normal, true);
        }
    }
}

class TrackWindow : public WinTest {
  protected:
    HWND bar(HWND parent, RECT r, DWORD style = TBS_AUTOTICKS) {
        return CreateWindowEx(0, TRACKBAR_CLASS, "", WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                              r.width(), r.height(), parent, nullptr, nullptr, nullptr);
    }
    // The TB_* codes the parent heard, with the positions of the thumb codes.
    std::vector<std::pair<int, int>> heard(UINT msg = WM_HSCROLL) {
        std::vector<std::pair<int, int>> out;
        for (const Entry& e : log())
            if (e.msg == msg)
                out.emplace_back(LOWORD(e.wParam), HIWORD(e.wParam));
        clear_log();
        return out;
    }
    using Heard = std::vector<std::pair<int, int>>;
};

TEST_F(TrackWindow, MessagesSetAndReportTheNumbers) {
    HWND t = top();
    HWND h = bar(t, {10, 10, 160, 55});
    EXPECT_EQ(SendMessage(h, TBM_GETRANGEMAX, 0, 0), 100);
    SendMessage(h, TBM_SETRANGE, TRUE, MAKELPARAM(-5, 5));
    EXPECT_EQ(SendMessage(h, TBM_GETRANGEMIN, 0, 0), -5);
    EXPECT_EQ(SendMessage(h, TBM_GETPOS, 0, 0), 0);
    SendMessage(h, TBM_SETPOS, TRUE, 99);
    EXPECT_EQ(SendMessage(h, TBM_GETPOS, 0, 0), 5);
    SendMessage(h, TBM_SETRANGEMAX, TRUE, 1000);
    SendMessage(h, TBM_SETTICFREQ, 100, 0);
    // -5, 95, 195 ... 995, and 1000.
    EXPECT_EQ(SendMessage(h, TBM_GETNUMTICS, 0, 0), 12);
    EXPECT_GT(SendMessage(h, TBM_GETTICPOS, 0, 0), 0);
    EXPECT_GT(SendMessage(h, TBM_GETTICPOS, 9, 0), SendMessage(h, TBM_GETTICPOS, 8, 0));
    EXPECT_EQ(SendMessage(h, TBM_GETTICPOS, 10, 0), -1);
    EXPECT_EQ(SendMessage(h, TBM_SETPAGESIZE, 0, 50), 201);
    EXPECT_EQ(SendMessage(h, TBM_GETPAGESIZE, 0, 0), 50);
    EXPECT_EQ(SendMessage(h, TBM_SETLINESIZE, 0, 7), 1);
    RECT thumb, channel;
    SendMessage(h, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    SendMessage(h, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    EXPECT_EQ(thumb.width(), kTrackThumbLength);
    EXPECT_GT(channel.width(), 100);
    EXPECT_GT(thumb.height(), channel.height());
    EXPECT_EQ(SendMessage(h, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(TrackWindow, KeysMoveTheThumbAndTellTheParent) {
    HWND t = top("T", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE);
    SetWindowProc(t, RecordingProc);
    HWND h = bar(t, {10, 10, 160, 55});
    SendMessage(h, TBM_SETPOS, TRUE, 50);
    clear_log();
    SendMessage(h, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessage(h, WM_KEYDOWN, VK_PRIOR, 0);
    SendMessage(h, WM_KEYUP, VK_PRIOR, 0);
    SendMessage(h, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(SendMessage(h, TBM_GETPOS, 0, 0), 100);
    SendMessage(h, WM_KEYDOWN, VK_HOME, 0);
    SendMessage(h, WM_KEYDOWN, VK_UP, 0);  // already at the top: still told
    EXPECT_EQ(heard(), (Heard{{TB_LINEDOWN, 0},
                              {TB_PAGEUP, 0},
                              {TB_ENDTRACK, 0},
                              {TB_BOTTOM, 0},
                              {TB_TOP, 0},
                              {TB_LINEUP, 0}}));
    EXPECT_EQ(SendMessage(h, TBM_GETPOS, 0, 0), 0);
    // Keys a track bar does not use go on to the default procedure.
    SendMessage(h, WM_KEYDOWN, 'A', 0);
    EXPECT_TRUE(heard().empty());
    // An upright bar reports through WM_VSCROLL.
    HWND up = bar(t, {200, 10, 245, 160}, TBS_VERT);
    SendMessage(up, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(heard(WM_VSCROLL), (Heard{{TB_LINEDOWN, 0}}));
}

TEST_F(TrackWindow, TheMouseDragsTheThumbOrPagesTowardsAPress) {
    HWND t = top("T", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE);
    SetWindowProc(t, RecordingProc);
    HWND h = bar(t, {10, 10, 160, 55});
    SendMessage(h, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    RECT thumb;
    SendMessage(h, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const int y = thumb.top + 5;
    clear_log();
    SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(thumb.left + 5, y));
    EXPECT_EQ(GetCapture(), h);
    SendMessage(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1000, y));
    SendMessage(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1001, y));  // no move, no report
    SendMessage(h, WM_LBUTTONUP, 0, MAKELPARAM(1001, y));
    EXPECT_EQ(heard(), (Heard{{TB_THUMBTRACK, 10}, {TB_THUMBPOSITION, 10}, {TB_ENDTRACK, 0}}));
    EXPECT_NE(GetCapture(), h);
    // A press left of the thumb pages down by the page size (2 of 0..10).
    SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, y));
    SendMessage(h, WM_LBUTTONUP, 0, MAKELPARAM(2, y));
    EXPECT_EQ(heard(), (Heard{{TB_PAGEUP, 0}, {TB_ENDTRACK, 0}}));
    EXPECT_EQ(SendMessage(h, TBM_GETPOS, 0, 0), 8);
}

// Destroys the track bar that tells it of a move.
LRESULT DestroyingParent(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_HSCROLL && l)
        DestroyWindow(reinterpret_cast<HWND>(l));
    return DefWindowProc(h, m, w, l);
}

TEST_F(TrackWindow, ABarDestroyedByItsParentOnAMoveLeavesQuietly) {
    HWND t = top("T", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE);
    SetWindowProc(t, DestroyingParent);
    HWND h = bar(t, {10, 10, 160, 55});
    SendMessage(h, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_FALSE(IsWindow(h));
    HWND d = bar(t, {10, 10, 160, 55});
    RECT thumb;
    SendMessage(d, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    SendMessage(d, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(thumb.left + 3, thumb.top + 3));
    SendMessage(d, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, thumb.top + 3));
    EXPECT_FALSE(IsWindow(d));
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
