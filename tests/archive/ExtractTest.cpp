#include "archive/Extract.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <set>

#include "archive/UnzipCallbacks.h"
#include "files/WorkingDir.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipBuilder.h"

namespace {

using wh::test::BuildZip;
using wh::test::ReadFile;
using wh::test::TRecordingActivity;
using wh::test::TTempDir;
using wh::test::TWorkingDirOverride;
using wh::test::TZipEntry;
using wh::test::WriteFile;
namespace fs = std::filesystem;

std::string Compressible(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < size)
        text += "row " + std::to_string(random() % 1000) + " of the livery bitmap\n";
    text.resize(size);
    return text;
}

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

std::time_t ModifiedTime(const fs::path& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? st.st_mtime : -1;
}

std::set<std::string> Names(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

class ExtractTest : public ::testing::Test {
protected:
    ExtractTest() : FWorkingDir(FTemp.Dir()) {}

    // Writes an archive into the working directory under its relative name.
    std::string Archive(const std::string& name, const std::vector<TZipEntry>& entries) {
        const std::string path = wh::OsPath(wh::WorkingDir() + name).string();
        fs::create_directories(fs::path(path).parent_path());
        BuildZip(path, entries);
        return path;
    }

    // The message of the EWingharbour the extraction raises, "" when none.
    std::string Extract(const std::string& name, const std::string& target) {
        try {
            wh::ExtractArchive(name, target, FActivity);
        } catch (const wh::EWingharbour& e) {
            return e.what();
        }
        return {};
    }

    bool Showed(const std::string& part) const {
        return std::any_of(FActivity.Statuses.begin(), FActivity.Statuses.end(),
                           [&](const std::string& s) { return s.find(part) != std::string::npos; });
    }

    TTempDir FTemp;
    TWorkingDirOverride FWorkingDir;
    TRecordingActivity FActivity;
};

TEST_F(ExtractTest, RecreatesFoldersInANewTargetAndOverwritesOnTheNextRun) {
    const std::time_t fileTime = LocalTime(2004, 3, 9, 17, 25, 42);
    const std::time_t folderTime = LocalTime(2004, 3, 8, 9, 0, 0);
    const std::string bitmap = Compressible(100000, 1);
    Archive("a320\\texture.abc.zip", {{"texture.abc/", "", folderTime},
                                      {"texture.abc/a.bmp", bitmap, fileTime},
                                      {"model\\sub\\x.mdl", "model", fileTime},
                                      {"readme.txt", "read me", fileTime, false, false, true}});
    const fs::path target = FTemp.Path() / "FS2002" / "Aircraft" / "a320"; // none of it exists yet

    EXPECT_EQ(Extract("a320\\texture.abc.zip", target.string()), "");
    EXPECT_TRUE(ReadFile(target / "texture.abc" / "a.bmp") == bitmap);
    EXPECT_EQ(ReadFile(target / "model" / "sub" / "x.mdl"), "model");
    EXPECT_EQ(ReadFile(target / "readme.txt"), "read me");
    EXPECT_EQ(ModifiedTime(target / "texture.abc" / "a.bmp"), fileTime);
    EXPECT_EQ(ModifiedTime(target / "readme.txt"), fileTime);
    EXPECT_EQ(ModifiedTime(target / "texture.abc"), folderTime);
    EXPECT_EQ(Names(target), (std::set<std::string>{"texture.abc", "model", "readme.txt"}));

    WriteFile(target / "readme.txt", "changed by the user");
    WriteFile(target / "texture.abc" / "other.bmp", "kept");
    EXPECT_EQ(Extract("a320\\texture.abc.zip", target.string()), "");
    EXPECT_EQ(ReadFile(target / "readme.txt"), "read me");
    EXPECT_EQ(ReadFile(target / "texture.abc" / "other.bmp"), "kept");
    EXPECT_EQ(Names(target / "texture.abc"), (std::set<std::string>{"a.bmp", "other.bmp"})); // no leftovers
}

TEST_F(ExtractTest, LandsInExistingFoldersWithoutRegardToCase) {
    const fs::path target = FTemp.Path() / "aircraft" / "a320";
    WriteFile(target / "Texture.ABC" / "A.BMP", "old");
    Archive("t.zip", {{"texture.abc/a.bmp", "new"}, {"TEXTURE.ABC\\Second.bmp", "2"}, {"texture.abc/", ""}});
    EXPECT_EQ(Extract("t.zip", target.string()), "");
    EXPECT_EQ(Names(target), std::set<std::string>{"Texture.ABC"});
    EXPECT_EQ(Names(target / "Texture.ABC"), (std::set<std::string>{"A.BMP", "Second.bmp"}));
    EXPECT_EQ(ReadFile(target / "Texture.ABC" / "A.BMP"), "new");
}

// A name without the UTF-8 flag is the DOS code page's, unless a Unix or
// Macintosh host wrote it as valid UTF-8, as zip programs there do.
TEST_F(ExtractTest, NamesFollowTheArchivesCodePages) {
    struct Case {
        std::string Stored;  // bytes of the name in the archive
        bool Cp437, DosHost; // stored without the UTF-8 flag; made on DOS
        std::string OnDisk;  // UTF-8
    };
    const Case cases[] = {
        {"\x82t\x82.bmp", true, true, "\xC3\xA9t\xC3\xA9.bmp"},            // from DOS: CP437 "été"
        {"\x8E\x99\xE1.bmp", true, false, "\xC3\x84\xC3\x96\xC3\x9F.bmp"}, // not UTF-8 from Unix: CP437 "ÄÖß"
        {"caf\xC3\xA9.bmp", false, true, "caf\xC3\xA9.bmp"},               // flagged UTF-8 "café"
        {"\xC3\xBC.bmp", true, false, "\xC3\xBC.bmp"},                     // unflagged UTF-8 from Unix: "ü"
    };
    std::vector<TZipEntry> entries;
    for (const Case& c : cases) {
        TZipEntry entry{"names/" + c.Stored, c.OnDisk};
        entry.Cp437Name = c.Cp437;
        entry.DosHost = c.DosHost;
        entries.push_back(entry);
    }
    Archive("names.zip", entries);
    const fs::path target = FTemp.Path() / "out";
    EXPECT_EQ(Extract("names.zip", target.string()), "");
    std::set<std::string> expected;
    for (const Case& c : cases) {
        expected.insert(c.OnDisk);
        EXPECT_EQ(ReadFile(target / "names" / c.OnDisk), c.OnDisk);
    }
    EXPECT_EQ(Names(target / "names"), expected);
    // Status texts are Windows-1252, like the rest of the log.
    EXPECT_TRUE(Showed(wh::NativePath(target.string() + "/names/\xE9t\xE9.bmp")));
}

// The zip programs of Debian (Info-ZIP's without the UTF-8 flag, the others
// with it; zip64 records, data descriptors, stored entries), each with a name
// beyond ASCII; and a name
// that Windows-1252 cannot hold, which refuses the whole archive.
TEST_F(ExtractTest, ArchivesOfOtherZipProgramsExtractUnderTheirNames) {
    const std::string name = "Caf\xC3\xA9 \xC3\x9C"
                             "bersicht.txt";
    const fs::path source = FTemp.Path() / "src";
    WriteFile(source / name, Compressible(70000, 3));
    const struct {
        const char* Program;
        std::string Command;
    } producers[] = {
        {"zip", "zip -q -r"},
        {"zip-stored", "zip -q -0"},
        {"zip64", "zip -q -fz"},
        {"7z", "7z a -tzip -bso0 -bsp0"},
        {"bsdtar", "bsdtar --format zip -cf"},
    };
    for (const auto& p : producers) {
        SCOPED_TRACE(p.Program);
        const std::string archive = wh::OsPath(wh::WorkingDir() + p.Program + ".zip").string();
        ASSERT_EQ(
            std::system(("cd '" + source.string() + "' && " + p.Command + " '" + archive + "' '" + name + "'").c_str()),
            0);
        const fs::path target = FTemp.Path() / p.Program;
        EXPECT_EQ(Extract(std::string(p.Program) + ".zip", target.string()), "");
        EXPECT_EQ(Names(target), std::set<std::string>{name});
        EXPECT_EQ(ReadFile(target / name), ReadFile(source / name));
    }

    Archive("greek.zip", {{"a.bmp", "a"}, {"\xCE\xA3.bmp", "sigma"}});
    const fs::path target = FTemp.Path() / "greek";
    EXPECT_EQ(Extract("greek.zip", target.string()), "Error extracting archive 'greek.zip'.");
    EXPECT_TRUE(Showed("?.bmp:  name not representable in Windows-1252, nothing extracted"));
    EXPECT_TRUE(fs::is_empty(target));
}

TEST_F(ExtractTest, StatusLinesOfASmallArchive) {
    Archive("a320\\small.zip", {{"texture.abc/", ""},
                                {"texture.abc/a.bmp", Compressible(5000, 2)},
                                {"aircraft.cfg", "[fltsim.0]", 0, false, false, true}});
    const std::string target = FTemp / "sim/aircraft/a320";
    EXPECT_EQ(Extract("a320\\small.zip", target), "");
    EXPECT_EQ(FActivity.Log, (std::vector<std::string>{
                                 "Status: Archive:  " + wh::NativePath(wh::WorkingDir() + "a320\\small.zip"),
                                 "Status: creating: " + target + "/texture.abc/",
                                 "Status: inflating: " + target + "/texture.abc/a.bmp",
                                 "Status: extracting: " + target + "/aircraft.cfg",
                             }));
    EXPECT_EQ(FActivity.Steps, 4);
}

TEST_F(ExtractTest, FailedArchivesRaiseAfterTheLibrarysMessages) {
    const std::string good =
        Archive("good.zip", {{"a.bmp", Compressible(20000, 3)}, {"b.bmp", "bbbbbbbb", 0, false, false, true}});
    std::string damaged = ReadFile(good);
    damaged.at(damaged.find("bbbbbbbb")) = 'X'; // stored data of b.bmp: its CRC no longer matches
    struct Case {
        std::string Name;
        std::string Bytes; // "-" for no file at all
        bool Raises;
        std::string Says;
    };
    const Case cases[] = {
        {"pkg\\missing.zip", "-", true, "cannot find or open"},
        {"pkg\\zapped.zip", "", true, "empty (0 bytes)"},
        {"pkg\\page.zip", "<html><body>404 Not Found</body></html>", true, "not a zip archive"},
        {"pkg\\damaged.zip", damaged, true, "bad CRC"},
        {"pkg\\noentries.zip", std::string("PK\x05\x06", 4) + std::string(18, '\0'), false, "zipfile is empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        FActivity = TRecordingActivity{};
        if (c.Bytes != "-")
            WriteFile(wh::OsPath(wh::WorkingDir() + c.Name), c.Bytes);
        const fs::path target = FTemp.Path() / "target";
        WriteFile(target / "b.bmp", "the good copy");
        EXPECT_EQ(Extract(c.Name, target.string()), c.Raises ? "Error extracting archive '" + c.Name + "'." : "");
        EXPECT_TRUE(Showed(c.Says));
        for (const auto& line : FActivity.Log)
            EXPECT_EQ(line.rfind("Status: ", 0), 0u) << line;
        // A damaged entry never replaces the file in place, and leaves no temporary behind.
        EXPECT_EQ(ReadFile(target / "b.bmp"), "the good copy");
        for (const auto& name : Names(target))
            EXPECT_TRUE(name == "a.bmp" || name == "b.bmp") << name;
    }
}

// An entry that cannot land fails the archive; the others land, and nothing
// lands outside the target.
TEST_F(ExtractTest, RefusedEntriesFailTheArchiveAndNothingLandsOutside) {
    const fs::path zone = FTemp.Path() / "zone";
    const fs::path target = zone / "target";
    const fs::path outside = FTemp.Path() / "outside";
    fs::create_directories(outside);
    TZipEntry link{"link", "../../outside"};
    link.Symlink = true;
    TZipEntry folderLink{"texture.abc", "/"};
    folderLink.Symlink = true;
    TZipEntry locked{"locked.bmp", "secret livery"};
    locked.Encrypted = true;
    struct Case {
        TZipEntry Entry;
        std::string Says;
    };
    const Case cases[] = {
        {{"../evil.txt", "x"}, "\"..\" component refused"},
        {{"sub/../../evil.txt", "x"}, "\"..\" component refused"},
        {{"..\\..\\outside\\evil.txt", "x"}, "\"..\" component refused"},
        {{outside.string() + "/evil.txt", "x"}, "absolute path refused"},
        {{"\\evil.txt", "x"}, "absolute path refused"},
        {{"C:\\evil.txt", "x"}, "drive letter refused"},
        {{"C:evil.txt", "x"}, "drive letter refused"},
        {link, "symbolic link not created"},
        {folderLink, "symbolic link not created"},
        {locked, "locked.bmp  unable to get password"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Entry.Name);
        FActivity = TRecordingActivity{};
        fs::remove_all(zone);
        Archive("unsafe.zip", {{"good.txt", "good"}, c.Entry, {"after.txt", "after"}});
        EXPECT_EQ(Extract("unsafe.zip", target.string()), "Error extracting archive 'unsafe.zip'.");
        EXPECT_TRUE(Showed(c.Says));
        EXPECT_EQ(Names(zone), std::set<std::string>{"target"});
        EXPECT_EQ(Names(target), (std::set<std::string>{"good.txt", "after.txt"}));
        EXPECT_TRUE(fs::is_empty(outside));
    }
}

TEST_F(ExtractTest, ExistingLinksInTheTargetAreNeverFollowedOutside) {
    const fs::path target = FTemp.Path() / "target";
    const fs::path outside = FTemp.Path() / "outside";
    WriteFile(outside / "victim.bmp", "victim");
    fs::create_directories(target / "real");
    fs::create_directory_symlink(outside, target / "texture.abc");
    fs::create_symlink(outside / "victim.bmp", target / "a.bmp");
    fs::create_directory_symlink(target / "real", target / "alias");
    Archive("links.zip", {{"texture.abc/victim.bmp", "overwritten"},
                          {"texture.abc/new.bmp", "new"},
                          {"a.bmp", "replaced the link"},
                          {"alias/inside.bmp", "inside"}});

    EXPECT_EQ(Extract("links.zip", target.string()), "Error extracting archive 'links.zip'.");
    EXPECT_TRUE(Showed("symbolic link leads outside the target folder"));
    EXPECT_EQ(Names(outside), std::set<std::string>{"victim.bmp"});
    EXPECT_EQ(ReadFile(outside / "victim.bmp"), "victim");
    EXPECT_FALSE(fs::is_symlink(target / "a.bmp"));
    EXPECT_EQ(ReadFile(target / "a.bmp"), "replaced the link");
    // A link that stays below the target is a folder like any other.
    EXPECT_EQ(ReadFile(target / "real" / "inside.bmp"), "inside");
}

// What data/far-copies.deflate64 stands for, a stream 7-Zip made with -mm=Deflate64
// -mx=9: its copies lie 36000 and 56000 bytes back, beyond deflate's reach.
std::string FarCopies() {
    std::string run;
    for (std::uint32_t x = 1; run.size() < 6000;)
        run += "ACGT"[((x = (x * 1103515245u + 12345u) & 0x7FFFFFFFu) >> 16) & 3];
    return run + std::string(50000, '\0') + run + std::string(30000, 'z') + run;
}

TEST_F(ExtractTest, EntriesInflateByTheirMethodOrAreSkippedNamingIt) {
    const std::string stream = ReadFile(WH_TEST_DATA "far-copies.deflate64");
    const std::string far = FarCopies();
    const std::string otherCrc = far.substr(0, 70000) + "y" + far.substr(70001);
    const fs::path target = FTemp.Path() / "target";
    const std::string shown = target.string() + "/texture.abc/far.bmp";
    struct Case {
        std::string Name;
        int Method;
        std::string Data, Original, Says; // Says: "" when the entry lands
    };
    const Case cases[] = {
        {"Deflate64 from 7-Zip", 9, stream, far, ""},
        {"CRC not matched", 9, stream, otherCrc, "error:  " + shown + ":  bad CRC, the data is damaged"},
        {"stream cut short", 9, stream.substr(0, 1500), far, "error:  invalid compressed data to inflate " + shown},
        {"more than the entry holds", 9, stream, far.substr(0, 9000),
         "error:  invalid compressed data to inflate " + shown},
        {"PPMd", 98, stream, far, "skipping: texture.abc/far.bmp  unsupported compression method 98"},
        {"LZMA", 14, stream, far, "skipping: texture.abc/far.bmp  unsupported compression method 14"},
    };
    const std::time_t fileTime = LocalTime(2005, 6, 1, 12, 30, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        FActivity = TRecordingActivity{};
        TZipEntry entry{"texture.abc/far.bmp", c.Data, fileTime};
        entry.RawMethod = c.Method;
        entry.Original = c.Original;
        Archive("raw.zip", {entry, {"readme.txt", "read me"}});
        WriteFile(target / "texture.abc" / "far.bmp", "the old copy");

        EXPECT_EQ(Extract("raw.zip", target.string()), c.Says.empty() ? "" : "Error extracting archive 'raw.zip'.");
        EXPECT_EQ(Showed("inflating: " + shown), c.Method == 9);
        EXPECT_EQ(ReadFile(target / "readme.txt"), "read me");
        EXPECT_TRUE(ReadFile(target / "texture.abc" / "far.bmp") == (c.Says.empty() ? far : "the old copy"));
        EXPECT_EQ(ModifiedTime(target / "texture.abc" / "far.bmp") == fileTime, c.Says.empty());
        EXPECT_EQ(std::count(FActivity.Log.begin(), FActivity.Log.end(), "Status: " + c.Says), c.Says.empty() ? 0 : 1);
    }
}

TEST(UnzipPrintTest, MessagesBecomeTrimmedStatusLines) {
    struct Case {
        std::string Buffer;
        unsigned long Size;
        std::vector<std::string> Statuses;
    };
    const Case cases[] = {
        {"Archive:  x.zip\n", 16, {"Archive:  x.zip"}},
        {"  inflating: a\\b.bmp\r\n", 22, {"inflating: a\\b.bmp"}},
        {"\n\r\n  \t \n", 8, {}},
        {"a\tb\x01"
         "c\x1F",
         6,
         {"a b c"}},
        {std::string("ab\0cd\n", 6), 6, {"ab"}},
        {std::string("\0visible", 8), 8, {}},
        {"abcdef", 3, {"abc"}}, // no terminator within size: size bounds the read
        {"", 0, {}},
        {"caf\xE9 \x80", 6, {"caf\xE9 \x80"}}, // bytes above 127 are text
    };
    for (const Case& c : cases) {
        TRecordingActivity activity;
        std::string buffer = c.Buffer;
        {
            wh::TUnzipActivityScope scope(activity);
            EXPECT_EQ(wh::UnzipPrint(buffer.data(), c.Size), static_cast<int>(c.Size));
        }
        EXPECT_EQ(activity.Statuses, c.Statuses) << c.Buffer;
        EXPECT_EQ(activity.Log.size(), c.Statuses.size());
    }
}

TEST(UnzipPrintTest, ReachesOnlyTheActivityOfTheRunningExtraction) {
    TRecordingActivity outer, inner;
    char text[] = "message";
    EXPECT_EQ(wh::UnzipPrint(text, 7), 7); // no extraction running: shown nowhere
    {
        wh::TUnzipActivityScope a(outer);
        {
            wh::TUnzipActivityScope b(inner);
            wh::UnzipPrint(text, 7);
        }
        wh::UnzipPrint(text, 7);
    }
    wh::UnzipPrint(text, 7);
    EXPECT_EQ(inner.Statuses.size(), 1u);
    EXPECT_EQ(outer.Statuses.size(), 1u);
}

TEST_F(ExtractTest, ActivityIsReleasedWhenTheExtractionRaises) {
    EXPECT_NE(Extract("missing.zip", FTemp / "target"), "");
    const auto shown = FActivity.Statuses.size();
    char text[] = "late message";
    wh::UnzipPrint(text, 12);
    EXPECT_EQ(FActivity.Statuses.size(), shown);
}

} // namespace
