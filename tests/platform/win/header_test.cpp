// The header class: sections through its messages, hit testing and layout at odd sizes, and the
// reports a click and a divider drag send to the parent.

#include <limits>

#include "platform/gdi/dc.h"
#include "test_support.h"

using namespace win;
using namespace wintest;

namespace {

// The parent's record of header reports: code and section.
std::vector<std::pair<UINT, int>>& reports() {
    static std::vector<std::pair<UINT, int>> r;
    return r;
}

LRESULT ReportingParent(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NOTIFY && l) {
        const auto* nm = reinterpret_cast<const NMHEADER*>(l);
        reports().emplace_back(nm->hdr.code, nm->iItem);
    }
    return DefWindowProc(h, m, w, l);
}

class HeaderWindow : public WinTest {
  protected:
    void SetUp() override {
        WinTest::SetUp();
        reports().clear();
        parent_ = top("T", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE);
        SetWindowProc(parent_, ReportingParent);
    }
    HWND header(DWORD style = HDS_BUTTONS, RECT r = {0, 0, 300, 20}) {
        return CreateWindowEx(0, WC_HEADER, "", WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                              r.width(), r.height(), parent_, nullptr, nullptr, nullptr);
    }
    static int insert(HWND h, int at, const char* text, int width, int fmt = HDF_LEFT) {
        HDITEM item;
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.pszText = text;
        item.cxy = width;
        item.fmt = fmt;
        return static_cast<int>(SendMessage(h, HDM_INSERTITEM, static_cast<WPARAM>(at),
                                            reinterpret_cast<LPARAM>(&item)));
    }
    static RECT rect(HWND h, int i) {
        RECT r;
        SendMessage(h, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    HWND parent_ = nullptr;
};

TEST_F(HeaderWindow, SectionsGoInComeOutAndReportThemselves) {
    HWND h = header();
    EXPECT_EQ(insert(h, 0, "Channel", 100), 0);
    EXPECT_EQ(insert(h, 99, "State", 80), 1) << "past the end appends";
    EXPECT_EQ(insert(h, 1, "Delay", -40, HDF_RIGHT), 1) << "in between";
    EXPECT_EQ(SendMessage(h, HDM_INSERTITEM, 0, 0), -1) << "no item, nothing inserted";
    EXPECT_EQ(SendMessage(h, HDM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(rect(h, 1).width(), 0) << "a negative width is none";
    EXPECT_EQ(rect(h, 2), (RECT{100, 0, 180, 20}));
    char small[5];
    HDITEM get;
    get.mask = HDI_TEXT | HDI_FORMAT | HDI_WIDTH;
    get.pszText = small;
    get.cchTextMax = sizeof(small);
    EXPECT_EQ(SendMessage(h, HDM_GETITEM, 0, reinterpret_cast<LPARAM>(&get)), TRUE);
    EXPECT_STREQ(small, "Chan") << "cut to the buffer";
    EXPECT_EQ(get.cxy, 100);
    EXPECT_EQ(SendMessage(h, HDM_GETITEM, 7, reinterpret_cast<LPARAM>(&get)), FALSE);
    EXPECT_EQ(SendMessage(h, HDM_DELETEITEM, 0, 0), TRUE);
    EXPECT_EQ(SendMessage(h, HDM_DELETEITEM, 5, 0), FALSE);
    EXPECT_EQ(rect(h, 1), (RECT{0, 0, 80, 20}));
    // Widths that add up past any screen stay in order without overflowing.
    insert(h, 0, "huge", std::numeric_limits<int>::max());
    insert(h, 0, "huge", std::numeric_limits<int>::max());
    EXPECT_LE(rect(h, 1).left, rect(h, 1).right);
    EXPECT_GT(rect(h, 2).left, 0);
}

TEST_F(HeaderWindow, HitTestingAndLayout) {
    HWND h = header();
    insert(h, 0, "A", 50);
    insert(h, 1, "B", 0);
    insert(h, 2, "C", 60);
    HDHITTESTINFO info;
    info.pt = {20, 10};
    EXPECT_EQ(SendMessage(h, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.flags, HHT_ONHEADER);
    info.pt = {50, 10};  // where A ends and the empty B sits: B's divider, so B can be opened
    EXPECT_EQ(SendMessage(h, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), 1);
    EXPECT_EQ(info.flags, HHT_ONDIVIDER);
    info.pt = {200, 10};
    EXPECT_EQ(SendMessage(h, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), -1);
    EXPECT_EQ(info.flags, HHT_TORIGHT);
    info.pt = {20, 40};
    SendMessage(h, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.flags, HHT_NOWHERE);
    // The layout takes the header's height off the top of the area it is given.
    RECT area{10, 10, 210, 300};
    WINDOWPOS pos;
    HDLAYOUT layout{&area, &pos};
    EXPECT_EQ(SendMessage(h, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)), TRUE);
    EXPECT_GT(pos.cy, 10);
    EXPECT_EQ(pos.cx, 200);
    EXPECT_EQ(area.top, 10 + pos.cy);
    RECT tiny{0, 0, 50, 3};
    layout = {&tiny, &pos};
    SendMessage(h, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
    EXPECT_EQ(pos.cy, 3) << "never more than there is";
    // Headers of no size paint and hit-test nothing, without failing.
    HWND none = header(HDS_BUTTONS, {0, 30, 0, 30});
    insert(none, 0, "x", 30);
    UpdateAllWindows();
    info.pt = {0, 0};
    EXPECT_EQ(SendMessage(none, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), -1);
}

TEST_F(HeaderWindow, AClickLetGoOverItsSectionReportsItAndADividerDragResizes) {
    HWND h = header();
    insert(h, 0, "A", 50);
    insert(h, 1, "B", 60);
    SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, 10));
    EXPECT_EQ(GetCapture(), h);
    SendMessage(h, WM_LBUTTONUP, 0, MAKELPARAM(82, 10));
    // Pressed, moved off and let go elsewhere: no click.
    SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    SendMessage(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(80, 10));
    SendMessage(h, WM_LBUTTONUP, 0, MAKELPARAM(80, 10));
    EXPECT_EQ(reports(), (std::vector<std::pair<UINT, int>>{{HDN_ITEMCLICK, 1}}));
    reports().clear();
    // The divider after A, pulled 30 pixels right, and past the left edge.
    SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 10));
    SendMessage(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(80, 10));
    EXPECT_EQ(rect(h, 0).width(), 80);
    EXPECT_EQ(rect(h, 1).left, 80);
    SendMessage(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-40, 10));
    SendMessage(h, WM_LBUTTONUP, 0, MAKELPARAM(-40, 10));
    EXPECT_EQ(rect(h, 0).width(), 0);
    EXPECT_EQ(reports(), (std::vector<std::pair<UINT, int>>{{HDN_BEGINTRACK, 0},
                                                            {HDN_TRACK, 0},
                                                            {HDN_TRACK, 0},
                                                            {HDN_ENDTRACK, 0},
                                                            {HDN_ITEMCHANGED, 0}}));
    reports().clear();
    // Without HDS_BUTTONS the sections are titles only.
    HWND titles = header(0, {0, 30, 300, 50});
    insert(titles, 0, "A", 50);
    SendMessage(titles, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    SendMessage(titles, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
    EXPECT_TRUE(reports().empty());
}

}  // namespace
