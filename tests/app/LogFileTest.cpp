#include "app/LogFile.h"

#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "tests/support/TempDir.h"

namespace wh {
namespace {

using test::ReadFile;
using test::TTempDir;
using test::WriteFile;

TEST(LogFileTest, TruncatesAndEndsEveryLineWithCrLf) {
    TTempDir dir;
    WriteFile(dir / "x.LOG", "old content of an earlier run\r\n");
    TLogFile log(dir / "x.LOG");
    EXPECT_EQ(ReadFile(dir / "x.LOG"), "");
    log.WriteLine("first");
    // Flushed at once: another reader sees the line while the log is open.
    EXPECT_EQ(ReadFile(dir / "x.LOG"), "first\r\n");
    log.WriteLine("");
    log.WriteLine("Status: caf\xE9");
    EXPECT_EQ(ReadFile(dir / "x.LOG"), "first\r\n\r\nStatus: caf\xE9\r\n");
}

TEST(LogFileTest, CannotBeCreatedRaisesAnOpenError) {
    TTempDir dir;
    EXPECT_THROW(TLogFile(dir / "no such folder/x.LOG"), EFOpenError);
    EXPECT_THROW(TLogFile(dir.Path().string()), EFOpenError); // a folder
}

TEST(LogFileTest, AFailedWriteRaisesAFileError) {
    TLogFile log("/dev/full");
    EXPECT_THROW(log.WriteLine("no space"), EFileError);
}

} // namespace
} // namespace wh
