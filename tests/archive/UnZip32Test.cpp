#include "archive/UnZip32.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>
#include <zlib.h>
#undef zlib_version // zlib.h would rename the record's field

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "archive/UnzipVersionReport.h"
#include "archive/ZipEntryName.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipBuilder.h"

namespace {

using wh::test::BuildZip;
using wh::test::ReadFile;
using wh::test::TTempDir;
using wh::test::TZipEntry;
using wh::test::WriteFile;
namespace fs = std::filesystem;

// What the library told its callbacks during one run; the callbacks carry no
// context, so the test keeps it in one place.
struct TCalls {
    std::vector<std::string> Messages;
    struct TInfo {
        unsigned long Size, Compressed;
        unsigned Month, Day, Year, Hour, Minute;
        std::string Name, Method;
        unsigned long Crc;
        char Crypt;
    };
    std::vector<TInfo> Infos;
    std::vector<std::string> Serviced;
    int PasswordAsks = 0;
    std::string Password; // what the password callback supplies
};
TCalls G;

int Print(char* buffer, unsigned long size) {
    G.Messages.emplace_back(buffer, size);
    return static_cast<int>(size);
}
int Password(char* buffer, int size, const char*, const char*) {
    ++G.PasswordAsks;
    std::strncpy(buffer, G.Password.c_str(), static_cast<std::size_t>(size) - 1);
    return 1;
}
void Info(unsigned long ucsize, unsigned long csiz, unsigned, unsigned mo, unsigned dy, unsigned yr, unsigned hh,
          unsigned mm, char, const char* name, const char* method, unsigned long crc, char crypt) {
    G.Infos.push_back({ucsize, csiz, mo, dy, yr, hh, mm, name, method, crc, crypt});
}
int Service(const char* name, unsigned long) {
    G.Serviced.emplace_back(name);
    return 0;
}

class UnZip32Test : public ::testing::Test {
protected:
    void SetUp() override { G = TCalls{}; }

    int Unzip(const std::string& zip, const std::string& dir) {
        wh::DCL options{};
        options.ndflag = 1;
        options.noflag = 1;
        options.C_flag = 1;
        options.lpszZipFN = zip.c_str();
        options.lpszExtractDir = dir.c_str();
        wh::USERFUNCTIONS functions{};
        functions.print = Print;
        functions.password = Password;
        functions.SendApplicationMessage = Info;
        functions.ServCallBk = Service;
        return wh::Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, &options, &functions);
    }

    bool Said(const std::string& part) const {
        for (const auto& m : G.Messages)
            if (m.find(part) != std::string::npos)
                return true;
        return false;
    }

    TTempDir FTemp;
};

std::string RandomText(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    static const char kWords[][8] = {"livery ", "texture", " alpha ", "bitmap\n", "panel  "};
    std::string text;
    while (text.size() < size)
        text += random() % 8 == 0 ? static_cast<char>(random() & 0xFF) : kWords[random() % 5][random() % 7];
    text.resize(size);
    return text;
}

TEST_F(UnZip32Test, ArchiveKindsGiveTheClassicCodes) {
    const std::string good = FTemp / "good.zip";
    BuildZip(good, {{"a.txt", RandomText(5000, 1)}, {"b/c.txt", "cc", 0, false, false, true}});
    const std::string whole = ReadFile(good);

    struct Case {
        std::string Name;
        std::string Bytes; // "missing" when no file is written
        int Code;
        std::string Says;
    };
    std::string crcBroken = whole;
    crcBroken.at(whole.find("cc", whole.find("b/c.txt") + 7)) = 'x'; // stored data of b/c.txt
    const Case cases[] = {
        {"missing.zip", "missing", wh::PK_NOZIP, "cannot find or open"},
        {"zapped.zip", "", wh::PK_NOZIP, "empty (0 bytes)"},
        {"text.zip", "this is a web page, not an archive", wh::PK_NOZIP, "not a zip archive"},
        {"truncated.zip", whole.substr(0, whole.size() / 2), wh::PK_NOZIP, "not a zip archive"},
        {"crc.zip", crcBroken, wh::PK_ERR, "bad CRC"},
        // libzip writes nothing for an empty archive, so the end record is written by hand.
        {"none.zip", std::string("PK\x05\x06", 4) + std::string(18, '\0'), wh::PK_WARN, "zipfile is empty"},
        {"good.zip", whole, wh::PK_OK, "inflating"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        G = TCalls{};
        const std::string path = FTemp / ("in/" + c.Name);
        if (c.Bytes != "missing")
            WriteFile(path, c.Bytes);
        EXPECT_EQ(Unzip(path, FTemp / ("out-" + c.Name)), c.Code);
        EXPECT_TRUE(Said(c.Says));
        for (const auto& m : G.Messages)
            EXPECT_EQ(m.back(), '\n') << m;
    }
}

TEST_F(UnZip32Test, ReportsEveryEntryToTheApplication) {
    std::tm when{};
    when.tm_year = 2003 - 1900;
    when.tm_mon = 4;
    when.tm_mday = 17;
    when.tm_hour = 13;
    when.tm_min = 45;
    when.tm_sec = 10;
    when.tm_isdst = -1;
    const std::time_t t = std::mktime(&when);
    const std::string data = RandomText(20000, 2);
    const std::string zip = FTemp / "a.zip";
    BuildZip(zip, {{"one.bmp", data, t}, {"two.cfg", "x=1", t, false, false, true}});
    ASSERT_EQ(Unzip(zip, FTemp / "out"), wh::PK_OK);

    ASSERT_EQ(G.Infos.size(), 2u);
    const auto& one = G.Infos[0];
    EXPECT_EQ(one.Name, "one.bmp");
    EXPECT_EQ(one.Size, data.size());
    EXPECT_LT(one.Compressed, data.size());
    EXPECT_EQ(one.Crc, crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    EXPECT_EQ(one.Method, "Defl:N");
    EXPECT_EQ(std::vector<unsigned>({one.Year, one.Month, one.Day, one.Hour, one.Minute}),
              std::vector<unsigned>({2003, 5, 17, 13, 45}));
    EXPECT_EQ(one.Crypt, ' ');
    EXPECT_EQ(G.Infos[1].Method, "Stored");
    EXPECT_EQ(G.Serviced, (std::vector<std::string>{"one.bmp", "two.cfg"}));
}

TEST_F(UnZip32Test, EncryptedEntriesNeedThePasswordCallback) {
    struct Case {
        std::string Supplied;
        int Code;
        bool Extracted;
        std::string Says;
    };
    const Case cases[] = {
        {"", wh::PK_ERR, false, "unable to get password"},
        {"wrong", wh::PK_ERR, false, "incorrect password"},
        {"secret", wh::PK_OK, true, "inflating"},
    };
    const std::string zip = FTemp / "locked.zip";
    const std::string secret = RandomText(4000, 4);
    TZipEntry locked{"locked.txt", secret};
    locked.Encrypted = true;
    TZipEntry second = locked;
    second.Name = "second.txt";
    BuildZip(zip, {locked, second});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Supplied);
        G = TCalls{};
        G.Password = c.Supplied;
        const fs::path out = FTemp.Path() / ("out-" + c.Supplied);
        EXPECT_EQ(Unzip(zip, out.string()), c.Code);
        EXPECT_EQ(fs::exists(out / "locked.txt"), c.Extracted);
        EXPECT_TRUE(Said(c.Says));
        if (c.Extracted) {
            EXPECT_TRUE(ReadFile(out / "second.txt") == secret);
            EXPECT_EQ(G.PasswordAsks, 1); // the good password is kept for the next entry
            EXPECT_EQ(G.Infos.at(0).Crypt, 'E');
        }
        for (const auto& entry : fs::directory_iterator(out)) // no temporary left behind
            EXPECT_TRUE(entry.path().filename() == "locked.txt" || entry.path().filename() == "second.txt");
    }
}

TEST_F(UnZip32Test, LargeEntriesArriveWhole) {
    // Bigger than the copy buffer several times over, in both methods.
    const std::string big = RandomText(3 * 1024 * 1024 + 17, 3);
    const std::string zip = FTemp / "big.zip";
    BuildZip(zip, {{"deflated.bin", big}, {"stored.bin", big, 0, false, false, true}});
    ASSERT_EQ(Unzip(zip, FTemp / "out"), wh::PK_OK);
    EXPECT_TRUE(ReadFile(FTemp.Path() / "out/deflated.bin") == big);
    EXPECT_TRUE(ReadFile(FTemp.Path() / "out/stored.bin") == big);
}

TEST_F(UnZip32Test, NameListsAreRefusedRatherThanIgnored) {
    const std::string zip = FTemp / "a.zip";
    BuildZip(zip, {{"a.txt", "a"}});
    char name[] = "a.txt";
    char* names[] = {name};
    wh::DCL options{};
    options.ndflag = options.noflag = 1;
    const std::string out = FTemp / "out";
    options.lpszZipFN = zip.c_str();
    options.lpszExtractDir = out.c_str();
    wh::USERFUNCTIONS functions{};
    EXPECT_EQ(wh::Wiz_SingleEntryUnzip(1, names, 0, nullptr, &options, &functions), wh::PK_PARAM);
    EXPECT_EQ(wh::Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, nullptr, &functions), wh::PK_PARAM);
    options.ndflag = 0; // without their folders: not what this binding does
    EXPECT_EQ(wh::Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, &options, &functions), wh::PK_PARAM);
    EXPECT_FALSE(fs::exists(FTemp.Path() / "out/a.txt"));
}

TEST(ZipEntryNameTest, SplitsOnBothSeparatorsAndRefusesEscapes) {
    using P = wh::TEntryNameProblem;
    struct Case {
        std::string Name;
        P Problem;
        std::vector<std::string> Components;
        bool Folder;
    };
    const Case cases[] = {
        {"a.bmp", P::None, {"a.bmp"}, false},
        {"texture.abc/a.bmp", P::None, {"texture.abc", "a.bmp"}, false},
        {"texture.abc\\a.bmp", P::None, {"texture.abc", "a.bmp"}, false},
        {"model\\sub/x.mdl", P::None, {"model", "sub", "x.mdl"}, false},
        {"texture.abc/", P::None, {"texture.abc"}, true},
        {"texture.abc\\", P::None, {"texture.abc"}, true},
        {"./a//b/./c", P::None, {"a", "b", "c"}, false},
        {"a..b/c..", P::None, {"a..b", "c.."}, false},
        {"", P::Empty, {}, false},
        {"./", P::Empty, {}, false},
        {"/etc/passwd", P::Absolute, {}, false},
        {"\\windows\\x.dll", P::Absolute, {}, false},
        {"C:\\x.dll", P::DriveLetter, {}, false},
        {"c:x.dll", P::DriveLetter, {}, false},
        {"../x", P::ParentFolder, {}, false},
        {"a/../../x", P::ParentFolder, {}, false},
        {"a\\..\\x", P::ParentFolder, {}, false},
        {"a/..", P::ParentFolder, {}, false},
    };
    for (const Case& c : cases) {
        wh::TZipEntryPath path;
        EXPECT_EQ(wh::SplitEntryName(c.Name, path), c.Problem) << c.Name;
        if (c.Problem == P::None) {
            EXPECT_EQ(path.Components, c.Components) << c.Name;
            EXPECT_EQ(path.IsFolder, c.Folder) << c.Name;
        }
    }
}

TEST(UzpVersionTest, DescribesTheZipAndCompressionLibraries) {
    const wh::UzpVer* version = wh::UzpVersion();
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version, wh::UzpVersion()); // one record for the program's life
    EXPECT_EQ(version->flag & 1u, 0u);    // not a beta
    EXPECT_EQ(version->flag & 2u, 2u);    // uses zlib
    ASSERT_NE(version->zlib_version, nullptr);
    EXPECT_STREQ(version->zlib_version, zlibVersion());
    EXPECT_EQ(version->unzip.major, LIBZIP_VERSION_MAJOR);
    EXPECT_EQ(version->unzip.minor, LIBZIP_VERSION_MINOR);
    EXPECT_EQ(version->windll.major, 1);
    EXPECT_EQ(version->windll.minor, 0);
}

TEST(UnzipVersionReportTest, SixPaddedLines) {
    wh::UzpVer version;
    version.flag = 3;
    version.betalevel = "c";
    version.date = "20 April 2009";
    version.zlib_version = "1.2.13";
    version.unzip = {6, 0, 0, 0};
    version.windll = {12, 34, 0, 0};
    EXPECT_EQ(wh::UnzipVersionReport(version), (std::vector<std::string>{
                                                   "Flag         : 3 [1: is_beta, ?: uses_zlib]",
                                                   "BetaLevel    : c",
                                                   "Date         : 20 April 2009",
                                                   "ZLib_Version : 1.2.13",
                                                   "UnZip        : 6.0",
                                                   "WinDll       : 12.34",
                                               }));
    version.zlib_version = nullptr;
    version.flag = 4294967295u; // shown unsigned
    const auto lines = wh::UnzipVersionReport(version);
    EXPECT_EQ(lines.at(3), "ZLib_Version : ");
    EXPECT_EQ(lines.at(0), "Flag         : 4294967295 [1: is_beta, ?: uses_zlib]");
}

} // namespace
