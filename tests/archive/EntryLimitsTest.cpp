#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "archive/UnZip32.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/NamedCases.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipBuilder.h"

namespace {

using wh::test::PrintTo;
using wh::test::TTempDir;
using wh::test::TZipEntry;
namespace fs = std::filesystem;

std::string Deep(std::size_t levels, const std::string& leaf) {
    std::string name;
    for (std::size_t i = 0; i < levels; ++i)
        name += "d/";
    return name + leaf;
}

std::string GMessages;
int Print(char* buffer, unsigned long size) {
    GMessages.append(buffer, size);
    return static_cast<int>(size);
}

// What one extraction in a child process came to.
struct TOutcome {
    int Code = -1;
    long PeakKilobytes = 0;
    std::string Messages;
};

// The process's peak resident size since the last reset, in kilobytes.
long PeakResident() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// Runs the extraction in a child, so that the limits set for it end with it
// and its peak memory is measured from its start.
TOutcome ExtractInChild(const std::string& zip, const std::string& dir, rlim_t openFiles, rlim_t fileSize) {
    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (openFiles) {
            const rlimit limit{openFiles, openFiles};
            ::setrlimit(RLIMIT_NOFILE, &limit);
        }
        std::optional<wh::test::TFileSizeLimit> sizeLimit;
        if (fileSize)
            sizeLimit.emplace(fileSize);
        ::malloc_trim(0);                              // what the test process freed does not count
        std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts anew
        wh::DCL options{};
        options.ndflag = 1;
        options.noflag = 1;
        options.lpszZipFN = zip.c_str();
        options.lpszExtractDir = dir.c_str();
        wh::USERFUNCTIONS functions{};
        functions.print = Print;
        int head[2] = {wh::Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, &options, &functions), 0};
        head[1] = static_cast<int>(PeakResident());
        [[maybe_unused]] auto written = ::write(channel[1], head, sizeof head);
        written = ::write(channel[1], GMessages.data(), GMessages.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    TOutcome outcome;
    int head[2] = {-1, -1};
    if (::read(channel[0], head, sizeof head) == static_cast<ssize_t>(sizeof head)) {
        outcome.Code = head[0];
        outcome.PeakKilobytes = head[1];
    }
    char buffer[4096];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        outcome.Messages.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return outcome;
}

// Without the path limits of fs::exists: a name too long simply is not there.
bool Exists(const fs::path& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

struct TLimitCase {
    const char* Name;
    std::vector<TZipEntry> Entries;
    std::vector<std::string> Existing; // folders in the target before
    rlim_t OpenFiles;                  // 0: as inherited
    rlim_t FileSize;                   // 0: as inherited
    int Code;
    std::string Said;                 // part of the first error line
    std::vector<std::string> Present; // relative to the target, after
    std::vector<std::string> Absent;
    // An entry "<long folders>/f" is added whose path in the target is this
    // far from the path limit.
    std::optional<int> FromPathLimit = std::nullopt;
};

// Folder names of up to 200 bytes and a file "f", so that the target's path
// of the entry comes to length bytes in all.
std::string EntryOfLength(std::size_t rootLength, std::size_t length) {
    std::size_t left = length - rootLength - 2; // "/f"
    std::string name;
    while (left > 0) {
        const std::size_t part = std::min<std::size_t>(left - 1, 200);
        name += std::string(part, 'p') + "/";
        left -= part + 1;
    }
    return name + "f";
}

class EntryLimitsTest : public ::testing::TestWithParam<TLimitCase> {};

TEST_P(EntryLimitsTest, StaysWithinMemoryAndLeavesNoFoldersOfAFailedEntry) {
    const TLimitCase& c = GetParam();
    TTempDir temp;
    const std::string zip = temp / "deep.zip";
    wh::test::BuildZip(zip, c.Entries);
    const fs::path target = temp.Path() / "target";
    fs::create_directories(target);
    for (const auto& folder : c.Existing)
        fs::create_directories(target / folder);

    std::vector<TZipEntry> entries = c.Entries;
    std::string filled;
    if (c.FromPathLimit) {
        filled = EntryOfLength(target.string().size(), static_cast<std::size_t>(PATH_MAX + *c.FromPathLimit));
        entries.push_back({filled, "f"});
        wh::test::BuildZip(zip, entries);
    }
    const TOutcome outcome = ExtractInChild(zip, target.string(), c.OpenFiles, c.FileSize);
    const std::string shown = outcome.Messages.substr(0, 300);
    EXPECT_EQ(outcome.Code, c.Code) << shown;
    EXPECT_GT(outcome.PeakKilobytes, 0);
    EXPECT_LT(outcome.PeakKilobytes, 100 * 1024);
    const auto error = outcome.Messages.find("error:");
    if (c.Said.empty())
        EXPECT_EQ(error, std::string::npos) << shown;
    else
        EXPECT_NE(outcome.Messages.find(c.Said, error), std::string::npos) << shown;
    for (const auto& name : c.Present)
        EXPECT_TRUE(Exists(target / name)) << name.substr(0, 80);
    for (const auto& name : c.Absent)
        EXPECT_FALSE(Exists(target / name)) << name.substr(0, 80);
    if (c.FromPathLimit) {
        EXPECT_EQ(Exists(target / filled), c.Code == wh::PK_OK);
    }
    if (c.FromPathLimit && c.Code != wh::PK_OK) {
        EXPECT_FALSE(Exists(target / "p"));
    }
}

const std::string kLongName(NAME_MAX + 1, 'n');
// Deeper than the descriptors the cases allow.
constexpr std::size_t kDeep = 200;

INSTANTIATE_TEST_SUITE_P(
    Shapes, EntryLimitsTest,
    ::testing::Values(TLimitCase{"NineThousandFoldersDeep",
                                 {{Deep(9000, "f.txt"), "x"}, {"next.txt", "n"}},
                                 {},
                                 0,
                                 0,
                                 wh::PK_ERR,
                                 "f.txt:  path too long for the file system, entry skipped",
                                 {"next.txt"},
                                 {"d"}},
                      TLimitCase{"DeepFolderEntry",
                                 {{Deep(9000, ""), ""}},
                                 {},
                                 0,
                                 0,
                                 wh::PK_ERR,
                                 "path too long for the file system",
                                 {},
                                 {"d"}},
                      TLimitCase{"NameLongerThanTheFileSystemTakes",
                                 {{"a/b/" + kLongName, "x"}},
                                 {},
                                 0,
                                 0,
                                 wh::PK_ERR,
                                 kLongName + ":  name too long for the file system, entry skipped",
                                 {},
                                 {"a"}},
                      TLimitCase{"LongFolderName",
                                 {{"a/" + kLongName + "/f", "x"}},
                                 {"a"},
                                 0,
                                 0,
                                 wh::PK_ERR,
                                 "name too long for the file system",
                                 {"a"},
                                 {"a/" + kLongName}},
                      TLimitCase{"DeeperThanTheDescriptorLimit",
                                 {{Deep(kDeep, "f.txt"), "x"}},
                                 {},
                                 32,
                                 0,
                                 wh::PK_OK,
                                 "",
                                 {Deep(kDeep, "f.txt")},
                                 {}},
                      TLimitCase{"FailedWriteRemovesItsNewFolders",
                                 {{"keep/one.txt", "1"}, {"keep/x/y/z/big.bin", std::string(1 << 20, 'b')}},
                                 {},
                                 0,
                                 64 * 1024,
                                 wh::PK_DISK,
                                 "big.bin",
                                 {"keep/one.txt"},
                                 {"keep/x"}},
                      TLimitCase{"FailedDeepWriteRemovesEveryNewLevel",
                                 {{Deep(kDeep, "big.bin"), std::string(1 << 20, 'b')}},
                                 {"d/d"},
                                 32,
                                 64 * 1024,
                                 wh::PK_DISK,
                                 "big.bin",
                                 {"d/d"},
                                 {"d/d/d"}},
                      TLimitCase{"JustWithinThePathLimit", {}, {}, 0, 0, wh::PK_OK, "", {}, {}, -1},
                      TLimitCase{
                          "AtThePathLimit", {}, {}, 0, 0, wh::PK_ERR, "path too long for the file system", {}, {}, 0},
                      TLimitCase{"FoldersOfALandedEntryStay",
                                 {{"p/q/", ""}, {"p/q/r/s.txt", "s"}},
                                 {},
                                 0,
                                 0,
                                 wh::PK_OK,
                                 "",
                                 {"p/q/r/s.txt"},
                                 {}}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
