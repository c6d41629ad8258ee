#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <random>

#include "archive/Extract.h"
#include "archive/ZapFile.h"
#include "platform/Errors.h"
#include "platform/FileTimes.h"
#include "platform/Paths.h"
#include "tests/support/AsUnprivileged.h"
#include "tests/support/TempDir.h"

namespace {

using wh::test::RandomBytes;
using wh::test::ReadFile;
using wh::test::TTempDir;
using wh::test::WriteFile;
namespace fs = std::filesystem;

TEST(ZapFileTest, EmptiesTheFileAndKeepsItsTimes) {
    TTempDir temp;
    const std::string path = temp / "base.zip";
    WriteFile(path, RandomBytes(5 * 1024 * 1024 + 3, 1));
    wh::TFileTimes set;
    set.LastAccess = {1100000000, 250000000}; // an access later than the write, as after a read
    set.LastWrite = {1000000000, 500000000};
    ASSERT_TRUE(wh::SetFileTimes(path, set));
    const auto before = wh::GetFileTimes(path);
    const auto ageBefore = wh::FileAge(path);
    ASSERT_TRUE(before);

    wh::ZapFile(path);

    EXPECT_EQ(wh::FileSizeOf(path), 0);
    const auto after = wh::GetFileTimes(path);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->LastWrite.tv_sec, before->LastWrite.tv_sec);
    EXPECT_EQ(after->LastAccess.tv_sec, before->LastAccess.tv_sec);
    EXPECT_EQ(after->Creation.tv_sec, before->Creation.tv_sec);
    EXPECT_EQ(wh::FileAge(path), ageBefore);
}

TEST(ZapFileTest, FindsTheFileWithoutRegardToCase) {
    TTempDir temp;
    WriteFile(temp.Path() / "A320" / "Texture.zip", "data");
    wh::ZapFile(temp / "a320\\TEXTURE.ZIP");
    EXPECT_EQ(fs::file_size(temp.Path() / "A320" / "Texture.zip"), 0u);
}

TEST(ZapFileTest, FailuresRaiseFileErrorsAndLeaveTheFile) {
    struct Case {
        std::string Name;
        std::function<std::string(const TTempDir&)> Prepare; // gives the path to zap
        std::string Kind;
        bool NeedsNonRoot = false;
    };
    std::unique_ptr<std::ifstream> holder;
    const Case cases[] = {
        {"missing", [](const TTempDir& t) { return t / "none.zip"; }, "open"},
        {"folder",
         [](const TTempDir& t) {
             fs::create_directory(t.Path() / "folder.zip");
             return t / "folder.zip";
         },
         "open"},
        {"held open by another reader",
         [&holder](const TTempDir& t) {
             WriteFile(t.Path() / "held.zip", "still here");
             holder = std::make_unique<std::ifstream>(t.Path() / "held.zip");
             return t / "held.zip";
         },
         "open"},
        {"read-only",
         [](const TTempDir& t) {
             WriteFile(t.Path() / "ro.zip", "still here");
             fs::permissions(t.Path() / "ro.zip", fs::perms::owner_read);
             return t / "ro.zip";
         },
         "inout", true},
    };
    const auto check = [&holder](const Case& c) {
        SCOPED_TRACE(c.Name);
        TTempDir temp;
        const std::string path = c.Prepare(temp);
        const bool wasFile = fs::is_regular_file(path);
        std::string kind, message;
        try {
            wh::ZapFile(path);
        } catch (const wh::EFOpenError& e) {
            kind = "open";
            message = e.what();
        } catch (const wh::EInOutError& e) {
            kind = "inout";
            message = e.what();
        }
        EXPECT_EQ(kind, c.Kind);
        EXPECT_NE(message.find("\"" + wh::NativePath(path) + "\""), std::string::npos) << message;
        if (wasFile) {
            EXPECT_EQ(ReadFile(path), "still here");
        }
        holder.reset();
    };
    for (const Case& c : cases) {
        if (c.NeedsNonRoot)
            wh::test::AsUnprivileged([&] { check(c); }); // file modes do not hold root back
        else
            check(c);
    }
}

} // namespace
