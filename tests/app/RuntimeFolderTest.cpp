#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "RuntimeFolder.h"

namespace {
namespace fs = std::filesystem;

// Both places a program finds its run-time files, laid out on the real file
// system: its build tree, and an installed prefix.
TEST(RuntimeFolderTest, BesideTheProgramInTheBuildTreeElseTheInstalledDataFolder) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const fs::path top = root.path().toStdString();

    const fs::path build = top / "build" / "bin";
    fs::create_directories(build / "res");
    EXPECT_EQ(FindRuntimeFolder(build), build / "res");

    const fs::path prefix = top / "prefix";
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share" / "veilnote");
    const fs::path found = FindRuntimeFolder(prefix / "bin");
    EXPECT_EQ(found, prefix / "share" / "veilnote");
    EXPECT_TRUE(fs::equivalent(found, prefix / "share" / "veilnote"));

    // A file named res is no folder of run-time files.
    const fs::path odd = top / "odd" / "bin";
    fs::create_directories(odd);
    { std::ofstream(odd / "res") << "not a folder"; }
    EXPECT_EQ(FindRuntimeFolder(odd), top / "odd" / "share" / "veilnote");
}
}  // namespace
