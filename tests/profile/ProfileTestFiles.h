#pragma once

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace wh::test {

// The lines, each ended with lineEnd; the last one too unless lastEnded is false.
inline std::string JoinLines(const std::vector<std::string>& lines, const std::string& lineEnd, bool lastEnded = true) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (lastEnded || i + 1 < lines.size())
            text += lineEnd;
    }
    return text;
}

// Moves the file's last-write time back, as for a file written a while ago.
inline void AgeFile(const std::filesystem::path& path, std::chrono::seconds age) {
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() - age);
}

inline std::set<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

inline unsigned ModeBits(const std::filesystem::path& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

} // namespace wh::test
