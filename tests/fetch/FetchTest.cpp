#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <set>
#include <typeinfo>

#include "fetch/Fetch.h"
#include "platform/Errors.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempDir.h"

namespace wh::test {
namespace {

namespace fs = std::filesystem;

std::set<std::string> NamesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// A working directory of its own and a local source folder with its packages.lst.
class FetchTest : public ::testing::Test {
protected:
    FetchTest() : AppData((Temp.Path() / "appdata").string()) {}

    void SetUp() override {
        Working = Temp.Path() / "appdata" / "Wingharbour";
        SourceDir = Temp.Path() / "source";
        PackageList = (SourceDir / "packages.lst").string();
        WriteFile(PackageList, "[packages]\n");
        WriteFile(SourceDir / "packages.zip", "zip of the catalogue");
        WriteFile(SourceDir / "a320" / "aircraft.lst", "[aircraft]\n");
        Server.Server().Get("/files/(.*)", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content("served " + std::string(req.matches[1]), "application/octet-stream");
        });
        Server.Server().Get("/missing/(.*)", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("not here", "text/html");
        });
        Server.Start();
    }

    std::string ErrorOf(const std::string& name, const TFakeSource& source) {
        try {
            FetchFile(name, Activity, source);
        } catch (const EWingharbour& e) {
            return e.what();
        }
        return "(no error)";
    }

    TTempDir Temp;
    TWorkingDirOverride AppData;
    fs::path Working;
    fs::path SourceDir;
    std::string PackageList;
    TLoopbackServer Server;
    TRecordingActivity Activity;
};

TEST_F(FetchTest, LocalFetchCopiesIntoNewFolderAndReportsBeforeAndAfter) {
    FetchFile("a320\\aircraft.lst", Activity, TFakeSource::Local(PackageList));

    EXPECT_EQ(ReadFile(Working / "a320" / "aircraft.lst"), "[aircraft]\n");
    EXPECT_EQ(Activity.Log, (std::vector<std::string>{"Status: copying 'a320\\aircraft.lst'",
                                                      "Status: copied 'a320\\aircraft.lst'"}));
    EXPECT_EQ(NamesIn(Working / "a320"), std::set<std::string>{"aircraft.lst"});
    EXPECT_EQ(Activity.Shows, 0);
}

TEST_F(FetchTest, LocalFetchReplacesCachedCopyEachTime) {
    const auto source = TFakeSource::Local(PackageList);
    FetchFile("packages.zip", Activity, source);
    WriteFile(SourceDir / "packages.zip", "second edition");
    FetchFile("packages.zip", Activity, source);

    EXPECT_EQ(ReadFile(Working / "packages.zip"), "second edition");
    EXPECT_EQ(Activity.Statuses.size(), 4u);
}

// The package folder may exist in another letter case, made by another tool;
// each fetch, also one answered from a folder listing kept since the last,
// lands in that folder and leaves no temporary file behind.
TEST_F(FetchTest, FetchLandsInTheFolderOfAnotherLetterCase) {
    fs::create_directories(Working / "A320");
    const auto source = TFakeSource::Local(PackageList);
    for (const char* edition : {"first", "second", "third"}) {
        WriteFile(SourceDir / "a320" / "aircraft.lst", edition);
        FetchFile("a320\\aircraft.lst", Activity, source);
        EXPECT_EQ(ReadFile(Working / "A320" / "aircraft.lst"), edition);
        EXPECT_EQ(NamesIn(Working), (std::set<std::string>{"A320"})) << edition;
        EXPECT_EQ(NamesIn(Working / "A320"), std::set<std::string>{"aircraft.lst"}) << edition;
        // Past the clock tick of the last change, so the next fetch may
        // trust what it has seen of the folders.
        for (const auto& folder : {Working, Working / "A320"}) {
            timespec times[2]{};
            times[0].tv_nsec = UTIME_OMIT;
            times[1].tv_sec = std::time(nullptr) - 10;
            ASSERT_EQ(::utimensat(AT_FDCWD, folder.c_str(), times, 0), 0);
        }
    }
}

TEST_F(FetchTest, QuotedPackageFileWithBlanksNamesTheSource) {
    const fs::path spaced = Temp.Path() / "my source";
    WriteFile(spaced / "packages.lst", "");
    WriteFile(spaced / "packages.zip", "from the folder with blanks");

    FetchFile("packages.zip", Activity, TFakeSource::Local("\"" + (spaced / "packages.lst").string() + "\""));
    EXPECT_EQ(ReadFile(Working / "packages.zip"), "from the folder with blanks");
}

TEST_F(FetchTest, SettingsAreCheckedInOrderAfterTheFolderIsCreated) {
    const std::string typed = Server.Root() + "/files";
    TFakeSource none;
    TFakeSource localDir = TFakeSource::Local(SourceDir.string());
    struct Case {
        TFakeSource Source;
        std::string Message;
        std::vector<std::string> Statuses;
    } cases[] = {
        {none, "Source (local,URL) not specified.", {}},
        {TFakeSource::Local(""), "no local directory specified.", {"copying 'a320\\aircraft.lst'"}},
        {TFakeSource::Local("   "), "no local directory specified.", {"copying 'a320\\aircraft.lst'"}},
        {TFakeSource::Local(PackageList + ".gone"), "local directory not found.", {"copying 'a320\\aircraft.lst'"}},
        {localDir, "local directory not found.", {"copying 'a320\\aircraft.lst'"}},
        {TFakeSource::Url(""), "no source URL specified.", {}},
        {TFakeSource::Url(" \t "), "no source URL specified.", {}},
        {TFakeSource::Url("ftp://127.0.0.1/files"), "URL-protocol for 'ftp://127.0.0.1/files' not supported.", {}},
        {TFakeSource::Url("file:///tmp/files"), "URL-protocol for 'file:///tmp/files' not supported.", {}},
        {TFakeSource::Url(" " + typed), "URL-protocol for ' " + typed + "' not supported.", {}},
        {TFakeSource::Url("http:/127.0.0.1"), "URL-protocol for 'http:/127.0.0.1' not supported.", {}},
        {TFakeSource::Url("https:/127.0.0.1"), "URL-protocol for 'https:/127.0.0.1' not supported.", {}},
    };
    for (const auto& c : cases) {
        fs::remove_all(Working / "a320");
        Activity = TRecordingActivity();

        EXPECT_EQ(ErrorOf("a320\\aircraft.lst", c.Source), c.Message);
        EXPECT_EQ(Activity.Statuses, c.Statuses) << c.Message;
        EXPECT_TRUE(fs::is_directory(Working / "a320")) << c.Message;
        EXPECT_TRUE(NamesIn(Working / "a320").empty()) << c.Message;
    }
}

// A local fetch that fails raises naming the file, and keeps the cached copy
// as it was, its time included.
TEST_F(FetchTest, FailedLocalFetchRaisesNamingTheFileAndKeepsTheCachedCopy) {
    struct TCase {
        const char* Name;
        bool SourceExists;
        const std::type_info& Raised;
        std::string Message;
    };
    const fs::path cached = Working / "a320" / "base.zip";
    const TCase cases[] = {
        {"missing source", false, typeid(EFOpenError),
         "Could not open \"" + (SourceDir / "a320" / "base.zip").string() + "\"."},
        {"failed write", true, typeid(EWriteError), "Error writing \"" + cached.string() + "\""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Activity = TRecordingActivity{};
        fs::remove(SourceDir / "a320" / "base.zip");
        if (c.SourceExists)
            WriteFile(SourceDir / "a320" / "base.zip", std::string(300000, 'b'));
        WriteFile(cached, "installed base");
        const auto oldTime = fs::last_write_time(cached) - std::chrono::hours(30);
        fs::last_write_time(cached, oldTime);
        try {
            TFileSizeLimit limit(100000);
            FetchFile("a320\\base.zip", Activity, TFakeSource::Local(PackageList));
            ADD_FAILURE() << "no error raised";
        } catch (const std::exception& e) {
            EXPECT_EQ(typeid(e), c.Raised);
            EXPECT_EQ(std::string(e.what()), c.Message);
        }
        EXPECT_EQ(ReadFile(cached), "installed base");
        EXPECT_EQ(fs::last_write_time(cached), oldTime);
        EXPECT_EQ(NamesIn(Working / "a320"), std::set<std::string>{"base.zip"});
        EXPECT_EQ(Activity.Statuses, std::vector<std::string>{"copying 'a320\\base.zip'"});
    }
}

// The package folder in the working directory is a plain file, so nothing can
// be created in it: the copy's own open error names the cached file; a
// missing source is still named first, as the copy opens it first.
TEST_F(FetchTest, DestinationThatCannotBeCreatedRaisesTheCopysOpenError) {
    WriteFile(Working / "a320", "not a folder");
    struct Case {
        std::string Name, Shown;
    } cases[] = {
        {"a320\\aircraft.lst", (Working / "a320" / "aircraft.lst").string()},
        {"a320\\nothing.lst", (SourceDir / "a320" / "nothing.lst").string()},
    };
    for (const auto& c : cases) {
        try {
            FetchFile(c.Name, Activity, TFakeSource::Local(PackageList));
            ADD_FAILURE() << c.Name << ": no error raised";
        } catch (const EFOpenError& e) {
            EXPECT_EQ(std::string(e.what()), "Could not open \"" + c.Shown + "\".") << c.Name;
        } catch (const std::exception& e) {
            ADD_FAILURE() << c.Name << ": " << e.what();
        }
    }
    EXPECT_EQ(ReadFile(Working / "a320"), "not a folder");
}

// The working directory holds a packages.lst of its own, which the user may
// pick as the local source: each file is then copied onto itself and must
// come through whole.
TEST_F(FetchTest, SourceThatIsTheWorkingDirectoryKeepsItsFiles) {
    const std::string bytes(20000, 'w');
    WriteFile(Working / "packages.lst", "[packages]\n");
    WriteFile(Working / "a320" / "base.zip", bytes);

    FetchFile("a320\\base.zip", Activity, TFakeSource::Local((Working / "packages.lst").string()));

    EXPECT_EQ(ReadFile(Working / "a320" / "base.zip"), bytes);
    EXPECT_EQ(NamesIn(Working / "a320"), std::set<std::string>{"base.zip"});
}

// A message handled during the fetch (another operation the user started)
// may remove the file before the fetch ends.
TEST_F(FetchTest, FileRemovedBeforeTheFetchEndsIsReported) {
    Activity.OnPump = [&] {
        if (!Activity.Statuses.empty() && Activity.Statuses.back().rfind("copied", 0) == 0)
            fs::remove(Working / "packages.zip");
    };
    EXPECT_EQ(ErrorOf("packages.zip", TFakeSource::Local(PackageList)), "Could not fetch file 'packages.zip'");
}

TEST_F(FetchTest, SourceURLInEveryFormReachesTheSameFile) {
    const std::string root = Server.Root();
    const std::string hostPort = root.substr(std::string("http://").size());
    for (const std::string& typed : {root + "/files", root + "/files/", root + "/files   ",
                                     "HTTP://" + hostPort + "/files", "hTTp://" + hostPort + "/files/"}) {
        fs::remove_all(Working);
        Activity = TRecordingActivity();
        const std::size_t before = Server.Seen().size();

        FetchFile("a320\\aircraft.lst", Activity, TFakeSource::Url(typed));

        ASSERT_EQ(Server.Seen().size(), before + 1) << typed;
        EXPECT_EQ(Server.Seen().back().Target, "/files/a320/aircraft.lst") << typed;
        EXPECT_EQ(ReadFile(Working / "a320" / "aircraft.lst"), "served a320/aircraft.lst") << typed;
        EXPECT_EQ(Activity.Log, std::vector<std::string>{"Status: connecting to fetch file 'a320\\aircraft.lst'."});
        EXPECT_EQ(Activity.Shows, 1);
        EXPECT_FALSE(Activity.Busy);
    }
}

TEST_F(FetchTest, RelativeNameWithBlanksIsEncodedInTheURLOnly) {
    FetchFile("my pack\\my livery.zip", Activity, TFakeSource::Url(Server.Root() + "/files"));

    EXPECT_EQ(Server.Seen().back().Target, "/files/my%20pack/my%20livery.zip");
    EXPECT_EQ(ReadFile(Working / "my pack" / "my livery.zip"), "served my pack/my livery.zip");
}

TEST_F(FetchTest, FailedDownloadNamesTheFullURLAndKeepsCachedCopy) {
    const std::string closed = "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort());
    const std::string hostPort = Server.Root().substr(std::string("http://").size());
    // https is accepted; this server speaks plain HTTP, so the handshake fails.
    for (const std::string& typed : {Server.Root() + "/missing", closed + "/files", "https://" + hostPort + "/files",
                                     "HTTPS://" + hostPort + "/files/"}) {
        WriteFile(Working / "packages.zip", "cached catalogue");
        const auto oldTime = fs::last_write_time(Working / "packages.zip") - std::chrono::hours(30);
        fs::last_write_time(Working / "packages.zip", oldTime);

        const std::string url = typed.back() == '/' ? typed + "packages.zip" : typed + "/packages.zip";
        EXPECT_EQ(ErrorOf("packages.zip", TFakeSource::Url(typed)), "Error downloading URL '" + url + "'.");
        EXPECT_EQ(ReadFile(Working / "packages.zip"), "cached catalogue") << typed;
        EXPECT_EQ(fs::last_write_time(Working / "packages.zip"), oldTime) << typed;
        EXPECT_EQ(NamesIn(Working), std::set<std::string>{"packages.zip"}) << typed;
    }
}

TEST_F(FetchTest, SourceIsReadAtEachFetch) {
    TFakeSource source = TFakeSource::Local(PackageList);
    FetchFile("packages.zip", Activity, source);
    EXPECT_EQ(ReadFile(Working / "packages.zip"), "zip of the catalogue");

    source.LocalDir = false;
    source.URL = true;
    source.URLEdit = Server.Root() + "/files";
    FetchFile("packages.zip", Activity, source);
    EXPECT_EQ(ReadFile(Working / "packages.zip"), "served packages.zip");
}

// The time asked for is already the file's when it appears under its name:
// a watcher that sees the new content never sees the time of the fetch.
TEST_F(FetchTest, RequestedTimeIsTheFetchedFilesBeforeItTakesItsPlace) {
    const std::time_t pending = 315532800; // 1980-01-01 00:00:00 UTC
    const struct {
        const char* Name;
        TFakeSource Source;
        std::string Content;
    } cases[] = {
        {"local", TFakeSource::Local(PackageList), "zip of the catalogue"},
        {"url", TFakeSource::Url(Server.Root() + "/files"), "served packages.zip"},
    };
    for (const auto& c : cases) {
        WriteFile(Working / "packages.zip", "cached catalogue");
        std::vector<std::pair<std::string, std::time_t>> seen;
        Activity.OnPump = [&] {
            struct stat st;
            if (::stat((Working / "packages.zip").c_str(), &st) == 0)
                seen.emplace_back(ReadFile(Working / "packages.zip"), st.st_mtime);
        };
        FetchFile("packages.zip", Activity, c.Source, pending);
        Activity.OnPump = nullptr;
        seen.emplace_back(ReadFile(Working / "packages.zip"), 0);
        struct stat st;
        ASSERT_EQ(::stat((Working / "packages.zip").c_str(), &st), 0) << c.Name;
        seen.back().second = st.st_mtime;
        for (const auto& [content, time] : seen) {
            if (content == c.Content) {
                EXPECT_EQ(time, pending) << c.Name;
            }
        }
        EXPECT_EQ(seen.back().first, c.Content) << c.Name;
        EXPECT_EQ(NamesIn(Working), std::set<std::string>{"packages.zip"}) << c.Name;
    }
}

} // namespace
} // namespace wh::test
