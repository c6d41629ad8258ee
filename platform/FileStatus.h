#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>

namespace wh {

// What the system tells of one file or folder entry.
struct TFileStatus {
    enum class TKind { Regular, Folder, Link, Other };

    TKind Kind = TKind::Other;
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t Size = 0;
    std::timespec Modified{};
    std::timespec Changed{};  // the entry's status, not its content
    unsigned Permissions = 0; // the mode's low twelve bits
    unsigned Owner = 0;
    unsigned Group = 0;
    std::uint64_t Links = 0;

    bool IsRegular() const { return Kind == TKind::Regular; }
    bool IsFolder() const { return Kind == TKind::Folder; }
    bool IsLink() const { return Kind == TKind::Link; }
    bool SameEntry(const TFileStatus& other) const { return Device == other.Device && Inode == other.Inode; }
};

// Each is true on success; on failure LastError() tells why.
// The entry a path names, links followed.
bool PathStatus(const std::filesystem::path& path, TFileStatus& status);
// The same, a link itself described rather than followed.
bool LinkStatus(const std::filesystem::path& path, TFileStatus& status);
// What an open file is.
bool HandleStatus(int fd, TFileStatus& status);
// The entry name inside an open folder, links not followed.
bool EntryStatus(int folderFd, const std::string& name, TFileStatus& status);
// Whether the process may write the entry name inside an open folder.
bool MayWriteEntry(int folderFd, const std::string& name);

// The user and group the process acts as.
unsigned EffectiveUser();
unsigned EffectiveGroup();

} // namespace wh
