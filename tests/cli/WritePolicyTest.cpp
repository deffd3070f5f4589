// What a write may replace, and how, checked on the real file system. The
// window's save goes through the same writer.
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "AtomicFile.h"
#include "CleanupOnSignal.h"
#include "CliTestSupport.h"
#include "Errors.h"
#include "FileIO.h"
#include "ProcessSetup.h"

namespace {

const std::vector<std::uint8_t> kNew{'n', 'e', 'w'};
constexpr uid_t kOtherUser = 12345;

struct stat StatOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

bool IsRoot() {
    return ::geteuid() == 0;
}

TEST(WritePolicyTest, OnlyRegularFilesAreReplaced) {
    const TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0666), 0);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = dir / "socket";
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    std::vector<std::string> specials{"fifo", "socket"};
    if (IsRoot()) {  // a private twin of /dev/null
        ASSERT_EQ(::mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        specials.push_back("null");
    }
    for (const std::string& name : specials) {
        SCOPED_TRACE(name);
        const mode_t type = StatOf(dir / name).st_mode & S_IFMT;
        EXPECT_EQ(RefusalOf([&] { WriteFileAtomically(dir / name, kNew); }),
                  "cannot write " + dir / name + ": not a regular file");
        EXPECT_EQ(StatOf(dir / name).st_mode & S_IFMT, type);
    }
    ::close(listener);
    std::filesystem::remove(dir / "socket");
    std::filesystem::remove(dir / "null");

    WriteText(dir / "locked", "keep");
    ASSERT_EQ(::chmod((dir / "locked").c_str(), 0444), 0);
    EXPECT_EQ(RefusalOf([&] { WriteFileAtomically(dir / "locked", kNew); }),
              "cannot write " + dir / "locked" + ": Permission denied")
        << "read-only binds root too";
    EXPECT_EQ(ReadText(dir / "locked"), "keep");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"fifo", "locked"}));
}

TEST(WritePolicyTest, ReplacedFileKeepsItsBitsLessSetIdAndItsOwner) {
    const TempDir dir;
    const std::string path = dir / "program";
    WriteText(path, "old");
    if (IsRoot()) {
        ASSERT_EQ(::chown(path.c_str(), kOtherUser, kOtherUser), 0);
    }
    ASSERT_EQ(::chmod(path.c_str(), 07755), 0);
    WriteFileAtomically(path, kNew);
    const struct stat replaced = StatOf(path);
    EXPECT_EQ(replaced.st_mode & 07777, 0755U);
    if (IsRoot()) {
        EXPECT_EQ(replaced.st_uid, kOtherUser);
        EXPECT_EQ(replaced.st_gid, kOtherUser);
    }

    // While it is written, the copy of a private file is as private.
    WriteText(dir / "private", "secret");
    ASSERT_EQ(::chmod((dir / "private").c_str(), 0600), 0);
    const mode_t previousMask = ::umask(0);
    {
        AtomicFile file;
        std::string reason;
        ASSERT_TRUE(file.Open(dir / "private", reason)) << reason;
        const std::vector<std::string> names = dir.Names();
        ASSERT_EQ(names.size(), 3U);
        EXPECT_EQ(names[0].rfind(".private.", 0), 0U);
        EXPECT_EQ(StatOf(dir / names[0]).st_mode & 07777, 0600U);
    }
    // A new file gets 0666 less the umask.
    ::umask(027);
    WriteFileAtomically(dir / "fresh", kNew);
    EXPECT_EQ(StatOf(dir / "fresh").st_mode & 07777, 0640U);
    ::umask(previousMask);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"fresh", "private", "program"}));
}

TEST(WritePolicyTest, LinksAreFollowedUnlessPlantedInASharedFolder) {
    const TempDir dir;
    std::filesystem::create_directory(dir / "pictures");
    WriteText(dir / "pictures/real.bmp", "old");
    std::filesystem::create_symlink("pictures/real.bmp", dir / "link.bmp");
    std::filesystem::create_symlink("link.bmp", dir / "chain.bmp");
    WriteFileAtomically(dir / "chain.bmp", kNew);
    EXPECT_EQ(ReadText(dir / "pictures/real.bmp"), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.bmp"));
    std::filesystem::create_symlink("pictures/new.bmp", dir / "dangling.bmp");
    WriteFileAtomically(dir / "dangling.bmp", kNew);
    EXPECT_EQ(ReadText(dir / "pictures/new.bmp"), "new");
    EXPECT_EQ(dir.Names(),
              (std::vector<std::string>{"chain.bmp", "dangling.bmp", "link.bmp", "pictures"}));

    if (!IsRoot()) {
        GTEST_SKIP() << "planting another user's link needs root";
    }
    // Like /tmp: sticky and writable by all, owned by us.
    const std::string shared = dir / "shared";
    std::filesystem::create_directory(shared);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    WriteText(dir / "passwd", "root:x:0:0");
    const std::string planted = shared + "/out.bmp";
    std::filesystem::create_symlink(dir / "passwd", planted);
    ASSERT_EQ(::lchown(planted.c_str(), kOtherUser, kOtherUser), 0);
    EXPECT_EQ(RefusalOf([&] { WriteFileAtomically(planted, kNew); }),
              "cannot write " + planted +
                  ": a symbolic link in a shared folder, made by someone else; it is not followed");
    EXPECT_EQ(ReadText(dir / "passwd"), "root:x:0:0");

    // The folder's owner may link, as the kernel allows.
    ASSERT_EQ(::lchown(planted.c_str(), 0, 0), 0);
    WriteFileAtomically(planted, kNew);
    EXPECT_EQ(ReadText(dir / "passwd"), "new");
}

// A folder the caller may write does not make its files theirs to replace:
// that would hand them another user's file, owner and all.
TEST(WritePolicyTest, AFileTheCallerMayNotWriteIsNotReplaced) {
    if (!IsRoot()) {
        GTEST_SKIP() << "a folder of another user's with a file of root's in it needs root";
    }
    const passwd* nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    const TempDir dir;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    const std::string folder = dir / "nobodys";
    std::filesystem::create_directory(folder);
    ASSERT_EQ(::chown(folder.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    const std::string target = folder + "/root.bmp";
    WriteText(target, "root's");
    ASSERT_EQ(::chmod(target.c_str(), 0644), 0);

    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 ||
            ::setuid(nobody->pw_uid) != 0) {
            ::_exit(2);
        }
        const std::string refusal = RefusalOf([&] { WriteFileAtomically(target, kNew); });
        ::_exit(refusal == "cannot write " + target + ": Permission denied" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadText(target), "root's");
    EXPECT_EQ(StatOf(target).st_uid, 0U);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

// A signal that ends the process while the temporary file is half written
// takes the temporary with it, and the process still dies of that signal.
TEST(WritePolicyTest, FatalSignalsLeaveNoTemporaryFile) {
    for (const int signal : kFatalSignals) {
        SCOPED_TRACE(signal);
        const TempDir dir;
        WriteText(dir / "out.bmp", "old");
        const pid_t child = ::fork();
        if (child == 0) {
            SetUpProcess();
            InstallCleanupHandlers();
            AtomicFile file;
            std::string reason;
            if (file.Open(dir / "out.bmp", reason) && file.Fill(kNew, reason)) {
                ::raise(signal);
            }
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.bmp"});
        EXPECT_EQ(ReadText(dir / "out.bmp"), "old");
    }
}

}  // namespace
