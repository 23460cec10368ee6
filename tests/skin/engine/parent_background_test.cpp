// A skinned control that shows its parent under its transparent parts asks the parent first
// whether its painting there is one colour; a fill then stands for the parent's painting. The
// answer must never claim one colour where the parent paints anything else.
#include <gtest/gtest.h>

#include "forms/button.h"
#include "forms/label.h"
#include "forms/page_control.h"
#include "forms/panel.h"
#include "skin/engine/skin_types.h"
#include "tests/skin/engine/skin_engine_fixture.h"

namespace skin::test {
namespace {

using forms::TWinControl;

// The parent's own painting of its whole window, as a child's background comes from it when
// the parent does not answer.
gdi::Bitmap PaintingOf(TWinControl* parent) {
    gdi::Bitmap out(parent->Width(), parent->Height(), 0xFF123456u);
    gdi::DC dc(out);
    win::SendMessage(parent->Handle(), win::WM_ERASEBKGND, reinterpret_cast<win::WPARAM>(&dc), 0);
    win::SendMessage(parent->Handle(), win::WM_PAINT, reinterpret_cast<win::WPARAM>(&dc), 0);
    return out;
}

// Every rectangle of a grid over the parent: where the parent answers "one colour", its
// painting holds that colour and nothing else. Returns how many rectangles it answered for.
int CheckAnswersAgainstThePainting(TWinControl* parent, int w, int h) {
    const gdi::Bitmap painted = PaintingOf(parent);
    int plain = 0;
    for (int y = -2; y + h <= parent->Height() + 2; y += 3) {
        for (int x = -2; x + w <= parent->Width() + 2; x += 7) {
            PlainBackgroundQuery q{gdi::Rect::from_xywh(x, y, w, h)};
            if (win::SendMessage(parent->Handle(), CN_PlainBackground,
                                 reinterpret_cast<win::WPARAM>(&q), 0) != 1)
                continue;
            ++plain;
            for (int py = y; py < y + h; ++py)
                for (int px = x; px < x + w; ++px)
                    EXPECT_EQ(painted.color_at(px, py), q.colour)
                        << parent->Name() << ": " << w << "x" << h << " at " << x << "," << y
                        << " pixel " << px << "," << py;
            if (::testing::Test::HasFailure())
                return plain;
        }
    }
    return plain;
}

TEST_F(SkinUiTest, AParentClaimsOneColourOnlyWhereItPaintsOne) {
    auto* group = Add<forms::TGroupBox>("G", 10, 10, 300, 120);
    group->SetCaption("Device 1 with a long caption");
    auto* label = Add<forms::TLabel>("L", 120, 50, 60, 16, group);
    label->SetCaption("CH1");
    auto* shape = Add<forms::TShape>("S", 200, 80, 22, 22, group);
    shape->SetShape(forms::TShapeType::stCircle);
    auto* tabs = Add<forms::TPageControl>("Tabs", 10, 140, 300, 150);
    auto* sheet = new forms::TTabSheet(form);
    sheet->SetPageControl(tabs);
    sheet->SetCaption("one");
    auto* sheet_label = Add<forms::TLabel>("SL", 40, 30, 80, 16, sheet);
    sheet_label->SetCaption("Channel");
    ShowSkinned();
    win::UpdateAllWindows();
    for (TWinControl* parent :
         {static_cast<TWinControl*>(group), static_cast<TWinControl*>(sheet)}) {
        ASSERT_NE(SkinOf(parent), nullptr) << parent->Name();
        // Sizes of the page's buttons and check boxes, and a thin one.
        for (const gdi::Size s : {gdi::Size{37, 30}, gdi::Size{46, 17}, gdi::Size{3, 40}}) {
            EXPECT_GT(CheckAnswersAgainstThePainting(parent, s.cx, s.cy), 0)
                << parent->Name() << " never answered for " << s.cx << "x" << s.cy;
        }
    }
    // Over the caption, the frame line and a windowless child there is no one colour.
    for (const gdi::Rect& r : {gdi::Rect{12, 0, 40, 12}, gdi::Rect{0, 40, 20, 60},
                               gdi::Rect{100, 40, 140, 60}, gdi::Rect{280, 100, 300, 120}}) {
        PlainBackgroundQuery q{r};
        EXPECT_EQ(win::SendMessage(group->Handle(), CN_PlainBackground,
                                   reinterpret_cast<win::WPARAM>(&q), 0),
                  0)
            << r.left << "," << r.top;
    }
    // A parent back in the system look paints as the system does: it no longer answers.
    win::SendMessage(group->Handle(), CN_SkinEnable, 0, 0);
    PlainBackgroundQuery q{gdi::Rect{20, 80, 50, 110}};
    EXPECT_EQ(
        win::SendMessage(group->Handle(), CN_PlainBackground, reinterpret_cast<win::WPARAM>(&q), 0),
        0);
    // Freed while in the system look, it is gone for its skinning object too, which is freed
    // later with the skin and must not reach the freed control then.
    TSkinControl* sc = SkinOf(group);
    ASSERT_NE(sc, nullptr);
    delete group;
    EXPECT_FALSE(sc->Alive());
}

TEST_F(SkinUiTest, TheAnswersFollowTheChildrenAndTheFontAfterTheFirstOnes) {
    // The box keeps what it learnt of its windowless children and its font between questions:
    // each change must show in the next answer.
    auto* group = Add<forms::TGroupBox>("G", 10, 10, 300, 140);
    group->SetCaption("Device 1");
    auto* label = Add<forms::TLabel>("L", 120, 50, 60, 16, group);
    label->SetCaption("CH1");
    auto* shape = Add<forms::TShape>("S", 200, 80, 22, 22, group);
    Add<forms::TButton>("B", 20, 90, 37, 30, group);
    ShowSkinned();
    const auto plain_at = [&](const gdi::Rect& r) {
        PlainBackgroundQuery q{r};
        return win::SendMessage(group->Handle(), CN_PlainBackground,
                                reinterpret_cast<win::WPARAM>(&q), 0) == 1;
    };
    const gdi::Rect free_spot{30, 40, 67, 70};
    ASSERT_TRUE(plain_at(free_spot));
    ASSERT_FALSE(plain_at(label->BoundsRect()));
    label->SetBounds(35, 45, 60, 16);  // moved under the spot, away from its old place
    EXPECT_FALSE(plain_at(free_spot));
    EXPECT_TRUE(plain_at(gdi::Rect{120, 50, 180, 66}));
    label->SetVisible(false);
    EXPECT_TRUE(plain_at(free_spot));
    label->SetVisible(true);
    EXPECT_FALSE(plain_at(free_spot));
    delete label;
    EXPECT_TRUE(plain_at(free_spot));
    shape->SetVisible(false);
    EXPECT_TRUE(plain_at(shape->BoundsRect()));
    auto* added = Add<forms::TLabel>("N", 40, 50, 20, 10, group);
    EXPECT_FALSE(plain_at(free_spot));
    delete added;
    // A larger font lowers the caption's line over the top of the inside.
    const gdi::Rect under_caption{30, 16, 60, 30};
    ASSERT_TRUE(plain_at(under_caption));
    group->Font().SetHeight(-30);
    EXPECT_FALSE(plain_at(under_caption));
    group->Font().SetHeight(-11);
    EXPECT_TRUE(plain_at(under_caption));
    // Every answer after the changes still matches the painting.
    Add<forms::TLabel>("L2", 100, 60, 40, 16, group);
    EXPECT_GT(CheckAnswersAgainstThePainting(group, 37, 30), 0);
}

TEST_F(SkinUiTest, AButtonOverAGroupBoxShowsTheGroupBoxUnderItsCorners) {
    // The button element's corners are magenta: the group box shows there, whether it is its
    // fill (a fill stands for its painting) or its frame line (its painting is asked for).
    auto* group = Add<forms::TGroupBox>("G", 10, 10, 300, 120);
    group->SetCaption("Panel");
    auto* inside = Add<forms::TButton>("In", 40, 60, 37, 30, group);
    auto* on_frame = Add<forms::TButton>("Edge", 0, 60, 37, 30, group);
    ShowSkinned();
    const gdi::Bitmap painted = PaintingOf(group);
    win::UpdateAllWindows();
    const gdi::Bitmap screen = win::ComposeScreen();
    for (forms::TButton* b : {inside, on_frame}) {
        const gdi::Point at = b->ClientToScreen({0, 0});
        // The top-left corner pixel of the element is magenta in the default skin.
        ASSERT_EQ(data->Button->Map.color_at(0, 0), gdi::kMagenta);
        EXPECT_EQ(screen.color_at(at.x, at.y), painted.color_at(b->Left(), b->Top())) << b->Name();
    }
}

}  // namespace
}  // namespace skin::test
