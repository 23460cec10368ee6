#include <gtest/gtest.h>

#include <string>

#include "skin/built_in_description.h"
#include "skin/embedded_skin.h"
#include "skin/skin_data_core.h"

namespace skin {
namespace {

void ExpectSameImage(const gdi::Bitmap& a, const gdi::Bitmap& b, const std::string& what) {
    EXPECT_TRUE(a == b) << what;
    EXPECT_EQ(a.transparent(), b.transparent()) << what;
    EXPECT_EQ(a.transparent_color(), b.transparent_color()) << what;
}

// Every field of two elements, those of the derived classes included.
void ExpectSameElement(const TDataSkinObject& a, const TDataSkinObject& b,
                       const std::string& what) {
    EXPECT_EQ(typeid(a), typeid(b)) << what;
    EXPECT_EQ(a.IDName, b.IDName) << what;
    EXPECT_EQ(a.r, b.r) << what;
    ExpectSameImage(a.Map, b.Map, what);
    EXPECT_EQ(a.trans, b.trans) << what;
    EXPECT_EQ(a.Tile, b.Tile) << what;
    EXPECT_EQ(a.frame, b.frame) << what;
    EXPECT_EQ(a.style, b.style) << what;
    EXPECT_EQ(a.Normalcolor, b.Normalcolor) << what;
    EXPECT_EQ(a.Overcolor, b.Overcolor) << what;
    EXPECT_EQ(a.Downcolor, b.Downcolor) << what;
    EXPECT_EQ(a.Normalcolor2, b.Normalcolor2) << what;
    EXPECT_EQ(a.Overcolor2, b.Overcolor2) << what;
    EXPECT_EQ(a.Downcolor2, b.Downcolor2) << what;
    if (const auto* x = dynamic_cast<const TDataSkinBorder*>(&a)) {
        const auto& y = dynamic_cast<const TDataSkinBorder&>(b);
        ExpectSameImage(x->MaskMap, y.MaskMap, what + " mask");
    }
    if (const auto* x = dynamic_cast<const TDataSkinTitle*>(&a)) {
        const auto& y = dynamic_cast<const TDataSkinTitle&>(b);
        EXPECT_EQ(x->Aligment, y.Aligment);
        EXPECT_EQ(x->BackGround, y.BackGround);
        EXPECT_EQ(x->FontHeight, y.FontHeight);
        EXPECT_EQ(x->backleft, y.backleft);
        EXPECT_EQ(x->backright, y.backright);
        EXPECT_EQ(x->activetext, y.activetext);
        EXPECT_EQ(x->inactivetext, y.inactivetext);
    }
    if (const auto* x = dynamic_cast<const TDataSkinButton*>(&a)) {
        const auto& y = dynamic_cast<const TDataSkinButton&>(b);
        ExpectSameImage(x->CheckMap, y.CheckMap, what + " check");
        ExpectSameImage(x->RadioMap, y.RadioMap, what + " radio");
        EXPECT_EQ(x->radioframe, y.radioframe);
        EXPECT_EQ(x->checkframe, y.checkframe);
        EXPECT_EQ(x->newnormal, y.newnormal);
        EXPECT_EQ(x->newover, y.newover);
        EXPECT_EQ(x->newdown, y.newdown);
    }
    if (const auto* x = dynamic_cast<const TDataSkinSysButton*>(&a)) {
        const auto& y = dynamic_cast<const TDataSkinSysButton&>(b);
        EXPECT_EQ(x->Action, y.Action) << what;
        EXPECT_EQ(x->Align, y.Align) << what;
        EXPECT_EQ(x->XCoord, y.XCoord) << what;
        EXPECT_EQ(x->YCoord, y.YCoord) << what;
        EXPECT_EQ(x->CombineOp, y.CombineOp) << what;
        EXPECT_EQ(x->Visibility, y.Visibility) << what;
        EXPECT_EQ(x->Visibility1, y.Visibility1) << what;
    }
    if (const auto* x = dynamic_cast<const TDataSkinBoxLabel*>(&a)) {
        const auto& y = dynamic_cast<const TDataSkinBoxLabel&>(b);
        EXPECT_EQ(x->LeftShift, y.LeftShift);
        EXPECT_EQ(x->RightShift, y.RightShift);
        EXPECT_EQ(x->Alignment, y.Alignment);
    }
}

void ExpectSameSkin(const TSkinDataCore& a, const TSkinDataCore& b) {
    EXPECT_EQ(a.Empty, b.Empty);
    EXPECT_EQ(a.SkinName, b.SkinName);
    EXPECT_EQ(a.IniName, b.IniName);
    EXPECT_EQ(a.Colors, b.Colors);
    EXPECT_EQ(a.hasColors, b.hasColors);
    EXPECT_EQ(a.ColorPreset, b.ColorPreset);
    EXPECT_EQ(a.PresetColors, b.PresetColors);
    EXPECT_EQ(a.bgbrush.color, b.bgbrush.color);
    const auto x = a.Elements();
    const auto y = b.Elements();
    ASSERT_EQ(x.size(), y.size());
    for (size_t i = 0; i < x.size(); ++i) {
        ASSERT_EQ(x[i].first, y[i].first);
        ExpectSameElement(*x[i].second, *y[i].second, x[i].first);
    }
}

TMemoryStream StoredSkin() {
    return TMemoryStream(
        std::vector<uint8_t>(embedded_skin_stream().begin(), embedded_skin_stream().end()));
}

// The built-in skin comes from the table the build made of its description; a skin read from
// the same package the long way (description text parsed, images read from BMP) is the same in
// every field, image for image, both before and after the machine's part of loading, and also
// with another machine's metrics and colours.
TEST(BuiltInDescription, TableGivesWhatReadingTheDescriptionGives) {
    const auto package = embedded_skin_package();
    for (const int arrow_width : {17, 25}) {
        TSkinDataCore table;
        TSkinDataCore read;
        for (TSkinDataCore* s : {&table, &read}) {
            s->system.hscroll_arrow_width = arrow_width;
            s->system.sys_color = [](int index) { return gdi::rgb(index, 2 * index, 3 * index); };
        }
        TMemoryStream stored = StoredSkin();
        ASSERT_TRUE(table.ReadData(stored));
        ASSERT_TRUE(read.LoadFromPackage(std::vector<uint8_t>(package.begin(), package.end())));
        SCOPED_TRACE(arrow_width);
        ExpectSameSkin(table, read);
        // The table's images are the built-in pixels, not copies.
        EXPECT_TRUE(table.Button->Map.read_only());
        EXPECT_FALSE(read.Button->Map.read_only());
    }

    // The description alone: the table against the reading the build ran.
    TSkinDataCore table;
    ASSERT_TRUE(read_built_in_description(table));
    TSkinDataCore read;
    ASSERT_TRUE(read.ReadPackageDescription(std::vector<uint8_t>(package.begin(), package.end())));
    EXPECT_TRUE(read.Empty);
    ExpectSameSkin(table, read);
}

// Loading over a skin already held replaces everything the description gives, as reading does:
// nothing of the first skin is left over, and the skin loaded after the built-in one is the
// file's.
TEST(BuiltInDescription, LoadingReplacesTheSkinHeldBefore) {
    const auto package = embedded_skin_package();
    TSkinDataCore s;
    TMemoryStream stored = StoredSkin();
    ASSERT_TRUE(s.ReadData(stored));
    const size_t title_buttons = s.SysBtn.size();
    stored.SetPosition(0);
    ASSERT_TRUE(s.ReadData(stored));
    EXPECT_EQ(s.SysBtn.size(), title_buttons);
    TSkinDataCore read;
    ASSERT_TRUE(read.LoadFromPackage(std::vector<uint8_t>(package.begin(), package.end())));
    ExpectSameSkin(s, read);

    // A package whose description lacks most sections, loaded after the built-in skin.
    std::vector<SkinPackageEntry> entries = {{"small.ini", {}}};
    const std::string text = "[Colours]\r\nButtonFace=1 2 3\r\n";
    entries[0].body.assign(text.begin(), text.end());
    ASSERT_TRUE(s.LoadFromPackage(build_skin_package(40000, entries)));
    EXPECT_EQ(s.IniName, "small.ini");
    EXPECT_EQ(s.tab, nullptr);
    EXPECT_EQ(s.progress, nullptr);
    EXPECT_TRUE(s.Button->Map.empty());
    EXPECT_EQ(s.Colors[csButtonFace], gdi::rgb(1, 2, 3));
    EXPECT_FALSE(s.hasColors[csButtonText]);
    EXPECT_EQ(s.SysBtn.size(), 3u);  // only the three of a maximized child window
}

}  // namespace
}  // namespace skin
