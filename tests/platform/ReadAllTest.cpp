#include "platform/ReadAll.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "platform/FileDescriptor.h"
#include "tests/support/NamedCases.h"
#include "tests/support/TempDir.h"

namespace wh {
namespace {

using test::PrintTo;

struct TReadCase {
    const char* Name;
    std::size_t Size;
    long long Offset;
    long long Result;
    std::string Bytes;
};

class ReadAllFromFile : public ::testing::TestWithParam<TReadCase> {};

TEST_P(ReadAllFromFile, ReadsUpToSizeFromTheOffsetOrTheOwnPosition) {
    const TReadCase& c = GetParam();
    test::TTempDir dir;
    test::WriteFile(dir / "f", "0123456789");
    TFileDescriptor fd = OpenFile(dir / "f", OpenRead);
    ASSERT_EQ(::lseek(fd.Get(), 2, SEEK_SET), 2);
    std::string buffer(c.Size, '\0');
    ASSERT_EQ(ReadAll(fd.Get(), buffer.data(), c.Size, c.Offset), c.Result);
    EXPECT_EQ(buffer.substr(0, static_cast<std::size_t>(c.Result)), c.Bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadAllFromFile,
                         ::testing::Values(TReadCase{"OwnPosition", 4, -1, 4, "2345"},
                                           TReadCase{"Offset", 3, 7, 3, "789"},
                                           TReadCase{"StopsAtTheEnd", 8, 6, 4, "6789"},
                                           TReadCase{"OffsetPastTheEnd", 4, 20, 0, ""}),
                         [](const auto& info) { return std::string(info.param.Name); });

// A pipe hands the bytes over in the writer's pieces: the loop must go on
// until the buffer is full or the writer has gone.
TEST(ReadAllTest, GathersShortReadsOfAPipeAndFailsOnAClosedHandle) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    TFileDescriptor readEnd(ends[0]);
    std::thread writer([w = ends[1]] {
        for (int i = 0; i < 64; ++i) {
            const std::string piece(1000, static_cast<char>('a' + i % 26));
            EXPECT_EQ(::write(w, piece.data(), piece.size()), 1000);
        }
        ::close(w);
    });
    char first[10];
    EXPECT_EQ(ReadAll(readEnd.Get(), first, sizeof first), 10);
    const std::optional<std::string> rest = ReadToEnd(readEnd.Get(), 16);
    writer.join();
    ASSERT_TRUE(rest);
    EXPECT_EQ(rest->size(), 64000u - 10);
    EXPECT_EQ(rest->back(), 'a' + 63 % 26);

    readEnd.Reset();
    EXPECT_EQ(ReadAll(ends[0], first, sizeof first), -1);
    EXPECT_FALSE(ReadToEnd(ends[0], 16));
}

} // namespace
} // namespace wh
