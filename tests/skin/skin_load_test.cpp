#include <gtest/gtest.h>

#include "platform/gdi/bmp.h"
#include "skin/builtin_bitmaps.h"
#include "skin/data/skin_reader.h"
#include "skin/data/skin_stream.h"
#include "skin/skin_data_core.h"
#include "tests/skin/skin_test_package.h"

namespace skin {
namespace {

using gdi::rgb;
using test::make_skin;
using test::solid_states;

class RecordingSkin : public TSkinDataCore {
  public:
    void ShowSkinMessage(std::string_view text) override { messages.emplace_back(text); }
    std::vector<std::string> messages;
};

gdi::Bitmap plain(int w, int h, gdi::Color c = rgb(10, 20, 30)) {
    return gdi::Bitmap(w, h, gdi::pixel_of(c));
}

TEST(SkinLoad, ColoursPresetsAndCustomColours) {
    RecordingSkin s;
    ASSERT_TRUE(
        s.LoadFromBytes(make_skin("[Colours]\nButtonFace=1,2,3\nMenuText= 7 8 \n"
                                  "[Colour1]\ncolor=1 2 3\n[colourScheme]\ncolor=4 5 6\n[Colour2]\n"
                                  "[Customcolors]\nColor0=9 9 9\nColor9=250\n",
                                  {})));
    EXPECT_FALSE(s.Empty);
    EXPECT_EQ(s.Colors[csButtonFace], rgb(1, 2, 3));
    EXPECT_TRUE(s.hasColors[csButtonFace]);
    EXPECT_EQ(s.Colors[csMenuText], rgb(7, 8, 0));  // a missing component is 0
    EXPECT_EQ(s.Colors[csMenuBar], rgb(1, 2, 3));   // defaults to the face just read
    EXPECT_FALSE(s.hasColors[csMenuBar]);
    EXPECT_EQ(s.Colors[csText], 0xFF000008u);
    EXPECT_EQ(s.Colors[csTitleTextNoActive], 0xFF000013u);
    EXPECT_FALSE(s.hasColors[csText]);
    // Colour1, colourScheme and Colour2 (which has no key) count; Colours does not.
    ASSERT_EQ(s.ColorPreset.size(), 3u);
    EXPECT_EQ(s.ColorPreset[0], rgb(1, 2, 3));
    EXPECT_EQ(s.ColorPreset[1], rgb(4, 5, 6));
    EXPECT_EQ(s.ColorPreset[2], 0xFF000008u);
    gdi::Color c = 0;
    EXPECT_TRUE(s.GetPrecolor(c, 1));
    EXPECT_EQ(c, rgb(4, 5, 6));
    EXPECT_FALSE(s.GetPrecolor(c, 3));
    EXPECT_FALSE(s.GetPrecolor(c, -1));
    EXPECT_EQ(s.PresetColors[0], rgb(9, 9, 9));
    EXPECT_EQ(s.PresetColors[5], rgb(255, 255, 255));
    EXPECT_EQ(s.PresetColors[9], rgb(250, 0, 0));
    // Step 19: the background brush has the face colour.
    EXPECT_EQ(s.bgbrush.color, rgb(1, 2, 3));
}

TEST(SkinLoad, BordersClampsAndTheTabPane) {
    TSkinDataCore s;
    ASSERT_TRUE(s.LoadFromBytes(make_skin(
        "[Personality]\nTop=top.bmp\nTopStretch=5\nTopTopHeight=7\nTopBotHeight=8\nTopFrame=2\n"
        "LeftTopHeight=3\nLeftBotHeight=4\nLeftTrans=0\n"
        "[Tab.Pane]\nImage=pane.bmp\nTopHeight=10\nLeftWidth=4\nRightWidth=5\nBottomHeight=2\n"
        "[Progress]\nBitmap=p.bmp\nTile=7\nStyle=1\n[Progress.Chunk]\nImage=p.bmp\nTile=7\n",
        {{"top.bmp", solid_states(30, 10, {rgb(0, 0, 200), rgb(9, 9, 9)}, true)},
         {"pane.bmp", plain(12, 12)},
         {"p.bmp", plain(4, 4)}})));
    const TDataSkinBorder& top = *s.border[2];
    EXPECT_EQ(top.Tile, 1);
    EXPECT_EQ(top.r, (gdi::Rect{7, 0, 8, 0}));
    EXPECT_EQ(top.frame, 2);
    EXPECT_EQ(top.trans, 1);
    const TDataSkinBorder& left = *s.border[0];
    EXPECT_EQ(left.r, (gdi::Rect{0, 3, 0, 4}));
    EXPECT_EQ(left.trans, 0);
    EXPECT_EQ(left.frame, 1);
    EXPECT_TRUE(left.Map.empty());
    ASSERT_TRUE(s.TabSheet);
    EXPECT_EQ(s.TabSheet->r, (gdi::Rect{4, 4, 4, 2}));
    EXPECT_EQ(s.progress->Tile, 1);
    EXPECT_EQ(s.progress->frame, 1);
    EXPECT_EQ(s.progresschunk->Tile, 0);
    // The caption colour is the top image's pixel at (w / 3, (h / frame) / 3).
    EXPECT_EQ(s.Colors[csCaption], rgb(0, 0, 200));
}

TEST(SkinLoad, MissingSectionsLeaveElementsOutAndTheTrackBuiltIn) {
    TSkinDataCore s;
    ASSERT_TRUE(s.LoadFromBytes(make_skin("[Buttons]\nLeftWidth=x\n", {})));
    EXPECT_FALSE(s.progress);
    EXPECT_FALSE(s.tab);
    EXPECT_FALSE(s.combox);
    EXPECT_EQ(s.Button->r.left, 0);
    ASSERT_TRUE(s.TrackBar);
    EXPECT_EQ(s.TrackBar->Map, builtin_bitmap("TRACK"));
    EXPECT_FALSE(s.TrackBar->Map.empty());
    EXPECT_EQ(s.TrackBar->r, (gdi::Rect{3, 3, 3, 3}));
    EXPECT_EQ(s.TrackBar->frame, 1);
    ASSERT_TRUE(s.TrackBarVert);
    EXPECT_EQ(s.TrackBarVert->Map, builtin_bitmap("TRACKVERT"));
    // The toolbar background is always built: c1 = blend(face, white, 150) on top.
    ASSERT_TRUE(s.Toolbar);
    EXPECT_EQ(s.Toolbar->Map.size(), (gdi::Size{10, 40}));
    EXPECT_EQ(s.Toolbar->Map.color_at(0, 0), blend(rgb(192, 192, 192), rgb(255, 255, 255), 150));
    // The combo arrow exists even without a combo button, without an image.
    ASSERT_TRUE(s.comboxarrow);
    EXPECT_TRUE(s.comboxarrow->Map.empty());
}

TEST(SkinLoad, ImageNamesDirectoryPartsAndTheCaseOfTheExtension) {
    TSkinDataCore s;
    ASSERT_TRUE(s.LoadFromBytes(make_skin(
        "[Buttons]\nBitmap=Buttons.BMP\nCheckButton=c:\\skins\\Check.bmp\nRadioButton=r.png\n"
        "[Headerbar]\nImage=missing.bmp\n",
        {{"buttons.bmp", plain(10, 10)}, {"check.bmp", plain(26, 13)}, {"r.png", plain(4, 4)}})));
    EXPECT_TRUE(s.Button->Map.empty());  // found by readfile, refused by its extension
    EXPECT_EQ(s.Button->CheckMap.size(), (gdi::Size{26, 13}));
    EXPECT_TRUE(s.Button->RadioMap.empty());
    ASSERT_TRUE(s.Header);  // the element exists; its image stays empty
    EXPECT_TRUE(s.Header->Map.empty());
    EXPECT_EQ(s.Header->frame, 5);
    // 26 / 13 = 2 states, raised to 4; an empty radio image also gets 4.
    EXPECT_EQ(s.Button->checkframe, 4);
    EXPECT_EQ(s.Button->radioframe, 4);
    EXPECT_EQ(s.Button->frame, 5);
}

TEST(SkinLoad, TitleButtons) {
    TSkinDataCore s;
    ASSERT_TRUE(s.LoadFromBytes(
        make_skin("[Button]\nButtonImage=wide.bmp\n"  // not a title button section
                  "[Button0]\nButtonImage=wide.bmp\nAction=4\nXcoord=1\n"
                  "[Button1]\nButtonImage=narrow.bmp\nAction=1\nVisibility=2\nXcoord=40\nYcoord=4\n"
                  "[button2]\nButtonImage=wide.bmp\nAction=4\n"
                  "[Button3]\nButtonImage=wide.bmp\nAction=3\n"
                  "[Button4]\nAction=-1\n"
                  "[Button5]\nAction=-1\nVisibility=0\nframe=2\nButtonImage=wide.bmp\n"
                  "[Button.Radio]\n[MDICONTROLS]\nImage=mdi.bmp\n",
                  {{"wide.bmp", plain(126, 21)},
                   {"narrow.bmp", plain(63, 21)},
                   {"mdi.bmp", plain(96, 14)}})));
    // Button4 (action -1, visibility not 0) is dropped; three child-caption buttons follow.
    ASSERT_EQ(s.SysBtn.size(), 8u);
    const auto& b = s.SysBtn;
    EXPECT_EQ(b[0]->IDName, "BUTTON0");
    EXPECT_EQ(b[0]->frame, 6);
    EXPECT_EQ(b[0]->XCoord, 1);  // before any action-1 button: keeps its own place
    EXPECT_EQ(b[1]->frame, 3);   // 63 / 21 = 3 <= 3.8
    EXPECT_EQ(b[2]->IDName, "BUTTON2");
    EXPECT_EQ(b[2]->XCoord, 40);
    EXPECT_EQ(b[2]->YCoord, 4);
    EXPECT_TRUE(b[3]->Map.empty());  // action 3 is drawn from the window icon
    EXPECT_EQ(b[3]->frame, 6);
    EXPECT_EQ(b[4]->IDName, "BUTTON5");
    EXPECT_EQ(b[4]->frame, 2);
    EXPECT_EQ(b[4]->Visibility1, -1);
    EXPECT_EQ(b[4]->CombineOp, -1);
    EXPECT_EQ(b[1]->Visibility1, 0);
    for (int j = 0; j < 3; ++j) {
        const TDataSkinSysButton& m = *b[5 + static_cast<size_t>(j)];
        EXPECT_EQ(m.Action, 7 + j);
        EXPECT_EQ(m.Align, 100);
        EXPECT_EQ(m.Visibility, 100);
        EXPECT_EQ(m.Visibility1, 100);
        EXPECT_EQ(m.frame, 4);
        // a = 96 / 12 = 8: images of 32 x 14, at x = 12 * (3 - j).
        EXPECT_EQ(m.Map.size(), (gdi::Size{32, 14}));
        EXPECT_EQ(m.XCoord, 12 * (3 - j));
    }
}

TEST(SkinLoad, ComboBoxImagesAreRebuilt) {
    const gdi::Color face = rgb(200, 210, 220);
    std::vector<gdi::Color> states = {rgb(1, 0, 0), rgb(2, 0, 0), rgb(3, 0, 0), rgb(4, 0, 0)};
    gdi::Bitmap button = solid_states(19, 21, states);
    button.set_color(0, 0, gdi::kMagenta);
    // Without a sunken edge only the arrow is derived: magenta becomes the face colour.
    {
        TSkinDataCore s;
        ASSERT_TRUE(s.LoadFromBytes(
            make_skin("[Colours]\nButtonFace=200 210 220\n[ComboButton]\nImage=cb.bmp\n",
                      {{"cb.bmp", button}})));
        ASSERT_TRUE(s.combox);
        EXPECT_EQ(s.combox->MaskMap, gdi::mirror_left_right(s.combox->Map));
        EXPECT_EQ(s.comboxarrow->Map.color_at(0, 0), face);
        EXPECT_EQ(s.comboxarrow->Map.color_at(1, 0), states[0]);
        EXPECT_EQ(s.comboxarrow->frame, 4);
    }
    // With a sunken edge the whole 50 x 21 pictures are composed.
    TSkinDataCore s;
    s.system.hscroll_arrow_width = 16;  // bw = 18
    const std::vector<gdi::Color> edges = {rgb(0, 10, 0), rgb(0, 20, 0), rgb(0, 30, 0),
                                           rgb(0, 40, 0)};
    ASSERT_TRUE(s.LoadFromBytes(make_skin(
        "[ComboButton]\nImage=cb.bmp\n[SunkEdge]\nImage=edge.bmp\nLeftWidth=2\nTopHeight=2\n"
        "RightWidth=2\nBottomHeight=2\n",
        {{"cb.bmp", button}, {"edge.bmp", solid_states(8, 8, edges)}})));
    const TDataSkinBorder& c = *s.combox;
    EXPECT_EQ(c.style, 2);
    EXPECT_EQ(c.Map.size(), (gdi::Size{200, 21}));
    EXPECT_EQ(c.r, (gdi::Rect{2, 2, 20, 2}));
    EXPECT_EQ(s.Comboxborder->r, (gdi::Rect{20, 2, 2, 2}));
    for (int k = 0; k < 4; ++k) {
        const int x0 = 50 * k;
        EXPECT_EQ(c.Map.color_at(x0, 0), edges[static_cast<size_t>(k)]);         // edge
        EXPECT_EQ(c.Map.color_at(x0 + 2, 2), gdi::kMagenta);                     // inner
        EXPECT_EQ(c.Map.color_at(x0 + 31, 18), gdi::kMagenta);                   // inner
        EXPECT_EQ(c.Map.color_at(x0 + 32, 10), states[static_cast<size_t>(k)]);  // button
        // The mirrored picture keeps each state in its own place.
        EXPECT_EQ(s.Comboxborder->Map.color_at(x0 + 49 - 32, 10), states[static_cast<size_t>(k)]);
    }
    // The magenta corner of the button was left out: the edge shows through.
    EXPECT_EQ(c.Map.color_at(32, 0), edges[0]);
    ASSERT_EQ(s.comboxarrow->Map.size(), (gdi::Size{68, 17}));
    EXPECT_EQ(s.comboxarrow->frame, 4);
    EXPECT_EQ(s.comboxarrow->Map.color_at(17 * 2 + 5, 5), states[2]);
}

// A run-length-coded BMP of w x h pixels whose code is only "end of bitmap": a few dozen bytes
// that claim the whole image.
std::vector<uint8_t> rle_claiming(int32_t w, int32_t h) {
    std::vector<uint8_t> f(14 + 40 + 8 + 2, 0);
    auto put32 = [&f](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            f[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, static_cast<uint32_t>(f.size()));
    put32(10, 14 + 40 + 8);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    f[26] = 1;  // planes
    f[28] = 8;  // bits per pixel
    f[30] = 1;  // BI_RLE8
    put32(34, 2);
    put32(46, 2);         // colours used
    f[f.size() - 1] = 1;  // 00 01: end of bitmap
    return f;
}

TEST(SkinLoad, PicturesTogetherStayWithinTheSkinsPixelBudget) {
    // Four border pictures of 12 million pixels each from a package of a few hundred bytes:
    // two fit the skin's 32 million pixels, the others are left out like missing pictures.
    std::vector<SkinPackageEntry> entries;
    std::string ini = "[Personality]\n";
    for (const char* name : {"Left", "Right", "Top", "Bottom"}) {
        entries.push_back({std::string(name) + ".bmp", rle_claiming(4096, 3000)});
        ini += std::string(name) + "=" + name + ".bmp\n";
    }
    entries.push_back({"test.ini", std::vector<uint8_t>(ini.begin(), ini.end())});
    TSkinDataCore s;
    ASSERT_TRUE(s.LoadFromPackage(build_skin_package(40000, entries)));
    int loaded = 0;
    for (const auto& b : s.border) {
        if (!b->Map.empty()) {
            ++loaded;
            EXPECT_EQ(b->Map.width(), 4096);
            EXPECT_EQ(b->Map.height(), 3000);
        }
    }
    EXPECT_EQ(loaded, 2);
    // Loading again starts a new budget.
    ASSERT_TRUE(s.LoadFromPackage(build_skin_package(40000, entries)));
    EXPECT_FALSE(s.border[1]->Map.empty());
}

TEST(SkinLoad, RefusedPackagesLeaveTheComponentEmpty) {
    RecordingSkin s;
    ASSERT_TRUE(s.LoadFromBytes(make_skin("[TitlebarSkin]\nSkinName=First\n", {})));
    EXPECT_EQ(s.SkinName, "First");
    EXPECT_FALSE(s.LoadFromBytes(make_skin("[x]\n", {}, 12345)));
    EXPECT_TRUE(s.Empty);
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_EQ(s.messages[0], "This is Older Skin File\rPlease update to new version !");
    // L = 0 gives an empty package: the same refusal.
    EXPECT_FALSE(s.LoadFromBytes(std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(s.messages.size(), 2u);
    // An already decompressed package goes the same way.
    std::vector<uint8_t> short_package = build_skin_package(20000, {});
    short_package.resize(15);
    EXPECT_FALSE(s.LoadFromPackage(short_package));
    EXPECT_EQ(s.messages.size(), 3u);
    EXPECT_TRUE(s.LoadFromPackage(build_skin_package(20000, {{"a.ini", {'[', 'x', ']'}}})));
    EXPECT_FALSE(s.Empty);
    EXPECT_EQ(s.IniName, "a.ini");
    EXPECT_FALSE(s.LoadFromFile("/nonexistent/skin.skn"));
    TSkinCollection store;
    EXPECT_FALSE(s.LoadFromCollection(store, 0));
    store.Add()->ReadDataStream(*std::make_unique<TMemoryStream>(make_skin("[a]\n", {})));
    EXPECT_TRUE(s.LoadFromCollection(store, 0));
    EXPECT_FALSE(s.Empty);
}

TEST(SkinLoad, StoredPropertyRoundTripsUnchanged) {
    const std::vector<uint8_t> compressed = make_skin("[TitlebarSkin]\nSkinName=Stored\n", {});
    TMemoryStream stored(wrap_skin_stream(compressed));
    TSkinDataCore s;
    ASSERT_TRUE(s.ReadData(stored));
    EXPECT_EQ(s.SkinName, "Stored");
    TMemoryStream written;
    s.WriteData(written);
    EXPECT_EQ(written.Bytes(), stored.Bytes());
    // N = 0: no skin, no decoding.
    TMemoryStream none(std::vector<uint8_t>{0, 0, 0, 0});
    EXPECT_FALSE(s.ReadData(none));
    EXPECT_TRUE(s.Empty);
    EXPECT_EQ(s.data.Size(), 0u);
}

}  // namespace
}  // namespace skin
