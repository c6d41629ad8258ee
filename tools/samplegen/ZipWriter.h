#pragma once

#include "LocalTime.h"

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

struct zip;

namespace wh::sample {

struct TZipEntry {
    std::string Name; // "/" between folders; a name ending in "/" is a folder
    std::string Data;
};

// Creates a zip archive, replacing any file of that name. Entries carry the
// given time so that the archive's bytes are the same on every run.
class TZipWriter {
public:
    TZipWriter(const std::filesystem::path& path, const TLocalTime& entryTime);
    ~TZipWriter();
    TZipWriter(const TZipWriter&) = delete;
    TZipWriter& operator=(const TZipWriter&) = delete;

    void Add(const TZipEntry& entry);
    void Add(const std::vector<TZipEntry>& entries);
    // Writes the archive; without it the destructor discards everything.
    void Close();

private:
    [[noreturn]] void Fail(const std::string& what);

    std::filesystem::path FPath;
    std::time_t FEntryTime;
    zip* FArchive = nullptr;
    std::deque<std::string> FBuffers; // libzip reads the data only when closing
};

// Writes an archive in one go.
void WriteZip(const std::filesystem::path& path, const TLocalTime& entryTime, const std::vector<TZipEntry>& entries);

} // namespace wh::sample
