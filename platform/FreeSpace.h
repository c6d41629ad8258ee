#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace wh {

// The room left on the file system that holds a folder.
struct TFreeSpace {
    std::uint64_t AvailableBytes = 0; // what a writer without privileges may still fill
    std::uint64_t Device = 0;         // the file system's device: two folders on one share its room
    bool operator==(const TFreeSpace&) const = default;
};

// For the folder path names (program form, see OsPath); nothing when the
// system cannot tell, for a missing folder among others.
std::optional<TFreeSpace> FreeSpaceOf(const std::string& path);

} // namespace wh
