#include "files/ReplacementFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <functional>
#include <map>
#include <memory>

#include "platform/Errors.h"
#include "platform/FileDescriptor.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/NamedCases.h"
#include "tests/support/TempDir.h"

namespace {

using wh::EInOutError;
using wh::TReplacementFile;
using wh::TReplacementOptions;
using wh::test::ReadFile;
using wh::test::TTempDir;
using wh::test::WriteFile;
using wh::test::PrintTo;
namespace fs = std::filesystem;

// Every entry of the folder with its content ("<folder>" for a folder).
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::directory_iterator(folder))
        entries[entry.path().filename().string()] =
            entry.is_directory() ? "<folder>" : fs::is_symlink(entry) ? "<link>" : ReadFile(entry.path());
    return entries;
}

unsigned Mode(const fs::path& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// The two ways in: a path, or a name inside an open folder as extraction does.
struct TForm {
    const char* Name;
    TReplacementOptions Options;
    bool ByFolder;
};

const TForm kForms[] = {
    {"user file by path", wh::UserFileReplacement, false},
    {"fetched file by path", wh::FetchedFileReplacement, false},
    {"extracted entry in a folder", wh::ExtractedFileReplacement, true},
};

class TReplacing {
public:
    explicit TReplacing(const TForm& form) : FForm(form), FFolder(::open(Dir.Path().c_str(), O_RDONLY | O_DIRECTORY)) {}

    std::unique_ptr<TReplacementFile> Open(const std::string& name) const {
        if (FForm.ByFolder)
            return std::make_unique<TReplacementFile>(FFolder.Get(), name, name, FForm.Options);
        return std::make_unique<TReplacementFile>(Dir.Path() / name, name, FForm.Options);
    }
    void Replace(const std::string& name, const std::string& bytes) const {
        auto file = Open(name);
        file->Write(bytes);
        file->Commit();
    }

    TTempDir Dir;

private:
    TForm FForm;
    wh::TFileDescriptor FFolder;
};

TEST(ReplacementFileTest, NextReplacementRemovesTheLeftoverOfAKilledAttemptAndNothingElse) {
    const std::string longName = std::string(250, 'n') + ".bmp";
    const std::string otherLong = std::string(250, 'n') + ".dds";   // same cut, other hash
    for (const TForm& form : kForms) {
        for (const std::string& name : {std::string("base.zip"), longName}) {
            SCOPED_TRACE(std::string(form.Name) + ", name of " + std::to_string(name.size()));
            TReplacing r(form);
            const std::string leftover = TReplacementFile::TemporaryName(name);
            WriteFile(r.Dir.Path() / name, "old");
            WriteFile(r.Dir.Path() / leftover, "half of a killed write");
            std::map<std::string, std::string> neighbours = {
                {TReplacementFile::TemporaryName("other.zip"), "another target's leftover"},
                {TReplacementFile::TemporaryName(otherLong), "another long target's leftover"},
                {"." + name, "hidden"},
                {name + ".part", "similar"},
                {"base.zip.tmp", "similar"},
            };
            std::erase_if(neighbours, [](const auto& entry) { return entry.first.size() > NAME_MAX; });
            for (const auto& [entry, bytes] : neighbours)
                WriteFile(r.Dir.Path() / entry, bytes);

            r.Replace(name, "new");

            auto expected = neighbours;
            expected[name] = "new";
            EXPECT_EQ(Snapshot(r.Dir.Path()), expected);
        }
    }
}

TEST(ReplacementFileTest, ReplacementsOfTargetsWithALongCommonStartDoNotMeet) {
    const std::string a = std::string(240, 'x') + "-a", b = std::string(240, 'x') + "-b";
    for (const TForm& form : kForms) {
        SCOPED_TRACE(form.Name);
        TReplacing r(form);
        auto first = r.Open(a);
        auto second = r.Open(b);
        first->Write("A");
        second->Write("B");
        first->Commit();
        second->Commit();
        EXPECT_EQ(Snapshot(r.Dir.Path()), (std::map<std::string, std::string>{{a, "A"}, {b, "B"}}));
    }
}

struct TFailure {
    const char* Name;
    std::function<void(const fs::path&)> Prepare;
    std::function<void(const TReplacing&)> Run;
    std::string Message;   // how the error starts; "" when none is raised
};

TEST(ReplacementFileTest, FailuresLeaveTheTargetAsItWasAndNoTemporaryFile) {
    const std::string big(300000, 'b');
    const TFailure failures[] = {
        {"disk full while writing", {},
         [&](const TReplacing& r) {
             wh::test::TFileSizeLimit limit(100000);
             r.Replace("t.bin", big);
         },
         "Error writing \"t.bin\": File too large"},
        {"disk full at the last flush", {},
         [&](const TReplacing& r) {
             auto file = r.Open("t.bin");
             wh::test::TFileSizeLimit limit(10);
             file->Write("more than ten bytes");
             file->Commit();
         },
         "Error writing \"t.bin\": File too large"},
        {"never committed", {}, [](const TReplacing& r) { r.Open("t.bin")->Write("dropped"); }, ""},
        {"a folder in the target's place", [](const fs::path& d) { fs::create_directory(d / "t.bin"); },
         [](const TReplacing& r) { r.Replace("t.bin", "x"); }, "Could not replace \"t.bin\": Is a directory"},
        {"a folder in the temporary file's place",
         [](const fs::path& d) { fs::create_directory(d / TReplacementFile::TemporaryName("t.bin")); },
         [](const TReplacing& r) { r.Replace("t.bin", "x"); }, "Could not create \"t.bin\": Is a directory"},
    };
    for (const TForm& form : kForms) {
        for (const TFailure& c : failures) {
            SCOPED_TRACE(std::string(form.Name) + ": " + c.Name);
            TReplacing r(form);
            if (c.Prepare)
                c.Prepare(r.Dir.Path());
            if (!fs::exists(r.Dir.Path() / "t.bin"))
                WriteFile(r.Dir.Path() / "t.bin", "old content\r\n");
            const auto before = Snapshot(r.Dir.Path());
            std::string message;
            try {
                c.Run(r);
            } catch (const EInOutError& e) {
                message = e.what();
                EXPECT_NE(e.ErrorCode(), 0);
            }
            EXPECT_EQ(message, c.Message);
            EXPECT_EQ(Snapshot(r.Dir.Path()), before);
        }
    }
}

TEST(ReplacementFileTest, MissingFolderIsReportedUnderTheShownName) {
    TTempDir dir;
    try {
        TReplacementFile file(dir.Path() / "missing" / "t.bin", "C:\\shown\\t.bin", wh::FetchedFileReplacement);
        FAIL() << "no error raised";
    } catch (const EInOutError& e) {
        EXPECT_EQ(std::string(e.what()), "Could not create \"C:\\shown\\t.bin\": No such file or directory");
        EXPECT_EQ(e.ErrorCode(), ENOENT);
    }
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST(ReplacementFileTest, KeepsPermissionBitsAndOwner) {
    struct TCase {
        const char* Name;
        int Mode;   // of the existing target; -1 for none
        unsigned Expected;
    } cases[] = {
        {"owner only", 0600, 0600}, {"group read", 0640, 0640}, {"executable", 0755, 0755},
        {"read-only for all", 0444, 0444}, {"new file under umask 027", -1, 0640},
    };
    // Root can give the file back to another owner; anyone else keeps it.
    const bool root = ::geteuid() == 0;
    for (const TForm& form : kForms) {
        for (const TCase& c : cases) {
            SCOPED_TRACE(std::string(form.Name) + ": " + c.Name);
            TReplacing r(form);
            const fs::path target = r.Dir.Path() / "t.bin";
            if (c.Mode >= 0) {
                WriteFile(target, "old");
                ::chmod(target.c_str(), static_cast<mode_t>(c.Mode));
                if (root) {
                    ASSERT_EQ(::chown(target.c_str(), 4321, 4322), 0);
                }
            }
            const mode_t oldMask = ::umask(027);
            // A read-only target is refused for the user's files; that rule lets root through.
            if (c.Mode != 0444 || !form.Options.RefuseWriteProtected || root)
                r.Replace("t.bin", "new");
            ::umask(oldMask);
            EXPECT_EQ(Mode(target), c.Expected);
            struct stat st {};
            ::stat(target.c_str(), &st);
            if (root && c.Mode >= 0) {
                EXPECT_EQ(std::make_pair(st.st_uid, st.st_gid), std::make_pair(4321u, 4322u));
            }
        }
    }
}

TEST(ReplacementFileTest, LinkIsWrittenThroughOnlyWhenAskedFor) {
    for (const TForm& form : kForms) {
        SCOPED_TRACE(form.Name);
        TReplacing r(form);
        fs::create_directory(r.Dir.Path() / "real");
        WriteFile(r.Dir.Path() / "real" / "p.ini", "old");
        fs::create_symlink("real/p.ini", r.Dir.Path() / "link.ini");

        r.Replace("link.ini", "new");

        const bool through = form.Options.FollowLink;
        EXPECT_EQ(fs::is_symlink(r.Dir.Path() / "link.ini"), through);
        EXPECT_EQ(ReadFile(r.Dir.Path() / "link.ini"), "new");
        EXPECT_EQ(ReadFile(r.Dir.Path() / "real" / "p.ini"), through ? "new" : "old");
        EXPECT_EQ(Snapshot(r.Dir.Path() / "real").size(), 1u);
    }
}

} // namespace
