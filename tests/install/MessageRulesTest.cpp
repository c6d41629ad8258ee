#include "install/MessageRules.h"

#include <gtest/gtest.h>

namespace wh {
namespace {

TEST(ApplicationTitleTest, NameUpToFirstDotWithTheRestLowerCased) {
    const std::pair<std::string, std::string> cases[] = {
        {"WingharbourClient", "Wingharbourclient"},
        {"WingharbourClient.exe", "Wingharbourclient"},
        {"WINGHARBOURCLIENT.EXE", "Wingharbourclient"},
        {"my.Client.exe", "my"},
        {"wingharbourClient", "wingharbourclient"},
        {"\xC4\xC4ROPLANE", "\xC4\xE4roplane"}, // Windows-1252 letters fold too
        {".hidden", ""},
        {"", ""},
        {"X", "X"},
    };
    for (const auto& [file, title] : cases)
        EXPECT_EQ(ApplicationTitle(file), title) << file;
}

TEST(ErrorBoxTextTest, AddsAFinalDotOnlyAfterCharactersThatSortAfterIt) {
    const std::pair<std::string, std::string> cases[] = {
        {"Could not fetch file 'packages.zip'", "Could not fetch file 'packages.zip'"}, // "'" sorts before "."
        {"directory entry missing in packages.lst section 0", "directory entry missing in packages.lst section 0."},
        {"URL-protocol for 'file://x' not supported.", "URL-protocol for 'file://x' not supported."},
        {"ends with digit 7", "ends with digit 7."},
        {"ends with slash/", "ends with slash/."},
        {"ends with comma,", "ends with comma,"}, // ',' sorts before '.'
        {"ends with dash-", "ends with dash-"},
        {"ends with blank ", "ends with blank "},
        {"ends with bang!", "ends with bang!"},
        {"caf\xE9", "caf\xE9."}, // bytes above 127 sort after '.'
        {"", ""},
    };
    for (const auto& [message, shown] : cases)
        EXPECT_EQ(ErrorBoxText(message), shown) << message;
}

} // namespace
} // namespace wh
