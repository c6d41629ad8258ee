// An install killed at any moment: a forked child installs and is killed at
// a chosen step; the parent then finds no livery that shows installed and
// current without its section, and a second install repairs it.

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdarg>
#include <filesystem>
#include <functional>

#include "files/InstallRecord.h"
#include "install/CfgSections.h"
#include "install/Deinstaller.h"
#include "platform/Paths.h"
#include "tests/install/InstallFixture.h"

namespace {

// Every file of the install takes its place by a rename: counting them gives
// kill points between any two writes, extracted entries and aircraft.cfg included.
int GRenames = 0;
int GKillBeforeRename = 0;
int GKillAfterRename = 0;
// Zapping empties an archive copy in place: a kill point after each truncation.
int GTruncations = 0;
int GKillAfterTruncation = 0;

} // namespace

extern "C" int renameat(int oldFolder, const char* oldName, int newFolder, const char* newName) {
    using TRename = int (*)(int, const char*, int, const char*);
    static const auto real = reinterpret_cast<TRename>(::dlsym(RTLD_NEXT, "renameat"));
    const int n = ++GRenames;
    if (n == GKillBeforeRename)
        ::raise(SIGKILL);
    const int result = real(oldFolder, oldName, newFolder, newName);
    if (n == GKillAfterRename)
        ::raise(SIGKILL);
    return result;
}

extern "C" int open(const char* path, int flags, ...) {
    using TOpen = int (*)(const char*, int, ...);
    static const auto real = reinterpret_cast<TOpen>(::dlsym(RTLD_NEXT, "open"));
    va_list rest;
    va_start(rest, flags);
    const mode_t mode = (flags & O_CREAT) ? static_cast<mode_t>(va_arg(rest, int)) : 0;
    va_end(rest);
    const int result = real(path, flags, mode);
    if ((flags & O_TRUNC) && ++GTruncations == GKillAfterTruncation)
        ::raise(SIGKILL);
    return result;
}

namespace wh::test {
namespace {

namespace fs = std::filesystem;

struct TKillPoint {
    int Pump = 0; // the Nth message pump (status lines, indicator steps)
    int BeforeRename = 0;
    int AfterRename = 0;
    int AfterTruncation = 0;
};

class InstallKillTest : public TInstallFixture {
protected:
    void Fresh() {
        fs::remove_all(Root.Path() / "FS2002/aircraft/a320");
        fs::remove_all(OsPath(Work("a320")));
        WritePackage({{"A"}});
        MakeRows();
    }

    // Runs the install (or the work given) in a child killed at the point;
    // false when it was not.
    bool InstallKilledAt(const TKillPoint& point, const std::function<void()>& work = {}) {
        const pid_t child = ::fork();
        if (child == 0) {
            int pumps = 0;
            Activity.OnPump = [&] {
                if (++pumps == point.Pump)
                    ::raise(SIGKILL);
            };
            GRenames = 0;
            GKillBeforeRename = point.BeforeRename;
            GKillAfterRename = point.AfterRename;
            GTruncations = 0;
            GKillAfterTruncation = point.AfterTruncation;
            try {
                work ? work() : (void)Install();
            } catch (...) {
                ::_exit(2);
            }
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

    // What the user would see now must not claim more than the disk holds.
    void ExpectNoFalseRecord(const std::string& where) {
        MakeRows();
        const TWHAircraft& a = Rows.Records[0];
        if (a.Installed && a.State == asNone) {
            ASSERT_TRUE(FileExists(Cfg())) << where;
            EXPECT_NE(FindLiverySection(Cfg(), "texture", "A"), "") << where;
            EXPECT_EQ(CfgLinesEqualTo("ui_manufacturer=Wingharbour"), 1) << where;
        }
        const std::string base = Work("a320\\base.zip");
        const TPackedDateTime age = FileAge(base);
        if (age != -1 && !IsPendingInstallAge(age) && age >= CatalogueAge && DirectoryExists(Sim("a320"))) {
            EXPECT_TRUE(FileExists(Sim("a320\\model\\a320.mdl"))) << where;
        }
    }

    void ExpectRepairedBySecondInstall(const std::string& where) {
        MakeRows();
        if (Rows.Records[0].State != asNone) {
            ASSERT_TRUE(Install()) << where;
        }
        EXPECT_TRUE(Rows.Records[0].Installed) << where;
        EXPECT_EQ(Rows.Records[0].State, asNone) << where;
        EXPECT_EQ(CfgLinesEqualTo("texture=A"), 1) << where;
        EXPECT_EQ(CfgLinesEqualTo("[fltsim.0]"), 1) << where;
        EXPECT_EQ(CfgLinesEqualTo("[fltsim.1]"), 1) << where;
        EXPECT_EQ(CfgLinesEqualTo("ui_manufacturer=Wingharbour"), 1) << where;
        EXPECT_TRUE(FileExists(Sim("a320\\model\\a320.mdl"))) << where;
    }
};

TEST_F(InstallKillTest, KilledAnywhereLeavesNoCurrentLiveryWithoutItsSection) {
    Options.FakeManufacturer = true;
    // One whole install, counted, to know where the kill points lie.
    Fresh();
    int pumps = 0;
    Activity.OnPump = [&] { ++pumps; };
    GRenames = 0;
    GTruncations = 0;
    ASSERT_TRUE(Install());
    const int renames = GRenames;
    const int truncations = GTruncations;
    Activity.OnPump = nullptr;
    ASSERT_GT(renames, 5);     // two fetches, the entries, aircraft.cfg twice
    ASSERT_GE(truncations, 2); // base.zip and the livery's archive zapped

    std::vector<TKillPoint> points;
    for (int n = 1; n <= renames; ++n) {
        points.push_back({.BeforeRename = n});
        points.push_back({.AfterRename = n});
    }
    for (int n = 1; n <= truncations; ++n)
        points.push_back({.AfterTruncation = n});
    for (int n = 1; n <= pumps; n += std::max(1, pumps / 8))
        points.push_back({.Pump = n});

    for (const auto& point : points) {
        const std::string where = "pump " + std::to_string(point.Pump) + ", before rename " +
                                  std::to_string(point.BeforeRename) + ", after rename " +
                                  std::to_string(point.AfterRename) + ", after truncation " +
                                  std::to_string(point.AfterTruncation);
        Fresh();
        ASSERT_TRUE(InstallKilledAt(point)) << where;
        ExpectNoFalseRecord(where);
        ExpectRepairedBySecondInstall(where);
    }
}

// The simulator reads fltsim.0, fltsim.1, ... up to the first gap: a kill
// in a deinstall must never leave one.
TEST_F(InstallKillTest, KilledDeinstallLeavesTheSectionNumbersWithoutAGap) {
    const auto headers = [&] {
        std::vector<std::string> found;
        for (const auto& line : LoadLines(Cfg()))
            if (line.starts_with("[fltsim."))
                found.push_back(line);
        return found;
    };
    for (int rename = 1; rename <= 2; ++rename) {
        for (const bool after : {false, true}) {
            SCOPED_TRACE(std::to_string(rename) + (after ? " after" : " before"));
            Fresh();
            WritePackage({{"A"}, {"B"}});
            MakeRows();
            ASSERT_TRUE(Install());
            const TWHDeinstallPlaces places{Options.FSDir, Options.WorkingDir};
            const bool killed = InstallKilledAt({.BeforeRename = after ? 0 : rename, .AfterRename = after ? rename : 0},
                                                [&] { DeinstallAircraft(Rows.Records[0], places); });
            const std::vector<std::string> left = headers();
            EXPECT_TRUE(left.size() == 2 || left.size() == 3) << killed;
            for (std::size_t n = 0; n < left.size(); ++n)
                EXPECT_EQ(left[n], "[fltsim." + std::to_string(n) + "]");
        }
    }
}

} // namespace
} // namespace wh::test
