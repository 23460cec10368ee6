// Glyphs kept between runs: an engine that finds them draws exactly what a fresh engine
// renders, without opening a face; glyphs of other faces, or from a damaged file, are never
// taken.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/gdi/font_engine.h"
#include "platform/gdi/glyph_cache.h"

using namespace gdi;

namespace {

class GlyphCacheTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("velmor-glyph-cache-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        faces_ = (dir_ / "font-faces").string();
        glyphs_ = glyph_cache_path(faces_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Everything the samples draw with: em sizes, metrics, and every glyph's placement and
    // coverage. The samples take in a bold and an italic font, a font given by its cell
    // height, a Chinese font with Latin fallback, and a code point in neither face.
    static std::string describe(FontEngine& e) {
        Font bold = Font::from_points("Tahoma", 9, FW_BOLD);
        Font italic;
        italic.italic = true;
        Font cell;
        cell.height = 16;
        const std::pair<Font, std::u32string> samples[] = {{Font{}, U"Port Setup 0123 AaWw\t"},
                                                           {bold, U"Status:Data"},
                                                           {italic, U"It"},
                                                           {cell, U"Hg"},
                                                           {Font{"宋体", -12}, U"打开 ab"},
                                                           {Font{}, U"\U0010FFFD"}};
        std::string out;
        for (const auto& [font, text] : samples) {
            SizedFont& s = e.get(font);
            const TextMetrics& m = s.metrics();
            out += std::to_string(e.em_pixels(font)) + ' ' + std::to_string(m.height) + ' ' +
                   std::to_string(m.ascent) + ' ' + std::to_string(m.ave_char_width) + ' ' +
                   std::to_string(m.max_char_width) + '\n';
            for (char32_t cp : text) {
                const Glyph& g = s.glyph(cp);
                out += std::to_string(g.face) + ' ' + std::to_string(g.left) + ' ' +
                       std::to_string(g.top) + ' ' + std::to_string(g.width) + ' ' +
                       std::to_string(g.height) + ' ' + std::to_string(g.advance) + ' ' +
                       std::string(g.coverage.begin(), g.coverage.end()) + '\n';
            }
        }
        return out;
    }

    std::filesystem::path dir_;
    std::string faces_;
    std::string glyphs_;
};

TEST_F(GlyphCacheTest, AWarmEngineDrawsWhatAFreshOneRendersWithoutOpeningAFace) {
    const std::string fresh = describe(*FontEngine::with_cache(""));
    {
        auto cold = FontEngine::with_cache(faces_);
        EXPECT_TRUE(describe(*cold) == fresh);
        EXPECT_TRUE(cold->faces_opened());
    }
    ASSERT_TRUE(std::filesystem::exists(glyphs_));
    auto warm = FontEngine::with_cache(faces_);
    EXPECT_TRUE(describe(*warm) == fresh);
    EXPECT_FALSE(warm->faces_opened());

    // A glyph the cache lacks is rendered as a fresh engine renders it, and kept for the next.
    auto reference = FontEngine::with_cache("");
    const Glyph& expected = reference->get(Font{}).glyph(U'Ж');
    const Glyph& zhe = warm->get(Font{}).glyph(U'Ж');
    EXPECT_TRUE(warm->faces_opened());
    EXPECT_EQ(zhe.advance, expected.advance);
    EXPECT_EQ(zhe.coverage, expected.coverage);
    warm.reset();
    auto next = FontEngine::with_cache(faces_);
    EXPECT_EQ(next->get(Font{}).glyph(U'Ж').coverage, expected.coverage);
    EXPECT_FALSE(next->faces_opened());
}

TEST_F(GlyphCacheTest, GlyphsAreTakenOnlyForTheFacesTheyWereRenderedFrom) {
    FontEngine::with_cache(faces_)->get(Font{}).glyph('A');
    std::optional<GlyphCache> cache = read_glyph_cache(glyphs_);
    ASSERT_TRUE(cache);
    // Mark the stored 'A', so that taking it shows.
    int marked = 0;
    for (auto& [key, font] : cache->fonts) {
        if (auto a = font.glyphs.find('A'); a != font.glyphs.end()) {
            a->second.advance = 99;
            ++marked;
        }
    }
    ASSERT_EQ(marked, 1);
    write_glyph_cache(glyphs_, *cache);
    EXPECT_EQ(FontEngine::with_cache(faces_)->get(Font{}).glyph('A').advance, 99);

    // One byte changed anywhere: the file is not taken.
    std::string bytes = format_glyph_cache(*cache);
    bytes[bytes.size() / 2] ^= 1;
    std::ofstream(glyphs_, std::ios::binary | std::ios::trunc) << bytes;
    EXPECT_NE(FontEngine::with_cache(faces_)->get(Font{}).glyph('A').advance, 99);

    // Glyphs rendered from other face files (or another FreeType) are not taken either.
    cache->identity += "file\t1\t1\t/elsewhere/font.ttf\n";
    write_glyph_cache(glyphs_, *cache);
    auto engine = FontEngine::with_cache(faces_);
    EXPECT_NE(engine->get(Font{}).glyph('A').advance, 99);
    EXPECT_TRUE(engine->faces_opened());
}

TEST_F(GlyphCacheTest, TheIdentityFollowsEveryFaceFile) {
    const std::string path = (dir_ / "latin.ttf").string();
    std::ofstream(path) << "one";
    FaceFiles files;
    for (int s = 0; s < 4; ++s) {
        files.files[0][s] = FaceFile{path, 0, "Liberation Sans"};
        files.files[1][s] = FaceFile{path, 1, "WenQuanYi Micro Hei"};
    }
    const std::string before = glyph_cache_identity(describe_faces(files), "");
    EXPECT_EQ(glyph_cache_identity(describe_faces(files), ""), before);
    std::ofstream(path) << "a font updated in place";
    EXPECT_NE(glyph_cache_identity(describe_faces(files), ""), before);
}

TEST_F(GlyphCacheTest, TheIdentityNamesTheFreeTypeFileAndFollowsIt) {
    // A stand-in for the library file: only its path and stamp go into the identity.
    const std::string library = (dir_ / "libfreetype.so.6").string();
    std::ofstream(library) << "one";
    const FaceCache faces = describe_faces(FaceFiles{});
    const std::string before = glyph_cache_identity(faces, library);
    EXPECT_EQ(glyph_cache_library_file(before), library);
    EXPECT_EQ(glyph_cache_identity(faces, glyph_cache_library_file(before)), before);
    std::ofstream(library) << "a library updated in place";
    EXPECT_NE(glyph_cache_identity(faces, library), before);
    EXPECT_NE(glyph_cache_identity(faces, ""), before);
    EXPECT_EQ(glyph_cache_library_file(glyph_cache_identity(faces, "")), "");
    // Text that is not an identity names no file.
    for (const char* junk : {"", "library", "library\t1\t2", "\n\nlibrary\t\t"})
        EXPECT_EQ(glyph_cache_library_file(junk), "") << junk;
}

TEST_F(GlyphCacheTest, AFileCutShortOrWithBytesAddedIsRefused) {
    FontEngine::with_cache(faces_)->get(Font{}).glyph('A');
    std::optional<GlyphCache> cache = read_glyph_cache(glyphs_);
    ASSERT_TRUE(cache);
    const std::string bytes = format_glyph_cache(*cache);
    ASSERT_TRUE(parse_glyph_cache(bytes));
    for (size_t n = 0; n < bytes.size(); ++n)
        EXPECT_FALSE(parse_glyph_cache(bytes.substr(0, n))) << n;
    EXPECT_FALSE(parse_glyph_cache(bytes + '\0'));
}

}  // namespace
