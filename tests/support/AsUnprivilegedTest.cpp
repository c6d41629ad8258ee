#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

#include "tests/support/AsUnprivileged.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// What the child does and what the calling test must see of it.
struct TChildCase {
    const char* Name;
    std::function<void()> Body;
    int Failures;
    std::string Shown; // part of the first failure's text
};

TEST(AsUnprivileged, ChildFailuresBecomeTheCallersFailures) {
    const TChildCase cases[] = {
        {"passes", [] { EXPECT_EQ(1 + 1, 2); }, 0, ""},
        {"two expectations fail",
         [] {
             EXPECT_EQ(1, 2) << "first";
             EXPECT_TRUE(false) << "second";
         },
         2, "first"},
        {"assertion ends the body",
         [] {
             ASSERT_TRUE(false) << "stop";
             ADD_FAILURE() << "never";
         },
         1, "stop"},
        {"exception escapes", [] { throw std::runtime_error("thrown"); }, 1, "thrown"},
        {"crash", [] { std::abort(); }, 1, "signal"},
        {"runs as a user", [] { EXPECT_NE(::geteuid(), 0u) << "still root"; }, 0, ""},
        {"file modes hold",
         [] {
             wh::test::TTempDir dir;
             fs::create_directory(dir.Path() / "ro");
             fs::permissions(dir.Path() / "ro", fs::perms::owner_read | fs::perms::owner_exec);
             EXPECT_TRUE(std::ofstream(dir.Path() / "ro" / "f").is_open()) << "refused as it should be";
         },
         1, "refused as it should be"},
    };
    for (const TChildCase& c : cases) {
        testing::TestPartResultArray results;
        {
            testing::ScopedFakeTestPartResultReporter intercept(
                testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
            wh::test::AsUnprivileged(c.Body);
        }
        EXPECT_EQ(results.size(), c.Failures) << c.Name;
        if (results.size() > 0 && c.Failures > 0) {
            EXPECT_NE(std::string(results.GetTestPartResult(0).message()).find(c.Shown), std::string::npos)
                << c.Name << ": " << results.GetTestPartResult(0).message();
        }
    }
}

TEST(AsUnprivileged, HandedOverFolderIsWritableByTheChild) {
    wh::test::TTempDir dir;
    fs::create_directory(dir.Path() / "given");
    wh::test::HandToUnprivileged(dir.Path());
    wh::test::AsUnprivileged([&] { EXPECT_TRUE(std::ofstream(dir.Path() / "given" / "f").is_open()); });
    EXPECT_TRUE(fs::exists(dir.Path() / "given" / "f"));
}

} // namespace
