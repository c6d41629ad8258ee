#pragma once

#include <ctime>
#include <filesystem>
#include <string>

namespace wh {

// Owns one open file descriptor and closes it on every way out of a scope.
class TFileDescriptor {
public:
    TFileDescriptor() = default;
    explicit TFileDescriptor(int fd) noexcept : FFd(fd) {}
    ~TFileDescriptor() { Reset(); }
    TFileDescriptor(TFileDescriptor&& other) noexcept : FFd(other.Release()) {}
    TFileDescriptor& operator=(TFileDescriptor&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;

    int Get() const { return FFd; }
    bool IsOpen() const { return FFd >= 0; }

    // Closes now, so that a failing close (some file systems report a full
    // disk only there) can be seen: 0, or the errno of the failure.
    int Close();
    // Closes what is held, ignoring the outcome, and takes fd instead.
    void Reset(int fd = -1) noexcept;
    // Gives up ownership without closing.
    int Release() noexcept {
        const int fd = FFd;
        FFd = -1;
        return fd;
    }

private:
    int FFd = -1;
};

// How a file is opened; every handle is closed on exec.
enum TOpenFlags : unsigned {
    OpenRead = 0,
    OpenWrite = 1,
    OpenReadWrite = 2,
    OpenCreate = 4,
    OpenExclusive = 8, // with OpenCreate: fails when the name exists
    OpenTruncate = 16,
    OpenNoFollow = 32,    // a link as the last component fails
    OpenNonBlocking = 64, // a FIFO does not wait for its other end
    OpenFolder = 128,     // only a folder opens
};

// A handle that is not open on failure; LastError() tells why.
TFileDescriptor OpenFile(const std::filesystem::path& path, unsigned flags, unsigned permissions = 0666);
// The entry name inside an open folder.
TFileDescriptor OpenFileAt(int folderFd, const std::string& name, unsigned flags, unsigned permissions = 0666);

// What is done to an open file; each is true on success, else LastError() tells why.
bool TruncateFile(int fd, long long size);
bool SyncFile(int fd); // content and status reach the disk
bool ChangePermissions(int fd, unsigned permissions);
bool ChangeOwner(int fd, unsigned owner, unsigned group);
// Sets both the access and the modification time.
bool SetHandleTimes(int fd, std::time_t time);

} // namespace wh
