#include "FileIO.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "CliTestSupport.h"
#include "Errors.h"

namespace {

const std::vector<std::uint8_t> kNew{'n', 'e', 'w'};

TEST(FileIOTest, AtomicWriteReplacesContentAndKeepsPermissions) {
    const TempDir dir;
    const std::string path = dir / "out.bmp";
    WriteText(path, "old content, longer");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    WriteFileAtomically(path, kNew);

    EXPECT_EQ(ReadText(path), "new");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640U);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.bmp"});
}

TEST(FileIOTest, FailedWriteLeavesNothingBehind) {
    const TempDir dir;
    std::filesystem::create_directories(dir / "taken/inside");  // rename over it fails
    EXPECT_NE(RefusalOf([&] { WriteFileAtomically(dir / "taken", kNew); }), "no refusal");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"taken"});

    EXPECT_EQ(RefusalOf([&] { WriteFileAtomically(dir / "no/out.bmp", kNew); }),
              "cannot write " + dir / "no/out.bmp" + ": No such file or directory");
}

TEST(FileIOTest, UnwritableFolderIsRefused) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "folder permissions do not bind root";
    }
    const TempDir dir;
    std::filesystem::create_directory(dir / "locked");
    WriteText(dir / "locked/out.bmp", "keep");
    ASSERT_EQ(::chmod((dir / "locked").c_str(), 0555), 0);
    EXPECT_EQ(RefusalOf([&] { WriteFileAtomically(dir / "locked/out.bmp", kNew); }),
              "cannot write " + dir / "locked/out.bmp" + ": Permission denied");
    EXPECT_EQ(ReadText(dir / "locked/out.bmp"), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "locked"), {}), 1);
    ::chmod((dir / "locked").c_str(), 0755);
}

}  // namespace
