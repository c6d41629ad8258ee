#include "platform/SingleInstance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "platform/Errors.h"
#include "tests/support/AsUnprivileged.h"
#include "tests/support/TempDir.h"

namespace {

using wh::TSingleInstanceGuard;
using wh::test::TTempDir;
namespace fs = std::filesystem;

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

TEST(SingleInstanceTest, SecondHolderIsRefusedWhileTheFirstHoldsTheLock) {
    TTempDir dir;
    const std::string lockFile = dir / "client.lock";
    {
        TSingleInstanceGuard guard, second;
        ASSERT_TRUE(guard.Acquire(lockFile));
        EXPECT_EQ(AcquireInChild(lockFile), kRefused);
        EXPECT_FALSE(second.Acquire(lockFile)); // in the same process too
    }
    EXPECT_EQ(AcquireInChild(lockFile), kAcquired);
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

struct TLockModeCase {
    const char* Name;
    mode_t Folder;
    mode_t Planted; // a lock file already there; 0: none
    bool PlantedByAnotherUser;
    mode_t Expected;
    std::string Refusal; // the end of the message; empty: acquired
};

// Only those who may write the folder can open its lock file, whatever the umask.
TEST(SingleInstanceTest, LockFileAdmitsOnlyThoseWhoMayWriteTheFolder) {
    const TLockModeCase cases[] = {
        {"fresh, private folder", 0700, 0, false, 0600, ""},
        {"fresh, group-shared folder", 02770, 0, false, 0660, ""},
        {"own old file, private folder", 0700, 0644, false, 0600, ""},
        {"own old file, group-shared folder", 0770, 0644, false, 0660, ""},
        {"another user's file open to others", 0770, 0644, true, 0644, "Other users can open it."},
        {"another user's file open to a group that may not write", 0750, 0660, true, 0660, "Other users can open it."},
        {"another group member's file", 0770, 0660, true, 0660, ""},
    };
    for (const TLockModeCase& c : cases) {
        if (c.PlantedByAnotherUser && ::geteuid() != 0)
            continue; // only root can give the file another owner
        TTempDir dir;
        const std::string lockFile = dir / "client.lock";
        wh::test::HandToUnprivileged(dir.Path());
        ASSERT_EQ(::chmod(dir.Path().c_str(), c.Folder), 0);
        if (c.Planted != 0) {
            wh::test::WriteFile(lockFile, "");
            ASSERT_EQ(::chmod(lockFile.c_str(), c.Planted), 0);
            wh::test::HandToUnprivileged(lockFile); // the folder's group, and perhaps root as owner
            ASSERT_EQ(c.PlantedByAnotherUser ? ::chown(lockFile.c_str(), 0, -1) : 0, 0);
        }
        wh::test::AsUnprivileged([&] {
            ::umask(077);
            try {
                EXPECT_TRUE(TSingleInstanceGuard().Acquire(lockFile)) << c.Name;
                EXPECT_EQ(c.Refusal, "") << c.Name << ": acquired";
            } catch (const wh::EFOpenError& e) {
                EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + lockFile + "\". " + c.Refusal) << c.Name;
            }
        });
        EXPECT_EQ(static_cast<mode_t>(fs::status(lockFile).permissions()), c.Expected) << c.Name;
    }
}

struct TRefusedLock {
    const char* Name;
    std::function<void(const std::string& lockFile)> Plant;
    std::string Reason; // the end of the message
};

// Whatever another user planted under the lock's name, the guard neither
// hangs nor follows it, and refuses to guard nothing.
TEST(SingleInstanceTest, LockFileThatCannotBeOpenedIsAnError) {
    const TRefusedLock cases[] = {
        {"FIFO", [](const std::string& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0666), 0); }, "It is not a regular file."},
        {"folder", [](const std::string& f) { fs::create_directory(f); }, "Is a directory"},
        {"link to a file",
         [](const std::string& f) {
             wh::test::WriteFile(f + ".target", "kept");
             fs::create_symlink(f + ".target", f);
         },
         "It is a symbolic link."},
        {"dangling link", [](const std::string& f) { fs::create_symlink(f + ".nowhere", f); },
         "It is a symbolic link."},
        {"folder is a file",
         [](const std::string& f) {
             fs::remove(fs::path(f).parent_path());
             wh::test::WriteFile(fs::path(f).parent_path(), "");
         },
         "Not a directory"},
        {"no access",
         [](const std::string& f) {
             wh::test::WriteFile(f, "");
             ::chmod(f.c_str(), 0);
         },
         "Permission denied"},
    };
    for (const TRefusedLock& c : cases) {
        TTempDir dir;
        const std::string lockFile = (dir.Path() / "sub" / "client.lock").string();
        fs::create_directory(dir.Path() / "sub");
        c.Plant(lockFile);
        // File modes hold back a user, not root.
        wh::test::AsUnprivileged([&] {
            TSingleInstanceGuard guard;
            try {
                guard.Acquire(lockFile);
                ADD_FAILURE() << c.Name << ": acquired";
            } catch (const wh::EFOpenError& e) {
                EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + lockFile + "\". " + c.Reason) << c.Name;
            }
        });
        if (fs::exists(lockFile + ".target")) {
            EXPECT_EQ(wh::test::ReadFile(lockFile + ".target"), "kept") << c.Name;
        }
    }
}

} // namespace
