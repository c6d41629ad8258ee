#include "platform/FileTimes.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/TempDir.h"

namespace {

using wh::TDateTimeParts;
using wh::TPackedDateTime;
using wh::test::TTempDir;

// Runs the test in a fixed time zone given as a POSIX rule (no zone files needed).
class TTimeZone {
public:
    explicit TTimeZone(const char* rule) {
        if (const char* old = std::getenv("TZ"))
            FOld = old;
        FHadOld = std::getenv("TZ") != nullptr;
        ::setenv("TZ", rule, 1);
        ::tzset();
    }
    ~TTimeZone() {
        if (FHadOld)
            ::setenv("TZ", FOld.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::string FOld;
    bool FHadOld = false;
};

struct TPackCase {
    TDateTimeParts Parts;
    std::uint32_t Bits;      // worked out by hand from the field layout
    TDateTimeParts Unpacked; // what comes back: seconds to the even second below
};

const TPackCase kPackCases[] = {
    {{1980, 1, 1, 0, 0, 0}, 0x00210000u, {1980, 1, 1, 0, 0, 0}},
    {{1980, 1, 1, 0, 0, 1}, 0x00210000u, {1980, 1, 1, 0, 0, 0}},
    {{2009, 6, 15, 13, 45, 31}, 0x3ACF6DAFu, {2009, 6, 15, 13, 45, 30}},
    {{2043, 12, 31, 23, 59, 59}, 0x7F9FBF7Du, {2043, 12, 31, 23, 59, 58}},
    {{2044, 1, 1, 0, 0, 0}, 0x80210000u, {2044, 1, 1, 0, 0, 0}},
    {{2107, 12, 31, 23, 59, 58}, 0xFF9FBF7Du, {2107, 12, 31, 23, 59, 58}},
};

TEST(PackedDateTimeTest, PacksAndUnpacksAtTheEdges) {
    for (const TPackCase& c : kPackCases) {
        const TPackedDateTime packed = wh::PackDateTime(c.Parts);
        EXPECT_EQ(static_cast<std::uint32_t>(packed), c.Bits) << c.Parts.Year;
        EXPECT_EQ(wh::UnpackDateTime(packed), c.Unpacked) << c.Parts.Year;
    }
}

TEST(PackedDateTimeTest, TurnsNegativeFromTheYear2044) {
    const TPackedDateTime lastPositive = wh::PackDateTime({2043, 12, 31, 23, 59, 58});
    const TPackedDateTime firstNegative = wh::PackDateTime({2044, 1, 1, 0, 0, 0});
    EXPECT_GT(lastPositive, 0);
    EXPECT_LT(firstNegative, 0);
    // Compared as signed numbers, a time stamp from 2044 on sorts before every earlier one.
    EXPECT_LT(firstNegative, wh::PackDateTime({1980, 1, 1, 0, 0, 0}));
}

TEST(PackedDateTimeTest, ConvertsToLocalTimeAndBack) {
    TTimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    for (const TPackCase& c : kPackCases) {
        const TPackedDateTime packed = wh::PackDateTime(c.Parts);
        const std::time_t t = wh::TimeFromPacked(packed);
        EXPECT_EQ(wh::PackedFromTime(t), packed) << c.Parts.Year;
    }
    // 1 January 2000 00:00 UTC is 01:00 in Central Europe; 1 July is summer time.
    EXPECT_EQ(wh::UnpackDateTime(wh::PackedFromTime(946684800)), (TDateTimeParts{2000, 1, 1, 1, 0, 0}));
    EXPECT_EQ(wh::UnpackDateTime(wh::PackedFromTime(962409600)), (TDateTimeParts{2000, 7, 1, 2, 0, 0}));
}

TEST(PackedDateTimeTest, HoldsTimesOutsideTheEncodableYearsAtTheEnds) {
    TTimeZone zone("UTC0");
    EXPECT_EQ(wh::UnpackDateTime(wh::PackedFromTime(0)), (TDateTimeParts{1980, 1, 1, 0, 0, 0}));
    const std::time_t year2200 = 7258118400;
    EXPECT_EQ(wh::UnpackDateTime(wh::PackedFromTime(year2200)), (TDateTimeParts{2107, 12, 31, 23, 59, 58}));
}

TEST(FileAgeTest, IsTheLocalLastWriteTimeOrMinusOne) {
    TTimeZone zone("XYZ-5");
    TTempDir dir;
    const std::string file = dir / "Base.zip";
    wh::test::WriteFile(file, "zip");
    // 2020-03-04 10:20:31 UTC, 15:20:31 five hours east.
    ASSERT_TRUE(wh::SetFileLastWrite(file, 1583317231));
    EXPECT_EQ(wh::UnpackDateTime(wh::FileAge(file)), (TDateTimeParts{2020, 3, 4, 15, 20, 30}));
    EXPECT_EQ(wh::FileAge(dir.Dir() + "BASE.ZIP"), wh::FileAge(file));
    EXPECT_EQ(wh::FileAge(dir / "missing.zip"), -1);
    EXPECT_EQ(wh::FileAge(dir.Path().string()), -1);
}

TEST(FileAgeTest, MatchesACatalogueStampWrittenBack) {
    TTempDir dir;
    const std::string file = dir / "texture.zip";
    wh::test::WriteFile(file, "");
    for (const TPackCase& c : kPackCases) {
        const TPackedDateTime stamp = wh::PackDateTime(c.Parts);
        ASSERT_TRUE(wh::SetFileLastWrite(file, wh::TimeFromPacked(stamp)));
        EXPECT_EQ(wh::FileAge(file), stamp) << c.Parts.Year;
    }
}

TEST(FileTimesTest, KeepsNanosecondsThroughGetAndSetAndFailsForAMissingFile) {
    TTempDir dir;
    const std::string file = dir / "archive.zip";
    wh::test::WriteFile(file, "data");
    wh::TFileTimes wanted;
    wanted.LastAccess = {1600000000, 111111111};
    wanted.LastWrite = {1500000000, 987654321};
    ASSERT_TRUE(wh::SetFileTimes(dir.Dir() + "ARCHIVE.zip", wanted));
    const auto got = wh::GetFileTimes(file);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->LastWrite.tv_sec, wanted.LastWrite.tv_sec);
    EXPECT_EQ(got->LastWrite.tv_nsec, wanted.LastWrite.tv_nsec);
    EXPECT_EQ(got->LastAccess.tv_sec, wanted.LastAccess.tv_sec);
    EXPECT_EQ(got->LastAccess.tv_nsec, wanted.LastAccess.tv_nsec);
    // Birth time, where there is one, is when the file was made, not what was set.
    if (got->Creation.tv_sec != 0) {
        EXPECT_GT(got->Creation.tv_sec, wanted.LastAccess.tv_sec);
    }
    EXPECT_FALSE(wh::GetFileTimes(dir / "missing").has_value());
    EXPECT_FALSE(wh::SetFileTimes(dir / "missing", wh::TFileTimes{}));
    EXPECT_FALSE(wh::SetFileLastWrite(dir / "missing", 1500000000));
}

} // namespace
