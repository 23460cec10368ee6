#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/files/exclusive_file.h"
#include "temp_dir.h"

namespace files {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const fs::path& p, const std::string& s) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << s;
}

TEST(ExclusiveFile, OpenExistingNeedsTheFileCreateAlwaysMakesIt) {
    TempDir dir;
    const fs::path p = dir.path() / "f.dat";
    ExclusiveFile missing = ExclusiveFile::open(p, Disposition::OpenExisting);
    EXPECT_FALSE(missing.valid());
    EXPECT_EQ(missing.error(), ENOENT);
    EXPECT_FALSE(fs::exists(p));

    ExclusiveFile created = ExclusiveFile::open(p, Disposition::CreateAlways);
    ASSERT_TRUE(created.valid());
    EXPECT_EQ(created.write("hello", 5), 5u);
    created.close();
    EXPECT_EQ(contents(p), "hello");
}

TEST(ExclusiveFile, SeekReadWriteTouchOnlyTheirBytes) {
    TempDir dir;
    const fs::path p = dir.path() / "f.dat";
    put(p, "0123456789");
    ExclusiveFile f = ExclusiveFile::open(p, Disposition::OpenExisting);
    ASSERT_TRUE(f.valid());
    EXPECT_EQ(f.size(), 10);
    ASSERT_TRUE(f.seek(4));
    EXPECT_EQ(f.write("AB", 2), 2u);
    ASSERT_TRUE(f.seek(8));
    char buf[8] = {};
    EXPECT_EQ(f.read(buf, sizeof buf), 2u);  // short read at the end
    EXPECT_EQ(std::string(buf, 2), "89");
    EXPECT_FALSE(f.seek(-1));
    f.close();
    EXPECT_EQ(contents(p), "0123AB6789");
    EXPECT_EQ(f.read(buf, 1), 0u);  // closed
}

TEST(ExclusiveFile, SecondOpenFailsWhileHeldAndSucceedsAfter) {
    TempDir dir;
    const fs::path p = dir.path() / "f.dat";
    put(p, "keep me");
    {
        ExclusiveFile holder = ExclusiveFile::open(p, Disposition::OpenExisting);
        ASSERT_TRUE(holder.valid());
        EXPECT_FALSE(ExclusiveFile::open(p, Disposition::OpenExisting).valid());
        // The create step must not empty a file somebody else holds.
        ExclusiveFile again = ExclusiveFile::open(p, Disposition::CreateAlways);
        EXPECT_FALSE(again.valid());
        EXPECT_EQ(again.error(), EWOULDBLOCK);
        EXPECT_EQ(contents(p), "keep me");

        // Another process is refused the same way.
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            _exit(ExclusiveFile::open(p, Disposition::OpenExisting).valid() ? 1 : 0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

        // A moved-to handle still holds the lock; the moved-from one is empty.
        ExclusiveFile moved = std::move(holder);
        EXPECT_FALSE(holder.valid());
        EXPECT_TRUE(moved.valid());
        EXPECT_FALSE(ExclusiveFile::open(p, Disposition::OpenExisting).valid());
    }
    EXPECT_TRUE(ExclusiveFile::open(p, Disposition::OpenExisting).valid());
}

TEST(ExclusiveFile, ReadOnlyFileIsNeitherOpenedNorEmptied) {
    TempDir dir;
    const fs::path p = dir.path() / "f.dat";
    put(p, "read only");
    fs::permissions(p, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(ExclusiveFile::open(p, Disposition::OpenExisting).valid());
    const ExclusiveFile create = ExclusiveFile::open(p, Disposition::CreateAlways);
    EXPECT_FALSE(create.valid());
    EXPECT_EQ(create.error(), EACCES);
    EXPECT_EQ(contents(p), "read only");
}

TEST(ExclusiveFile, CreateAlwaysEmptiesAFileNobodyHolds) {
    TempDir dir;
    const fs::path p = dir.path() / "f.dat";
    put(p, "old contents");
    ExclusiveFile f = ExclusiveFile::open(p, Disposition::CreateAlways);
    ASSERT_TRUE(f.valid());
    EXPECT_EQ(f.size(), 0);
}

TEST(ExclusiveFile, DirectoriesAndMissingFoldersFail) {
    TempDir dir;
    EXPECT_FALSE(ExclusiveFile::open(dir.path(), Disposition::OpenExisting).valid());
    EXPECT_FALSE(
        ExclusiveFile::open(dir.path() / "no" / "f.dat", Disposition::CreateAlways).valid());
}

}  // namespace
}  // namespace files
