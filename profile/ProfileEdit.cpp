#include "profile/ProfileEdit.h"

namespace wh {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

std::string_view TrimLeadingSpace(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size() && IsProfileSpace(text[begin]))
        ++begin;
    return text.substr(begin);
}

std::string Splice(const std::string& bytes, std::size_t begin, std::size_t end, std::string_view insert) {
    std::string out;
    out.reserve(bytes.size() - (end - begin) + insert.size());
    out.append(bytes, 0, begin);
    out.append(insert);
    out.append(bytes, end, std::string::npos);
    return out;
}

} // namespace

std::optional<std::string> SetProfileValue(const TProfileDocument& document, std::string_view section,
                                           std::string_view key, std::string_view value) {
    const std::string& bytes = document.Bytes();
    const std::string_view sectionName = TrimProfileSpace(section);
    const std::string_view keyName = TrimProfileSpace(key);
    const std::string_view newValue = TrimLeadingSpace(value);
    std::string newLine;
    newLine.append(keyName).append("=").append(newValue).append(kLineEnd);

    const TProfileSection* found = document.FindSection(sectionName);
    if (!found) {
        std::string insert;
        if (!bytes.empty() && !IsLineBreak(bytes.back()))
            insert.append(kLineEnd);
        insert.append("[").append(sectionName).append("]").append(kLineEnd).append(newLine);
        return bytes + insert;
    }

    if (const TProfileLine* entry = document.FindEntry(*found, keyName)) {
        if (!entry->HasValue) {
            std::string insert = "=";
            insert.append(newValue);
            return Splice(bytes, entry->TrimEnd, entry->TrimEnd, insert);
        }
        if (entry->Value == newValue)
            return std::nullopt;
        return Splice(bytes, entry->ValueBegin, entry->TrimEnd, newValue);
    }

    const auto& lines = document.Lines();
    const std::size_t last = found->Entries.empty() ? found->HeaderLine : found->Entries.back();
    // A line is never empty, so its last byte is its line end when it has one.
    const std::size_t at = lines[last].End;
    const bool unended = !IsLineBreak(bytes[at - 1]);
    return Splice(bytes, at, at, unended ? std::string(kLineEnd) + newLine : newLine);
}

std::optional<std::string> EraseProfileSection(const TProfileDocument& document, std::string_view section) {
    const TProfileSection* found = document.FindSection(section);
    if (!found)
        return std::nullopt;
    const auto& lines = document.Lines();
    std::size_t keepFrom = found->EndLine;
    if (found->EndLine < lines.size()) {
        // Comments right above the next header (blank lines among them) speak
        // of that section and stay with it.
        for (std::size_t i = found->EndLine; i > found->HeaderLine + 1; --i) {
            const TProfileLine& line = lines[i - 1];
            if (line.IsComment())
                keepFrom = i - 1;
            else if (line.Kind != TProfileLine::TKind::Blank)
                break;
        }
    }
    const std::size_t begin = lines[found->HeaderLine].Begin;
    const std::size_t end = keepFrom < lines.size() ? lines[keepFrom].Begin : document.Bytes().size();
    return Splice(document.Bytes(), begin, end, {});
}

} // namespace wh
