#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>

#include "platform/DirectoryListings.h"
#include "platform/Paths.h"
#include "tests/support/TempDir.h"

namespace {

using wh::TDirectoryListings;
using wh::test::TTempDir;
using wh::test::WriteFile;
namespace fs = std::filesystem;

// Puts a folder's last-write time back, so that a listing read now is past
// the window in which a change could share the folder's time stamp.
timespec AgeFolder(const fs::path& folder, int seconds, bool wholeSeconds = false) {
    timespec times[2]{};
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = std::time(nullptr) - seconds;
    times[1].tv_nsec = wholeSeconds ? 0 : 123'456'789;
    EXPECT_EQ(::utimensat(AT_FDCWD, folder.c_str(), times, 0), 0) << folder;
    return times[1];
}

// Sets the last-write time to exactly the one given: only the change time
// then tells that the folder changed.
void RestoreModified(const fs::path& folder, const timespec& modified) {
    timespec times[2]{};
    times[0].tv_nsec = UTIME_OMIT;
    times[1] = modified;
    ASSERT_EQ(::utimensat(AT_FDCWD, folder.c_str(), times, 0), 0) << folder;
}

std::string Folder(const fs::path& path) { return path.string() + "/"; }

struct TChangeCase {
    const char* Name;
    std::vector<std::string> Entries;
    std::string Asked;
    std::function<void(const fs::path&)> Change;
    std::string Before, After;
};

TEST(DirectoryListingsTest, TrustedListingSeesEveryChangeOfTheFolder) {
    const std::vector<TChangeCase> cases = {
        {"entry created",
         {"other"},
         "TEXTURE.A",
         [](const fs::path& f) { WriteFile(f / "texture.a", ""); },
         "",
         "texture.a"},
        {"entry removed",
         {"texture.a"},
         "Texture.A",
         [](const fs::path& f) { fs::remove(f / "texture.a"); },
         "texture.a",
         ""},
        {"entry renamed to another case",
         {"Texture.A"},
         "texture.a",
         [](const fs::path& f) { fs::rename(f / "Texture.A", f / "TEXTURE.a"); },
         "Texture.A",
         "TEXTURE.a"},
        {"entry replaced by another spelling",
         {"texture.a"},
         "TEXTURE.A",
         [](const fs::path& f) {
             fs::remove(f / "texture.a");
             fs::create_directory(f / "Texture.A");
         },
         "texture.a",
         "Texture.A"},
        {"second spelling added below the first",
         {"texture.a"},
         "TEXTURE.A",
         [](const fs::path& f) { WriteFile(f / "Texture.a", ""); },
         "texture.a",
         "Texture.a"},
    };
    for (const bool sameModified : {false, true}) {
        for (const auto& c : cases) {
            const std::string label = std::string(c.Name) + (sameModified ? ", same last-write time" : "");
            TTempDir dir;
            const fs::path folder = dir.Path() / "f";
            fs::create_directory(folder);
            for (const auto& entry : c.Entries)
                WriteFile(folder / entry, "");
            const timespec aged = AgeFolder(folder, 10);

            TDirectoryListings listings(8);
            EXPECT_EQ(listings.Find(Folder(folder), c.Asked), c.Before) << label;
            EXPECT_EQ(listings.Find(Folder(folder), c.Asked), c.Before) << label;
            EXPECT_EQ(listings.Reads(), 1u) << label << ": a trusted listing is asked again without a scan";

            c.Change(folder);
            if (sameModified)
                RestoreModified(folder, aged);
            EXPECT_EQ(listings.Find(Folder(folder), c.Asked), c.After) << label;
            EXPECT_EQ(listings.Reads(), 2u) << label;
        }
    }
}

TEST(DirectoryListingsTest, FolderReplacedUnderTheSamePathIsReadAnew) {
    TTempDir dir;
    const fs::path folder = dir.Path() / "pkg";
    WriteFile(folder / "A.ZIP", "");
    const timespec aged = AgeFolder(folder, 10);
    TDirectoryListings listings(8);
    std::string entry;
    EXPECT_EQ(listings.Find(Folder(folder), "a.zip"), "A.ZIP");
    EXPECT_EQ(listings.Lookup(Folder(folder), "a.zip", entry), TDirectoryListings::TAnswer::Found);
    EXPECT_EQ(entry, "A.ZIP");

    fs::remove_all(folder);
    WriteFile(folder / "a.Zip", "");
    RestoreModified(folder, aged);
    EXPECT_EQ(listings.Lookup(Folder(folder), "a.zip", entry), TDirectoryListings::TAnswer::Unknown);
    EXPECT_EQ(listings.Find(Folder(folder), "a.zip"), "a.Zip");
}

// A folder changed within the clock tick of its last change may keep every
// time stamp: a listing read in that tick is read again until the tick is over.
TEST(DirectoryListingsTest, EntryCreatedRightAfterAMissIsFound) {
    TTempDir dir;
    const fs::path folder = dir.Path() / "f";
    fs::create_directory(folder);
    WriteFile(folder / "first", "");
    TDirectoryListings listings(8);
    EXPECT_EQ(listings.Find(Folder(folder), "NEW"), "");
    struct stat before {};
    ::stat(folder.c_str(), &before);
    WriteFile(folder / "new", "");
    struct stat after {};
    ::stat(folder.c_str(), &after);
    EXPECT_EQ(listings.Find(Folder(folder), "NEW"), "new");
    std::string entry;
    EXPECT_NE(listings.Lookup(Folder(folder), "NEW", entry), TDirectoryListings::TAnswer::Absent);
    if (before.st_mtim.tv_nsec != after.st_mtim.tv_nsec || before.st_ctim.tv_nsec != after.st_ctim.tv_nsec)
        std::printf("note: a clock tick passed between the steps; the time stamps moved\n");

    // The same through the path lookup the program uses.
    const std::string asked = Folder(folder) + "LATER.TXT";
    EXPECT_EQ(wh::OsPath(asked).string(), asked);
    EXPECT_FALSE(wh::FileExists(asked));
    WriteFile(folder / "later.txt", "");
    EXPECT_EQ(wh::OsPath(asked).string(), Folder(folder) + "later.txt");
    EXPECT_TRUE(wh::FileExists(asked));
}

struct TWindowCase {
    const char* Name;
    int Age;           // seconds the last-write time is put back; below 0, ahead of the clock
    bool WholeSeconds; // a stamp as file systems with coarse time stamps keep it
    bool Kept;
};

// The stamps are set, so that a slow machine reads within the window all the same.
TEST(DirectoryListingsTest, ListingIsKeptOnlyOnceTheLastChangeIsATickOld) {
    const TWindowCase cases[] = {
        {"fine stamp, just changed (ahead of the clock)", -1, false, false},
        {"whole-second stamp, this second", 0, true, false},
        {"fine stamp, 1 s old", 1, false, true},
        {"whole-second stamp, 3 s old", 3, true, true},
    };
    for (const auto& c : cases) {
        TTempDir dir;
        const fs::path folder = dir.Path() / "f";
        WriteFile(folder / "x", "");
        AgeFolder(folder, c.Age, c.WholeSeconds);
        TDirectoryListings listings(8);
        listings.Find(Folder(folder), "y");
        listings.Find(Folder(folder), "y");
        EXPECT_EQ(listings.Reads(), c.Kept ? 1u : 2u) << c.Name;
    }
}

TEST(DirectoryListingsTest, KeepsOnlyTheMostRecentlyUsedFolders) {
    TTempDir dir;
    std::vector<fs::path> folders;
    for (const char* name : {"a", "b", "c"}) {
        folders.push_back(dir.Path() / name);
        WriteFile(folders.back() / "File", "");
        AgeFolder(folders.back(), 10);
    }
    TDirectoryListings listings(2);
    for (const auto& folder : folders)
        EXPECT_EQ(listings.Find(Folder(folder), "FILE"), "File");
    EXPECT_EQ(listings.Size(), 2u);
    EXPECT_EQ(listings.Find(Folder(folders[2]), "file"), "File");
    EXPECT_EQ(listings.Reads(), 3u);
    EXPECT_EQ(listings.Find(Folder(folders[0]), "file"), "File");
    EXPECT_EQ(listings.Reads(), 4u);
    EXPECT_EQ(listings.Size(), 2u);
}

TEST(DirectoryListingsTest, FolderRenamedToAnotherCaseBetweenTwoCalls) {
    TTempDir dir;
    const fs::path root = dir.Path() / "fs";
    WriteFile(root / "Aircraft" / "B737" / "texture.x" / "t.bmp", "");
    const timespec aged = AgeFolder(root, 10);
    AgeFolder(root / "Aircraft", 10);
    const std::string asked = Folder(root) + "aircraft\\b737\\TEXTURE.X";
    EXPECT_EQ(wh::OsPath(asked).string(), Folder(root) + "Aircraft/B737/texture.x");
    EXPECT_TRUE(wh::DirectoryExists(asked));

    fs::rename(root / "Aircraft", root / "AIRCRAFT");
    RestoreModified(root, aged);
    EXPECT_EQ(wh::OsPath(asked).string(), Folder(root) + "AIRCRAFT/B737/texture.x");
    EXPECT_TRUE(wh::DirectoryExists(asked));

    fs::rename(root / "AIRCRAFT", root / "gone");
    RestoreModified(root, aged);
    EXPECT_EQ(wh::OsPath(asked).string(), Folder(root) + "aircraft/b737/TEXTURE.X");
    EXPECT_FALSE(wh::DirectoryExists(asked));
}

TEST(DirectoryListingsTest, MissingAndPresentEntriesOfATrustedFolderAgreeWithTheDisk) {
    TTempDir dir;
    const fs::path pkg = dir.Path() / "pkg";
    WriteFile(pkg / "Base.zip", "");
    fs::create_directory(pkg / "Sub");
    const timespec aged = AgeFolder(pkg, 10);
    struct TCase {
        std::string Asked;
        bool IsFile, IsDir;
    };
    const std::vector<TCase> before = {
        {"base.ZIP", true, false}, {"sub", false, true}, {"missing.zip", false, false}, {"sub\\x", false, false}};
    // Asked twice: the second round is answered from the kept listing.
    for (int round = 0; round < 2; ++round)
        for (const auto& c : before) {
            EXPECT_EQ(wh::FileExists(Folder(pkg) + c.Asked), c.IsFile) << c.Asked << " round " << round;
            EXPECT_EQ(wh::DirectoryExists(Folder(pkg) + c.Asked), c.IsDir) << c.Asked << " round " << round;
        }
    fs::remove(pkg / "Base.zip");
    WriteFile(pkg / "MISSING.zip", "");
    RestoreModified(pkg, aged);
    EXPECT_FALSE(wh::FileExists(Folder(pkg) + "base.zip"));
    EXPECT_TRUE(wh::FileExists(Folder(pkg) + "missing.zip"));
    EXPECT_EQ(wh::OsPath(Folder(pkg) + "missing.zip").string(), Folder(pkg) + "MISSING.zip");
}

// Listings belong to folders, not to the text of a path: the same relative
// path in another current folder is another folder.
TEST(DirectoryListingsTest, SameRelativePathInAnotherCurrentFolder) {
    TTempDir first, second;
    WriteFile(first.Path() / "sub" / "file", "");
    WriteFile(second.Path() / "sub" / "FILE", "");
    AgeFolder(first.Path() / "sub", 10);
    AgeFolder(second.Path() / "sub", 10);
    const fs::path previous = fs::current_path();
    std::vector<std::string> resolved;
    for (const auto* folder : {&first, &second, &first}) {
        fs::current_path(folder->Path());
        resolved.push_back(wh::OsPath("sub\\File").string());
    }
    fs::current_path(previous);
    EXPECT_EQ(resolved, (std::vector<std::string>{"sub/file", "sub/FILE", "sub/file"}));
}

} // namespace
