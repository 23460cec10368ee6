#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/gdi/bmp.h"
#include "skin/data/skin_stream.h"
#include "skin/embedded_skin.h"
#include "skin/skin_data_core.h"

namespace skin {
namespace {

TEST(DefaultSkin, PackageHasTheShapeOfTheMainFormsSkin) {
    TMemoryStream stored(
        std::vector<uint8_t>(embedded_skin_stream().begin(), embedded_skin_stream().end()));
    TMemoryStream data;
    ASSERT_EQ(ReadSkinStream(stored, data), SkinStreamRead::Loaded);
    EXPECT_EQ(stored.Remaining(), 0u);
    TSkinReader reader;
    ASSERT_TRUE(reader.Loadfromstream(&data));
    EXPECT_EQ(reader.header.Version, 40000);
    const std::vector<std::string> names = {
        "buttons.bmp",         "checkbox.bmp",      "radiobutton.bmp",    "progress.bmp",
        "progresschunk.bmp",   "tab.bmp",           "tabsheet.bmp",       "comboboxbtn.bmp",
        "statusbar.bmp",       "header.bmp",        "scrollbararrow.bmp", "scrollbarhthumb.bmp",
        "scrollbarvthumb.bmp", "scrollbarhbar.bmp", "scrollbarvbar.bmp",  "menubackground.bmp",
        "menuitem.bmp",        "extraimages.bmp",   "trackthumbh.bmp",    "trackbot.bmp",
        "mdibutton.bmp",       "spin.bmp",          "spinarrow.bmp",      "spinh.bmp",
        "spinharrow.bmp",      "closebutton.bmp",   "maxbutton.bmp",      "minbutton.bmp",
        "restrorebutton.bmp",  "frameleft.bmp",     "frameright.bmp",     "frametop.bmp",
        "framebottom.bmp",     "mincaption.bmp",    "luna-blue.ini"};
    EXPECT_EQ(reader.Dir, names);
    EXPECT_EQ(reader.dirlen, 553);
    // Bitmap bodies of 8, 24 and 32 bits per pixel.
    std::set<int> depths;
    for (size_t i = 0; i + 1 < names.size(); ++i) {
        TMemoryStream body;
        reader.readfile(names[i], &body);
        ASSERT_GT(body.Size(), 54u) << names[i];
        EXPECT_EQ(body.Bytes()[0], 'B');
        depths.insert(body.Bytes()[28]);
    }
    EXPECT_EQ(depths, (std::set<int>{8, 24, 32}));
}

TEST(DefaultSkin, RealPackageCodesAndDecodesUnchanged) {
    TMemoryStream stored(
        std::vector<uint8_t>(embedded_skin_stream().begin(), embedded_skin_stream().end()));
    TMemoryStream data;
    ASSERT_EQ(ReadSkinStream(stored, data), SkinStreamRead::Loaded);
    const auto package = decompress_bytes(data.Bytes());
    ASSERT_TRUE(package.has_value());
    EXPECT_GT(package->size(), 100000u);
    const std::vector<uint8_t> again = compress_bytes(*package);
    EXPECT_EQ(again, data.Bytes());  // the packer's own output: the codec is deterministic
    EXPECT_EQ(decompress_bytes(again), package);
}

TEST(DefaultSkin, BuiltInPackageIsTakenOnlyForExactlyTheBuiltInBytes) {
    const auto stored = embedded_skin_stream();
    const std::vector<uint8_t> ours(stored.begin() + 4, stored.end());
    // What the build decoded is what the bytes decode to now.
    const auto package = embedded_package_for(ours);
    ASSERT_TRUE(package.has_value());
    const auto decoded = decompress_bytes(ours);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_TRUE(std::equal(package->begin(), package->end(), decoded->begin(), decoded->end()));
    // One byte changed anywhere, one byte missing or one too many: decoded as they stand.
    for (size_t at : {size_t{0}, ours.size() / 2, ours.size() - 1}) {
        std::vector<uint8_t> changed = ours;
        changed[at] ^= 0x01;
        EXPECT_FALSE(embedded_package_for(changed).has_value()) << at;
    }
    EXPECT_FALSE(
        embedded_package_for(std::span<const uint8_t>(ours).first(ours.size() - 1)).has_value());
    std::vector<uint8_t> longer = ours;
    longer.push_back(0);
    EXPECT_FALSE(embedded_package_for(longer).has_value());
    EXPECT_FALSE(embedded_package_for({}).has_value());
}

TEST(DefaultSkin, BuiltInImagesAreWhatTheReaderGivesAndLoadTheSameSkin) {
    const auto package = embedded_skin_package();
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadPackage(std::vector<uint8_t>(package.begin(), package.end())));
    size_t images = 0;
    for (const std::string& name : reader.Dir) {
        if (!name.ends_with(".bmp"))
            continue;
        ++images;
        TMemoryStream body;
        reader.readfile(name, &body);
        const gdi::BmpResult read = gdi::read_bmp(body.View());
        ASSERT_TRUE(read.ok()) << name;
        const EmbeddedImage* built = find_embedded_image(name);
        ASSERT_NE(built, nullptr) << name;
        ASSERT_EQ(built->width, read.bitmap.width()) << name;
        ASSERT_EQ(built->height, read.bitmap.height()) << name;
        EXPECT_TRUE(std::equal(read.bitmap.data(),
                               read.bitmap.data() + static_cast<size_t>(built->width) *
                                                        static_cast<size_t>(built->height),
                               built->pixels))
            << name;
    }
    EXPECT_EQ(images, embedded_skin_images().size());
    EXPECT_EQ(find_embedded_image("missing.bmp"), nullptr);

    // The skin taken from the built-in bytes and the one read from the package the long way
    // have the same elements, image for image.
    TSkinDataCore fast;
    TMemoryStream stored(
        std::vector<uint8_t>(embedded_skin_stream().begin(), embedded_skin_stream().end()));
    ASSERT_TRUE(fast.ReadData(stored));
    TSkinDataCore slow;
    ASSERT_TRUE(slow.LoadFromPackage(std::vector<uint8_t>(package.begin(), package.end())));
    const auto a = fast.Elements();
    const auto b = slow.Elements();
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].first, b[i].first);
        EXPECT_TRUE(a[i].second->Map == b[i].second->Map) << a[i].first;
        EXPECT_EQ(a[i].second->r, b[i].second->r) << a[i].first;
    }
    EXPECT_TRUE(fast.Button->CheckMap == slow.Button->CheckMap);
    EXPECT_TRUE(fast.Button->RadioMap == slow.Button->RadioMap);
    EXPECT_EQ(fast.Colors, slow.Colors);

    // The built-in images are read in place, not copied; one changed by its user gets pixels
    // of its own, and the next skin loaded from the built-in bytes has the image unchanged.
    EXPECT_TRUE(fast.Button->Map.read_only());
    EXPECT_TRUE(fast.border[2]->Map.read_only());
    EXPECT_FALSE(slow.Button->Map.read_only());
    const gdi::Pixel first = fast.Button->Map.pixel(0, 0);
    fast.Button->Map.set_pixel(0, 0, first ^ 0xFFFFFFu);
    TSkinDataCore again;
    stored.SetPosition(0);
    ASSERT_TRUE(again.ReadData(stored));
    EXPECT_EQ(again.Button->Map.pixel(0, 0), first);
    EXPECT_TRUE(again.Button->Map == slow.Button->Map);
}

TEST(DefaultSkin, DescriptionYieldsTheExpectedElements) {
    TSkinDataCore s;
    TMemoryStream stored(
        std::vector<uint8_t>(embedded_skin_stream().begin(), embedded_skin_stream().end()));
    ASSERT_TRUE(s.ReadData(stored));
    EXPECT_FALSE(s.Empty);
    EXPECT_EQ(s.IniName, "luna-blue.ini");
    EXPECT_EQ(s.Button->r, (gdi::Rect{8, 9, 8, 9}));
    EXPECT_EQ(s.Button->frame, 5);
    EXPECT_EQ(s.Button->Map.width() / 5, 32);
    EXPECT_EQ(s.Button->checkframe, 12);
    EXPECT_EQ(s.Button->radioframe, 8);
    ASSERT_GE(s.SysBtn.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(s.SysBtn[static_cast<size_t>(i)]->IDName, "BUTTON" + std::to_string(i));
    }
    for (int i = 0; i < 4; ++i) {  // close, maximize, restore, minimize
        const TDataSkinSysButton& b = *s.SysBtn[static_cast<size_t>(i)];
        EXPECT_EQ(b.Map.size(), (gdi::Size{126, 21})) << b.IDName;
        EXPECT_EQ(b.frame, 6) << b.IDName;
    }
    EXPECT_EQ(s.SysBtn[4]->Action, 3);  // the window icon
    // Every element a control of the console uses is there with an image.
    for (const TDataSkinObject* o : std::initializer_list<const TDataSkinObject*>{
             s.tab.get(), s.TabSheet.get(), s.StatusBar.get(), s.combox.get(), s.comboxarrow.get(),
             s.ExtraImages.get(), s.MenuitemBG.get(), s.MenuItem.get(), s.SArrow.get(),
             s.HSpin.get(), s.VSpin.get(), s.progress.get(), s.progresschunk.get()}) {
        ASSERT_NE(o, nullptr);
        EXPECT_FALSE(o->Map.empty()) << o->IDName;
    }
    EXPECT_EQ(s.SArrow->frame, 23);
    EXPECT_EQ(s.SArrow->Map.width() % 23, 0);
    EXPECT_EQ(s.StatusBar->Map.width() % 3, 0);
    // The caption colour comes from the blue title band.
    EXPECT_GT(gdi::blue_of(s.Colors[csCaption]), 150);
}

}  // namespace
}  // namespace skin
