#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace wh {

// The profile format's own whitespace: TAB to CR, ^Z (an old DOS end-of-file
// mark) and the blank. A no-break space (0xA0) is text.
bool IsProfileSpace(char c);
std::string_view TrimProfileSpace(std::string_view text);

// One physical line of a profile file, held as offsets into the file's bytes
// so that an edit can leave every other byte where it was.
struct TProfileLine {
    enum class TKind { Blank, Header, Entry };
    TKind Kind = TKind::Blank;
    std::size_t Begin = 0;      // first byte of the line
    std::size_t TrimBegin = 0;  // first byte that is not whitespace
    std::size_t TrimEnd = 0;    // after the last byte that is not whitespace
    std::size_t End = 0;        // after the line's own end (CR LF, LF CR, CR or LF)
    bool HasValue = false;      // an entry with "="
    std::size_t ValueBegin = 0; // where an entry's value starts (TrimEnd when empty)
    std::string_view Name;      // section name of a header, key name of an entry
    std::string_view Value;

    bool IsComment() const { return Kind == TKind::Entry && !Name.empty() && Name.front() == ';'; }
};

// The lines of one section: its header and the lines up to the next header.
// The lines before the first header form a section without a header, which
// no name reaches.
struct TProfileSection {
    static constexpr std::size_t NoHeader = static_cast<std::size_t>(-1);
    std::size_t HeaderLine = NoHeader;
    std::size_t EndLine = 0;          // the next header's line, or the line count
    std::vector<std::size_t> Entries; // entry lines, in file order
};

// A profile file's bytes, parsed. Immutable once built; names and values view
// into the bytes, so the object is neither copied nor moved.
class TProfileDocument {
public:
    explicit TProfileDocument(std::string bytes = {});
    TProfileDocument(const TProfileDocument&) = delete;
    TProfileDocument& operator=(const TProfileDocument&) = delete;

    const std::string& Bytes() const { return FBytes; }
    const std::vector<TProfileLine>& Lines() const { return FLines; }

    // The first section of that name, without regard to letter case; the name
    // is compared as given. Null when there is none.
    const TProfileSection* FindSection(std::string_view name) const;
    // The first entry named key in that section (compared as given).
    const TProfileLine* FindEntry(const TProfileSection& section, std::string_view key) const;

    // Lookup for reading and setting a value: section and key are trimmed of
    // whitespace first; only the first section of the name is searched.
    const TProfileSection* FindValueSection(std::string_view section) const;
    const TProfileLine* FindValueEntry(std::string_view section, std::string_view key) const;

    // The key names a listing shows, in file order: entries with "=" whose
    // name does not start with ";". Duplicates are listed twice.
    std::vector<std::string> ListableKeys(std::string_view section) const;

    // Reading as the private-profile functions read, for every reader of a
    // profile: names and values end at a NUL, a value comes through a
    // 2048-byte buffer with one outer pair of quotes removed, and key names
    // through a 16384-byte buffer.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    // Hexadecimal after "0x" (the 32-bit pattern, so 0xFFFFFFFF is -1), else
    // signed decimal; the default for anything else.
    std::int32_t ReadInteger(const std::string& section, const std::string& key, std::int32_t defaultValue) const;
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    std::vector<std::string> ReadSection(const std::string& section) const;
    // True when ReadSection would list at least one name.
    bool SectionExists(const std::string& section) const;

private:
    void Parse();

    const std::string FBytes;
    std::vector<TProfileLine> FLines;
    std::vector<TProfileSection> FSections;
    std::unordered_map<std::string, std::size_t> FFirstSection; // folded name -> first section
};

} // namespace wh
