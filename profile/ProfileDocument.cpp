#include "profile/ProfileDocument.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "platform/Codepage.h"

namespace wh {

namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// A stray NUL byte ends a name or value, as it ends a C string.
std::string_view CutAtNul(std::string_view text) {
    const std::size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

std::size_t SkipSpace(const std::string& bytes, std::size_t pos, std::size_t end) {
    while (pos < end && IsProfileSpace(bytes[pos]))
        ++pos;
    return pos;
}

std::size_t SkipSpaceBack(const std::string& bytes, std::size_t begin, std::size_t end) {
    while (end > begin && IsProfileSpace(bytes[end - 1]))
        --end;
    return end;
}

// The buffers through which values and key lists are read, terminators included.
constexpr std::size_t kValueBuffer = 2048;
constexpr std::size_t kSectionBuffer = 16384;

// Names and values reach the store as C strings: a NUL ends them.
std::string_view AsCString(const std::string& text) { return std::string_view(text.c_str()); }

// One outer pair of matching quotes comes off a value read.
std::string_view StripQuotes(std::string_view text) {
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
        return text.substr(1, text.size() - 2);
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Nothing for text that is no number or a number beyond 32 bits.
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

bool IsProfileSpace(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 0x09 && u <= 0x0D) || u == 0x1A || u == 0x20;
}

std::string_view TrimProfileSpace(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsProfileSpace(text[begin]))
        ++begin;
    while (end > begin && IsProfileSpace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

TProfileDocument::TProfileDocument(std::string bytes) : FBytes(std::move(bytes)) { Parse(); }

void TProfileDocument::Parse() {
    const std::string& b = FBytes;
    const std::string_view all(b);
    FSections.push_back(TProfileSection{}); // the lines before the first header
    // About a line per break, whichever break the file uses; a hint only.
    const auto breaks = std::max(std::count(b.begin(), b.end(), '\n'), std::count(b.begin(), b.end(), '\r'));
    FLines.reserve(static_cast<std::size_t>(breaks) + 1);

    std::size_t pos = 0;
    while (pos < b.size()) {
        TProfileLine line;
        line.Begin = pos;
        std::size_t contentEnd = pos;
        while (contentEnd < b.size() && !IsLineBreak(b[contentEnd]))
            ++contentEnd;
        // The line's own end is one break, or a CR LF / LF CR pair; further
        // breaks are empty lines of their own.
        line.End = contentEnd;
        if (line.End < b.size()) {
            const char first = b[line.End++];
            if (line.End < b.size() && IsLineBreak(b[line.End]) && b[line.End] != first)
                ++line.End;
        }
        line.TrimBegin = SkipSpace(b, pos, contentEnd);
        line.TrimEnd = SkipSpaceBack(b, line.TrimBegin, contentEnd);
        pos = line.End;

        const std::string_view content = all.substr(line.TrimBegin, line.TrimEnd - line.TrimBegin);
        if (content.empty()) {
            FLines.push_back(line);
            continue;
        }
        const std::size_t close = content.rfind(']');
        if (content.front() == '[' && close != std::string_view::npos) {
            line.Kind = TProfileLine::TKind::Header;
            line.Name = CutAtNul(TrimProfileSpace(content.substr(1, close - 1)));
            FSections.back().EndLine = FLines.size();
            TProfileSection section;
            section.HeaderLine = FLines.size();
            FFirstSection.try_emplace(AnsiLowerCase(line.Name), FSections.size());
            FSections.push_back(std::move(section));
        } else {
            // Anything else is an entry of the current section; "[abc" included.
            line.Kind = TProfileLine::TKind::Entry;
            const std::size_t equals = content.find('=');
            if (equals == std::string_view::npos) {
                line.Name = CutAtNul(content);
                line.ValueBegin = line.TrimEnd;
            } else {
                line.HasValue = true;
                line.Name = CutAtNul(TrimProfileSpace(content.substr(0, equals)));
                line.ValueBegin = SkipSpace(b, line.TrimBegin + equals + 1, line.TrimEnd);
                line.Value = CutAtNul(all.substr(line.ValueBegin, line.TrimEnd - line.ValueBegin));
            }
            FSections.back().Entries.push_back(FLines.size());
        }
        FLines.push_back(line);
    }
    FSections.back().EndLine = FLines.size();
}

const TProfileSection* TProfileDocument::FindSection(std::string_view name) const {
    const auto it = FFirstSection.find(AnsiLowerCase(name));
    return it == FFirstSection.end() ? nullptr : &FSections[it->second];
}

const TProfileLine* TProfileDocument::FindEntry(const TProfileSection& section, std::string_view key) const {
    for (std::size_t index : section.Entries)
        if (AnsiSameText(FLines[index].Name, key))
            return &FLines[index];
    return nullptr;
}

const TProfileSection* TProfileDocument::FindValueSection(std::string_view section) const {
    return FindSection(TrimProfileSpace(section));
}

const TProfileLine* TProfileDocument::FindValueEntry(std::string_view section, std::string_view key) const {
    const TProfileSection* found = FindValueSection(section);
    return found ? FindEntry(*found, TrimProfileSpace(key)) : nullptr;
}

std::vector<std::string> TProfileDocument::ListableKeys(std::string_view section) const {
    std::vector<std::string> keys;
    const TProfileSection* found = FindSection(section);
    if (!found)
        return keys;
    for (std::size_t index : found->Entries) {
        const TProfileLine& line = FLines[index];
        if (line.HasValue && !line.IsComment())
            keys.emplace_back(line.Name);
    }
    return keys;
}

std::string TProfileDocument::ReadString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) const {
    std::string_view fallback = AsCString(defaultValue);
    while (!fallback.empty() && fallback.back() == ' ')
        fallback.remove_suffix(1);
    const TProfileLine* entry = FindValueEntry(AsCString(section), AsCString(key));
    const std::string_view text = StripQuotes(entry && entry->HasValue ? entry->Value : fallback);
    return std::string(text.substr(0, kValueBuffer - 1));
}

std::int32_t TProfileDocument::ReadInteger(const std::string& section, const std::string& key,
                                           std::int32_t defaultValue) const {
    return ParseInteger(ReadString(section, key, "")).value_or(defaultValue);
}

bool TProfileDocument::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::vector<std::string> TProfileDocument::ReadSection(const std::string& section) const {
    std::vector<std::string> names;
    // The names pass through a buffer of NUL-ended names ending in a second
    // NUL: an empty name ends the list there, and the name that does not fit
    // is cut to leave room for both NULs.
    std::size_t room = kSectionBuffer;
    for (std::string& name : ListableKeys(AsCString(section))) {
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

bool TProfileDocument::SectionExists(const std::string& section) const {
    // The first listable name decides: an empty one ends the list at once.
    const TProfileSection* found = FindSection(AsCString(section));
    if (!found)
        return false;
    for (std::size_t index : found->Entries) {
        const TProfileLine& line = FLines[index];
        if (line.HasValue && !line.IsComment())
            return !line.Name.empty();
    }
    return false;
}

} // namespace wh
