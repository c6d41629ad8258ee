#include "archive/ZapFile.h"

#include <cstring>

#include "platform/Errors.h"
#include "platform/FileDescriptor.h"
#include "platform/FileLease.h"
#include "platform/FileStatus.h"
#include "platform/FileTimes.h"
#include "platform/Paths.h"
#include "platform/SystemError.h"

namespace wh {

void ZapFile(const std::string& path) {
    const auto os = OsPath(path);
    std::optional<TFileTimes> times;
    {
        TFileDescriptor fd = OpenFile(os, OpenRead);
        if (fd.Get() < 0)
            RaiseOpenError(path, std::strerror(LastError()));
        TFileStatus st;
        if (!HandleStatus(fd.Get(), st))
            RaiseOpenError(path, std::strerror(LastError()));
        if (!st.IsRegular())
            RaiseOpenError(path, std::strerror(st.IsFolder() ? EISDIR : EINVAL));
        if (InUseByOthers(fd.Get()))
            RaiseOpenError(path, "The file is in use by another program.");
        times = GetFileTimes(path);
        if (!times)
            RaiseOpenError(path, std::strerror(LastError()));
    }
    {
        TFileDescriptor fd = OpenFile(os, OpenWrite | OpenTruncate);
        if (fd.Get() < 0)
            throw EInOutError("Cannot truncate file \"" + NativePath(path) + "\". " + std::strerror(LastError()));
    }
    // The times are the record of what was installed; losing them is a failure.
    if (!SetFileTimes(path, *times))
        RaiseOpenError(path, std::strerror(LastError()));
}

} // namespace wh
