#include "platform/SingleInstance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/TempDir.h"

namespace {

using wh::TSingleInstanceGuard;
using wh::test::TTempDir;

// Exit codes of a child that tries to start as a second copy.
constexpr int kAcquired = 10;
constexpr int kRefused = 20;

// Runs Acquire in a separate process, as a second copy of the program would.
int AcquireInChild(const std::string& lockFile) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        TSingleInstanceGuard guard;
        ::_exit(guard.Acquire(lockFile) ? kAcquired : kRefused);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SingleInstanceTest, SecondProcessIsRefusedWhileTheFirstHoldsTheLock) {
    TTempDir dir;
    const std::string lockFile = dir / "client.lock";
    {
        TSingleInstanceGuard guard;
        ASSERT_TRUE(guard.Acquire(lockFile));
        EXPECT_EQ(AcquireInChild(lockFile), kRefused);
    }
    EXPECT_EQ(AcquireInChild(lockFile), kAcquired);
}

TEST(SingleInstanceTest, SecondGuardInTheSameProcessIsRefused) {
    TTempDir dir;
    const std::string lockFile = dir / "client.lock";
    TSingleInstanceGuard first;
    TSingleInstanceGuard second;
    ASSERT_TRUE(first.Acquire(lockFile));
    EXPECT_FALSE(second.Acquire(lockFile));
}

TEST(SingleInstanceTest, AKilledHolderLeavesTheLockFree) {
    TTempDir dir;
    const std::string lockFile = dir / "client.lock";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        TSingleInstanceGuard guard;
        const char held = guard.Acquire(lockFile) ? 'y' : 'n';
        (void)!::write(ready[1], &held, 1);
        while (true)
            ::pause();
    }
    ::close(ready[1]);
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(held, 'y');

    TSingleInstanceGuard whileHeld;
    EXPECT_FALSE(whileHeld.Acquire(lockFile));

    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    TSingleInstanceGuard afterCrash;
    EXPECT_TRUE(afterCrash.Acquire(lockFile));
}

TEST(SingleInstanceTest, LockFileIsOpenToEveryUser) {
    TTempDir dir;
    const std::string lockFile = dir / "client.lock";
    const mode_t previous = ::umask(077);
    TSingleInstanceGuard guard;
    const bool acquired = guard.Acquire(lockFile);
    ::umask(previous);
    ASSERT_TRUE(acquired);
    struct stat st;
    ASSERT_EQ(::stat(lockFile.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u);
}

TEST(SingleInstanceTest, ReadOnlyLockFileStillGuards) {
    TTempDir dir;
    const std::string lockFile = dir / "client.lock";
    wh::test::WriteFile(lockFile, "");
    ASSERT_EQ(::chmod(lockFile.c_str(), 0444), 0);
    TSingleInstanceGuard guard;
    ASSERT_TRUE(guard.Acquire(lockFile));
    EXPECT_EQ(AcquireInChild(lockFile), kRefused);
}

TEST(SingleInstanceTest, UnopenableLockFileDoesNotStopTheProgram) {
    TTempDir dir;
    // The lock file's folder is a regular file: no one can open it, root included.
    wh::test::WriteFile(dir / "not-a-folder", "");
    const std::string lockFile = dir / "not-a-folder/client.lock";
    TSingleInstanceGuard guard;
    EXPECT_TRUE(guard.Acquire(lockFile));
    EXPECT_EQ(AcquireInChild(lockFile), kAcquired);
}

} // namespace
