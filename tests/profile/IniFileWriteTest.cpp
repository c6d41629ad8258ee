#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <functional>
#include <optional>

#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "profile/IniFiles.h"
#include "tests/profile/ProfileTestFiles.h"
#include "tests/support/AsUnprivileged.h"
#include "tests/support/TempDir.h"

using namespace std::string_literals;
using wh::TIniFile;
using wh::test::ReadFile;
using wh::test::TTempDir;
using wh::test::WriteFile;

namespace {

struct TWriteCase {
    const char* Name;
    std::optional<std::string> Before; // nothing: no file yet
    std::string Section, Key, Value;
    std::string After;
};

TEST(IniFileWrite, WriteStringChangesOnlyWhatItMust) {
    const std::string preamble = "Data \0 before \0 first \0 section"s;
    const std::vector<TWriteCase> cases = {
        {"new file", std::nullopt, "App", "key", "", "[App]\r\nkey=\r\n"},
        {"empty file", "", "App", "key", "", "[App]\r\nkey=\r\n"},
        {"new section at the end", "[a]\r\nx=1\r\n", "b", "k", "v", "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
        {"unended last line ended first", "[a]\r\nx=1", "b", "k", "v", "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
        {"other line ends stay", "[a]\nx=1\n", "b", "k", "v", "[a]\nx=1\n[b]\r\nk=v\r\n"},
        {"bytes before any header stay", preamble, "section1", "key1", "string1",
         preamble + "\r\n[section1]\r\nkey1=string1\r\n"},
        {"new names trimmed", "", " n ", " k ", "  v", "[n]\r\nk=v\r\n"},
        {"value replaced in its line", "; top\r\n[a]\n\n  key = old  \r\n[b]\rz=1\r\n\r\n", "A", "KEY", "new",
         "; top\r\n[a]\n\n  key = new  \r\n[b]\rz=1\r\n\r\n"},
        {"empty value replaced", "[a]\r\nk=\r\nz=1\r\n", "a", "k", "v", "[a]\r\nk=v\r\nz=1\r\n"},
        {"value emptied", "[a]\r\nk=1\r\n", "a", "k", "", "[a]\r\nk=\r\n"},
        {"bare line gets its value", "[a]\r\n flag \r\n", "a", "flag", "1", "[a]\r\n flag=1 \r\n"},
        {"first duplicate section", "[s]\r\nk=1\r\n[S]\r\nk=2\r\n", "s", "k", "3", "[s]\r\nk=3\r\n[S]\r\nk=2\r\n"},
        {"first duplicate key", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "9", "[s]\r\nk=9\r\nK=2\r\n"},
        {"new key joins the first duplicate", "[s]\r\na=1\r\n[s]\r\nb=2\r\n", "s", "b", "3",
         "[s]\r\na=1\r\nb=3\r\n[s]\r\nb=2\r\n"},
        {"new key before blank lines", "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n", "a", "k", "v",
         "[a]\r\nx=1\r\nk=v\r\n\r\n[b]\r\ny=2\r\n"},
        {"new key after a comment entry", "[a]\r\nx=1\r\n; note\r\n[b]\r\n", "a", "k", "v",
         "[a]\r\nx=1\r\n; note\r\nk=v\r\n[b]\r\n"},
        {"new key under a bare header", "[a]\r\n[b]\r\n", "a", "k", "v", "[a]\r\nk=v\r\n[b]\r\n"},
        {"new key under an unended header", "[a]", "a", "k", "v", "[a]\r\nk=v\r\n"},
        {"new key after an unended entry", "[a]\nx=1", "a", "k", "v", "[a]\nx=1\r\nk=v\r\n"},
        {"LF CR file", "[a]\n\rx=1\n\r\n\r[b]\n\r", "a", "k", "v", "[a]\n\rx=1\n\rk=v\r\n\n\r[b]\n\r"},
        {"CR file", "[a]\rx=1\r[b]\r", "b", "k", "v", "[a]\rx=1\r[b]\rk=v\r\n"},
        {"Windows-1252 letter case", "[\xC4RGER]\r\nk=1\r\n", "\xE4rger", "K", "2", "[\xC4RGER]\r\nk=2\r\n"},
        {"arguments trimmed", "[a]\r\nk=1\r\n", "  a ", " k\t", "2", "[a]\r\nk=2\r\n"},
    };
    TTempDir dir;
    int file = 0;
    for (const auto& c : cases) {
        // Names as long as the file system allows.
        const std::string path = dir / ("w" + std::to_string(++file) + std::string(247, 'n') + ".ini");
        if (c.Before)
            WriteFile(path, *c.Before);
        TIniFile(path).WriteString(c.Section, c.Key, c.Value);
        EXPECT_EQ(ReadFile(path), c.After) << c.Name;
        EXPECT_EQ(TIniFile(path).ReadString(c.Section, c.Key, "-"), wh::Trim(c.Value)) << c.Name;
    }
}

TEST(IniFileWrite, WriteBoolWritesOneOrZero) {
    TTempDir dir;
    TIniFile ini(dir / "b.ini");
    ini.WriteBool("Welcome", "LocalDir", true);
    ini.WriteBool("Welcome", "URL", false);
    EXPECT_EQ(ReadFile(dir / "b.ini"), "[Welcome]\r\nLocalDir=1\r\nURL=0\r\n");
    EXPECT_TRUE(ini.ReadBool("Welcome", "LocalDir", false));
    EXPECT_FALSE(ini.ReadBool("Welcome", "URL", true));
}

TEST(IniFileWrite, SameValueLeavesTheFileUntouched) {
    TTempDir dir;
    for (const char* text : {"[a]\r\nk=v\r\n", "[A]\n  K =  v \n", "[a]\nk=v\n[a]\nk=w\n"}) {
        const auto path = dir.Path() / "same.ini";
        WriteFile(path, text);
        wh::test::AgeFile(path, std::chrono::seconds(60));
        const auto before = std::filesystem::last_write_time(path);
        struct stat st {};
        ::stat(path.c_str(), &st);
        TIniFile(path.string()).WriteString("a", "k", "v");
        struct stat after {};
        ::stat(path.c_str(), &after);
        EXPECT_EQ(ReadFile(path), text);
        EXPECT_EQ(std::filesystem::last_write_time(path), before) << text;
        EXPECT_EQ(after.st_ino, st.st_ino) << text;
    }
}

struct TEraseCase {
    const char* Name;
    std::string Before, Section, After;
};

TEST(IniFileWrite, EraseSectionRemovesHeaderAndLines) {
    const std::vector<TEraseCase> cases = {
        {"first section", "[a]\r\nx=1\r\n[b]\r\ny=2\r\n", "a", "[b]\r\ny=2\r\n"},
        {"last section", "[a]\r\nx=1\r\n[b]\r\ny=2\r\n", "B", "[a]\r\nx=1\r\n"},
        {"first of duplicates", "[s]\r\nk=1\r\n[t]\r\n[S]\r\nk=2\r\n", "s", "[t]\r\n[S]\r\nk=2\r\n"},
        {"comments inside go, the next header's stays", "[a]\r\n; inside\r\nx=1\r\nbare\r\n; about b\r\n[b]\r\ny=2\r\n",
         "a", "; about b\r\n[b]\r\ny=2\r\n"},
        {"comment above the erased header stays", "[p]\r\nq=1\r\n; about a\r\n[a]\r\nx=1\r\n", "a",
         "[p]\r\nq=1\r\n; about a\r\n"},
        {"blank lines before the next header go", "[a]\r\nx=1\r\n\r\n[b]\r\n", "a", "[b]\r\n"},
        {"blank lines among kept comments stay", "[a]\r\nx=1\r\n\r\n; b\r\n\r\n[b]\r\n", "a", "; b\r\n\r\n[b]\r\n"},
        {"text after ]", "[a] ; x\nk=1\n[b]\n", "a", "[b]\n"},
        {"lines before any header stay", "pre=1\n[a]\nx=1\n", "a", "pre=1\n"},
        {"Windows-1252 letter case", "[\xC4RGER]\rk=1\r[b]\r", "\xE4rger", "[b]\r"},
        {"section argument not trimmed", "[a]\r\nx=1\r\n", " a", "[a]\r\nx=1\r\n"},
        {"missing section", "[a]\r\nx=1\r\n", "b", "[a]\r\nx=1\r\n"},
    };
    TTempDir dir;
    for (const auto& c : cases) {
        WriteFile(dir / "e.ini", c.Before);
        TIniFile(dir / "e.ini").EraseSection(c.Section);
        EXPECT_EQ(ReadFile(dir / "e.ini"), c.After) << c.Name;
    }
}

TEST(IniFileWrite, EraseSectionOfAMissingFileWritesNothing) {
    TTempDir dir;
    EXPECT_NO_THROW(TIniFile(dir / "none.ini").EraseSection("a"));
    EXPECT_TRUE(wh::test::FolderEntries(dir.Path()).empty());
}

struct TRefusedCase {
    const char* Name;
    std::function<void(const TTempDir&)> Prepare;
    std::string FileName;  // relative to the folder; "\\" as the program composes it
    std::string ShownName; // as the message shows it
};

// Every write raises the message naming the file; the folder and the file
// stay as they were, no temporary file is left. Erasing from a file that
// does not exist has nothing to do and raises nothing.
void ExpectRefused(const TRefusedCase& c) {
    TTempDir dir;
    c.Prepare(dir);
    const auto entriesBefore = wh::test::FolderEntries(dir.Path());
    const std::string shown = "Unable to write to " + dir.Dir() + c.ShownName;
    const std::optional<std::string> bytesBefore =
        std::filesystem::is_regular_file(dir / c.ShownName) ? std::optional(ReadFile(dir / c.ShownName)) : std::nullopt;
    TIniFile ini(dir.Dir() + c.FileName);
    const auto expectRaise = [&](const std::function<void()>& write, const char* what) {
        try {
            write();
            ADD_FAILURE() << c.Name << ": " << what << " raised nothing";
        } catch (const wh::EWriteError& e) {
            EXPECT_EQ(std::string(e.what()), shown) << c.Name << ": " << what;
        }
    };
    expectRaise([&] { ini.WriteString("a", "k", "2"); }, "WriteString");
    expectRaise([&] { ini.WriteBool("b", "k", true); }, "WriteBool");
    if (bytesBefore) {
        expectRaise([&] { ini.EraseSection("a"); }, "EraseSection");
        EXPECT_EQ(ReadFile(dir / c.ShownName), *bytesBefore) << c.Name;
    } else {
        EXPECT_NO_THROW(ini.EraseSection("a")) << c.Name;
    }
    EXPECT_EQ(wh::test::FolderEntries(dir.Path()), entriesBefore) << c.Name;
}

TEST(IniFileWrite, RefusedWritesRaiseAndLeaveEverythingAsItWas) {
    const std::vector<TRefusedCase> cases = {
        {"target is a folder", [](const TTempDir& d) { std::filesystem::create_directory(d.Path() / "t.ini"); },
         "t.ini", "t.ini"},
        {"folder is a file", [](const TTempDir& d) { WriteFile(d / "plain", "x"); }, "plain\\t.ini", "plain/t.ini"},
        {"missing folder", [](const TTempDir&) {}, "missing\\t.ini", "missing/t.ini"},
    };
    for (const auto& c : cases)
        ExpectRefused(c);
}

TEST(IniFileWrite, WriteProtectionRefusesWrites) {
    const auto readOnly = [](const std::filesystem::path& p) {
        std::filesystem::permissions(p, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    };
    const std::vector<TRefusedCase> cases = {
        {"read-only folder",
         [&](const TTempDir& d) {
             WriteFile(d / "ro/t.ini", "[a]\r\nk=1\r\n");
             readOnly(d.Path() / "ro");
         },
         "ro\\t.ini", "ro/t.ini"},
        {"read-only file",
         [&](const TTempDir& d) {
             WriteFile(d / "t.ini", "[a]\r\nk=1\r\n");
             readOnly(d.Path() / "t.ini");
         },
         "t.ini", "t.ini"},
    };
    wh::test::AsUnprivileged([&] {
        for (const auto& c : cases)
            ExpectRefused(c);
    });
}

TEST(IniFileWrite, LineBreaksInNamesOrValuesAreRefused) {
    TTempDir dir;
    WriteFile(dir / "i.ini", "[a]\r\nk=1\r\n");
    TIniFile ini(dir / "i.ini");
    for (const auto& [section, key, value] : std::vector<std::array<std::string, 3>>{
             {"a", "k", "x\r\n[evil]\r\ny=1"}, {"a", "k\nz", "1"}, {"a\r[b]", "k", "1"}})
        EXPECT_THROW(ini.WriteString(section, key, value), wh::EWriteError) << value;
    EXPECT_EQ(ReadFile(dir / "i.ini"), "[a]\r\nk=1\r\n");
}

TEST(IniFileWrite, ReplacingKeepsPermissionsAndLinks) {
    TTempDir dir;
    WriteFile(dir / "p.ini", "[a]\r\nk=1\r\n");
    std::filesystem::permissions(dir.Path() / "p.ini", static_cast<std::filesystem::perms>(0640));
    TIniFile(dir / "p.ini").WriteString("a", "k", "2");
    EXPECT_EQ(wh::test::ModeBits(dir.Path() / "p.ini"), 0640u);

    std::filesystem::create_symlink("p.ini", dir.Path() / "link.ini");
    TIniFile(dir / "link.ini").WriteString("a", "k", "3");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "link.ini"));
    EXPECT_EQ(ReadFile(dir / "p.ini"), "[a]\r\nk=3\r\n");

    const mode_t oldMask = ::umask(027);
    TIniFile(dir / "new.ini").WriteString("a", "k", "1");
    ::umask(oldMask);
    EXPECT_EQ(wh::test::ModeBits(dir.Path() / "new.ini"), 0640u);
    EXPECT_EQ(wh::test::FolderEntries(dir.Path()), (std::set<std::string>{"link.ini", "new.ini", "p.ini"}));
}

} // namespace
