#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wh {

// A profile (INI) file bound to one path, with the semantics of the Windows
// private-profile functions. Every call sees the file as it is on disk now.
class TIniFile {
public:
    explicit TIniFile(std::string fileName);

    const std::string& FileName() const { return FFileName; }

    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    std::int32_t ReadInteger(const std::string& section, const std::string& key, std::int32_t defaultValue) const;
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    std::vector<std::string> ReadSection(const std::string& section) const;
    bool SectionExists(const std::string& section) const;

    // Raise EWriteError naming the file when the file cannot be written.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void EraseSection(const std::string& section);

private:
    std::string FFileName;
};

} // namespace wh
