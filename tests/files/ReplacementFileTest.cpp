#include "files/ReplacementFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <functional>
#include <map>
#include <tuple>
#include <vector>

#include "platform/Errors.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempDir.h"

namespace {

using wh::TReplacementFile;
using wh::test::ReadFile;
using wh::test::WriteFile;
namespace fs = std::filesystem;

// Every entry of the folder with its content.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& e : fs::directory_iterator(folder))
        entries[e.path().filename().string()] = e.is_directory() ? "<folder>" : ReadFile(e.path());
    return entries;
}

// A folder and one of the three kinds of replacement in it: by path, or by
// name inside the open folder as extraction does.
struct TReplacing {
    TReplacing(const char* name, wh::TReplacementOptions options, bool byFolder)
        : Name(name), Options(options), ByFolder(byFolder) {}

    const char* Name;
    wh::TReplacementOptions Options;
    bool ByFolder;
    wh::test::TTempDir Dir;
    wh::TFileDescriptor Folder{::open(Dir.Path().c_str(), O_RDONLY | O_DIRECTORY)};

    std::unique_ptr<TReplacementFile> Open(const std::string& name) const {
        if (ByFolder)
            return std::make_unique<TReplacementFile>(Folder.Get(), name, name, Options);
        return std::make_unique<TReplacementFile>(Dir.Path() / name, name, Options);
    }
    void Replace(const std::string& name, const std::string& bytes) const {
        auto file = Open(name);
        file->Write(bytes);
        file->Commit();
    }
};

template <typename TBody>
void ForEachKind(TBody body) {
    TReplacing kinds[] = {{"user file", wh::UserFileReplacement, false},
                          {"fetched file", wh::FetchedFileReplacement, false},
                          {"extracted entry", wh::ExtractedFileReplacement, true}};
    for (TReplacing& r : kinds) {
        SCOPED_TRACE(r.Name);
        body(r);
    }
}

TEST(ReplacementFileTest, NextReplacementRemovesTheLeftoverOfAKilledAttemptAndNothingElse) {
    const std::string longName = std::string(250, 'n') + ".bmp";
    for (const std::string& name : {std::string("base.zip"), longName}) {
        ForEachKind([&](const TReplacing& r) {
            std::map<std::string, std::string> kept = {
                {TReplacementFile::TemporaryName("other.zip"), "another target's leftover"},
                {TReplacementFile::TemporaryName(std::string(250, 'n') + ".dds"), "same cut, other name"},
                {"." + name, "hidden"},
                {name + ".part", "similar"},
                {"base.zip.tmp", "similar"}};
            std::erase_if(kept, [](const auto& entry) { return entry.first.size() > NAME_MAX; });
            for (const auto& [entry, bytes] : kept)
                WriteFile(r.Dir.Path() / entry, bytes);
            WriteFile(r.Dir.Path() / name, "old");
            WriteFile(r.Dir.Path() / TReplacementFile::TemporaryName(name), "half of a killed write");

            r.Replace(name, "new");
            kept[name] = "new";
            EXPECT_EQ(Snapshot(r.Dir.Path()), kept);
        });
    }
}

TEST(ReplacementFileTest, FailuresLeaveTheTargetAsItWasAndNoTemporaryFile) {
    const auto replace = [](const char* name) { return [=](const TReplacing& r) { r.Replace(name, "x"); }; };
    const struct {
        const char* Name;
        std::string InPlace; // a folder made before: "t.bin" stands for the target's name
        std::function<void(const TReplacing&)> Run;
        std::string Message; // "" when none is raised
    } cases[] = {
        {"disk full while writing", "",
         [](const TReplacing& r) {
             wh::test::TFileSizeLimit limit(100000);
             r.Replace("t.bin", std::string(300000, 'b'));
         },
         "Error writing \"t.bin\": File too large"},
        {"disk full at the last flush", "",
         [](const TReplacing& r) {
             auto file = r.Open("t.bin");
             wh::test::TFileSizeLimit limit(10);
             file->Write("more than ten bytes");
             file->Commit();
         },
         "Error writing \"t.bin\": File too large"},
        {"never committed", "", [](const TReplacing& r) { r.Open("t.bin")->Write("dropped"); }, ""},
        {"a folder as target", "d", replace("d"), "Could not replace \"d\": Is a directory"},
        {"a folder in the temporary file's place", TReplacementFile::TemporaryName("t.bin"), replace("t.bin"),
         "Could not create \"t.bin\": Is a directory"},
        {"missing folder", "", replace("no/t.bin"), "Could not create \"no/t.bin\": No such file or directory"},
    };
    for (const auto& c : cases) {
        ForEachKind([&](const TReplacing& r) {
            WriteFile(r.Dir.Path() / "t.bin", "old content\r\n");
            if (!c.InPlace.empty())
                fs::create_directory(r.Dir.Path() / c.InPlace);
            const auto before = Snapshot(r.Dir.Path());
            std::string message;
            try {
                c.Run(r);
            } catch (const wh::EInOutError& e) {
                message = e.what();
                EXPECT_NE(e.ErrorCode(), 0) << c.Name;
            }
            EXPECT_EQ(message, c.Message) << c.Name;
            EXPECT_EQ(Snapshot(r.Dir.Path()), before) << c.Name;
        });
    }
}

// A kept file is continued only by a resumable replacement, only while its
// tag is whole and the file has no other name; the target then gets the body
// without the tag. A kill may leave any of these.
TEST(ReplacementFileTest, KeptFileIsContinuedOnlyWhileWholeAndOurs) {
    using TMeddle = std::function<void(const fs::path&)>;
    std::vector<std::tuple<std::string, wh::TReplacementOptions, TMeddle>> cases = {
        {"resumable", wh::ResumableFetchReplacement, [](const fs::path&) {}},
        {"not resumable", wh::FetchedFileReplacement, [](const fs::path&) {}},
        {"linked twice", wh::ResumableFetchReplacement,
         [](const fs::path& p) { fs::create_hard_link(p, p.parent_path() / "other"); }},
    };
    for (int cut = 1; cut <= 32; ++cut) // the tag of "v1" takes 32 bytes
        cases.emplace_back("tag cut by " + std::to_string(cut), wh::ResumableFetchReplacement,
                           [cut](const fs::path& p) { fs::resize_file(p, fs::file_size(p) - cut); });
    for (int at : {9, 30})
        cases.emplace_back("tag byte changed " + std::to_string(at), wh::ResumableFetchReplacement,
                           [at](const fs::path& p) {
                               std::string bytes = ReadFile(p);
                               bytes[bytes.size() - at] ^= 1;
                               WriteFile(p, bytes);
                           });
    for (const auto& [name, next, meddle] : cases) {
        wh::test::TTempDir dir;
        const fs::path target = dir.Path() / "t.zip";
        {
            TReplacementFile file(target, "t.zip", wh::ResumableFetchReplacement);
            file.Restart("\"v1\"");
            file.Write(std::string(70000, 'a'));
            file.Keep();
        }
        meddle(dir.Path() / TReplacementFile::TemporaryName("t.zip"));

        TReplacementFile again(target, "t.zip", next);
        const bool continued = name == "resumable";
        EXPECT_EQ(again.Tag(), continued ? "\"v1\"" : "") << name;
        again.Write("rest");
        again.Commit();
        EXPECT_TRUE(ReadFile(target) == (continued ? std::string(70000, 'a') : "") + "rest") << name;
    }
}

TEST(ReplacementFileTest, KeepsPermissionBitsAndOwnerOfTheTarget) {
    const bool root = ::geteuid() == 0; // only root can give the file back to its owner
    for (const int mode : {0600, 0640, 0755, 0444, -1}) {
        ForEachKind([&](const TReplacing& r) {
            const fs::path target = r.Dir.Path() / "t.bin";
            if (mode >= 0) {
                WriteFile(target, "old");
                ::chmod(target.c_str(), static_cast<mode_t>(mode));
                ASSERT_EQ(root ? ::chown(target.c_str(), 4321, 4322) : 0, 0);
            }
            const mode_t oldMask = ::umask(027);
            // Write protection stops the user's files, except for root.
            if (mode != 0444 || !r.Options.RefuseWriteProtected || root)
                r.Replace("t.bin", "new");
            ::umask(oldMask);
            struct stat st {};
            ::stat(target.c_str(), &st);
            EXPECT_EQ(st.st_mode & 07777, mode >= 0 ? static_cast<unsigned>(mode) : 0640u) << mode;
            const bool givenBack = root && mode >= 0;
            EXPECT_EQ(st.st_uid, givenBack ? 4321u : ::geteuid()) << mode;
        });
    }
}

} // namespace
