#include "files/IniFiles.h"

#include <limits>
#include <optional>
#include <string_view>

#include "files/ProfileEdit.h"
#include "files/ProfileStore.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

namespace wh {

namespace {

// The buffers through which values and key lists are read, terminators included.
constexpr std::size_t kValueBuffer = 2048;
constexpr std::size_t kSectionBuffer = 16384;

// Names and values reach the store as C strings: a NUL ends them.
std::string_view AsCString(const std::string& text) {
    return std::string_view(text.c_str());
}

// One outer pair of matching quotes comes off a value read.
std::string_view StripQuotes(std::string_view text) {
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
        return text.substr(1, text.size() - 2);
    return text;
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Hexadecimal after "0x" (the 32-bit pattern, so 0xFFFFFFFF is -1), otherwise
// signed decimal; nothing for anything else or a number beyond 32 bits.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint64_t value = 0;
        for (char c : text.substr(2)) {
            const int digit = HexDigit(c);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + static_cast<unsigned>(digit);
            if (value > std::numeric_limits<std::uint32_t>::max())
                return std::nullopt;
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                        : std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

} // namespace

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
    std::string_view fallback = AsCString(defaultValue);
    while (!fallback.empty() && fallback.back() == ' ')
        fallback.remove_suffix(1);
    const auto document = LoadProfile(FFileName);
    const TProfileLine* entry = document->FindValueEntry(AsCString(section), AsCString(key));
    const std::string_view text = StripQuotes(entry && entry->HasValue ? entry->Value : fallback);
    return std::string(text.substr(0, kValueBuffer - 1));
}

std::int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key,
                                   std::int32_t defaultValue) const {
    return ParseInteger(ReadString(section, key, "")).value_or(defaultValue);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const {
    const auto document = LoadProfile(FFileName);
    std::vector<std::string> names;
    // The names pass through a buffer of NUL-ended names ending in a second
    // NUL: an empty name ends the list there, and the name that does not fit
    // is cut to leave room for both NULs.
    std::size_t room = kSectionBuffer;
    for (std::string& name : document->ListableKeys(AsCString(section))) {
        if (name.empty() || room <= 2)
            break;
        if (name.size() > room - 2) {
            name.resize(room - 2);
            names.push_back(std::move(name));
            break;
        }
        room -= name.size() + 1;
        names.push_back(std::move(name));
    }
    return names;
}

bool TIniFile::SectionExists(const std::string& section) const { return !ReadSection(section).empty(); }

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
