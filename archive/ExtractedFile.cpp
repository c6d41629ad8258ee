#include "archive/ExtractedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

namespace wh {

namespace {

[[noreturn]] void RaiseErrno(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

std::string TempName() {
    static std::atomic<unsigned> counter{0};
    return ".~wh" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".part";
}

} // namespace

TExtractedFile::TExtractedFile(int folderFd, std::string name) : FFolderFd(folderFd), FName(std::move(name)) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        FTempName = TempName();
        FFd = ::openat(FFolderFd, FTempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (FFd >= 0)
            return;
        if (errno != EEXIST)
            break;
    }
    RaiseErrno("create");
}

TExtractedFile::~TExtractedFile() {
    if (FFd >= 0)
        ::close(FFd);
    if (!FCommitted)
        ::unlinkat(FFolderFd, FTempName.c_str(), 0);
}

void TExtractedFile::Write(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(FFd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            RaiseErrno("write");
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void TExtractedFile::Commit(std::time_t modified) {
    const timespec times[2] = {{modified, 0}, {modified, 0}};
    if (::futimens(FFd, times) != 0)
        RaiseErrno("set time");
    const int fd = FFd;
    FFd = -1;
    if (::close(fd) != 0)   // a full disk may only show here, on network file systems
        RaiseErrno("close");
    if (::renameat(FFolderFd, FTempName.c_str(), FFolderFd, FName.c_str()) != 0)
        RaiseErrno("rename");
    FCommitted = true;
}

} // namespace wh
