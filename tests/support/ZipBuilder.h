#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace wh::test {

// One entry of a test archive. A name ending in "/" is a folder entry.
struct TZipEntry {
    std::string Name;
    std::string Data;
    std::time_t MTime = 0;  // 0: the time of the build
    bool Encrypted = false; // AES-256 with the password "secret"
    bool Symlink = false;   // Unix symbolic link whose target is Data
    bool Stored = false;    // no compression
    // The name's bytes are stored without the UTF-8 flag even when they form
    // valid UTF-8, as old tools write CP437 names.
    bool Cp437Name = false;
    bool DosHost = false; // made on DOS rather than on Unix, libzip's own host
    // 0 and above: Data is already compressed with this method and goes in as
    // it is; Original is what it stands for, and gives the size and CRC.
    int RawMethod = -1;
    std::string Original{};
};

// Writes a zip archive at path with libzip; throws on failure.
void BuildZip(const std::string& path, const std::vector<TZipEntry>& entries);

} // namespace wh::test
