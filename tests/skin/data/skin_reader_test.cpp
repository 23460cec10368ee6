#include "skin/data/skin_reader.h"

#include <gtest/gtest.h>

#include "skin/data/skin_stream.h"

namespace skin {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes text(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

std::string str(const TMemoryStream& m) {
    return std::string(m.Bytes().begin(), m.Bytes().end());
}

TMemoryStream compressed(const Bytes& package) {
    return TMemoryStream(compress_bytes(package));
}

void put32(Bytes& b, size_t at, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    const Bytes le = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                      static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)};
    std::copy(le.begin(), le.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

// A package laid out by hand: header, opaque block, directory text, sizes, bodies.
Bytes raw_package(int32_t version, std::string_view dir, const std::vector<Bytes>& bodies,
                  uint8_t opaque_fill = 0) {
    const int opaque = opaque_block_length(version);
    Bytes p(16 + static_cast<size_t>(opaque < 0 ? 0 : opaque), opaque_fill);
    put32(p, 0, version);
    put32(p, 4, static_cast<int32_t>(dir.size()));
    p.insert(p.end(), dir.begin(), dir.end());
    for (const Bytes& b : bodies) {
        const size_t at = p.size();
        p.resize(at + 4);
        put32(p, at, static_cast<int32_t>(b.size()));
    }
    for (const Bytes& b : bodies) {
        p.insert(p.end(), b.begin(), b.end());
    }
    return p;
}

TEST(SkinReader, WrittenPackageReadsBackEveryFormat) {
    const std::vector<SkinPackageEntry> entries = {
        {"buttons.bmp", text("BM-one")}, {"empty.bmp", {}}, {"luna-blue.ini", text("[Buttons]")}};
    for (int32_t version : {20000, 30000, 40000, 50000, 60000, 70000}) {
        TMemoryStream source = compressed(build_skin_package(version, entries));
        TSkinReader reader;
        ASSERT_TRUE(reader.Loadfromstream(&source)) << version;
        EXPECT_EQ(reader.header.Version, version);
        EXPECT_EQ(reader.Num, 3);
        EXPECT_EQ(reader.Dir,
                  (std::vector<std::string>{"buttons.bmp", "empty.bmp", "luna-blue.ini"}));
        EXPECT_EQ(reader.sizes[0], 6);
        EXPECT_EQ(reader.sizes[1], 0);
        TMemoryStream out;
        reader.readfile("buttons.bmp", &out);
        EXPECT_EQ(str(out), "BM-one");
        reader.readfile("empty.bmp", &out);
        EXPECT_EQ(out.Size(), 0u);
        std::string found;
        reader.readIni(".ini", &out, found);
        EXPECT_EQ(found, "luna-blue.ini");
        EXPECT_EQ(str(out), "[Buttons]");
        EXPECT_EQ(out.Position(), 0u);
    }
}

TEST(SkinReader, OpaqueBlockBytesHaveNoMeaning) {
    const std::vector<Bytes> bodies = {text("abc")};
    TSkinReader zeros;
    TSkinReader junk;
    ASSERT_TRUE(zeros.LoadPackage(raw_package(40000, "a.bmp", bodies, 0x00)));
    ASSERT_TRUE(junk.LoadPackage(raw_package(40000, "a.bmp", bodies, 0xC3)));
    EXPECT_EQ(zeros.Dir, junk.Dir);
    EXPECT_EQ(zeros.ms.Bytes(), junk.ms.Bytes());
}

TEST(SkinReader, DirectoryLinesAndLetterCase) {
    const std::vector<Bytes> bodies = {text("1"), text("22")};
    for (std::string_view dir : {"A.bmp\r\nB.BMP", "A.bmp\r\nB.BMP\r\n", "A.bmp\nB.BMP\r"}) {
        TSkinReader r;
        ASSERT_TRUE(r.LoadPackage(raw_package(20000, dir, bodies)));
        EXPECT_EQ(r.Num, 2) << dir;
        EXPECT_EQ(r.Dir, (std::vector<std::string>{"a.bmp", "b.bmp"}));
    }
    TSkinReader r;
    ASSERT_TRUE(r.LoadPackage(raw_package(20000, "buttons.bmp\r\nx.bmp", bodies)));
    TMemoryStream out;
    r.readfile("Buttons.BMP", &out);  // names match without regard to case
    EXPECT_EQ(str(out), "1");
    r.readfile("missing.bmp", &out);
    EXPECT_EQ(out.Size(), 0u);
}

TEST(SkinReader, FirstEntryContainingThePatternIsTheDescription) {
    TSkinReader r;
    ASSERT_TRUE(r.LoadPackage(
        raw_package(20000, "skin.ini.bak\r\nskin.ini\r\n", {text("old"), text("new")})));
    TMemoryStream out;
    std::string found;
    r.readIni(".ini", &out, found);
    EXPECT_EQ(found, "skin.ini.bak");
    EXPECT_EQ(str(out), "old");
}

TEST(SkinReader, UnknownFormatsAndShortPackagesAreOlderSkinsAndChangeNothing) {
    TSkinReader r;
    ASSERT_TRUE(r.LoadPackage(raw_package(20000, "keep.bmp", {text("k")})));
    for (const Bytes& bad :
         {raw_package(10000, "x.bmp", {text("x")}), raw_package(40001, "", {}), Bytes(15, 0)}) {
        EXPECT_FALSE(r.LoadPackage(bad));
        EXPECT_EQ(r.LastError(), SkinReadError::OlderVersion);
        EXPECT_EQ(r.Dir, std::vector<std::string>{"keep.bmp"});
        EXPECT_EQ(str(r.ms), "k");
    }
    // A stream whose length is 0 gives an empty package, whose header cannot be read.
    TMemoryStream zero(Bytes{0, 0, 0, 0});
    EXPECT_FALSE(r.Loadfromstream(&zero));
    EXPECT_EQ(r.LastError(), SkinReadError::OlderVersion);
}

TEST(SkinReader, LengthsRunningPastThePackageAreRefused) {
    Bytes p = raw_package(40000, "a.bmp\r\n", {text("abc")});
    Bytes dirlen_past = p;
    put32(dirlen_past, 4, 5000);
    Bytes dirlen_negative = p;
    put32(dirlen_negative, 4, -7);
    Bytes opaque_cut(p.begin(), p.begin() + 40);
    Bytes sizes_cut(p.begin(), p.begin() + 96 + 7 + 2);  // directory, half a size entry
    Bytes negative_size = p;
    put32(negative_size, 96 + 7, -1);
    for (const Bytes& bad : {dirlen_past, dirlen_negative, opaque_cut, sizes_cut, negative_size}) {
        TSkinReader r;
        EXPECT_FALSE(r.LoadPackage(bad));
        EXPECT_EQ(r.LastError(), SkinReadError::Damaged);
        EXPECT_EQ(r.Num, 0);
    }
}

TEST(SkinReader, MoreThan1001EntriesAreRefused) {
    std::string dir;
    std::vector<Bytes> bodies;
    for (int i = 0; i < 1001; ++i) {
        dir += "f" + std::to_string(i) + ".bmp\r\n";
        bodies.push_back({});
    }
    TSkinReader fits;
    ASSERT_TRUE(fits.LoadPackage(raw_package(20000, dir, bodies)));
    EXPECT_EQ(fits.Num, 1001);
    dir += "one-more.bmp\r\n";
    bodies.push_back({});
    TSkinReader r;
    EXPECT_FALSE(r.LoadPackage(raw_package(20000, dir, bodies)));
    EXPECT_EQ(r.LastError(), SkinReadError::Damaged);
    EXPECT_TRUE(build_skin_package(20000, std::vector<SkinPackageEntry>(1002)).empty());
}

TEST(SkinReader, BodiesRunningPastTheEndAreCutToWhatIsThere) {
    Bytes p = raw_package(20000, "a.bmp\r\nb.bmp\r\nc.bmp", {text("aaaa"), text("bb"), text("")});
    put32(p, 16 + 19 + 4, 1000000);  // b claims far more than is left
    put32(p, 16 + 19 + 8, 0x7FFFFFFF);
    TSkinReader r;
    ASSERT_TRUE(r.LoadPackage(p));
    TMemoryStream out;
    r.readfile("b.bmp", &out);
    EXPECT_EQ(str(out), "bb");
    r.readfile("c.bmp", &out);  // begins past the end
    EXPECT_EQ(out.Size(), 0u);
    r.readfile("a.bmp", &out);
    EXPECT_EQ(str(out), "aaaa");
}

TEST(SkinReader, PackageReadInPlaceGivesTheSameFilesWithoutACopy) {
    const Bytes package = raw_package(60000, "a.ini\r\nB.bmp\r\n", {text("[x]"), text("BM..")});
    TSkinReader copied;
    ASSERT_TRUE(copied.LoadPackage(package));
    TSkinReader in_place;
    ASSERT_TRUE(in_place.LoadPackageInPlace(package));
    EXPECT_EQ(in_place.ms.Size(), 0u);
    EXPECT_EQ(in_place.Dir, copied.Dir);
    TMemoryStream a, b;
    std::string name;
    in_place.readIni(".ini", &a, name);
    EXPECT_EQ(name, "a.ini");
    EXPECT_EQ(str(a), "[x]");
    in_place.readfile("b.BMP", &b);
    EXPECT_EQ(str(b), "BM..");

    // A refused package changes nothing; a later package read the usual way is read from its
    // own copy.
    EXPECT_FALSE(in_place.LoadPackageInPlace(std::span<const uint8_t>(package).first(10)));
    in_place.readfile("b.bmp", &b);
    EXPECT_EQ(str(b), "BM..");
    ASSERT_TRUE(in_place.LoadPackage(raw_package(60000, "b.bmp\r\n", {text("new")})));
    in_place.readfile("b.bmp", &b);
    EXPECT_EQ(str(b), "new");
}

}  // namespace
}  // namespace skin
