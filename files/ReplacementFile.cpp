#include "files/ReplacementFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "files/PartialTag.h"
#include "platform/Errors.h"
#include "platform/FileStatus.h"
#include "platform/FolderEntries.h"
#include "platform/ReadAll.h"
#include "platform/SystemError.h"
#include "platform/WriteAll.h"

namespace wh {

namespace {

constexpr unsigned kTemporaryFlags = OpenWrite | OpenCreate | OpenExclusive | OpenNoFollow;
constexpr const char* kTemporarySuffix = ".part";
// Names up to this length are kept whole; longer ones are cut and get a hash
// of the whole name. The two forms differ in length, so they never meet.
constexpr std::size_t kWholeNameLimit = 200;

std::uint64_t NameHash(const std::string& name) {
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a: stable across runs and builds
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
    RemoveFileAt(folderFd, TemporaryName(name));
}

TReplacementFile::TReplacementFile(const std::filesystem::path& target, std::string shownName,
                                   TReplacementOptions options)
    : FShownName(std::move(shownName)), FOptions(options) {
    std::filesystem::path resolved = target;
    TFileStatus st;
    if (FOptions.FollowLink && LinkStatus(target, st) && st.IsLink()) {
        std::error_code ec;
        resolved = std::filesystem::weakly_canonical(target, ec);
        if (ec)
            Fail("Could not create", ec.value());
    }
    FName = resolved.filename().string();
    if (FName.empty())
        Fail("Could not create", EISDIR);
    const std::filesystem::path folder = resolved.parent_path();
    FOwnFolder = OpenFile(folder.empty() ? "." : folder, OpenRead | OpenFolder);
    if (!FOwnFolder.IsOpen())
        Fail("Could not create", LastError());
    FFolder = FOwnFolder.Get();
    Create();
}

TReplacementFile::TReplacementFile(int folderFd, std::string name, std::string shownName, TReplacementOptions options)
    : FFolder(folderFd), FName(std::move(name)), FShownName(std::move(shownName)), FOptions(options) {
    Create();
}

void TReplacementFile::Create() {
    TFileStatus old;
    const bool exists = EntryStatus(FFolder, FName, old) && old.IsRegular();
    if (exists && FOptions.RefuseWriteProtected && !MayWriteEntry(FFolder, FName)) {
        const int error = LastError();
        RemoveLeftover(FFolder, FName);
        Fail("Could not replace", error);
    }

    FTemporaryName = TemporaryName(FName);
    if (!FOptions.Resumable || !ContinueLeftover()) {
        FFile = OpenFileAt(FFolder, FTemporaryName, kTemporaryFlags);
        if (!FFile.IsOpen() && LastError() == EEXIST) {
            // Left by an earlier attempt on this target that did not finish. Only
            // a file goes: a folder of that name is no leftover of ours.
            if (!RemoveFileAt(FFolder, FTemporaryName) && LastError() != ENOENT)
                Fail("Could not create", LastError());
            FFile = OpenFileAt(FFolder, FTemporaryName, kTemporaryFlags);
        }
        if (!FFile.IsOpen())
            Fail("Could not create", LastError());
    }
    FCreated = true;

    if (exists) {
        // Only root may hand the file back to its owner; anyone else keeps it.
        if (old.Owner != EffectiveUser() || old.Group != EffectiveGroup()) {
            [[maybe_unused]] const bool ignored = ChangeOwner(FFile.Get(), old.Owner, old.Group);
        }
        if (!ChangePermissions(FFile.Get(), old.Permissions)) {
            const int error = LastError();
            FFile.Reset();
            RemoveFileAt(FFolder, FTemporaryName);
            Fail("Could not create", error);
        }
    }
}

// Only a file of our own with one name and a whole tag at its end is
// continued; anything else is removed as any leftover is.
bool TReplacementFile::ContinueLeftover() {
    TFileDescriptor file = OpenFileAt(FFolder, FTemporaryName, OpenReadWrite | OpenNoFollow | OpenNonBlocking);
    TFileStatus st;
    if (!file.IsOpen() || !HandleStatus(file.Get(), st) || !st.IsRegular() || st.Owner != EffectiveUser() ||
        st.Links != 1)
        return false;
    const auto size = static_cast<std::uint64_t>(st.Size);
    std::string end(static_cast<std::size_t>(std::min<std::uint64_t>(size, PartialTagMaxSize)), '\0');
    const long long got = ReadAll(file.Get(), end.data(), end.size(), static_cast<long long>(size - end.size()));
    if (got != static_cast<long long>(end.size()))
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
        RemoveFileAt(FFolder, FTemporaryName);
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
    if (tagged && !TruncateFile(FFile.Get(), static_cast<long long>(FOnDisk)))
        Fail("Error writing", LastError());
}

void TReplacementFile::Restart(std::string tag) {
    FUsed = 0;
    // Untagged before it shrinks: a failure leaves nothing to continue.
    FTag.clear();
    if (!TruncateFile(FFile.Get(), 0))
        Fail("Error writing", LastError());
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
    if (!SetHandleTimes(FFile.Get(), modified))
        Fail("Error writing", LastError());
}

void TReplacementFile::Commit() {
    Settle();
    if (FOptions.Durable && !SyncFile(FFile.Get()))
        Fail("Error writing", LastError());
    if (const int error = FFile.Close())
        Fail("Error writing", error);
    if (!RenameAt(FFolder, FTemporaryName, FFolder, FName))
        Fail("Could not replace", LastError());
    FCommitted = true;
    // The rename itself is done; a failure here loses nothing, so it is not reported.
    if (FOptions.Durable)
        SyncFile(FFolder);
}

} // namespace wh
