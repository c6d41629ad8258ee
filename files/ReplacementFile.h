#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileDescriptor.h"

namespace wh {

// How a replacement treats its target.
struct TReplacementOptions {
    // The file reaches the disk before the rename and the folder after it, so
    // a power cut leaves the old or the new content, never an empty file.
    bool Durable = false;
    // A symbolic link as target is written through to the file it names,
    // instead of being replaced by a file of its own.
    bool FollowLink = false;
    // An existing target that may not be written is refused: the rename would
    // get past its write protection.
    bool RefuseWriteProtected = false;
    // A leftover that carries a tag (Restart) is continued instead of
    // removed, and Keep lets an unfinished file stay for the next attempt.
    bool Resumable = false;
};

// The user's files and the install record: profile files, aircraft.cfg.
inline constexpr TReplacementOptions UserFileReplacement{
    .Durable = true, .FollowLink = true, .RefuseWriteProtected = true};
// Fetched archives, the cached copies the working directory keeps.
inline constexpr TReplacementOptions FetchedFileReplacement{.Durable = true};
// Downloads, which a broken transfer may continue later.
inline constexpr TReplacementOptions ResumableFetchReplacement{.Durable = true, .Resumable = true};
// Catalogue files, fetched anew at every load: the atomic rename is enough.
inline constexpr TReplacementOptions CatalogueFileReplacement{};
inline constexpr TReplacementOptions ResumableCatalogueReplacement{.Resumable = true};
// Archive entries: many small files, re-extracted after a failure anyway.
inline constexpr TReplacementOptions ExtractedFileReplacement{};

// A new file beside the target that takes the target's place only when Commit
// is called. Until then the target is never touched; a replacement that is not
// committed removes its file when it goes, so the old content survives every
// failure as it was. The temporary name is derived from the target's, so the
// next replacement of the same target removes what a killed run left, and no
// more than one can exist per target. An existing target's permission bits are
// kept (and its owner, where the process may give files away).
// Errors raise EInOutError naming the target by its shown name.
class TReplacementFile {
public:
    static constexpr std::size_t BufferSize = 64 * 1024;

    // target as the system names it; shownName is how messages name it.
    TReplacementFile(const std::filesystem::path& target, std::string shownName, TReplacementOptions options);
    // name inside an open folder; a link of that name is replaced, never followed.
    TReplacementFile(int folderFd, std::string name, std::string shownName, TReplacementOptions options);
    ~TReplacementFile();
    TReplacementFile(const TReplacementFile&) = delete;
    TReplacementFile& operator=(const TReplacementFile&) = delete;

    const std::string& ShownName() const { return FShownName; }

    // Buffered: the data reaches the file at the latest on Flush or Commit.
    void Write(const char* data, std::size_t size);
    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
    void Flush();
    // The file's modification and access time, once written.
    void SetModified(std::time_t modified);
    // Puts the file in the target's place.
    void Commit();

    // Bytes written so far, those of a continued leftover included.
    std::uint64_t Size() const { return FOnDisk + FUsed; }
    // The tag of the version the file holds; empty when it has none.
    const std::string& Tag() const { return FTag; }
    // Drops what was written and marks the file with tag (one longer than
    // PartialTagMaxLength counts as none): every write that reaches the disk
    // carries it, so a killed run leaves a file that can be continued.
    void Restart(std::string tag);
    // A tagged file stays at its temporary name when this object goes, for
    // the next resumable replacement of the target. Never throws: a file that
    // cannot be written out is removed as usual.
    void Keep();

    // The temporary name for a target name: hidden, and within the longest
    // name a folder entry may have.
    static std::string TemporaryName(const std::string& targetName);

    // Removes what an earlier replacement of name inside the folder left, for
    // a target that is not replaced this time. Only a file goes.
    static void RemoveLeftover(int folderFd, const std::string& name);

private:
    void Create();
    bool ContinueLeftover();
    [[noreturn]] void Fail(const char* what, int error) const;
    void WriteThrough(const char* data, std::size_t size);
    // Written out, and without its tag: what the target will hold.
    void Settle();

    TFileDescriptor FOwnFolder; // the folder of the path form
    int FFolder = -1;
    std::string FName;
    std::string FTemporaryName;
    std::string FShownName;
    TReplacementOptions FOptions;
    TFileDescriptor FFile;
    bool FCreated = false;
    bool FCommitted = false;
    bool FKept = false;
    std::string FTag;
    std::uint64_t FOnDisk = 0;       // body bytes in the file, a tag after them
    std::unique_ptr<char[]> FBuffer; // allocated on the first small write
    std::size_t FUsed = 0;
};

} // namespace wh
