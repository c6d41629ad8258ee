#include "profile/MemIniFiles.h"

#include "profile/ProfileStore.h"

namespace wh {

TMemIniFile::TMemIniFile(std::string fileName) : FFileName(std::move(fileName)), FDocument(LoadProfile(FFileName)) {}

std::string TMemIniFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
    return FDocument->ReadString(section, key, defaultValue);
}

std::int32_t TMemIniFile::ReadInteger(const std::string& section, const std::string& key,
                                      std::int32_t defaultValue) const {
    return FDocument->ReadInteger(section, key, defaultValue);
}

bool TMemIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
    return FDocument->ReadBool(section, key, defaultValue);
}

std::vector<std::string> TMemIniFile::ReadSection(const std::string& section) const {
    return FDocument->ReadSection(section);
}

bool TMemIniFile::SectionExists(const std::string& section) const { return FDocument->SectionExists(section); }

} // namespace wh
