#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "profile/ProfileDocument.h"

namespace wh {

// A profile file as it was when the object was made: read once, then every
// call answers from that copy with exactly TIniFile's reading rules. For a
// file the program has just written or fetched and reads within one step;
// later changes to the file are not seen. A missing file reads as empty.
class TMemIniFile {
public:
    explicit TMemIniFile(std::string fileName);

    const std::string& FileName() const { return FFileName; }

    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    std::int32_t ReadInteger(const std::string& section, const std::string& key, std::int32_t defaultValue) const;
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    std::vector<std::string> ReadSection(const std::string& section) const;
    bool SectionExists(const std::string& section) const;

private:
    std::string FFileName;
    std::shared_ptr<const TProfileDocument> FDocument;
};

} // namespace wh
