// The remembered answer of fontconfig: used while nothing it depends on has changed, asked
// again as soon as something has, and never trusted when the file is damaged.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/gdi/cache_file.h"
#include "platform/gdi/font_face_cache.h"
#include "platform/gdi/font_face_files.h"

using namespace gdi;

namespace {

class FaceCacheTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("velmor-face-cache-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        cache_ = (dir_ / "sub" / "font-faces").string();
        write("latin.ttf", "latin");
        write("cjk.ttc", "cjk");
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string write(const std::string& name, const std::string& bytes) {
        const std::string p = (dir_ / name).string();
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    // Faces in two made-up files of the test's own, so the test can change them.
    FaceFiles made_up() {
        const std::string latin = (dir_ / "latin.ttf").string();
        const std::string cjk = (dir_ / "cjk.ttc").string();
        FaceFiles f;
        for (int s = 0; s < 4; ++s) {
            f.files[0][s] = FaceFile{latin, 0, "Liberation Sans"};
            f.files[1][s] = FaceFile{cjk, s % 2, "WenQuanYi Micro Hei"};
        }
        return f;
    }
    std::filesystem::path dir_;
    std::string cache_;
};

TEST_F(FaceCacheTest, TheSecondStartTakesTheRememberedFacesAndTheyAreFontconfigs) {
    const FaceFiles asked = find_face_files();
    ASSERT_TRUE(asked.complete()) << "the build machine has the project's fonts";
    bool from_cache = true;
    EXPECT_EQ(resolve_face_files(cache_, &from_cache), asked);
    EXPECT_FALSE(from_cache);
    ASSERT_TRUE(std::filesystem::exists(cache_));
    EXPECT_EQ(resolve_face_files(cache_, &from_cache), asked);
    EXPECT_TRUE(from_cache);

    // The file holds everything it was given.
    const FaceCache described = describe_faces(asked);
    EXPECT_EQ(parse_face_cache(format_face_cache(described)), described);
    EXPECT_FALSE(described.watched.empty());
}

TEST_F(FaceCacheTest, AChangedMissingOrForeignFaceFileOrEnvironmentMakesItStale) {
    const FaceFiles faces = made_up();
    const FaceCache cache = describe_faces(faces);
    EXPECT_TRUE(still_current(cache));
    EXPECT_EQ(cache.face_stamps.size(), 2u);  // one per file, not per slot

    write("latin.ttf", "a different latin face");
    EXPECT_FALSE(still_current(cache));
    const FaceCache again = describe_faces(faces);
    EXPECT_TRUE(still_current(again));
    std::filesystem::remove(dir_ / "cjk.ttc");
    EXPECT_FALSE(still_current(again));

    write("cjk.ttc", "cjk");
    const FaceCache third = describe_faces(faces);
    ASSERT_TRUE(still_current(third));
    const char* old = std::getenv("FONTCONFIG_FILE");
    const std::string saved = old ? old : "";
    ::setenv("FONTCONFIG_FILE", (dir_ / "other.conf").c_str(), 1);
    EXPECT_FALSE(still_current(third));
    if (old)
        ::setenv("FONTCONFIG_FILE", saved.c_str(), 1);
    else
        ::unsetenv("FONTCONFIG_FILE");
    EXPECT_TRUE(still_current(third));
}

TEST_F(FaceCacheTest, AStaleCacheIsAnsweredByFontconfigAndRewritten) {
    write_face_cache(cache_, describe_faces(made_up()));
    bool from_cache = false;
    EXPECT_EQ(resolve_face_files(cache_, &from_cache), made_up());
    EXPECT_TRUE(from_cache);

    write("latin.ttf", "an update of the font package");
    const FaceFiles now = resolve_face_files(cache_, &from_cache);
    EXPECT_FALSE(from_cache);
    EXPECT_EQ(now, find_face_files());
    auto stored = read_face_cache(cache_);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->faces, now);
}

TEST_F(FaceCacheTest, DamagedFilesAreRefusedWhereverTheyAreCut) {
    const std::string good = format_face_cache(describe_faces(made_up()));
    ASSERT_TRUE(parse_face_cache(good));
    // Cut anywhere: never taken for a full answer with a slot missing.
    for (size_t n = 0; n < good.size(); ++n) {
        auto parsed = parse_face_cache(good.substr(0, n));
        if (parsed) {
            EXPECT_TRUE(parsed->faces.complete()) << n;
        }
    }
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string s = good;
        s.replace(s.find(from), from.size(), to);
        return parse_face_cache(s);
    };
    EXPECT_FALSE(replaced("velmor font faces 1", "velmor font faces 2"));
    EXPECT_FALSE(replaced("face\t1\t3\t1\t", "face\t1\t2\t1\t"));  // a slot twice, one missing
    EXPECT_FALSE(replaced("face\t0\t0\t0\t", "face\t0\t0\t-1\t"));
    EXPECT_FALSE(replaced("face\t0\t0\t0\t", "face\t2\t0\t0\t"));
    EXPECT_FALSE(replaced("file\t", "file\tx"));
    EXPECT_FALSE(replaced("watch\t", "watch\t99999999999999999999\t"));
    EXPECT_FALSE(replaced("env\t", "cheese\t"));
    EXPECT_FALSE(parse_face_cache(good + "file\t1\t1\n"));  // a stamp without a path
    EXPECT_FALSE(parse_face_cache(std::string("\0\xff", 2)));

    // A damaged file on disk: fontconfig answers.
    std::filesystem::create_directories(std::filesystem::path(cache_).parent_path());
    write("sub/font-faces", good.substr(0, good.size() / 2));
    bool from_cache = true;
    EXPECT_EQ(resolve_face_files(cache_, &from_cache), find_face_files());
    EXPECT_FALSE(from_cache);
}

TEST_F(FaceCacheTest, NamesThatCannotBeWrittenLeaveNoFile) {
    FaceFiles faces = made_up();
    faces.files[0][1]->family = "Tab\tFamily";
    EXPECT_EQ(format_face_cache(describe_faces(faces)), "");
    write_face_cache(cache_, describe_faces(faces));
    EXPECT_FALSE(std::filesystem::exists(cache_));
    write_face_cache("", describe_faces(made_up()));  // no home: nothing, no failure
}

// Something other than a file where a cache belongs is passed over at once: opening a named
// pipe for reading would otherwise wait for a writer and hold the start forever.
TEST_F(FaceCacheTest, OnlyARegularFileOfAllowedSizeIsReadAsACache) {
    const std::string pipe = (dir_ / "pipe").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(read_cache_file(pipe, 1 << 16));
    EXPECT_FALSE(read_face_cache(pipe));
    EXPECT_FALSE(read_cache_file(dir_.string(), 1 << 16));
    EXPECT_FALSE(read_cache_file(write("empty", ""), 1 << 16));
    EXPECT_FALSE(read_cache_file(write("large", std::string(65, 'x')), 64));
    EXPECT_EQ(read_cache_file(write("fits", std::string(64, 'x')), 64), std::string(64, 'x'));
    EXPECT_FALSE(read_cache_file((dir_ / "missing").string(), 64));
}

}  // namespace
