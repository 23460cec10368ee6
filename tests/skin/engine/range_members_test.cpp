// The skinning objects of controls that show a value inside a range: which controls get them,
// and what they draw from the skin's elements.
#include <gtest/gtest.h>

#include "forms/header_control.h"
#include "forms/progress_bar.h"
#include "forms/track_bar.h"
#include "platform/win/metrics.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"
#include "skin/engine/skin_header.h"
#include "skin/engine/skin_progress.h"
#include "skin/engine/skin_track_bar.h"
#include "skin/skin_elements.h"
#include "tests/skin/engine/skin_engine_fixture.h"

namespace {

class TGauge : public forms::TWinControl {
    FORMS_CLASS(TGauge, forms::TWinControl)
  public:
    using forms::TWinControl::TWinControl;
};

constexpr gdi::Color kFace = gdi::rgb(200, 200, 200);
constexpr gdi::Color kHorizontalFrame = gdi::rgb(255, 0, 0);
constexpr gdi::Color kVerticalFrame = gdi::rgb(0, 255, 0);
constexpr gdi::Color kChunk = gdi::rgb(0, 0, 255);
constexpr gdi::Color kGap = gdi::rgb(255, 255, 255);

// A frame of two plain states (red across, green upright) with 2-pixel edges, and a chunk 4
// pixels of blue and 1 of white gap as its fixed right edge.
struct ProgressElements {
    skin::TDataSkinObject frame, chunk;
    ProgressElements() {
        frame.Map = gdi::Bitmap(20, 10);
        gdi::DC f(frame.Map);
        f.fill_rect({0, 0, 10, 10}, kHorizontalFrame);
        f.fill_rect({10, 0, 20, 10}, kVerticalFrame);
        frame.frame = 2;
        frame.r = {2, 2, 2, 2};
        chunk.Map = gdi::Bitmap(5, 6);
        gdi::DC c(chunk.Map);
        c.fill_rect({0, 0, 4, 6}, kChunk);
        c.fill_rect({4, 0, 5, 6}, kGap);
        chunk.frame = 1;
        chunk.r = {0, 0, 1, 0};  // the gap keeps its width when the chunk is stretched
    }
};

skin::ProgressLook Look(int pos, bool vertical, bool smooth) {
    skin::ProgressLook look;
    look.range.SetRange(0, 100);
    look.range.SetPosition(pos);
    look.vertical = vertical;
    look.smooth = smooth;
    return look;
}

TEST(SkinTrackThumb, StateIndexFollowsTheImagesStateCount) {
    EXPECT_EQ(skin::TrackThumbStateIndex(5, true, false, false, false), 1);
    EXPECT_EQ(skin::TrackThumbStateIndex(5, true, true, true, true), 2) << "pressed wins";
    EXPECT_EQ(skin::TrackThumbStateIndex(5, true, false, true, true), 3);
    EXPECT_EQ(skin::TrackThumbStateIndex(5, false, true, true, true), 4) << "disabled wins all";
    EXPECT_EQ(skin::TrackThumbStateIndex(5, true, false, false, true), 5);
    EXPECT_EQ(skin::TrackThumbStateIndex(3, false, false, false, false), 1);
    EXPECT_EQ(skin::TrackThumbStateIndex(3, true, false, true, false), 3);
    EXPECT_EQ(skin::TrackThumbStateIndex(1, true, true, false, false), 1);
}

TEST(SkinHeaderSection, StateIndexFollowsTheImagesStateCount) {
    EXPECT_EQ(skin::HeaderSectionStateIndex(5, true, false, false), 1);
    EXPECT_EQ(skin::HeaderSectionStateIndex(5, true, true, true), 2);
    EXPECT_EQ(skin::HeaderSectionStateIndex(5, true, false, true), 3);
    EXPECT_EQ(skin::HeaderSectionStateIndex(5, false, true, true), 4);
    EXPECT_EQ(skin::HeaderSectionStateIndex(2, true, false, true), 1);
    EXPECT_EQ(skin::HeaderSectionStateIndex(2, true, true, false), 2);
    EXPECT_EQ(skin::HeaderSectionStateIndex(0, true, true, false), 1);
}

TEST(SkinProgressDrawing, FrameStateByOrientationBlocksUpToThePositionOnly) {
    ProgressElements e;
    gdi::Bitmap out(104, 14);
    gdi::DC dc(out);
    skin::DrawSkinProgress(dc, {0, 0, 104, 14}, e.frame, &e.chunk, Look(50, false, false), kFace,
                           kGap);
    EXPECT_EQ(out.color_at(0, 0), kHorizontalFrame);
    // The well is 100 wide from x = 2: half of it holds blocks of 4 blue and 1 white.
    EXPECT_EQ(out.color_at(2, 7), kChunk);
    EXPECT_EQ(out.color_at(6, 7), kGap);
    EXPECT_EQ(out.color_at(7, 7), kChunk);
    EXPECT_EQ(out.color_at(50, 7), kChunk);
    EXPECT_EQ(out.color_at(51, 7), kGap);
    EXPECT_EQ(out.color_at(52, 7), kHorizontalFrame) << "nothing past the position";

    gdi::Bitmap up(14, 104);
    gdi::DC udc(up);
    skin::DrawSkinProgress(udc, {0, 0, 14, 104}, e.frame, &e.chunk, Look(50, true, true), kFace,
                           kGap);
    EXPECT_EQ(up.color_at(0, 0), kVerticalFrame);
    EXPECT_EQ(up.color_at(7, 101), kChunk) << "upright bars fill from the bottom";
    EXPECT_EQ(up.color_at(7, 53), kChunk);
    EXPECT_EQ(up.color_at(7, 52), kGap) << "the chunk's gap edge faces up";
    EXPECT_EQ(up.color_at(7, 51), kVerticalFrame);
}

TEST(SkinProgressDrawing, OddSizesAndMissingPiecesDrawWhatTheyCan) {
    ProgressElements e;
    gdi::Bitmap out(30, 30);
    gdi::DC dc(out);
    dc.fill_rect({0, 0, 30, 30}, kGap);
    // Nothing to draw into, a well smaller than the frame's edges.
    skin::DrawSkinProgress(dc, {0, 0, 0, 0}, e.frame, &e.chunk, Look(100, false, false), kFace,
                           kGap);
    skin::DrawSkinProgress(dc, {5, 5, 8, 8}, e.frame, &e.chunk, Look(100, false, false), kFace,
                           kGap);
    EXPECT_EQ(out.color_at(6, 6), kHorizontalFrame);
    EXPECT_EQ(out.color_at(20, 20), kGap);
    // A frame of one state serves both orientations; without a chunk image the filled part
    // takes the highlight colour given.
    e.frame.frame = 1;
    const gdi::Color highlight = gdi::rgb(9, 9, 9);
    skin::DrawSkinProgress(dc, {0, 0, 30, 30}, e.frame, nullptr, Look(100, true, false), kFace,
                           highlight);
    EXPECT_EQ(out.color_at(0, 0), kHorizontalFrame);
    EXPECT_EQ(out.color_at(15, 15), highlight);
}

}  // namespace

namespace skin::test {
namespace {

TEST_F(SkinUiTest, ProgressBarsAreSkinnedByClassByMappingAndByTheirSwitch) {
    data->Skin3rd.push_back("TGauge=progress");
    auto* bar = Add<forms::TProgressBar>("Bar", 10, 10, 200, 18);
    auto* gauge = Add<TGauge>("Gauge", 10, 40, 200, 18);
    ShowSkinned();
    EXPECT_EQ(SkinClass(bar), "TSkinProgress");
    EXPECT_EQ(SkinClass(gauge), "TSkinProgress");

    data->SkinControls.exclude(xcProgress);
    auto* later = Add<forms::TProgressBar>("Later", 10, 70, 200, 18);
    Skinned()->InitControls(form);
    EXPECT_EQ(SkinClass(later), "none");
}

TEST_F(SkinUiTest, AProgressBarShowsTheSkinsChunksAndWithoutTheFrameTheSystemLook) {
    auto* bar = Add<forms::TProgressBar>("Bar", 10, 10, 200, 18);
    bar->SetSmooth(true);
    bar->SetPosition(100);
    ShowSkinned();
    ASSERT_EQ(SkinClass(bar), "TSkinProgress");
    const gdi::Color highlight = win::GetSysColor(win::COLOR_HIGHLIGHT);
    const gdi::Color skinned = Pixel(bar, 100, 9);
    EXPECT_NE(skinned, highlight);
    // Turned to the system look and back.
    win::SendMessage(bar->Handle(), CN_SkinEnable, 0, 0);
    EXPECT_EQ(Pixel(bar, 100, 9), highlight);
    win::SendMessage(bar->Handle(), CN_SkinEnable, 1, 0);
    EXPECT_EQ(Pixel(bar, 100, 9), skinned);
    // A skin without the frame image leaves the bar in the system look.
    data->progress.reset();
    bar->Invalidate();
    EXPECT_EQ(Pixel(bar, 100, 9), highlight);
}

TEST_F(SkinUiTest, TrackBarsAreSkinnedByClassAndByTheirSwitch) {
    auto* bar = Add<forms::TTrackBar>("Track", 10, 10, 200, 45);
    ShowSkinned();
    EXPECT_EQ(SkinClass(bar), "TSkinTrackBar");
    data->SkinControls.exclude(xcTrackBar);
    auto* later = Add<forms::TTrackBar>("Later", 10, 70, 200, 45);
    Skinned()->InitControls(form);
    EXPECT_EQ(SkinClass(later), "none");
}

TEST_F(SkinUiTest, TheThumbImagePointsAtTheTicksAndUprightBarsTurnLyingImages) {
    int frames = 0;
    bool trans = false;
    // The built-in skin has the plain lying thumb and the one pointing down.
    const gdi::Bitmap down = TrackThumbImage(*data, win::TBS_AUTOTICKS, &frames, &trans);
    EXPECT_EQ(frames, 5);
    EXPECT_TRUE(trans);
    EXPECT_EQ(down.width(), data->Trackbottom->Map.width());
    EXPECT_EQ(TrackThumbImage(*data, win::TBS_BOTH, &frames, &trans).height(),
              data->TrackHorz->Map.height());
    EXPECT_EQ(TrackThumbImage(*data, win::TBS_TOP, &frames, &trans).height(),
              data->TrackHorz->Map.height())
        << "no thumb pointing up: the plain one";
    const gdi::Bitmap right = TrackThumbImage(*data, win::TBS_VERT, &frames, &trans);
    EXPECT_EQ(right.width(), down.height() * 5);
    EXPECT_EQ(right.height(), down.width() / 5);
    // Each state turned on its own: the first state's top-left corner is the first state
    // image's top-right one.
    EXPECT_EQ(right.color_at(0, 0), down.color_at(down.width() / 5 - 1, 0));
}

TEST_F(SkinUiTest, AnUprightBarWhoseLyingThumbCountsMoreStatesThanColumnsHasNoThumbImage) {
    // A skin that claims more states than its thumb image has columns: each state is empty,
    // and turning them must neither run through the count nor size a picture from it.
    int frames = 0;
    bool trans = false;
    data->Trackbottom->frame = 2'000'000'000;
    EXPECT_TRUE(TrackThumbImage(*data, win::TBS_VERT, &frames, &trans).empty());
    data->Trackbottom->frame = data->Trackbottom->Map.width() + 1;
    EXPECT_TRUE(TrackThumbImage(*data, win::TBS_VERT, &frames, &trans).empty());
}

TEST_F(SkinUiTest, ATrackBarsThumbFollowsTheMouseAndWithoutThumbsKeepsTheSystemLook) {
    auto* bar = Add<forms::TTrackBar>("Track", 10, 10, 200, 45);
    ShowSkinned();
    ASSERT_EQ(SkinClass(bar), "TSkinTrackBar");
    gdi::Rect thumb;
    win::SendMessage(bar->Handle(), win::TBM_GETTHUMBRECT, 0,
                     reinterpret_cast<win::LPARAM>(&thumb));
    const gdi::Point c{(thumb.left + thumb.right) / 2, thumb.top + 4};
    const gdi::Color normal = Pixel(bar, c.x, c.y);
    win::SendMessage(bar->Handle(), win::WM_MOUSEMOVE, 0, win::MAKELPARAM(c.x, c.y));
    const gdi::Color hover = Pixel(bar, c.x, c.y);
    EXPECT_NE(hover, normal);
    win::SendMessage(bar->Handle(), win::WM_LBUTTONDOWN, win::MK_LBUTTON,
                     win::MAKELPARAM(c.x, c.y));
    const gdi::Color pressed = Pixel(bar, c.x, c.y);
    EXPECT_NE(pressed, hover);
    win::SendMessage(bar->Handle(), win::WM_LBUTTONUP, 0, win::MAKELPARAM(c.x, c.y));
    EXPECT_EQ(Pixel(bar, c.x, c.y), hover);
    // Without any thumb image the bar is the system's.
    data->Trackbottom.reset();
    data->TrackHorz.reset();
    bar->SetFocus();
    win::SendMessage(bar->Handle(), win::WM_MOUSELEAVE, 0, 0);
    bar->Invalidate();
    EXPECT_EQ(Pixel(bar, c.x, c.y), win::GetSysColor(win::COLOR_BTNFACE));
}

TEST_F(SkinUiTest, AHeadersSectionsShowHoverAndPressedFromTheSkin) {
    auto* header = Add<forms::THeaderControl>("Header", 0, 0, 300, 22);
    header->AddSection("A", 100);
    header->AddSection("B", 100);
    ShowSkinned();
    ASSERT_EQ(SkinClass(header), "TSkinHeader");
    const gdi::Color normal = Pixel(header, 150, 2);
    const gdi::Color rest = Pixel(header, 250, 2);
    EXPECT_EQ(normal, rest) << "the space after the sections is an empty section";
    win::HWND h = header->Handle();
    win::SendMessage(h, win::WM_MOUSEMOVE, 0, win::MAKELPARAM(150, 10));
    const gdi::Color hover = Pixel(header, 150, 2);
    EXPECT_NE(hover, normal);
    EXPECT_EQ(Pixel(header, 50, 2), normal) << "only the section under the mouse";
    win::SendMessage(h, win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(150, 10));
    const gdi::Color pressed = Pixel(header, 150, 2);
    EXPECT_NE(pressed, hover);
    win::SendMessage(h, win::WM_MOUSEMOVE, win::MK_LBUTTON, win::MAKELPARAM(50, 10));
    EXPECT_EQ(Pixel(header, 150, 2), normal) << "pressed only while the mouse is over it";
    win::SendMessage(h, win::WM_LBUTTONUP, 0, win::MAKELPARAM(50, 10));
    // A skin without the header image leaves the header in the system look.
    data->Header.reset();
    header->Invalidate();
    EXPECT_EQ(Pixel(header, 150, 4), win::GetSysColor(win::COLOR_BTNFACE));
}

TEST_F(SkinUiTest, ProgressTrackAndHeaderWindowsOfADialogAreSkinnedByTheirClass) {
    ShowSkinned();
    win::HWND dlg = win::CreateWindowEx(0, "#32770", "Working",
                                        win::WS_POPUP | win::WS_CAPTION | win::WS_VISIBLE, 50, 50,
                                        300, 120, nullptr, nullptr, nullptr, nullptr);
    win::HWND bar = win::CreateWindowEx(0, win::PROGRESS_CLASS, "", win::WS_CHILD | win::WS_VISIBLE,
                                        10, 10, 200, 18, dlg, nullptr, nullptr, nullptr);
    win::SetActiveWindow(dlg);
    win::PumpPending();
    TWinSkinForm* sf = TSkinManage::Instance()->FindForm(dlg);
    ASSERT_NE(sf, nullptr);
    TSkinControl* sc = sf->SkinOfWindow(bar);
    ASSERT_NE(sc, nullptr);
    EXPECT_EQ(sc->ClassName(), "TSkinProgress");
    win::HWND track =
        win::CreateWindowEx(0, win::TRACKBAR_CLASS, "", win::WS_CHILD | win::WS_VISIBLE, 10, 40,
                            200, 40, dlg, nullptr, nullptr, nullptr);
    sf->InitHwndControls(dlg);
    ASSERT_NE(sf->SkinOfWindow(track), nullptr);
    EXPECT_EQ(sf->SkinOfWindow(track)->ClassName(), "TSkinTrackBar");
    win::HWND header = win::CreateWindowEx(0, win::WC_HEADER, "", win::WS_CHILD | win::WS_VISIBLE,
                                           10, 90, 200, 20, dlg, nullptr, nullptr, nullptr);
    sf->InitHwndControls(dlg);
    ASSERT_NE(sf->SkinOfWindow(header), nullptr);
    EXPECT_EQ(sf->SkinOfWindow(header)->ClassName(), "TSkinHeader");
    win::DestroyWindow(dlg);
    win::PumpPending();
}

}  // namespace
}  // namespace skin::test
