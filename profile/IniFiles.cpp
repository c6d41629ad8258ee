#include "profile/IniFiles.h"

#include <string_view>

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "profile/ProfileEdit.h"
#include "profile/ProfileStore.h"

namespace wh {

namespace {

// Names and values reach the store as C strings: a NUL ends them.
std::string_view AsCString(const std::string& text) { return std::string_view(text.c_str()); }

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

} // namespace

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
    return LoadProfile(FFileName)->ReadString(section, key, defaultValue);
}

std::int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key,
                                   std::int32_t defaultValue) const {
    return LoadProfile(FFileName)->ReadInteger(section, key, defaultValue);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return LoadProfile(FFileName)->ReadBool(section, key, defaultValue);
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const {
    return LoadProfile(FFileName)->ReadSection(section);
}

bool TIniFile::SectionExists(const std::string& section) const {
    return LoadProfile(FFileName)->SectionExists(section);
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    const std::string_view sectionName = AsCString(section), keyName = AsCString(key), text = AsCString(value);
    // A line break would smuggle further lines, even sections, into the file.
    if (HasLineBreak(sectionName) || HasLineBreak(keyName) || HasLineBreak(text))
        throw EWriteError("Unable to write to " + NativePath(FFileName));
    const auto document = LoadProfile(FFileName);
    if (auto bytes = SetProfileValue(*document, sectionName, keyName, text))
        SaveProfile(FFileName, std::move(*bytes));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::EraseSection(const std::string& section) {
    const auto document = LoadProfile(FFileName);
    if (auto bytes = EraseProfileSection(*document, AsCString(section)))
        SaveProfile(FFileName, std::move(*bytes));
}

} // namespace wh
