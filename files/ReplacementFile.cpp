#include "files/ReplacementFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "files/PartialTag.h"
#include "platform/Errors.h"
#include "platform/WriteAll.h"

namespace wh {

namespace {

constexpr int kTemporaryFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
constexpr const char* kTemporarySuffix = ".part";
// Names up to this length are kept whole; longer ones are cut and get a hash
// of the whole name. The two forms differ in length, so they never meet.
constexpr std::size_t kWholeNameLimit = 200;

std::uint64_t NameHash(const std::string& name) {
    std::uint64_t hash = 14695981039346656037ull;   // FNV-1a: stable across runs and builds
    for (const unsigned char c : name) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace

std::string TReplacementFile::TemporaryName(const std::string& targetName) {
    if (targetName.size() <= kWholeNameLimit)
        return "." + targetName + kTemporarySuffix;
    char hash[24];
    std::snprintf(hash, sizeof hash, "~%016llx", static_cast<unsigned long long>(NameHash(targetName)));
    return "." + targetName.substr(0, kWholeNameLimit) + hash + kTemporarySuffix;
}

void TReplacementFile::RemoveLeftover(int folderFd, const std::string& name) {
    ::unlinkat(folderFd, TemporaryName(name).c_str(), 0);
}

TReplacementFile::TReplacementFile(const std::filesystem::path& target, std::string shownName,
                                   TReplacementOptions options)
    : FShownName(std::move(shownName)), FOptions(options) {
    std::filesystem::path resolved = target;
    struct stat st;
    if (FOptions.FollowLink && ::lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        std::error_code ec;
        resolved = std::filesystem::weakly_canonical(target, ec);
        if (ec)
            Fail("Could not create", ec.value());
    }
    FName = resolved.filename().string();
    if (FName.empty())
        Fail("Could not create", EISDIR);
    const std::filesystem::path folder = resolved.parent_path();
    FOwnFolder.Reset(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!FOwnFolder.IsOpen())
        Fail("Could not create", errno);
    FFolder = FOwnFolder.Get();
    Create();
}

TReplacementFile::TReplacementFile(int folderFd, std::string name, std::string shownName,
                                   TReplacementOptions options)
    : FFolder(folderFd), FName(std::move(name)), FShownName(std::move(shownName)), FOptions(options) {
    Create();
}

void TReplacementFile::Create() {
    struct stat old;
    const bool exists = ::fstatat(FFolder, FName.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode);
    if (exists && FOptions.RefuseWriteProtected && ::faccessat(FFolder, FName.c_str(), W_OK, AT_EACCESS) != 0) {
        const int error = errno;
        RemoveLeftover(FFolder, FName);
        Fail("Could not replace", error);
    }

    FTemporaryName = TemporaryName(FName);
    if (!FOptions.Resumable || !ContinueLeftover()) {
        FFile.Reset(::openat(FFolder, FTemporaryName.c_str(), kTemporaryFlags, 0666));
        if (!FFile.IsOpen() && errno == EEXIST) {
            // Left by an earlier attempt on this target that did not finish. Only
            // a file goes: a folder of that name is no leftover of ours.
            if (::unlinkat(FFolder, FTemporaryName.c_str(), 0) != 0 && errno != ENOENT)
                Fail("Could not create", errno);
            FFile.Reset(::openat(FFolder, FTemporaryName.c_str(), kTemporaryFlags, 0666));
        }
        if (!FFile.IsOpen())
            Fail("Could not create", errno);
    }
    FCreated = true;

    if (exists) {
        // Only root may hand the file back to its owner; anyone else keeps it.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(FFile.Get(), old.st_uid, old.st_gid);
        }
        if (::fchmod(FFile.Get(), old.st_mode & 07777) != 0) {
            const int error = errno;
            FFile.Reset();
            ::unlinkat(FFolder, FTemporaryName.c_str(), 0);
            Fail("Could not create", error);
        }
    }
}

// Only a file of our own with one name and a whole tag at its end is
// continued; anything else is removed as any leftover is.
bool TReplacementFile::ContinueLeftover() {
    TFileDescriptor file(::openat(FFolder, FTemporaryName.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    if (!file.IsOpen() || ::fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
        st.st_nlink != 1)
        return false;
    const auto size = static_cast<std::uint64_t>(st.st_size);
    std::string end(static_cast<std::size_t>(std::min<std::uint64_t>(size, PartialTagMaxSize)), '\0');
    ssize_t got;
    do
        got = ::pread(file.Get(), end.data(), end.size(), static_cast<off_t>(size - end.size()));
    while (got < 0 && errno == EINTR);
    if (got != static_cast<ssize_t>(end.size()))
        return false;
    std::optional<TPartialTag> tag = DecodePartialTag(end, size);
    if (!tag || tag->BodySize == 0)
        return false;
    FFile = std::move(file);
    FTag = std::move(tag->Tag);
    FOnDisk = tag->BodySize;
    return true;
}

TReplacementFile::~TReplacementFile() {
    FFile.Reset();
    if (FCreated && !FCommitted && !FKept)
        ::unlinkat(FFolder, FTemporaryName.c_str(), 0);
}

void TReplacementFile::Fail(const char* what, int error) const {
    throw EInOutError(std::string(what) + " \"" + FShownName + "\": " + std::strerror(error), error);
}

// Body goes at its place, so that a tag after it is overwritten by the next
// block; the two go out together, which keeps the file's size moving once per block.
void TReplacementFile::WriteThrough(const char* data, std::size_t size) {
    const std::string tag = FTag.empty() ? std::string() : EncodePartialTag(FTag, FOnDisk + size);
    if (const int error = WriteAllAt(FFile.Get(), {data, size}, tag, static_cast<long long>(FOnDisk))) {
        // What the file holds is no longer known: it must not be kept.
        FTag.clear();
        Fail("Error writing", error);
    }
    FOnDisk += size;
}

void TReplacementFile::Flush() {
    if (FUsed > 0) {
        // Forget the data even when the write fails, so Commit cannot retry it.
        const std::size_t used = FUsed;
        FUsed = 0;
        WriteThrough(FBuffer.get(), used);
    }
}

void TReplacementFile::Write(const char* data, std::size_t size) {
    if (!FFile.IsOpen())
        Fail("Error writing", EBADF);
    if (FUsed + size > BufferSize)
        Flush();
    if (size >= BufferSize) {
        WriteThrough(data, size);
        return;
    }
    if (!FBuffer)
        FBuffer = std::make_unique_for_overwrite<char[]>(BufferSize);
    std::memcpy(FBuffer.get() + FUsed, data, size);
    FUsed += size;
}

void TReplacementFile::Settle() {
    const bool tagged = !FTag.empty();
    FTag.clear();
    Flush();
    if (tagged && ::ftruncate(FFile.Get(), static_cast<off_t>(FOnDisk)) != 0)
        Fail("Error writing", errno);
}

void TReplacementFile::Restart(std::string tag) {
    FUsed = 0;
    // Untagged before it shrinks: a failure leaves nothing to continue.
    FTag.clear();
    if (::ftruncate(FFile.Get(), 0) != 0)
        Fail("Error writing", errno);
    FOnDisk = 0;
    if (tag.size() <= PartialTagMaxLength)
        FTag = std::move(tag);
}

void TReplacementFile::Keep() {
    if (FTag.empty() || !FFile.IsOpen())
        return;
    try {
        Flush();
        FKept = FOnDisk > 0;
    } catch (const EInOutError&) {
        // Not kept: the destructor removes it.
    }
}

void TReplacementFile::SetModified(std::time_t modified) {
    Settle();
    const timespec times[2] = {{modified, 0}, {modified, 0}};
    if (::futimens(FFile.Get(), times) != 0)
        Fail("Error writing", errno);
}

void TReplacementFile::Commit() {
    Settle();
    if (FOptions.Durable && ::fsync(FFile.Get()) != 0)
        Fail("Error writing", errno);
    if (const int error = FFile.Close())
        Fail("Error writing", error);
    if (::renameat(FFolder, FTemporaryName.c_str(), FFolder, FName.c_str()) != 0)
        Fail("Could not replace", errno);
    FCommitted = true;
    // The rename itself is done; a failure here loses nothing, so it is not reported.
    if (FOptions.Durable)
        ::fsync(FFolder);
}

} // namespace wh
