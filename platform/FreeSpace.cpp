#include "platform/FreeSpace.h"

#include <sys/statvfs.h>

#include "platform/FileStatus.h"
#include "platform/Paths.h"

namespace wh {

std::optional<TFreeSpace> FreeSpaceOf(const std::string& path) {
    const std::filesystem::path os = OsPath(path);
    struct statvfs room;
    TFileStatus status;
    if (::statvfs(os.c_str(), &room) != 0 || !PathStatus(os, status))
        return std::nullopt;
    return TFreeSpace{static_cast<std::uint64_t>(room.f_bavail) * room.f_frsize, status.Device};
}

} // namespace wh
