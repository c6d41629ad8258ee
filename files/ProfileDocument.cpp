#include "files/ProfileDocument.h"

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
    FSections.push_back(TProfileSection{});   // the lines before the first header

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

} // namespace wh
