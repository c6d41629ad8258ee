#include "files/AtomicWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace wh {

namespace {

// The process's file-creation mask, read without changing it where the
// kernel tells it (umask() itself can only be read by setting it).
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// Owns the temporary file until it has taken the target's place.
class TTemporaryFile {
public:
    explicit TTemporaryFile(const std::filesystem::path& target) {
        // Short enough that a target with the longest allowed name still has one.
        std::string hidden = ".";
        hidden += target.filename().string().substr(0, 200);
        hidden += ".XXXXXX";
        std::string name = (target.parent_path() / hidden).string();
        FHandle = ::mkostemp(name.data(), O_CLOEXEC);
        if (FHandle >= 0)
            FPath = std::move(name);
    }
    ~TTemporaryFile() {
        if (FHandle >= 0)
            ::close(FHandle);
        if (!FPath.empty())
            ::unlink(FPath.c_str());
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;

    int Handle() const { return FHandle; }
    const std::string& Path() const { return FPath; }
    int Close() {
        const int result = ::close(FHandle);
        FHandle = -1;
        return result;
    }
    void Release() { FPath.clear(); }

private:
    int FHandle = -1;
    std::string FPath;
};

int WriteAll(int handle, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(handle, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

// Makes a finished rename survive a crash; a failure here loses nothing that
// the rename has not already done, so it is not reported.
void SyncFolder(const std::filesystem::path& folder) {
    const int handle = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle >= 0) {
        ::fsync(handle);
        ::close(handle);
    }
}

} // namespace

int WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    if (path.empty() || !path.has_filename())
        return ENOENT;
    std::filesystem::path target = path;
    struct stat linkInfo;
    if (::lstat(target.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
        std::error_code ec;
        target = std::filesystem::weakly_canonical(target, ec);
        if (ec)
            return ec.value();
    }

    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (S_ISDIR(old.st_mode))
            return EISDIR;
        // Replacing by rename would get past a write-protected file.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return errno;
    }

    TTemporaryFile temporary(target);
    if (temporary.Handle() < 0)
        return errno;
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        // Only root may hand the file back to its owner; anyone else keeps it.
        const int ignored = ::fchown(temporary.Handle(), old.st_uid, old.st_gid);
        (void)ignored;
    }
    const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (::fchmod(temporary.Handle(), mode) != 0)
        return errno;
    if (const int error = WriteAll(temporary.Handle(), bytes))
        return error;
    if (::fsync(temporary.Handle()) != 0 || temporary.Close() != 0)
        return errno;
    if (::rename(temporary.Path().c_str(), target.c_str()) != 0)
        return errno;
    temporary.Release();
    SyncFolder(target.parent_path());
    return 0;
}

} // namespace wh
