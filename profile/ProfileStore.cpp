#include "profile/ProfileStore.h"

#include <cstdint>
#include <ctime>
#include <list>
#include <mutex>
#include <optional>

#include "files/AtomicWrite.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/FileDescriptor.h"
#include "platform/FileStamps.h"
#include "platform/FileStatus.h"
#include "platform/Paths.h"
#include "platform/ReadAll.h"

namespace wh {

namespace {

struct TFileSignature {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    std::int64_t ChangedNs = 0;

    explicit TFileSignature(const TFileStatus& st)
        : Device(st.Device), Inode(st.Inode), Size(st.Size), ModifiedNs(Nanoseconds(st.Modified)),
          ChangedNs(Nanoseconds(st.Changed)) {}
    bool operator==(const TFileSignature&) const = default;
    bool SameFile(const TFileSignature& other) const { return Device == other.Device && Inode == other.Inode; }
};

TFileDescriptor OpenForReading(const std::filesystem::path& path) { return OpenFile(path, OpenRead); }

// The whole content of an open file, from its start; expectedSize only sizes
// the buffer, a file that grew or shrank meanwhile is read as it is now.
std::optional<std::string> ReadWhole(const TFileDescriptor& file, std::int64_t expectedSize) {
    return ReadToEnd(file.Get(), static_cast<std::size_t>(expectedSize), 0);
}

struct TCachedProfile {
    std::string Key;
    TFileSignature Signature;
    std::int64_t ReadAtNs;
    std::shared_ptr<const TProfileDocument> Document;
    TFileDescriptor File; // kept open so that a re-check needs no open

    // Only content read well after its last write can be vouched for by stat.
    bool Trusted(const TFileSignature& now) const {
        return Signature == now && StampsVouchFor(Signature.ModifiedNs, ReadAtNs);
    }
};

// The key of the file's entry: the path as handed to the system, made
// absolute when it is not, so that a change of the current folder cannot
// mix up two files.
std::string CacheKey(const std::filesystem::path& path) {
    if (path.is_absolute())
        return path.native();
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return (ec ? path : absolute).lexically_normal().native();
}

const std::shared_ptr<const TProfileDocument>& EmptyDocument() {
    static const auto empty = std::make_shared<const TProfileDocument>();
    return empty;
}

// The file's system path and its status. The name as written is tried
// first: when it exists, letter-case resolution would keep it as it is.
struct TLocatedFile {
    std::filesystem::path Path;
    std::optional<TFileStatus> Status;
};

TLocatedFile Locate(const std::string& fileName) {
    TLocatedFile located;
    TFileStatus st;
    located.Path = AnsiToUtf8(NativePath(fileName));
    if (located.Path.empty() || !PathStatus(located.Path, st)) {
        located.Path = OsPath(fileName);
        if (!PathStatus(located.Path, st))
            return located;
    }
    located.Status = st;
    return located;
}

// The program runs on one thread; the lock only keeps a stray second thread
// from corrupting the list.
class TProfileCache {
public:
    std::shared_ptr<const TProfileDocument> Load(const std::string& fileName) {
        const TLocatedFile located = Locate(fileName);
        const std::string key = CacheKey(located.Path);
        std::lock_guard lock(FLock);
        if (!located.Status || !located.Status->IsRegular()) {
            Forget(key);
            return EmptyDocument();
        }
        const TFileSignature now(*located.Status);
        auto cached = Find(key);
        if (cached != FEntries.end() && cached->Trusted(now))
            return cached->Document;

        // The same file (changed in place, or too fresh to trust) is read
        // again through the handle already open; another one is opened.
        TFileDescriptor file;
        if (cached != FEntries.end() && cached->Signature.SameFile(now))
            file = std::move(cached->File);
        else
            file = OpenForReading(located.Path);
        const std::int64_t readAt = NowNs();
        std::optional<TFileSignature> signature;
        std::optional<std::string> bytes;
        TFileStatus st;
        if (file.IsOpen() && HandleStatus(file.Get(), st) && st.IsRegular()) {
            signature.emplace(st);
            bytes = ReadWhole(file, st.Size);
        }
        if (!bytes) {
            Forget(key);
            return EmptyDocument();
        }
        if (cached != FEntries.end() && cached->Document->Bytes() == *bytes) {
            cached->Signature = *signature;
            cached->ReadAtNs = readAt;
            cached->File = std::move(file);
            return cached->Document;
        }
        auto document = std::make_shared<const TProfileDocument>(std::move(*bytes));
        Remember(key, *signature, readAt, document, std::move(file));
        return document;
    }

    void Saved(const std::filesystem::path& path, std::int64_t writtenAt, std::string bytes) {
        const std::string key = CacheKey(path);
        std::lock_guard lock(FLock);
        TFileDescriptor file = OpenForReading(path);
        TFileStatus st;
        if (!file.IsOpen() || !HandleStatus(file.Get(), st) || !st.IsRegular()) {
            Forget(key);
            return;
        }
        Remember(key, TFileSignature(st), writtenAt, std::make_shared<const TProfileDocument>(std::move(bytes)),
                 std::move(file));
    }

    std::size_t Count() {
        std::lock_guard lock(FLock);
        return FEntries.size();
    }

private:
    using TEntries = std::list<TCachedProfile>;

    // Finds the entry and makes it the most recently used.
    TEntries::iterator Find(const std::string& key) {
        for (auto it = FEntries.begin(); it != FEntries.end(); ++it)
            if (it->Key == key) {
                FEntries.splice(FEntries.begin(), FEntries, it);
                return FEntries.begin();
            }
        return FEntries.end();
    }

    void Forget(const std::string& key) {
        const auto it = Find(key);
        if (it != FEntries.end())
            FEntries.erase(it);
    }

    void Remember(const std::string& key, const TFileSignature& signature, std::int64_t readAt,
                  std::shared_ptr<const TProfileDocument> document, TFileDescriptor file) {
        Forget(key);
        FEntries.push_front(TCachedProfile{key, signature, readAt, std::move(document), std::move(file)});
        while (FEntries.size() > ProfileCacheCapacity)
            FEntries.pop_back();
    }

    std::mutex FLock;
    TEntries FEntries;
};

TProfileCache& Cache() {
    static TProfileCache cache;
    return cache;
}

} // namespace

std::shared_ptr<const TProfileDocument> LoadProfile(const std::string& fileName) { return Cache().Load(fileName); }

void SaveProfile(const std::string& fileName, std::string bytes) {
    const std::filesystem::path path = OsPath(fileName);
    const std::int64_t writtenAt = NowNs();
    if (WriteFileAtomically(path, bytes) != 0)
        throw EWriteError("Unable to write to " + NativePath(fileName));
    Cache().Saved(path, writtenAt, std::move(bytes));
}

std::size_t CachedProfileCount() { return Cache().Count(); }

} // namespace wh
