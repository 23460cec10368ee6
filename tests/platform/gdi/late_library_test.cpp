// Libraries loaded at their first use: a library that is not there, or that lacks a function,
// is reported once by name and never half used; one that loads tells the file it came from.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/gdi/late_library.h"

using namespace gdi;

TEST(LateLibraryTest, AMissingLibraryOrFunctionIsReportedByNameAndNotTriedAgain) {
    LateLibrary missing("libvelmor-not-installed.so.1");
    int binds = 0;
    auto counting = [&](LateLibrary&) { return ++binds > 0; };
    EXPECT_FALSE(missing.open(counting));
    EXPECT_FALSE(missing.open(counting));
    EXPECT_EQ(binds, 0);
    EXPECT_FALSE(missing.is_open());
    EXPECT_NE(missing.error().find("libvelmor-not-installed.so.1"), std::string::npos);
    EXPECT_TRUE(missing.file().empty());

    LateLibrary lacking("libz.so.1");
    void (*nowhere)() = nullptr;
    EXPECT_FALSE(lacking.open([&](LateLibrary& lib) {
        return lib.bind("compress", &nowhere) && lib.bind("velmor_no_such_function", &nowhere);
    }));
    EXPECT_FALSE(lacking.is_open());
    EXPECT_NE(lacking.error().find("libz.so.1"), std::string::npos);
}

TEST(LateLibraryTest, ALoadedLibraryNamesTheFileItCameFrom) {
    LateLibrary zlib("libz.so.1");
    EXPECT_TRUE(zlib.file().empty());
    const char* (*version)() = nullptr;
    ASSERT_TRUE(zlib.open([&](LateLibrary& lib) { return lib.bind("zlibVersion", &version); }));
    EXPECT_TRUE(zlib.is_open());
    EXPECT_TRUE(zlib.error().empty());
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version()[0], '1');
    const std::filesystem::path file = zlib.file();
    EXPECT_TRUE(file.is_absolute());
    EXPECT_TRUE(std::filesystem::exists(file));
}

TEST(LateLibraryTest, TheFileInTheLibraryPathIsTheFirstThatHoldsTheLibrary) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("velmor-late-library-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "empty");
    std::filesystem::create_directories(dir / "holds");
    std::ofstream(dir / "holds" / "libvelmor-test.so.1") << "a library";
    const char* before = std::getenv("LD_LIBRARY_PATH");
    const std::string kept = before ? before : "";
    LateLibrary lib("libvelmor-test.so.1");

    ::unsetenv("LD_LIBRARY_PATH");
    EXPECT_EQ(lib.file_in_library_path(), "");
    const std::string empty = (dir / "empty").string(), holds = (dir / "holds").string();
    ::setenv("LD_LIBRARY_PATH", (empty + ":" + holds + "/").c_str(), 1);
    EXPECT_EQ(lib.file_in_library_path(), holds + "/libvelmor-test.so.1");
    ::setenv("LD_LIBRARY_PATH", (empty + ";/nowhere:").c_str(), 1);
    EXPECT_EQ(lib.file_in_library_path(), "");

    if (before)
        ::setenv("LD_LIBRARY_PATH", kept.c_str(), 1);
    else
        ::unsetenv("LD_LIBRARY_PATH");
    std::filesystem::remove_all(dir);
}
