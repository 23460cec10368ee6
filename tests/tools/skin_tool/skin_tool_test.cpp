#include "tools/skin_tool/skin_tool_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "platform/gdi/png.h"
#include "skin/data/skin_stream.h"

namespace skin_tool {
namespace {

namespace fs = std::filesystem;

class SkinToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("velmor_skin_tool_" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
    std::ostringstream out_;
    std::ostringstream err_;
};

std::vector<std::string> lines(const std::string& s) {
    std::vector<std::string> out;
    std::istringstream in(s);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

TEST_F(SkinToolTest, ListsTheEmbeddedSkin) {
    ASSERT_EQ(list("", out_, err_), 0) << err_.str();
    const auto l = lines(out_.str());
    ASSERT_EQ(l.size(), 36u);
    EXPECT_EQ(l[0], "Version 40000");
    EXPECT_EQ(l[1].rfind("buttons.bmp ", 0), 0u);
    EXPECT_EQ(l[35].rfind("luna-blue.ini ", 0), 0u);
}

TEST_F(SkinToolTest, UnpackedThenPackedGivesTheSameEntriesInAStableOrder) {
    ASSERT_EQ(unpack(path("out"), "", out_, err_), 0) << err_.str();
    EXPECT_TRUE(fs::exists(path("out/luna-blue.ini")));
    EXPECT_EQ(fs::file_size(path("out/frametop.bmp")) > 54, true);
    ASSERT_EQ(pack(path("out"), path("a.skn"), out_, err_), 0) << err_.str();
    ASSERT_EQ(pack(path("out"), path("b.skn"), out_, err_), 0) << err_.str();
    skin::TMemoryStream a;
    skin::TMemoryStream b;
    ASSERT_TRUE(a.LoadFromFile(path("a.skn")));
    ASSERT_TRUE(b.LoadFromFile(path("b.skn")));
    EXPECT_EQ(a.Bytes(), b.Bytes());

    auto original = open_package("", err_);
    auto packed = open_package(path("a.skn"), err_);
    ASSERT_TRUE(original && packed);
    ASSERT_EQ(packed->reader.Num, original->reader.Num);
    EXPECT_EQ(packed->reader.Dir.front(), "luna-blue.ini");  // the description comes first
    for (const std::string& name : original->reader.Dir) {
        skin::TMemoryStream x;
        skin::TMemoryStream y;
        original->reader.readfile(name, &x);
        packed->reader.readfile(name, &y);
        EXPECT_EQ(x.Bytes(), y.Bytes()) << name;
    }
    // The packed file loads as a skin and draws a sheet.
    ASSERT_EQ(sheet(path("sheet.png"), path("a.skn"), out_, err_), 0) << err_.str();
    const gdi::Bitmap png = gdi::read_png_file(path("sheet.png"));
    EXPECT_GT(png.width(), 400);
    EXPECT_GT(png.height(), 400);
}

TEST_F(SkinToolTest, DamagedOrMissingPackagesGiveAMessageAndFailure) {
    skin::TMemoryStream junk(std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_TRUE(junk.SaveToFile(path("junk.skn")));
    EXPECT_EQ(list(path("junk.skn"), out_, err_), 1);
    EXPECT_NE(err_.str().find("is not a skin package"), std::string::npos) << err_.str();
    err_.str("");
    EXPECT_EQ(sheet(path("x.png"), path("missing.skn"), out_, err_), 1);
    EXPECT_NE(err_.str().find("cannot read"), std::string::npos);
    EXPECT_FALSE(fs::exists(path("x.png")));
    fs::create_directories(path("empty"));
    EXPECT_EQ(pack(path("empty"), path("e.skn"), out_, err_), 1);
    EXPECT_NE(err_.str().find("no description"), std::string::npos);
}

TEST_F(SkinToolTest, UnpackWritesOnlyPlainNamesInsideTheDirectory) {
    EXPECT_FALSE(safe_entry_name(""));
    EXPECT_FALSE(safe_entry_name(".."));
    EXPECT_FALSE(safe_entry_name("../x.bmp"));
    EXPECT_FALSE(safe_entry_name("a\\b.bmp"));
    EXPECT_FALSE(safe_entry_name("/etc/x"));
    EXPECT_TRUE(safe_entry_name("buttons.bmp"));
    const std::vector<skin::SkinPackageEntry> entries = {
        {"../escape.bmp", {1}}, {"ok.ini", {2}}, {"", {3}}};
    skin::TMemoryStream file(skin::compress_bytes(skin::build_skin_package(40000, entries)));
    ASSERT_TRUE(file.SaveToFile(path("evil.skn")));
    ASSERT_EQ(unpack(path("in"), path("evil.skn"), out_, err_), 0);
    EXPECT_TRUE(fs::exists(path("in/ok.ini")));
    EXPECT_FALSE(fs::exists(path("escape.bmp")));
    EXPECT_NE(err_.str().find("skipping"), std::string::npos);
}

}  // namespace
}  // namespace skin_tool
